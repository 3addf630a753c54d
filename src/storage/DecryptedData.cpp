#include "storage/DecryptedData.h"

#include "drive/NativePath.h"
#include "security/FileEncryptor.h"
#include "security/SecretWipe.h"

#include <QCoreApplication>
#include <optional>

namespace {
DecryptedData failure(const QString &error)
{
    DecryptedData result;
    result.error = error;
    return result;
}

std::optional<QByteArray> readAll(const QUrl &url, QString *error)
{
    NativePath::WholeFile file = NativePath::readAll(url, DecryptedData::maxFileBytes);
    switch (file.failure) {
    case NativePath::WholeFile::Failure::none:
        break;
    case NativePath::WholeFile::Failure::open:
        *error =
            QCoreApplication::translate("DecryptedData", "The file could not be opened: %1").arg(file.reason);
        break;
    case NativePath::WholeFile::Failure::tooLarge:
        *error = QCoreApplication::translate("DecryptedData", "The file is too large to show.");
        break;
    case NativePath::WholeFile::Failure::read:
        *error =
            QCoreApplication::translate("DecryptedData", "The file could not be read: %1").arg(file.reason);
        break;
    }
    return std::move(file.bytes);
}

} // namespace

DecryptedData::~DecryptedData()
{
    wipeSecret(data);
}

DecryptedData DecryptedData::read(const QUrl &vaultFile, const VaultSession &session)
{
    QString error;
    const std::optional<QByteArray> encrypted = readAll(vaultFile, &error);
    if (!encrypted)
        return failure(error);
    const std::optional<QString> passcode = session.key();
    if (!passcode)
        return failure(QCoreApplication::translate("DecryptedData", "The vault is locked."));
    std::optional<QByteArray> plain = FileEncryptor::decrypt(*encrypted, *passcode);
    if (!plain)
        return failure(QCoreApplication::translate("DecryptedData", "The file could not be decrypted."));
    DecryptedData result;
    result.data = std::move(*plain);
    return result;
}
