#include "ui/common/StandardShortcut.h"

#include <QShortcut>

QShortcut *StandardShortcut::make(QKeySequence::StandardKey standard, const QKeySequence &linuxKey,
                                  QWidget *parent, Qt::ShortcutContext context)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
    if (!keys.contains(linuxKey))
        keys.append(linuxKey);
    auto *shortcut = new QShortcut(parent);
    shortcut->setKeys(keys);
    shortcut->setContext(context);
    return shortcut;
}
