#include "TestHome.h"
#include "VaultProcess.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/stat.h>

namespace {
const QString passcode = QStringLiteral("correct horse 42");
} // namespace

// Runs the built lumisera-vault in this test's private home, with no session bus, so that the
// passcode lands in the fallback credentials file there.
class TestVaultCommands : public QObject
{
    Q_OBJECT
    QTemporaryDir m_work;

    VaultOutcome vault(const QStringList &arguments, const QString &input = passcode + QLatin1Char('\n'))
    {
        return runVault(arguments, input, m_work.path(), withoutSessionBus());
    }

    QString writeFile(const QString &name, const QByteArray &content)
    {
        QDir().mkpath(m_work.filePath("in"));
        QFile file(m_work.filePath("in/" + name));
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() ? file.fileName()
                                                                                        : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        // Before init every vault command refuses.
        const VaultOutcome locked = vault({"ls"});
        QCOMPARE(locked.status, 1);
        QVERIFY(locked.err.contains("no passcode is set"));
        QCOMPARE(vault({"init"}, "short1\nshort1\n").status, 1);
        QCOMPARE(vault({"init"}, passcode + "\nother horse 42\n").err,
                 QStringLiteral("lumisera-vault: init: passcode refused: the two entries differ\n"));
        const QString twice = passcode + "\n" + passcode + "\n";
        QCOMPARE(vault({"init"}, twice).status, 0);
        QVERIFY(vault({"init"}, twice).err.startsWith("lumisera-vault: init: a passcode is already set"));
        QCOMPARE(vault({"mkdir", "Open"}).status, 0);
        QCOMPARE(vault({"mkdir", "Safe", "--pin", "12"}).status, 1);
        QCOMPARE(vault({"mkdir", "Safe", "--pin", " 1234 "}).status, 0);
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("error");
        auto row = [](const char *name, const QStringList &arguments, const QString &error,
                      const QString &input = passcode + "\n") {
            QTest::newRow(name) << arguments << input << error;
        };
        row("wrong passcode", {"ls"}, "wrong passcode\n", "correct horse 43\n");
        row("trailing space", {"ls"}, "wrong passcode\n", passcode + " \n");
        row("no passcode", {"ls"}, "no passcode given\n", "");
        row("missing folder", {"ls", "Nowhere"}, "no folder \"Nowhere\" in the local tree\n");
        row("refused name", {"mkdir", ".."}, "mkdir: refused folder name \"..\"\n");
        row("existing folder", {"mkdir", "Open"}, "mkdir: folder \"Open\" already exists\n");
        row("missing file", {"get", "Open", "none.txt"}, "no file \"none.txt\" in folder \"Open\"\n");
        row("no cloud container", {"--cloud", "ls"}, "the cloud container is absent (");
        row("no PIN given", {"ls", "Safe"}, "folder \"Safe\" is protected by a PIN; give it with --pin\n");
        row("wrong PIN", {"ls", "Safe", "--pin", "4321"}, "wrong PIN for folder \"Safe\"\n");
        row("no PIN to remove", {"pin", "Open", "remove"}, "pin: folder \"Open\" has no PIN\n");
    }
    void failures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, input);
        QFETCH(QString, error);
        const VaultOutcome outcome = vault(arguments, input);
        QCOMPARE(outcome.status, 1);
        // One line, naming what failed.
        QVERIFY2(outcome.err.startsWith("lumisera-vault: " + error), qPrintable(outcome.err));
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
        const VaultOutcome outcome = vault(arguments);
        QCOMPARE(outcome.status, 2);
        QVERIFY(outcome.err.startsWith("lumisera-vault: "));
        QVERIFY(outcome.err.contains("Usage: lumisera-vault"));
        QVERIFY(outcome.out.isEmpty());
    }

    void addListGetRemove()
    {
        const QString notes = writeFile("a.txt", "first");
        const QString photo = writeFile("photo.jpg", QByteArray(5000, 'p'));
        QVERIFY(!notes.isEmpty() && !photo.isEmpty());
        QCOMPARE(vault({"mkdir", "my-trips"}).out, QStringLiteral("my_trips\n"));
        QCOMPARE(vault({"mkdir", "my_trips"}).status, 1);

        const VaultOutcome added = vault({"add", "my_trips", notes, photo, notes, photo});
        QCOMPARE(added.status, 0);
        QCOMPARE(added.out, QStringLiteral("a.txt\nphoto.jpg\na(1).txt\nphoto(1).jpg\n"));
        QCOMPARE(vault({"ls", "my_trips"}).out, QStringLiteral("photo.jpg\nphoto(1).jpg\na.txt\na(1).txt\n"));
        QVERIFY(vault({"ls"}).out.split('\n').contains("my_trips"));

        QCOMPARE(vault({"get", "my_trips", "a.txt", "-o", "-"}).out, QStringLiteral("first"));
        const VaultOutcome got = vault({"get", "my_trips", "photo(1).jpg"});
        QCOMPARE(got.status, 0);
        QFile copy(m_work.filePath("photo(1).jpg"));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), QByteArray(5000, 'p'));
        const VaultOutcome again = vault({"get", "my_trips", "photo(1).jpg"});
        QCOMPARE(again.status, 1);
        QVERIFY(again.err.contains("already exists"));

        const QString hidden = writeFile(".profile", "p");
        QVERIFY(vault({"add", "my_trips", hidden}).err.contains("hidden name"));
        QVERIFY(vault({"add", "my_trips", writeFile("@.PIN", "p")}).err.contains("PIN file"));
        QCOMPARE(vault({"mkdir", "@.pin"}).status, 1);
        QVERIFY(QDir(m_work.path()).mkdir("out"));
        QCOMPARE(vault({"get", "my_trips", "a.txt", "-o", m_work.filePath("out")}).status, 0);
        QVERIFY(QFileInfo::exists(m_work.filePath("out/a.txt")));
        QCOMPARE(vault({"rm", "my_trips", "a.txt", "nothere.txt"}).status, 1);
        QCOMPARE(vault({"rm", "my_trips", "photo(1).jpg", "photo(1).jpg"}).status,
                 0); // one file, named twice
        QVERIFY(!vault({"ls", "my_trips"}).out.contains("photo(1).jpg"));
        QCOMPARE(vault({"rm", "my_trips", "a.txt", "photo.jpg"}).status, 0);
        QCOMPARE(vault({"ls", "my_trips"}).out, QStringLiteral("a(1).txt\n"));
        QCOMPARE(vault({"rmdir", "my_trips", "--yes"}).status, 0);
        QCOMPARE(vault({"ls", "my_trips"}).status, 1);
    }

    void pinProtection()
    {
        const QString notes = writeFile("secret.txt", "hidden");
        QCOMPARE(vault({"add", "Safe", notes, "--pin", "1234"}).status, 0);
        // The PIN file never shows.
        QCOMPARE(vault({"ls", "Safe", "--pin", "1234"}).out, QStringLiteral("secret.txt\n"));
        QCOMPARE(vault({"pin", "Safe", "set", "5678"}).status, 0);
        QCOMPARE(vault({"ls", "Safe", "--pin", "1234"}).status, 1);
        QCOMPARE(vault({"pin", "Safe", "remove"}).status, 0);
        QCOMPARE(vault({"ls", "Safe"}).out, QStringLiteral("secret.txt\n"));
    }

    // Names come from other programs: on a terminal their control characters show as "?", as
    // with `ls -q`; a pipe gets the names as they are.
    void listingOnATerminal()
    {
        const QString name = QStringLiteral("bell\a\x1b[2J.txt");
        QCOMPARE(vault({"add", "Open", writeFile(name, "ding"), writeFile("archive.zip", "zip")}).status, 0);
        // Files of any kind are listed, those of no known kind last.
        QCOMPARE(vault({"ls", "Open"}).out.split('\n'), (QStringList{name, "archive.zip", ""}));
        QProcess terminal;
        terminal.setProcessEnvironment(withoutSessionBus());
        terminal.start("script", {"-qec", QStringLiteral(LUMISERA_VAULT_BINARY) + " --passcode-stdin ls Open",
                                  "/dev/null"});
        terminal.write((passcode + QLatin1Char('\n')).toUtf8());
        QVERIFY(terminal.waitForFinished(60000));
        const QByteArray shown = terminal.readAllStandardOutput();
        QVERIFY2(shown.contains("bell??[2J.txt"), shown.constData());
        QVERIFY(!shown.contains('\a') && !shown.contains('\x1b'));
    }

    // Interrupted half-way, `get` leaves no plaintext: its bytes have no name until complete.
    void interruptedGetLeavesNothing()
    {
        QFile big(m_work.filePath("in/big.bin"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        for (int mebibyte = 0; mebibyte < 160; ++mebibyte)
            big.write(QByteArray(1 << 20, char(mebibyte)));
        big.close();
        QCOMPARE(vault({"add", "Open", big.fileName()}).status, 0);
        const QString out = m_work.filePath("out-interrupted");
        QVERIFY(QDir().mkpath(out));
        QProcess get;
        get.setProcessEnvironment(withoutSessionBus());
        get.start(QStringLiteral(LUMISERA_VAULT_BINARY),
                  {"--passcode-stdin", "get", "Open", "big.bin", "-o", out});
        get.write((passcode + QLatin1Char('\n')).toUtf8());
        get.closeWriteChannel();
        // Interrupted once it writes into the folder.
        const QString fds = QStringLiteral("/proc/%1/fd").arg(get.processId());
        const auto writing = [&] {
            for (const QFileInfo &fd : QDir(fds).entryInfoList(QDir::Files | QDir::System)) {
                if (fd.symLinkTarget().startsWith(out))
                    return true;
            }
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(writing(), 20000);
        ::kill(pid_t(get.processId()), SIGINT);
        QVERIFY(get.waitForFinished(20000));
        QCOMPARE(get.exitStatus(), QProcess::CrashExit);
        QVERIFY(QDir(out).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
        QVERIFY(big.remove());
    }

    // Folder names are stored in clear: the folders the vault makes are the owner's alone.
    void foldersArePrivate()
    {
        const QString data = qEnvironmentVariable("XDG_DATA_HOME") + "/Morvenda/Lumisera";
        QVERIFY(QDir().mkpath(data + "/CloudContainer"));
        QCOMPARE(vault({"--cloud", "ls"}).status, 0);
        for (const QString &folder : {data, data + "/Documents", data + "/CloudContainer/Documents"}) {
            struct stat status = {};
            QCOMPARE(::stat(QFile::encodeName(folder).constData(), &status), 0);
            QCOMPARE(status.st_mode & 0777, mode_t(0700));
        }
    }
};

LUMISERA_TEST_MAIN(TestVaultCommands)
#include "TestVaultCommands.moc"
