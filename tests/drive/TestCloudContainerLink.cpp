#include "AppPaths.h"
#include "CloudContainerLink.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString documents()
{
    return AppPaths::documentsDirectory();
}

QString container()
{
    return AppPaths::cloudContainer();
}

// A link must go as a link: following it would empty the folder it points to.
void removeContainer()
{
    const QFileInfo info(container());
    if (info.isSymLink() || info.isFile())
        QVERIFY(QFile::remove(container()));
    else if (info.isDir())
        QVERIFY(QDir(container()).removeRecursively());
}

QString linkTarget()
{
    return QFile::symLinkTarget(container());
}

} // namespace

class TestCloudContainerLink : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_outside;

private Q_SLOTS:
    void init()
    {
        removeContainer();
        QVERIFY(QDir().mkpath(documents() + QStringLiteral("/Holidays")));
    }

    void refusesFoldersOverlappingTheOnDeviceTree_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("the tree itself") << documents();
        QTest::newRow("the tree with a trailing slash") << documents() + QLatin1Char('/');
        QTest::newRow("a folder inside") << documents() + QStringLiteral("/Holidays");
        QTest::newRow("a dotted path inside") << documents() + QStringLiteral("/Holidays/../Holidays");
        QTest::newRow("the folder holding the tree") << AppPaths::dataDirectory();
        QTest::newRow("the home holding the tree") << QDir::homePath();
    }
    void refusesFoldersOverlappingTheOnDeviceTree()
    {
        QFETCH(QString, folder);
        const QString reason = CloudContainerLink::create(folder);
        QVERIFY(!reason.isEmpty());
        QVERIFY(!QFileInfo::exists(container()) && !QFileInfo(container()).isSymLink());
    }

    void refusesALinkThatLeadsIntoTheTree()
    {
        const QString alias = m_outside.filePath(QStringLiteral("alias"));
        QVERIFY(QFile::link(documents() + QStringLiteral("/Holidays"), alias));
        QVERIFY(!CloudContainerLink::create(alias).isEmpty());
        QVERIFY(!QFileInfo(container()).isSymLink());
        QVERIFY(QFile::remove(alias));
    }

    void refusesATreeThatDoesNotExistYet()
    {
        QVERIFY(QDir(documents()).removeRecursively());
        QVERIFY(!CloudContainerLink::create(AppPaths::dataDirectory()).isEmpty());
        QVERIFY(!QFileInfo(container()).isSymLink());
    }

    void refusesWhatIsNoFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("a file") << m_outside.filePath(QStringLiteral("notes.txt"));
        QTest::newRow("missing") << m_outside.filePath(QStringLiteral("missing"));
        QTest::newRow("empty") << QString();
    }
    void refusesWhatIsNoFolder()
    {
        QFETCH(QString, folder);
        QFile file(m_outside.filePath(QStringLiteral("notes.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(!CloudContainerLink::create(folder).isEmpty());
        QVERIFY(!QFileInfo(container()).isSymLink());
    }

    void neverReplacesAContainer_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder") << "folder";
        QTest::newRow("file") << "file";
        QTest::newRow("link to a folder") << "link";
        QTest::newRow("dangling link") << "dangling";
    }
    void neverReplacesAContainer()
    {
        QFETCH(QString, kind);
        QVERIFY(QDir().mkpath(AppPaths::dataDirectory()));
        QTemporaryDir other;
        const QString gone = other.filePath(QStringLiteral("gone"));
        if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(container()));
        } else if (kind == QLatin1String("file")) {
            QFile file(container());
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QFile::link(kind == QLatin1String("link") ? other.path() : gone, container()));
        }
        const QString targetBefore = linkTarget();

        QVERIFY(!CloudContainerLink::create(m_outside.path()).isEmpty());

        QCOMPARE(linkTarget(), targetBefore);
        QCOMPARE(QFileInfo(container()).isDir(),
                 kind == QLatin1String("folder") || kind == QLatin1String("link"));
        QCOMPARE(QFileInfo(container()).isFile(), kind == QLatin1String("file"));
    }

    void linksAnOutsideFolder()
    {
        QVERIFY(QDir(AppPaths::dataDirectory()).removeRecursively());
        const QString folder = m_outside.filePath(QStringLiteral("Synced"));
        QVERIFY(QDir().mkpath(folder));

        QCOMPARE(CloudContainerLink::create(folder), QString());

        QVERIFY(QFileInfo(container()).isSymLink());
        QCOMPARE(linkTarget(), QFileInfo(folder).canonicalFilePath());
        QVERIFY(QFileInfo(container()).isDir());
        // Once linked, the container is never replaced.
        QVERIFY(!CloudContainerLink::create(m_outside.path()).isEmpty());
        QCOMPARE(linkTarget(), QFileInfo(folder).canonicalFilePath());
    }
};

LUMISERA_TEST_MAIN(TestCloudContainerLink)
#include "TestCloudContainerLink.moc"
