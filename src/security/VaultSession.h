#pragma once

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QString>
#include <QtGlobal>

#include <atomic>
#include <memory>
#include <optional>

// One unlocked period of the vault: the key, from the unlock to the lock. Whatever needs the key
// is handed the session; nothing below the window looks the passcode up for itself. Ending the
// session wipes the key: work started under it finds no key at its next step, stops, and writes
// nothing more, and answers that come back for it are dropped by their receivers. Any thread.
class VaultSession
{
public:
    // `lockGeneration`: the lock count the session was opened under (KeyChainHelper).
    VaultSession(const QString &key, quint64 lockGeneration);
    ~VaultSession();
    VaultSession(const VaultSession &) = delete;
    VaultSession &operator=(const VaultSession &) = delete;

    static std::shared_ptr<VaultSession> open(const QString &key, quint64 lockGeneration = 0);

    bool isOpen() const { return m_open.load(); }
    quint64 lockGeneration() const { return m_lockGeneration; }
    // A copy of the key of its own, so that the session's buffer can always be overwritten;
    // nothing once the session has ended.
    std::optional<QString> key() const;
    // Whether `typed` is this session's key, compared in constant time; false once ended.
    bool holdsKey(const QString &typed) const;
    // Wipes the key; later calls do nothing.
    void end();

    // What a check of a tree found under this key, remembered by a stamp of what it looked at
    // (TreeKeyCheck: the key-check entry's inode and times), so that the next write asks only for
    // a stat. Forgotten when the session ends.
    void rememberTree(const QString &treeRoot, const QByteArray &stamp) const;
    QByteArray rememberedTree(const QString &treeRoot) const;

private:
    mutable QMutex m_mutex;
    QString m_key;
    mutable QHash<QString, QByteArray> m_trees;
    std::atomic_bool m_open{true};
    const quint64 m_lockGeneration;
};

using VaultSessionPtr = std::shared_ptr<VaultSession>;
