#pragma once

#include <QByteArray>
#include <QString>

struct termios;

// While it lives, the file at `path` is removed if the program is interrupted (SIGINT, SIGTERM,
// SIGHUP), or a terminal's settings are put back; the process then ends by the same signal. For plaintext and
// partial files that must not outlive an interrupted command. Only a program that called installHandlers()
// removes them: the application keeps its own signal dispositions, and so do test runners.
class InterruptCleanup
{
public:
    explicit InterruptCleanup(const QString &path);
    // While it lives, the terminal at fd gets the settings `saved` back if the program is
    // interrupted (echo turned off for a passcode must not outlive Ctrl-C).
    InterruptCleanup(int terminalFd, const termios &saved);
    ~InterruptCleanup();
    InterruptCleanup(const InterruptCleanup &) = delete;
    InterruptCleanup &operator=(const InterruptCleanup &) = delete;

    static void installHandlers();

private:
    int m_slot = -1;
    bool m_terminal = false;
};
