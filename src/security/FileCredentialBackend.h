#pragma once

#include "security/CredentialBackend.h"

#include <QJsonObject>
#include <QMutex>
#include <optional>

// The passcode store of last resort, for desktops where no Secret Service or KWallet answers:
// a JSON object of base64 items in a file of mode 0600, replaced atomically (a private temporary
// sibling renamed over it) so that a failed write leaves the previous file whole.
class FileCredentialBackend : public CredentialBackend
{
public:
    // An empty path means AppPaths::credentialsFile(), looked up at every call.
    explicit FileCredentialBackend(const QString &path = {});

    CredentialResult read(const QString &account) override;
    CredentialResult write(const QString &account, const QByteArray &secret) override;
    CredentialResult remove(const QString &account) override;

    QString path() const;

private:
    // The stored items; nothing when the file is missing; a failure when it cannot be read.
    CredentialResult load(std::optional<QJsonObject> &items) const;
    CredentialResult store(const QJsonObject &items) const;

    QString m_path;
    QMutex m_mutex;
};
