#pragma once

#include <QString>
#include <QUrl>
#include <optional>

#include "security/VaultSession.h"

// Temporary copies in the private temporary directory (AppPaths::temporaryDirectory(), mode 0700,
// emptied at start-up). The caller owns each copy and removes it when done.
class TemporaryCopies
{
public:
    TemporaryCopies() = delete;

    // Decrypts the vault file into the temporary directory under name, replacing what is there,
    // with the session's key. A name that would leave the directory (empty, ".", "..", holding "/"
    // or NUL) is refused; a failed decryption leaves nothing behind. Nothing once the session ended.
    static std::optional<QString> createDecryptedTempFile(const VaultSession &session,
                                                          const QString &vaultFilePath, const QString &name);
    // The same for a listed item's URL, which names its file even when that name is not UTF-8.
    static std::optional<QString> createDecryptedTempFile(const VaultSession &session, const QUrl &vaultFile,
                                                          const QString &name);
    // Copies the file into the temporary directory under name (or its own name); an existing
    // file of that name is answered without copying.
    static std::optional<QString> copyToTemporaryDirectory(const QString &sourcePath,
                                                           const std::optional<QString> &name = std::nullopt);
};
