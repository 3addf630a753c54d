#pragma once

#include <QKeySequence>
#include <Qt>

class QShortcut;
class QWidget;

// A shortcut on one of the platform's standard keys, plus the key Linux desktops use for it where
// the platform's key scheme leaves that one out (offscreen and some themes know no Ctrl+Q, Ctrl+W
// or F5). A text field that takes the key for itself (Delete, Ctrl+A) keeps it: Qt offers it there
// first.
class StandardShortcut
{
public:
    StandardShortcut() = delete;

    static QShortcut *make(QKeySequence::StandardKey standard, const QKeySequence &linuxKey, QWidget *parent,
                           Qt::ShortcutContext context = Qt::WindowShortcut);
};
