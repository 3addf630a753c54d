#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP (the session ending, Ctrl+C in a terminal, a closed terminal) end
// Lumisera the way Ctrl+Q does: the vault locks and shared copies go. The handler only writes a
// byte to a pipe; the rest happens on the main thread.
class TerminationSignal : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignal(QObject *parent = nullptr);
    ~TerminationSignal() override;
    TerminationSignal(const TerminationSignal &) = delete;
    TerminationSignal &operator=(const TerminationSignal &) = delete;

Q_SIGNALS:
    void received(int signal);

private:
    void readSignals();

    QSocketNotifier *m_notifier = nullptr;
};
