#include "storage/StoredItemProvider.h"

#include "core/Logging.h"
#include "drive/CloudDrive.h"
#include "drive/FileSystemError.h"
#include "drive/NativePath.h"
#include "security/FileEncryptor.h"
#include "storage/PlainCopy.h"
#include "storage/ShareFolder.h"

#include <QFileInfo>

#include <cstring>

namespace {
QString systemText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}
} // namespace

StoredItemProvider::StoredItemProvider(StoredItemPtr storedItem, std::shared_ptr<ShareFolder> tempFolder,
                                       VaultSessionPtr session)
    : m_storedItem(std::move(storedItem)), m_tempFolder(std::move(tempFolder)), m_session(std::move(session))
{}

std::optional<QString> StoredItemProvider::tempFile() const
{
    const QMutexLocker lock(&m_mutex);
    return m_tempFile;
}

StoredItemProvider::Copy StoredItemProvider::item()
{
    const QMutexLocker lock(&m_mutex);
    if (m_tempFile && QFileInfo::exists(*m_tempFile))
        return {*m_tempFile, {}};
    const QString folder = m_tempFolder->path();
    if (folder.isEmpty())
        return {{}, tr("The private temporary folder could not be made.")};
    Copy copy = decryptInto(folder);
    if (copy.isValid())
        m_tempFile = copy.path;
    return copy;
}

StoredItemProvider::Copy StoredItemProvider::saveInto(const QString &folder)
{
    const QMutexLocker lock(&m_mutex);
    return decryptInto(folder);
}

StoredItemProvider::Copy StoredItemProvider::decryptInto(const QString &folder)
{
    const QString name = m_storedItem->fullName();
    if (m_cancelled)
        return {{}, tr("Sharing was stopped.")};
    const std::optional<QString> key = m_session ? m_session->key() : std::nullopt;
    if (!key)
        return {{}, tr("The vault is locked.")};
    // The listed file itself, not a link a sync client put in its place.
    UniqueFd source;
    try {
        source = NativePath::openListed(NativePath::fromUrl(m_storedItem->url()));
    } catch (const FileSystemError &error) {
        return {{}, tr("%1 could not be read: %2").arg(name, systemText(error.code().value()))};
    }
    try {
        CloudDrive::checkFileName(name);
        PlainCopy copy(folder);
        FileEncryptor::IoFailure io;
        const bool decrypted =
            FileEncryptor::processFile(source.get(), copy.fd(), *key, CryptOperation::decrypt, &io,
                                       [this](qint64) { return !m_cancelled && m_session->isOpen(); });
        if (decrypted && m_session->isOpen())
            return {copy.place(name), {}};
        if (!m_session->isOpen())
            return {{}, tr("The vault is locked.")};
        logError(QStringLiteral("Failed to decrypt file on share"), QStringLiteral(__FILE__),
                 QStringLiteral("item(for:)"));
        if (io.stopped)
            return {{}, tr("Sharing was stopped.")};
        if (io.readError)
            return {{}, tr("%1 could not be read: %2").arg(name, systemText(io.readError))};
        if (io.writeError)
            return {{}, tr("%1 could not be written: %2").arg(name, systemText(io.writeError))};
        return {{}, tr("%1 could not be decrypted; the stored file may be damaged.").arg(name)};
    } catch (const FileSystemError &error) {
        errorMsg(QStringLiteral("Caught error ") + error.description());
        return {{},
                tr("%1 could not be saved in %2: %3")
                    .arg(name, folder, QString::fromStdString(error.code().message()))};
    } catch (const DriveError &error) {
        errorMsg(QStringLiteral("Caught error ") + error.description());
        return {{}, tr("%1 cannot be shared under this name.").arg(name)};
    }
}

QString StoredItemProvider::subject()
{
    return tr("Shared from Morvenda Lumisera");
}
