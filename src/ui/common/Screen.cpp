#include "Screen.h"

Screen::Screen(QWidget *parent) : QWidget(parent) {}

void Screen::setTitle(const QString &title)
{
    if (m_title == title)
        return;
    m_title = title;
    Q_EMIT titleChanged();
}
