#pragma once

#include "security/KeyringService.h"

// The desktop keyring through QtKeychain: the Secret Service (GNOME Keyring, KeePassXC, …) or
// KWallet, both reached over the session bus.
class QtKeychainService : public KeyringService
{
public:
    explicit QtKeychainService(const QString &service);

    void start(Operation operation, const QString &account, const QByteArray &secret, QObject *context,
               Done done) override;

private:
    QString m_service;
};
