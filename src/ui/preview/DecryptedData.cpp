#include "DecryptedData.h"

#include "FileEncryptor.h"
#include "KeyChainHelper.h"
#include "NativePath.h"

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace {
DecryptedData failure(const QString &error)
{
    DecryptedData result;
    result.error = error;
    return result;
}

// By the path's bytes: QFile would open a name that is not UTF-8 under another name.
std::optional<QByteArray> readAll(const QUrl &url, QString *error)
{
    const int fd = ::open(NativePath::fromUrl(url).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        *error = QCoreApplication::translate("DecryptedData", "The file could not be opened: %1").arg(reason);
        return std::nullopt;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *error = QCoreApplication::translate("DecryptedData", "The file could not be opened: %1")
                     .arg(file.errorString());
        return std::nullopt;
    }
    if (file.size() > DecryptedData::maxFileBytes) {
        *error = QCoreApplication::translate("DecryptedData", "The file is too large to show.");
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QCoreApplication::translate("DecryptedData", "The file could not be read: %1")
                     .arg(file.errorString());
        return std::nullopt;
    }
    return bytes;
}
} // namespace

DecryptedData DecryptedData::read(const QUrl &vaultFile)
{
    QString error;
    const std::optional<QByteArray> encrypted = readAll(vaultFile, &error);
    if (!encrypted)
        return failure(error);
    const std::optional<QString> passcode = KeyChainHelper::shared().load();
    if (!passcode)
        return failure(QCoreApplication::translate("DecryptedData", "The passcode could not be read."));
    std::optional<QByteArray> plain = FileEncryptor::decrypt(*encrypted, *passcode);
    if (!plain)
        return failure(QCoreApplication::translate("DecryptedData", "The file could not be decrypted."));
    DecryptedData result;
    result.data = std::move(*plain);
    return result;
}
