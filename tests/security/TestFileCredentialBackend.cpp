#include "TestHome.h"
#include "security/FileCredentialBackend.h"

#include <QDir>
#include <QGuiApplication>
#include <QMutex>
#include <QTemporaryDir>
#include <QTest>

#include <dlfcn.h>
#include <functional>
#include <sys/stat.h>
#include <utility>

using Operation = std::function<CredentialResult(FileCredentialBackend &)>;
Q_DECLARE_METATYPE(Operation)

namespace {
QMutex syncedMutex;
QList<std::pair<dev_t, ino_t>> syncedFolders;

std::pair<dev_t, ino_t> identity(const QString &path)
{
    struct stat status
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? std::pair(status.st_dev, status.st_ino)
                                                                     : std::pair<dev_t, ino_t>();
}
} // namespace

// Every fsync() of this process passes here first: the folders flushed are noted.
extern "C" int fsync(int fd)
{
    using Real = int (*)(int);
    static const Real real = reinterpret_cast<Real>(::dlsym(RTLD_NEXT, "fsync"));
    struct stat status
    {
    };
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        QMutexLocker lock(&syncedMutex);
        syncedFolders.append({status.st_dev, status.st_ino});
    }
    return real(fd);
}

// The credentials file lives on after a power cut only if its folder's entry does.
class TestFileCredentialBackend : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void folderIsFlushed_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::newRow("written") << Operation(
            [](FileCredentialBackend &backend) { return backend.write("account", "secret"); });
        QTest::newRow("another account written")
            << Operation([](FileCredentialBackend &backend) { return backend.write("other", "second"); });
        QTest::newRow("last account removed") << Operation([](FileCredentialBackend &backend) {
            backend.remove("other");
            QMutexLocker lock(&syncedMutex);
            syncedFolders.clear();
            lock.unlock();
            return backend.remove("account");
        });
    }
    void folderIsFlushed()
    {
        QFETCH(Operation, operation);
        QTemporaryDir folder;
        const QString file = folder.filePath("credentials");
        FileCredentialBackend backend(file);
        if (QByteArray(QTest::currentDataTag()) != "written")
            QVERIFY(backend.write("account", "secret").succeeded());
        {
            QMutexLocker lock(&syncedMutex);
            syncedFolders.clear();
        }
        QVERIFY(operation(backend).succeeded());
        QMutexLocker lock(&syncedMutex);
        QVERIFY(syncedFolders.contains(identity(folder.path())));
    }
};

LUMISERA_TEST_MAIN(TestFileCredentialBackend)
#include "TestFileCredentialBackend.moc"
