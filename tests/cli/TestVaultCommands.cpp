#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString passcode = QStringLiteral("correct horse 42");

struct Outcome
{
    int status = -1;
    QString out;
    QString err;
};

} // namespace

// Runs the built lumisera-vault in this test's private home, with no session bus, so that the
// passcode lands in the fallback credentials file there.
class TestVaultCommands : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_work;

    Outcome vault(const QStringList &arguments, const QString &input = passcode + QLatin1Char('\n'))
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_work.path());
        process.start(QStringLiteral(LUMISERA_VAULT_BINARY), QStringList{"--passcode-stdin"} + arguments);
        process.write(input.toUtf8());
        process.closeWriteChannel();
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QString writeFile(const QString &name, const QByteArray &content)
    {
        const QString path = m_work.filePath(QStringLiteral("in/") + name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return QString();
        return path;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        // Before init every vault command refuses.
        const Outcome locked = vault({"ls"});
        QCOMPARE(locked.status, 1);
        QVERIFY(locked.err.contains("no passcode is set"));

        QCOMPARE(vault({"init"}, "short1\nshort1\n").status, 1);
        QCOMPARE(vault({"init"}, passcode + "\nother horse 42\n").err,
                 QStringLiteral("lumisera-vault: init: passcode refused: the two entries differ\n"));
        const Outcome init = vault({"init"}, passcode + "\n" + passcode + "\n");
        QCOMPARE(init.status, 0);
        const Outcome again = vault({"init"}, passcode + "\n" + passcode + "\n");
        QCOMPARE(again.status, 1);
        QVERIFY(again.err.contains("already set"));
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        const QString right = passcode + "\n";
        QTest::newRow("wrong passcode") << QStringList{"ls"} << "correct horse 43\n"
                                        << 1 << "lumisera-vault: wrong passcode\n";
        QTest::newRow("trailing space") << QStringList{"ls"} << passcode + " \n"
                                        << 1 << "lumisera-vault: wrong passcode\n";
        QTest::newRow("no passcode") << QStringList{"ls"} << "" << 1 << "lumisera-vault: no passcode given\n";
        QTest::newRow("missing folder") << QStringList{"ls", "Nowhere"} << right << 1
                                        << "lumisera-vault: no folder \"Nowhere\" in the local tree\n";
        QTest::newRow("refused name") << QStringList{"mkdir", ".."} << right << 1
                                      << "lumisera-vault: mkdir: refused folder name \"..\"\n";
        QTest::newRow("missing file") << QStringList{"get", "Open", "none.txt"} << right << 1
                                      << "lumisera-vault: no file \"none.txt\" in folder \"Open\"\n";
        QTest::newRow("no cloud container") << QStringList{"--cloud", "ls"} << right << 1
                                            << "lumisera-vault: the cloud container is absent (";
    }
    void failures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, input);
        QFETCH(int, status);
        QFETCH(QString, error);
        if (!QFileInfo::exists(
                QDir(qEnvironmentVariable("XDG_DATA_HOME")).filePath("Morvenda/Lumisera/Documents/Open")))
            QCOMPARE(vault({"mkdir", "Open"}).status, 0);
        const Outcome outcome = vault(arguments, input);
        QCOMPARE(outcome.status, status);
        // One line, naming what failed.
        QVERIFY2(outcome.err.startsWith(error), qPrintable(outcome.err));
        QCOMPARE(outcome.err.count(QLatin1Char('\n')), 1);
        QVERIFY(outcome.out.isEmpty());
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("mkdir without name") << QStringList{"mkdir"};
        QTest::newRow("rmdir unconfirmed") << QStringList{"rmdir", "Open"};
        QTest::newRow("unknown option") << QStringList{"ls", "--all"};
        QTest::newRow("pin bad verb") << QStringList{"pin", "Open", "change", "1234"};
        QTest::newRow("option after command") << QStringList{"ls", "--cloud"};
    }
    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        const Outcome outcome = vault(arguments);
        QCOMPARE(outcome.status, 2);
        QVERIFY(outcome.err.startsWith("lumisera-vault: "));
        QVERIFY(outcome.err.contains("Usage: lumisera-vault"));
        QVERIFY(outcome.out.isEmpty());
    }

    void helpForEveryCommand()
    {
        for (const char *command : {"init", "ls", "mkdir", "rmdir", "add", "get", "rm", "pin"}) {
            const Outcome outcome = vault({QString::fromLatin1(command), "--help"}, QString());
            QCOMPARE(outcome.status, 0);
            QVERIFY2(outcome.out.contains(QStringLiteral("lumisera-vault [--cloud] [--passcode-stdin] ") +
                                          command),
                     command);
        }
    }

    void addListGetRemove()
    {
        const QString notes = writeFile("a.txt", "first");
        const QString photo = writeFile("photo.jpg", QByteArray(5000, 'p'));
        QVERIFY(!notes.isEmpty() && !photo.isEmpty());
        QCOMPARE(vault({"mkdir", "my-trips"}).out, QStringLiteral("my_trips\n"));
        QCOMPARE(vault({"mkdir", "my_trips"}).status, 1);

        const Outcome added = vault({"add", "my_trips", notes, photo, notes, photo});
        QCOMPARE(added.status, 0);
        QCOMPARE(added.out, QStringLiteral("a.txt\nphoto.jpg\na(1).txt\nphoto(1).jpg\n"));
        QCOMPARE(vault({"ls", "my_trips"}).out, QStringLiteral("photo.jpg\nphoto(1).jpg\na.txt\na(1).txt\n"));
        QVERIFY(vault({"ls"}).out.split('\n').contains("my_trips"));

        QCOMPARE(vault({"get", "my_trips", "a.txt", "-o", "-"}).out, QStringLiteral("first"));
        const Outcome got = vault({"get", "my_trips", "photo(1).jpg"});
        QCOMPARE(got.status, 0);
        QFile copy(m_work.filePath("photo(1).jpg"));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), QByteArray(5000, 'p'));
        const Outcome again = vault({"get", "my_trips", "photo(1).jpg"});
        QCOMPARE(again.status, 1);
        QVERIFY(again.err.contains("already exists"));

        const QString hidden = writeFile(".profile", "p");
        QVERIFY(vault({"add", "my_trips", hidden}).err.contains("hidden name"));
        QVERIFY(QDir(m_work.path()).mkdir("out"));
        QCOMPARE(vault({"get", "my_trips", "a.txt", "-o", m_work.filePath("out")}).status, 0);
        QVERIFY(QFileInfo::exists(m_work.filePath("out/a.txt")));
        QCOMPARE(vault({"rm", "my_trips", "a.txt", "nothere.txt"}).status, 1);
        QCOMPARE(vault({"rm", "my_trips", "a.txt", "photo.jpg"}).status, 0);
        QCOMPARE(vault({"ls", "my_trips"}).out, QStringLiteral("photo(1).jpg\na(1).txt\n"));
        QCOMPARE(vault({"rmdir", "my_trips", "--yes"}).status, 0);
        QCOMPARE(vault({"ls", "my_trips"}).status, 1);
    }

    void pinProtection()
    {
        const QString notes = writeFile("secret.txt", "hidden");
        QCOMPARE(vault({"mkdir", "Safe", "--pin", "12"}).status, 1);
        QCOMPARE(vault({"mkdir", "Safe", "--pin", " 1234 "}).status, 0);

        const Outcome noPin = vault({"add", "Safe", notes});
        QCOMPARE(noPin.status, 1);
        QCOMPARE(
            noPin.err,
            QStringLiteral("lumisera-vault: folder \"Safe\" is protected by a PIN; give it with --pin\n"));
        const Outcome wrongPin = vault({"ls", "Safe", "--pin", "4321"});
        QCOMPARE(wrongPin.status, 1);
        QCOMPARE(wrongPin.err, QStringLiteral("lumisera-vault: wrong PIN for folder \"Safe\"\n"));
        QCOMPARE(vault({"add", "Safe", notes, "--pin", "1234"}).status, 0);
        // The PIN file never shows.
        QCOMPARE(vault({"ls", "Safe", "--pin", "1234"}).out, QStringLiteral("secret.txt\n"));

        QCOMPARE(vault({"pin", "Safe", "set", "5678"}).status, 0);
        QCOMPARE(vault({"ls", "Safe", "--pin", "1234"}).status, 1);
        QCOMPARE(vault({"pin", "Safe", "remove"}).status, 0);
        QCOMPARE(vault({"ls", "Safe"}).out, QStringLiteral("secret.txt\n"));
        const Outcome noPinLeft = vault({"pin", "Safe", "remove"});
        QCOMPARE(noPinLeft.status, 1);
        QCOMPARE(noPinLeft.err, QStringLiteral("lumisera-vault: pin: folder \"Safe\" has no PIN\n"));
    }
};

LUMISERA_TEST_MAIN(TestVaultCommands)
#include "TestVaultCommands.moc"
