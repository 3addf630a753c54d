#pragma once

#include <QDBusConnection>
#include <QString>
#include <chrono>

// Whether the desktop keyring would hand out an item without asking anyone: the Secret Service on
// the bus holds it, and only in unlocked collections. Reading an item from a locked collection makes
// the keyring show its unlock prompt; this asks first, without starting a keyring that is not
// running, and waits for each answer at most `timeout`.
class SecretServiceItems
{
public:
    enum class Access { withoutPrompt, needsPrompt, unknown };

    // The item QtKeychain keeps for `service` and `key`.
    static Access of(const QDBusConnection &bus, const QString &service, const QString &key,
                     std::chrono::milliseconds timeout);
};
