#include "TestFiles.h"
#include "TestHome.h"
#include "core/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTest>

#include <sys/stat.h>

class TestAppPaths : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void treesLiveUnderTheDataHome()
    {
        const QString base = qEnvironmentVariable("XDG_DATA_HOME") + "/Morvenda/Lumisera";
        QCOMPARE(AppPaths::documentsDirectory(), base + "/Documents");
        QCOMPARE(AppPaths::cloudContainer(), base + "/CloudContainer");
        QCOMPARE(AppPaths::credentialsFile(), base + "/credentials");
    }

    void temporaryDirectoryIsPrivate()
    {
        const QString path = AppPaths::temporaryDirectory();
        QCOMPARE(path, qEnvironmentVariable("XDG_RUNTIME_DIR") + "/lumisera");
        ::chmod(QFile::encodeName(path).constData(), 0755);
        QCOMPARE(AppPaths::temporaryDirectory(), path);
        struct stat status = {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
        QCOMPARE(status.st_mode & 0777, mode_t(0700));
    }

    void temporaryDirectoryRefusesAForeignLink()
    {
        const QString path = AppPaths::temporaryDirectory();
        QVERIFY(QDir(path).removeRecursively());
        QTemporaryDir elsewhere;
        QVERIFY(QFile::link(elsewhere.path(), path));
        QVERIFY(AppPaths::temporaryDirectory().isEmpty());
        QVERIFY(QFile::remove(path));
        QCOMPARE(AppPaths::temporaryDirectory(), path);
    }

    void clearingEmptiesTheTemporaryDirectory()
    {
        const QDir directory(AppPaths::temporaryDirectory());
        QVERIFY(directory.mkpath("nested/deeper"));
        QVERIFY(writeBytes(directory.filePath(".hidden-plaintext"), "plain"));
        AppPaths::clearTemporaryDirectory();
        QVERIFY(directory.exists());
        QVERIFY(namesIn(directory.path()).isEmpty());
    }
};

LUMISERA_TEST_MAIN(TestAppPaths)
#include "TestAppPaths.moc"
