#include "ui/common/Screen.h"

Screen::Screen(QWidget *parent) : QWidget(parent) {}

void Screen::setTitle(const QString &title)
{
    if (m_title == title)
        return;
    m_title = title;
    Q_EMIT titleChanged();
}

void Screen::setSummary(const QString &summary)
{
    if (m_summary == summary)
        return;
    m_summary = summary;
    Q_EMIT summaryChanged();
}
