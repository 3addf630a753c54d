#pragma once

#include "security/VaultSession.h"
#include "storage/StoredItem.h"

#include <QCoreApplication>
#include <QMutex>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>

class ShareFolder;

// One item of a share. It stands for its stored file until a target asks for it, and only then
// decrypts it with the key of the session it was made in: into the share's private folder, for a
// target that reads it there, or straight into a folder the user chose. Nothing is decrypted
// once that session has ended. A failed decryption says why and leaves no
// partial file. The decrypting calls run on the storage pool, one at a time.
class StoredItemProvider
{
    Q_DECLARE_TR_FUNCTIONS(StoredItemProvider)
public:
    // A decrypted copy's path, or why there is none.
    struct Copy
    {
        QString path;
        QString error;
        bool isValid() const { return !path.isEmpty(); }
    };

    StoredItemProvider(StoredItemPtr storedItem, std::shared_ptr<ShareFolder> tempFolder,
                       VaultSessionPtr session);

    const StoredItemPtr &storedItem() const { return m_storedItem; }
    const std::shared_ptr<ShareFolder> &tempFolder() const { return m_tempFolder; }
    // The copy in the share's folder, once item() made it.
    std::optional<QString> tempFile() const;

    // The copy in the share's folder under the item's name: decrypted on the first call, the same
    // file after that.
    Copy item();
    // A new copy in folder under the item's name, or the first free of name(1).ext, name(2).ext,
    // ...: an existing file is never replaced.
    Copy saveInto(const QString &folder);
    // Stops a decryption under way and refuses later ones. Any thread.
    void cancel() { m_cancelled = true; }

    // For targets that take a subject, e-mail above all.
    static QString subject();

private:
    Copy decryptInto(const QString &folder);

    const StoredItemPtr m_storedItem;
    const std::shared_ptr<ShareFolder> m_tempFolder;
    const VaultSessionPtr m_session;
    mutable QMutex m_mutex;
    std::optional<QString> m_tempFile;
    std::atomic<bool> m_cancelled = false;
};
