#pragma once

#include "security/CredentialBackend.h"
#include "security/KeyringService.h"

#include <chrono>
#include <memory>

// The desktop keyring as a synchronous store, for callers on any thread.
//
// Every job runs on the keyring thread; the caller waits until a precise deadline: a pool
// thread blocks, the main thread spins a local event loop (user input held back) so that the
// window keeps painting while the desktop asks to unlock the keyring. When the deadline passes
// the call fails and the job is abandoned: one not started yet never starts, and a change that
// lands afterwards is undone (a write or delete first reads what was stored, to put it back),
// so a call reported as failed never takes effect later.
class KeychainCredentialBackend : public CredentialBackend
{
public:
    // Error codes of its own, beside QtKeychain's.
    static constexpr int NoAnswer = -1;
    static constexpr int NoSessionBus = -3;
    static constexpr int Closing = -4;

    explicit KeychainCredentialBackend(std::shared_ptr<KeyringService> service,
                                       std::chrono::milliseconds deadline = std::chrono::minutes(2));

    // Messages of failed calls name the keyring and why, for a person to read.
    CredentialResult read(const QString &account) override;
    CredentialResult write(const QString &account, const QByteArray &secret) override;
    CredentialResult remove(const QString &account) override;

    // True when no keyring service answered at all (no session bus, no Secret Service, no
    // libsecret), as opposed to a keyring that answered with an error or too late.
    static bool meansNoKeyring(const CredentialResult &result);

private:
    CredentialResult run(KeyringService::Operation operation, const QString &account,
                         const QByteArray &secret);
    CredentialResult described(CredentialResult result) const;

    std::shared_ptr<KeyringService> m_service;
    std::chrono::milliseconds m_deadline;
};
