#pragma once

#include "CredentialBackend.h"

#include <QString>
#include <chrono>

// The desktop keyring through QtKeychain (Secret Service or KWallet).
//
// QtKeychain jobs are asynchronous and need an event loop, but callers of this store are
// synchronous: the interface on the main thread and storage tasks on pool threads. So every job
// runs on one keyring thread with its own event loop, and the caller waits for the answer: a
// pool thread blocks, the main thread spins a local event loop (user input held back) so that
// the window keeps painting while the desktop asks to unlock the keyring, which may take long.
// An answer that does not come within the timeout fails the call.
// The keyring thread is one for the whole process and lives until the application object goes:
// libsecret keeps its connection to the Secret Service bound to the thread that first used it.
class KeychainCredentialBackend : public CredentialBackend
{
public:
    explicit KeychainCredentialBackend(const QString &service,
                                       std::chrono::milliseconds timeout = std::chrono::minutes(2));

    CredentialResult read(const QString &account) override;
    CredentialResult write(const QString &account, const QByteArray &secret) override;
    CredentialResult remove(const QString &account) override;

    // True when the result says no keyring service answered at all (no session bus, no
    // Secret Service, no libsecret): QtKeychain then fails at once with OtherError or
    // NoBackendAvailable.
    static bool meansNoKeyring(const CredentialResult &result);

private:
    enum class Operation { read, write, remove };
    CredentialResult run(Operation operation, const QString &account, const QByteArray &secret);

    QString m_service;
    std::chrono::milliseconds m_timeout;
};
