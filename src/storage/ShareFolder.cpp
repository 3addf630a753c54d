#include "storage/ShareFolder.h"

#include "core/AppPaths.h"
#include "core/Logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>

ShareFolder::~ShareFolder()
{
    if (m_path.isEmpty())
        return;
    if (m_handedOut.isEmpty()) {
        if (!QDir(m_path).removeRecursively())
            errorMsg(QStringLiteral("Caught error could not remove ") + m_path);
        return;
    }
    const QFileInfoList entries =
        QDir(m_path).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (m_handedOut.contains(entry.fileName()))
            continue;
        QFile copy(entry.absoluteFilePath());
        if (!copy.remove())
            errorMsg(QStringLiteral("Caught error ") + copy.errorString());
    }
}

QString ShareFolder::path()
{
    const QMutexLocker lock(&m_mutex);
    if (!m_path.isEmpty())
        return m_path;
    const QString temporary = AppPaths::temporaryDirectory();
    if (temporary.isEmpty())
        return {};
    // mkdtemp() makes it 0700 under a name no other share holds.
    QByteArray pattern = QFile::encodeName(temporary + u'/' + namePrefix + QStringLiteral("XXXXXX"));
    if (!::mkdtemp(pattern.data())) {
        errorMsg(QStringLiteral("Caught error could not make a share folder in ") + temporary);
        return {};
    }
    m_path = QFile::decodeName(pattern);
    return m_path;
}

void ShareFolder::handOut(const QStringList &paths)
{
    const QMutexLocker lock(&m_mutex);
    for (const QString &path : paths) {
        const QFileInfo copy(path);
        if (!m_path.isEmpty() && copy.path() == m_path)
            m_handedOut.insert(copy.fileName());
    }
}

void ShareFolder::removeAll()
{
    const QString temporary = AppPaths::temporaryDirectory();
    if (temporary.isEmpty())
        return;
    const QFileInfoList folders =
        QDir(temporary).entryInfoList({namePrefix + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo &folder : folders) {
        if (!folder.isSymLink())
            QDir(folder.absoluteFilePath()).removeRecursively();
    }
}
