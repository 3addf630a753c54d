#pragma once

class QObject;

// The process's one keyring thread. libsecret binds its connection to the Secret Service to
// the thread that first used it, so every keyring job runs here, parented to context().
// The thread lives until the application object goes.
class KeyringThread
{
public:
    KeyringThread() = delete;

    // An object living on the keyring thread; null once the application is closing.
    static QObject *context();
    // True from the moment the application is about to quit: waits for the keyring give up.
    static bool isClosing();
};
