#pragma once

#include "security/CredentialBackend.h"

#include <QByteArray>
#include <QString>
#include <functional>

class QObject;

// The desktop keyring as an asynchronous service. start() is called on the keyring thread and
// reports exactly once through `done`, on that thread, however long the keyring takes (it may
// wait for the user to unlock it). Tests put a fake in its place.
class KeyringService
{
public:
    enum class Operation { read, write, remove };
    using Done = std::function<void(const CredentialResult &)>;

    virtual ~KeyringService() = default;

    // `context` lives on the keyring thread; objects the job makes are its children.
    virtual void start(Operation operation, const QString &account, const QByteArray &secret,
                       QObject *context, Done done) = 0;
};
