#include "TestFiles.h"
#include "TestHome.h"
#include "core/AppPaths.h"
#include "drive/CloudContainerLink.h"

#include <QGuiApplication>
#include <QtTest>

class TestCloudContainerLink : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_outside;
    const QString m_documents = AppPaths::documentsDirectory();
    const QString m_container = AppPaths::cloudContainer();

    QString outside(const char *name) const { return m_outside.filePath(QLatin1String(name)); }
    // What is at the container's place, a dangling link included.
    QString containerState() const
    {
        const QFileInfo info(m_container);
        return QStringLiteral("link %1 -> %2, dir %3, file %4")
            .arg(info.isSymLink())
            .arg(info.symLinkTarget())
            .arg(info.isDir())
            .arg(info.isFile());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(writeBytes(outside("notes.txt"), {}));
        QVERIFY(QDir().mkpath(outside("Other")));
        QVERIFY(QFile::link(m_documents + QStringLiteral("/Holidays"), outside("alias")));
    }

    void init()
    {
        // A link must go as a link: following it would empty the folder it points to.
        const QFileInfo info(m_container);
        if (info.isSymLink() || info.isFile())
            QVERIFY(QFile::remove(m_container));
        else if (info.isDir())
            QVERIFY(QDir(m_container).removeRecursively());
        QVERIFY(QDir().mkpath(m_documents + QStringLiteral("/Holidays")));
    }

    void refusesAndLeavesTheContainerAlone_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("before"); // at the container's place, or "no tree"
        const QString holidays = m_documents + QStringLiteral("/Holidays");
        QTest::newRow("the tree itself") << m_documents << "";
        QTest::newRow("the tree with a trailing slash") << m_documents + QLatin1Char('/') << "";
        QTest::newRow("a folder inside") << holidays << "";
        QTest::newRow("a dotted path inside") << holidays + QStringLiteral("/../Holidays") << "";
        QTest::newRow("a link that leads inside") << outside("alias") << "";
        QTest::newRow("the folder holding the tree") << AppPaths::dataDirectory() << "";
        QTest::newRow("the home holding the tree") << QDir::homePath() << "";
        QTest::newRow("holding a tree not made yet") << AppPaths::dataDirectory() << "no tree";
        QTest::newRow("a file") << outside("notes.txt") << "";
        QTest::newRow("missing") << outside("missing") << "";
        QTest::newRow("empty") << QString() << "";
        QTest::newRow("a folder there") << m_outside.path() << "folder";
        QTest::newRow("a file there") << m_outside.path() << "file";
        QTest::newRow("a link there") << m_outside.path() << "link";
        QTest::newRow("a dangling link there") << m_outside.path() << "dangling";
    }
    void refusesAndLeavesTheContainerAlone()
    {
        QFETCH(QString, folder);
        QFETCH(QString, before);
        if (before == QLatin1String("no tree"))
            QVERIFY(QDir(m_documents).removeRecursively());
        else if (before == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(m_container));
        else if (before == QLatin1String("file"))
            QVERIFY(writeBytes(m_container, {}));
        else if (!before.isEmpty())
            QVERIFY(QFile::link(before == QLatin1String("link") ? outside("Other") : outside("gone"),
                                m_container));
        const QString state = containerState();

        QVERIFY(!CloudContainerLink::create(folder).isEmpty());

        QCOMPARE(containerState(), state);
    }

    void linksAnOutsideFolder()
    {
        QVERIFY(QDir(AppPaths::dataDirectory()).removeRecursively());
        const QString folder = outside("Synced");
        QVERIFY(QDir().mkpath(folder));

        QCOMPARE(CloudContainerLink::create(folder), QString());

        QVERIFY(QFileInfo(m_container).isSymLink());
        QCOMPARE(QFile::symLinkTarget(m_container), QFileInfo(folder).canonicalFilePath());
        QVERIFY(QFileInfo(m_container).isDir());
    }
};

LUMISERA_TEST_MAIN(TestCloudContainerLink)
#include "TestCloudContainerLink.moc"
