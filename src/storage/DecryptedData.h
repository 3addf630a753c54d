#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include "security/VaultSession.h"

// A vault file decrypted into memory with a session's key, or why it could not be. Never
// copied, so that the plain bytes are held once and can be overwritten by their last holder.
struct DecryptedData
{
    // Larger files are refused rather than read whole into memory.
    static constexpr qint64 maxFileBytes = qint64(512) * 1024 * 1024;

    QByteArray data;
    QString error; // empty on success

    DecryptedData() = default;
    // The plain bytes are overwritten by whoever holds them last, also a result nobody took.
    ~DecryptedData();
    DecryptedData(DecryptedData &&) = default;
    DecryptedData &operator=(DecryptedData &&) = default;
    DecryptedData(const DecryptedData &) = delete;
    DecryptedData &operator=(const DecryptedData &) = delete;

    bool ok() const { return error.isEmpty(); }

    // Synchronous: run it on the storage pool.
    static DecryptedData read(const QUrl &vaultFile, const VaultSession &session);
};
