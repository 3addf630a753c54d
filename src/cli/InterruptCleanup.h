#pragma once

#include <QByteArray>
#include <QString>

// While it lives, the file at `path` is removed if the command is interrupted (SIGINT, SIGTERM,
// SIGHUP); the process then ends by the same signal. For plaintext that must not outlive an
// interrupted command.
class InterruptCleanup
{
public:
    explicit InterruptCleanup(const QString &path);
    ~InterruptCleanup();
    InterruptCleanup(const InterruptCleanup &) = delete;
    InterruptCleanup &operator=(const InterruptCleanup &) = delete;

private:
    int m_slot = -1;
};
