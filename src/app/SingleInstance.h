#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

class QLocalSocket;
class QLockFile;

// One instance per user. The first start holds a lock file and listens on a local socket, both in
// a private folder of the runtime directory that start-up never empties; a later start asks it to
// raise its window.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // key: a plain file name shared by every start that must be one instance.
    explicit SingleInstance(const QString &key = QStringLiteral("lumisera"), QObject *parent = nullptr);
    ~SingleInstance() override;
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // True when this is the first instance: it keeps the lock and listens until destroyed. Also
    // true, with an error logged, when the guard itself cannot be set up: a start is never refused
    // for want of a lock. False while another instance holds the lock.
    bool claim();
    // For a later start: asks the first instance to raise its window, handing over the desktop's
    // activation token (see activationToken()) so that the compositor lets it take the focus.
    // True when it answered in time.
    bool notifyRunning(const QString &activationToken = QString(),
                       std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));

    // The token the desktop gave this start to activate a window with: XDG_ACTIVATION_TOKEN on
    // Wayland, DESKTOP_STARTUP_ID on X11. Taken out of the environment: it is good only once, and
    // not for the programs this one starts. Empty when there is none or it is not one line of
    // printable text.
    static QString takeActivationToken();

    // $XDG_RUNTIME_DIR/lumisera-instance/<key>.socket, else <temp>/lumisera-instance-<uid>/...;
    // empty when that folder cannot be made private.
    QString socketPath() const;

Q_SIGNALS:
    // activationToken: the later start's, or empty.
    void raiseRequested(const QString &activationToken);

private:
    QString filePath(const QString &suffix) const;
    bool takeLock();
    void listen();
    void acceptClients();
    void readRequest(QLocalSocket *client);

    const QString m_key;
    std::unique_ptr<QLockFile> m_lock;
    // Declared after the lock so that the socket goes before the lock is released.
    QLocalServer m_server;
};
