#pragma once

#include <QByteArray>
#include <QString>

// While it lives, the file at `path` is removed if the program is interrupted (SIGINT, SIGTERM,
// SIGHUP); the process then ends by the same signal. For plaintext and partial files that must
// not outlive an interrupted command. Only a program that called installHandlers() removes them:
// the application keeps its own signal dispositions, and so do test runners.
class InterruptCleanup
{
public:
    explicit InterruptCleanup(const QString &path);
    ~InterruptCleanup();
    InterruptCleanup(const InterruptCleanup &) = delete;
    InterruptCleanup &operator=(const InterruptCleanup &) = delete;

    static void installHandlers();

private:
    int m_slot = -1;
};
