#include "TestFiles.h"
#include "TestHome.h"
#include "VaultProcess.h"
#include "storage/FileNaming.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QString passcode = u"correct horse 42"_s;
const QString otherPasscode = u"other horse 43"_s;
const QString keyCheckName = u".lumisera-keycheck"_s;
} // namespace

// lumisera-vault check, and the refusal of a home whose passcode differs from the one a shared
// tree was written with.
class TestVaultCheckCommand : public QObject
{
    Q_OBJECT
    QTemporaryDir m_work;
    QTemporaryDir m_secondHome;

    static QString data() { return qEnvironmentVariable("XDG_DATA_HOME") + u"/Morvenda/Lumisera"_s; }
    static QString localTree() { return data() + u"/Documents"_s; }
    static QString cloudTree() { return data() + u"/CloudContainer/Documents"_s; }

    VaultOutcome vault(const QStringList &arguments, const QString &input = passcode + u'\n')
    {
        return runVault(QStringList{u"--passcode-stdin"_s} + arguments, input, m_work.path(),
                        withoutSessionBus());
    }

    // A second machine: a home of its own whose CloudContainer is this home's (the sync client's
    // folder), with its own passcode.
    QProcessEnvironment secondMachine() const
    {
        QProcessEnvironment environment = withoutSessionBus();
        for (const char *name :
             {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
            environment.insert(QString::fromLatin1(name), m_secondHome.filePath(QString::fromLatin1(name)));
        return environment;
    }
    VaultOutcome second(const QStringList &arguments, const QString &input = otherPasscode + u'\n')
    {
        return runVault(QStringList{u"--passcode-stdin"_s} + arguments, input, m_work.path(),
                        secondMachine());
    }

    QString input(const QString &name, const QByteArray &content)
    {
        const QString path = m_work.filePath(name);
        return writeBytes(path, content) ? path : QString();
    }

    // The stored file of folder in tree (the only one not hidden and not the PIN entry).
    static QString storedFile(const QString &folder)
    {
        for (const QString &name : QDir(folder).entryList(QDir::Files)) {
            if (!name.startsWith(u'@'))
                return folder + u'/' + name;
        }
        return QString();
    }

    static QMap<QString, QByteArray> snapshot(const QString &tree)
    {
        QMap<QString, QByteArray> files;
        for (const QString &path : filesUnder(tree))
            files.insert(path, fileContents(path));
        return files;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_work.isValid() && m_secondHome.isValid());
        QCOMPARE(vault({u"init"_s}, passcode + u'\n' + passcode + u'\n').status, 0);
        QVERIFY(QDir().mkpath(data() + u"/CloudContainer"_s));
        QCOMPARE(vault({u"mkdir"_s, u"Trips"_s}).status, 0);
        QCOMPARE(vault({u"add"_s, u"Trips"_s, input(u"a.txt"_s, QByteArray(100, 'a'))}).status, 0);
        QCOMPARE(vault({u"--cloud"_s, u"mkdir"_s, u"Shared"_s}).status, 0);
        QCOMPARE(vault({u"--cloud"_s, u"add"_s, u"Shared"_s, input(u"b.txt"_s, QByteArray(100, 'b'))}).status,
                 0);
    }

    // The first write gave each tree its key-check entry, which no listing shows.
    void firstWriteLeftAnEntry()
    {
        for (const QString &tree : {localTree(), cloudTree()})
            QVERIFY2(QFileInfo(tree + u'/' + keyCheckName).isFile(), qPrintable(tree));
        QCOMPARE(vault({u"ls"_s}).out, u"Trips\n"_s);
        QCOMPARE(vault({u"--cloud"_s, u"ls"_s}).out, u"Shared\n"_s);
    }

    void summaryAndStatus_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("lines"); // each must be a line of the output
        const QStringList clean{u"Nothing is wrong."_s};
        QTest::newRow("clean") << QStringList{u"check"_s} << "none" << 0 << clean;
        QTest::newRow("local file cut")
            << QStringList{u"check"_s} << "cut local" << 1
            << QStringList{u"Files that do not decrypt with the passcode: 1"_s, u"  local: Trips/a.txt"_s};
        QTest::newRow("only the cloud tree")
            << QStringList{u"check"_s, u"--cloud"_s} << "cut local" << 0 << clean;
        QTest::newRow("global --cloud") << QStringList{u"--cloud"_s, u"check"_s} << "cut local" << 0 << clean;
        QTest::newRow("only the local tree") << QStringList{u"check"_s, u"--local"_s} << "cut local" << 1
                                             << QStringList{u"  local: Trips/a.txt"_s};
        QTest::newRow("link in the cloud tree")
            << QStringList{u"check"_s} << "cloud link" << 1
            << QStringList{u"Symbolic links: 1"_s, u"  cloud: Shared/elsewhere.txt"_s};
        QTest::newRow("key check of another passcode")
            << QStringList{u"check"_s, u"--local"_s} << "foreign key check" << 1
            << QStringList{u"Trees written with another passcode: 1"_s, u"  local: "_s + keyCheckName};
    }
    void summaryAndStatus()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, damage);
        QFETCH(int, status);
        QFETCH(QStringList, lines);
        const QString localFile = storedFile(localTree() + u"/Trips"_s);
        const QByteArray original = fileContents(localFile);
        const QByteArray keyCheck = fileContents(localTree() + u'/' + keyCheckName);
        const QString link = cloudTree() + u"/Shared/"_s + FileNaming::storedFileName(u"elsewhere.txt"_s);
        if (damage == "cut local")
            QVERIFY(writeBytes(localFile, original.chopped(3)));
        else if (damage == "cloud link")
            QVERIFY(QFile::link(u"/etc/hostname"_s, link));
        else if (damage == "foreign key check")
            QVERIFY(writeBytes(localTree() + u'/' + keyCheckName, QByteArray(32, 'k')));
        const auto before = snapshot(data());
        const VaultOutcome outcome = vault(arguments);
        const auto after = snapshot(data());
        // Put back before anything can fail.
        QVERIFY(writeBytes(localFile, original));
        QVERIFY(writeBytes(localTree() + u'/' + keyCheckName, keyCheck));
        QFile::remove(link);

        QCOMPARE(outcome.status, status);
        const QStringList out = outcome.out.split(u'\n');
        for (const QString &line : lines)
            QVERIFY2(out.contains(line), qPrintable(outcome.out));
        // The trees looked at, named on the first line.
        const bool both = !arguments.contains(u"--cloud"_s) && !arguments.contains(u"--local"_s);
        const QString trees = both ? u"local tree, cloud tree"_s
                                   : (arguments.contains(u"--cloud"_s) ? u"cloud tree"_s : u"local tree"_s);
        QVERIFY2(out.first().startsWith(u"Checked: "_s + trees + u"; files: "_s), qPrintable(outcome.out));
        if (status == 0)
            QCOMPARE(outcome.err, QString());
        else
            QVERIFY2(outcome.err.startsWith(u"lumisera-vault: check: "_s), qPrintable(outcome.err));
        // No progress line off a terminal.
        QVERIFY(!outcome.err.contains(u'\r'));
        // It looked and changed nothing.
        QCOMPARE(after, before);
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::newRow("both trees named") << QStringList{u"check"_s, u"--cloud"_s, u"--local"_s} << 2;
        QTest::newRow("an operand") << QStringList{u"check"_s, u"Trips"_s} << 2;
        QTest::newRow("a PIN") << QStringList{u"check"_s, u"--pin"_s, u"1234"_s} << 2;
    }
    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QCOMPARE(vault(arguments).status, status);
        QCOMPARE(vault({u"check"_s}, u"wrong horse 99\n"_s).status, 1);
    }

    // The second machine's passcode differs: it writes nothing into the shared tree, and says why.
    void secondMachineIsRefused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("mkdir") << QStringList{u"--cloud"_s, u"mkdir"_s, u"Other"_s};
        QTest::newRow("add") << QStringList{u"--cloud"_s, u"add"_s, u"Shared"_s, u"c.txt"_s};
        QTest::newRow("pin set") << QStringList{u"--cloud"_s, u"pin"_s, u"Shared"_s, u"set"_s, u"9876"_s};
    }
    void secondMachineIsRefused()
    {
        QFETCH(QStringList, arguments);
        QVERIFY(!input(u"c.txt"_s, "second machine").isEmpty());
        const QString container = m_secondHome.filePath(u"XDG_DATA_HOME/Morvenda/Lumisera/CloudContainer"_s);
        if (!QFileInfo(container).isSymLink()) {
            QCOMPARE(second({u"init"_s}, otherPasscode + u'\n' + otherPasscode + u'\n').status, 0);
            QVERIFY(QDir().mkpath(QFileInfo(container).path()));
            QVERIFY(QFile::link(data() + u"/CloudContainer"_s, container));
        }
        const auto before = snapshot(cloudTree());
        const VaultOutcome outcome = second(arguments);
        QCOMPARE(outcome.status, 1);
        QCOMPARE(outcome.err, u"lumisera-vault: This folder tree was written with another passcode\n"_s);
        QCOMPARE(snapshot(cloudTree()), before);
        // Its own local tree is its own.
        QCOMPARE(second({u"mkdir"_s, u"Mine"_s}).status, 0);
        const VaultOutcome check = second({u"check"_s, u"--cloud"_s});
        QCOMPARE(check.status, 1);
        QVERIFY2(check.out.contains(u"Trees written with another passcode: 1\n"_s), qPrintable(check.out));
        QVERIFY2(check.out.contains(u"  cloud: Shared/b.txt\n"_s), qPrintable(check.out));
        second({u"rmdir"_s, u"Mine"_s, u"--yes"_s});
    }
};

LUMISERA_TEST_MAIN(TestVaultCheckCommand)

#include "TestVaultCheckCommand.moc"
