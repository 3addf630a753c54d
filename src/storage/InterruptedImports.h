#pragma once

#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>

// What imports stopped by the lock did not store, by folder (ItemCollection::cacheKey()), until
// the folder is opened again and the person is told. In memory only: the names never reach disk.
// Any thread.
class InterruptedImports
{
public:
    struct File
    {
        QString name;   // the source's file name
        QString reason; // why it was not stored
    };

    static InterruptedImports &shared();

    void record(const QString &folderKey, const QList<File> &files);
    // The files recorded for the folder, which are then forgotten.
    QList<File> take(const QString &folderKey);

private:
    QMutex m_mutex;
    QHash<QString, QList<File>> m_notImported;
};
