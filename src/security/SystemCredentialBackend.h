#pragma once

#include "CredentialBackend.h"

#include <QMutex>
#include <atomic>
#include <memory>

// The store the application uses: the desktop keyring, or the private file when no keyring
// answers. The choice is made by the first call, which asks the keyring for the item; a keyring
// that answers reads but then fails a write the same way (a Secret Service started on demand
// without a collection) also hands over to the file, for the rest of the process.
// While the keyring is used, an item found only in the file (saved on a day without a keyring)
// is still read, and a successful write to the keyring removes that older copy.
class SystemCredentialBackend : public CredentialBackend
{
public:
    SystemCredentialBackend(std::unique_ptr<CredentialBackend> keyring,
                            std::unique_ptr<CredentialBackend> file, const QString &fileDescription);

    CredentialResult read(const QString &account) override;
    CredentialResult write(const QString &account, const QByteArray &secret) override;
    CredentialResult remove(const QString &account) override;

    // Makes the choice if it is still open (probing with that account).
    bool usesKeyring(const QString &account);

private:
    // Chooses on the first call and returns what that probe read, to spare a second look.
    std::optional<CredentialResult> choose(const QString &account);
    void useFile(const CredentialResult &why);

    QMutex m_mutex;
    bool m_chosen = false;
    std::atomic<bool> m_fileOnly = false;
    std::unique_ptr<CredentialBackend> m_keyring;
    std::unique_ptr<CredentialBackend> m_file;
    QString m_fileDescription;
};
