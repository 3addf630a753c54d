#pragma once

#include <QString>

// Text on its way to a terminal. Names and quotes come from other programs and services; their
// control characters would move the cursor, retitle the window or clear the screen.
class TerminalText
{
public:
    TerminalText() = delete;

    // Each control character (C0, DEL, C1) and line or paragraph separator replaced by
    // `replacement`, as `ls -q` shows names on a terminal.
    static QString escaped(const QString &text, QChar replacement = QLatin1Char('?'));
    // On one line: every run of such characters becomes one space, and the ends are trimmed.
    static QString oneLine(const QString &text);
    static bool isTerminal(int fd);
};
