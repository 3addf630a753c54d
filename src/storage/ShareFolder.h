#pragma once

#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>

// The private folder of one share: a fresh sub-folder (mode 0700) of the temporary directory, made
// when the first copy needs it. When the share ends (its last owner lets go) the copies no other
// application was given go at once, and the folder with them when none was given. Given copies
// stay, since that application may read them long after the vault locked; removeAll() takes them
// when Lumisera quits, and the start-up clears the temporary directory after a crash.
class ShareFolder
{
public:
    static inline const QString namePrefix = QStringLiteral("share-");

    ShareFolder() = default;
    ~ShareFolder();
    ShareFolder(const ShareFolder &) = delete;
    ShareFolder &operator=(const ShareFolder &) = delete;

    // The folder, made on the first call; empty when it cannot be made private. Any thread.
    QString path();
    // Another application was given these copies (paths in this folder).
    void handOut(const QStringList &paths);

    // Removes the folders of every share, given copies included.
    static void removeAll();

private:
    QMutex m_mutex;
    QString m_path;
    QSet<QString> m_handedOut; // file names
};
