#include "ui/common/ReturnActivates.h"

#include <QAbstractButton>
#include <QShortcut>

void ReturnActivates::install(QAbstractButton *button)
{
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *activate = new QShortcut(QKeySequence(key), button, nullptr, nullptr, Qt::WidgetShortcut);
        QObject::connect(activate, &QShortcut::activated, button, &QAbstractButton::click);
    }
}
