#include "storage/InterruptedImports.h"

InterruptedImports &InterruptedImports::shared()
{
    static InterruptedImports instance;
    return instance;
}

void InterruptedImports::record(const QString &folderKey, const QList<File> &files)
{
    if (files.isEmpty())
        return;
    const QMutexLocker locker(&m_mutex);
    m_notImported[folderKey] += files;
}

QList<InterruptedImports::File> InterruptedImports::take(const QString &folderKey)
{
    const QMutexLocker locker(&m_mutex);
    return m_notImported.take(folderKey);
}
