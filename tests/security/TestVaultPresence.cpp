#include "TestFiles.h"
#include "TestHome.h"
#include "security/VaultPresence.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

// Only positive proof that no vault exists may let a stored passcode go.
class TestVaultPresence : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void look_data()
    {
        QTest::addColumn<QStringList>("folders"); // made below the temporary folder
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("containerLink"); // what CloudContainer links to, if it is a link
        QTest::addColumn<bool>("mayExist");
        QTest::newRow("nothing at all") << QStringList() << QStringList() << QString() << false;
        QTest::newRow("empty trees") << QStringList{"Documents", "CloudContainer/Documents"} << QStringList()
                                     << QString() << false;
        QTest::newRow("a file in the tree")
            << QStringList{"Documents"} << QStringList{"Documents/stray"} << QString() << false;
        QTest::newRow("a local folder")
            << QStringList{"Documents/Trips"} << QStringList() << QString() << true;
        QTest::newRow("a cloud folder")
            << QStringList{"CloudContainer/Documents/Trips"} << QStringList() << QString() << true;
        QTest::newRow("container without Documents")
            << QStringList{"CloudContainer"} << QStringList() << QString() << false;
        QTest::newRow("dangling container link")
            << QStringList() << QStringList() << "not-mounted/Sync" << true;
        QTest::newRow("link to an empty synced folder")
            << QStringList{"Sync"} << QStringList() << "Sync" << false;
        QTest::newRow("link to a synced vault")
            << QStringList{"Sync/Documents/Trips"} << QStringList() << "Sync" << true;
    }

    void look()
    {
        QFETCH(QStringList, folders);
        QFETCH(QStringList, files);
        QFETCH(QString, containerLink);
        QFETCH(bool, mayExist);
        QTemporaryDir dir;
        for (const QString &folder : folders)
            QVERIFY(QDir(dir.path()).mkpath(folder));
        for (const QString &file : files)
            QVERIFY(writeBytes(dir.filePath(file), {}));
        if (!containerLink.isEmpty())
            QVERIFY(QFile::link(dir.filePath(containerLink), dir.filePath("CloudContainer")));
        const VaultPresence found =
            VaultPresence::look(dir.filePath("Documents"), dir.filePath("CloudContainer"));
        QCOMPARE(found.mayExist, mayExist);
        QCOMPARE(found.reason.isEmpty(), !mayExist);
    }

    void unreadableTree()
    {
        if (::geteuid() == 0)
            QSKIP("root reads every folder");
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("Documents"));
        QVERIFY(QFile::setPermissions(dir.filePath("Documents"), QFileDevice::WriteOwner));
        const VaultPresence found =
            VaultPresence::look(dir.filePath("Documents"), dir.filePath("CloudContainer"));
        QFile::setPermissions(dir.filePath("Documents"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(found.mayExist);
    }
};

LUMISERA_TEST_MAIN(TestVaultPresence)

#include "TestVaultPresence.moc"
