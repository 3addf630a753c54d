#pragma once

#include <QByteArray>
#include <QString>

// What a credential store answered. The message is the store's own description of a failure;
// it never carries the secret.
struct CredentialResult
{
    enum class Status { success, notFound, failed };

    Status status = Status::failed;
    QByteArray secret; // filled by a successful read
    int code = 0;      // the store's error code, for the log
    QString message;

    bool succeeded() const { return status == Status::success; }
    static CredentialResult success(const QByteArray &secret = {})
    {
        return {Status::success, secret, 0, {}};
    }
    static CredentialResult notFound() { return {Status::notFound, {}, 0, {}}; }
    static CredentialResult failure(int code, const QString &message)
    {
        return {Status::failed, {}, code, message};
    }
};

// Where the passcode is kept: the desktop keyring, a private file, or memory in tests.
// Calls are synchronous and may come from any thread.
class CredentialBackend
{
public:
    virtual ~CredentialBackend() = default;

    virtual CredentialResult read(const QString &account) = 0;
    // Replaces any item of that account in one step: when it fails, the old item is still there.
    virtual CredentialResult write(const QString &account, const QByteArray &secret) = 0;
    // Removing an item that is not there succeeds.
    virtual CredentialResult remove(const QString &account) = 0;
    // Why an item found on the first start after an installation must be kept rather than removed
    // as one an earlier installation left behind; empty when it may go.
    virtual QString reasonToKeep() { return {}; }
};
