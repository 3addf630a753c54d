#include "TestFiles.h"
#include "TestHome.h"
#include "VaultProcess.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

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
        const QString path = m_work.filePath("in/" + name);
        return QDir().mkpath(QFileInfo(path).path()) && writeBytes(path, content) ? path : QString();
    }

    // A file of mebibytes MiB, each of one byte: fill, or its index when fill is 0.
    QString bigFile(const QString &name, int mebibytes, char fill = 0)
    {
        const QString path = writeFile(name, QByteArray());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return QString();
        for (int mebibyte = 0; mebibyte < mebibytes; ++mebibyte)
            file.write(QByteArray(1 << 20, fill ? fill : char(mebibyte)));
        return path;
    }

    // Starts the command with the passcode on its input.
    static void start(QProcess &process, const QStringList &arguments,
                      const QProcessEnvironment &environment = withoutSessionBus())
    {
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(LUMISERA_VAULT_BINARY), QStringList{"--passcode-stdin"} + arguments);
        process.write((passcode + QLatin1Char('\n')).toUtf8());
        process.closeWriteChannel();
    }

    static QString storedFolder(const QString &folder)
    {
        return qEnvironmentVariable("XDG_DATA_HOME") + "/Morvenda/Lumisera/Documents/" + folder;
    }

    // Where files cannot be unnamed (no O_TMPFILE), the command writes into a hidden sibling.
    static QProcessEnvironment environment(bool unnamedFiles)
    {
        QProcessEnvironment environment = withoutSessionBus();
        if (!unnamedFiles)
            environment.insert("LUMISERA_NO_UNNAMED_FILES", "1");
        return environment;
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
        QCOMPARE(vault({"get", "my_trips", "photo(1).jpg"}).status, 0);
        QCOMPARE(fileContents(m_work.filePath("photo(1).jpg")), QByteArray(5000, 'p'));
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

    // note.txt is stored as "YXSh.tOS"; other conflict shapes differ only in parsing (TestFileNaming).
    // The command opens foreign names by their bytes, not by what they list as.
    void foreignNames_data()
    {
        QTest::addColumn<QByteArray>("onDisk");
        QTest::addColumn<QString>("listed");
        QTest::newRow("Nextcloud") << QByteArray("YXSh (conflicted copy 2026-12-06 155501).tOS")
                                   << QStringLiteral("note (conflict 2026-12-06 15:55).txt");
        QTest::newRow("not UTF-8") << QByteArray("\xff\xfe.tOS") << QString::fromUtf8("\uFFFD\uFFFD.txt");
    }
    void foreignNames()
    {
        QFETCH(QByteArray, onDisk);
        QFETCH(QString, listed);
        const QString folder =
            vault({"mkdir", QStringLiteral("Foreign ") + QTest::currentDataTag()}).out.trimmed();
        QCOMPARE(vault({"add", folder, writeFile("note.txt", "plain words")}).status, 0);
        const QByteArray stored = QFile::encodeName(storedFolder(folder));
        QVERIFY(QFile::copy(QFile::decodeName(stored + "/YXSh.tOS"), m_work.filePath("copied")));
        const QByteArray copy = stored + '/' + onDisk;
        QCOMPARE(::rename(QFile::encodeName(m_work.filePath("copied")).constData(), copy.constData()), 0);

        QVERIFY(vault({"ls", folder}).out.split('\n').contains(listed));
        QCOMPARE(vault({"get", folder, listed, "-o", "-"}).out, QStringLiteral("plain words"));
        const QString got = m_work.filePath(folder + ".txt");
        QCOMPARE(vault({"get", folder, listed, "-o", got}).status, 0);
        QCOMPARE(fileContents(got), QByteArray("plain words"));
        QCOMPARE(vault({"rm", folder, listed}).status, 0);
        struct stat status = {};
        QCOMPARE(::lstat(copy.constData(), &status), -1);
        QCOMPARE(vault({"ls", folder}).out, QStringLiteral("note.txt\n"));
    }

    // Two copies of one minute get names of their own, each of which opens its file.
    void conflictCopiesShowingAlike()
    {
        const QString folder = vault({"mkdir", "Alike"}).out.trimmed();
        QCOMPARE(vault({"add", folder, writeFile("note.txt", "words")}).status, 0);
        const QString stored = storedFolder(folder);
        for (const char *second : {"01", "59"})
            QVERIFY(QFile::copy(stored + "/YXSh.tOS",
                                stored + "/YXSh (conflicted copy 2026-12-06 1555" + second + ").tOS"));
        QVERIFY(
            QFile::copy(stored + "/YXSh.tOS", stored + "/YXSh.sync-conflict-20261206-155501-ABCDEFG.tOS"));
        const QStringList copies{"note (conflict 2026-12-06 15:55:59).txt",
                                 "note (conflict 2026-12-06 15:55:01).txt",
                                 "note (conflict 2026-12-06 15:55:01 ABCDEFG).txt"};
        QCOMPARE(vault({"ls", folder}).out.split('\n'), QStringList{"note.txt"} + copies + QStringList{""});
        for (const QString &copy : copies)
            QCOMPARE(vault({"get", folder, copy, "-o", "-"}).out, QStringLiteral("words"));
        QCOMPARE(vault({"rm", folder, copies.at(1)}).status, 0);
        QCOMPARE(QDir(stored).entryList(QDir::Files).size(), 3);
    }

    // A sync client brought a link to a folder outside the vault into the tree, and another into a
    // folder: neither is listed, and no command reads, writes or deletes through them.
    void linksLeadNowhere()
    {
        QTemporaryDir outside;
        const QString thesis = outside.filePath("thesis.txt");
        QVERIFY(writeBytes(thesis, "years of work"));
        QCOMPARE(vault({"mkdir", "Holder"}).status, 0);
        QVERIFY(QFile::link(outside.path(), storedFolder("Shared")));
        QVERIFY(QFile::link(thesis, storedFolder("Holder") + "/YXSh.tOS"));
        QVERIFY(QFile::link(outside.path(), storedFolder("Holder") + "/YXSh"));

        QVERIFY(!vault({"ls"}).out.split('\n').contains("Shared"));
        QCOMPARE(vault({"ls", "Holder"}).out, QString());
        const QString noFolder = "lumisera-vault: no folder \"Shared\" in the local tree\n";
        QCOMPARE(vault({"ls", "Shared"}).err, noFolder);
        QCOMPARE(vault({"rm", "Shared", "thesis.txt"}).err, noFolder);
        QCOMPARE(vault({"add", "Shared", writeFile("planted.txt", "x")}).err, noFolder);
        QCOMPARE(vault({"rmdir", "Shared", "--yes"}).err, noFolder);
        QCOMPARE(vault({"get", "Holder", "note.txt", "-o", "-"}).status, 1);
        QCOMPARE(vault({"rmdir", "Holder", "--yes"}).status, 0);
        QVERIFY(!QFileInfo::exists(storedFolder("Holder")));
        QCOMPARE(QDir(outside.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"thesis.txt"});
        QCOMPARE(fileContents(thesis), QByteArray("years of work"));
        QVERIFY(QFile::remove(storedFolder("Shared")));
    }

    // Every name `add` accepts is listed by that name: the others are refused before anything is
    // written (" @.WiY" would have been stored as the folder's PIN file).
    void namesNotKeptAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("leading space") << " notes.txt";
        QTest::newRow("trailing space") << "notes.txt ";
        QTest::newRow("stored as the PIN file") << " @.WiY";
        QTest::newRow("extension twice") << "a.jpg.jpg";
    }
    void namesNotKeptAreRefused()
    {
        QFETCH(QString, name);
        const QString folder =
            vault({"mkdir", QStringLiteral("Kept ") + QTest::currentDataTag()}).out.trimmed();
        const VaultOutcome refused = vault({"add", folder, writeFile(name, "1234")});
        QCOMPARE(refused.status, 1);
        QVERIFY2(refused.err.contains("would be listed under another name"), qPrintable(refused.err));
        QVERIFY(namesIn(storedFolder(folder)).isEmpty());
        const VaultOutcome listed = vault({"ls", folder});
        QCOMPARE(listed.status, 0);
        QCOMPARE(listed.out, QString());
    }

    // A PIN entry that a sync client cut short and renamed keeps its folder locked; the passcode
    // alone removes it.
    void damagedPinKeepsTheFolderLocked()
    {
        QCOMPARE(vault({"mkdir", "Damaged", "--pin", "4711"}).status, 0);
        QCOMPARE(vault({"add", "Damaged", writeFile("inside.txt", "secret"), "--pin", "4711"}).status, 0);
        const QString entry = storedFolder("Damaged") + "/@.Wdn ";
        QVERIFY(QFile::resize(entry, 10) && QFile::rename(entry, storedFolder("Damaged") + "/@.Wdn"));
        for (const QStringList &arguments :
             {QStringList{"ls", "Damaged"}, QStringList{"ls", "Damaged", "--pin", "4711"},
              QStringList{"get", "Damaged", "inside.txt", "-o", "-"}}) {
            const VaultOutcome locked = vault(arguments);
            QCOMPARE(locked.status, 1);
            QVERIFY2(
                locked.err.startsWith("lumisera-vault: The folder's PIN cannot be read (folder \"Damaged\")"),
                qPrintable(locked.err));
            QVERIFY(locked.out.isEmpty());
        }
        QCOMPARE(vault({"pin", "Damaged", "remove"}).status, 0);
        QCOMPARE(vault({"ls", "Damaged"}).out, QStringLiteral("inside.txt\n"));
    }

    // Two adds of different files under one name at once both keep their file: neither takes the
    // name the other stored under.
    void concurrentAddsKeepBothFiles()
    {
        QCOMPARE(vault({"mkdir", "Twice"}).status, 0);
        // Both sources complete before either add starts, so that the two run at once.
        const QStringList sources{bigFile("one/same.bin", 48, 'o'), bigFile("two/same.bin", 48, 't')};
        QVERIFY(!sources.contains(QString()));
        std::vector<std::unique_ptr<QProcess>> adds;
        for (const QString &source : sources)
            start(*adds.emplace_back(std::make_unique<QProcess>()), {"add", "Twice", source});
        QStringList stored;
        for (const auto &process : adds) {
            QVERIFY(process->waitForFinished(60000));
            QCOMPARE(process->exitCode(), 0);
            stored.append(QString::fromUtf8(process->readAllStandardOutput()).trimmed());
        }
        stored.sort();
        QCOMPARE(stored, (QStringList{"same(1).bin", "same.bin"}));
        QSet<char> contents;
        for (const QString &name : stored) {
            const QString out = vault({"get", "Twice", name, "-o", "-"}).out;
            QCOMPARE(out.size(), 48 << 20);
            contents.insert(out.at(0).toLatin1());
        }
        QCOMPARE(contents, (QSet<char>{'o', 't'}));
    }

    // A FIFO passes for a file by its name, but is never read: the command would wait for good.
    void specialFilesAreNotAdded()
    {
        const QString pipe = m_work.filePath("in/pipe.txt");
        QVERIFY(QDir().mkpath(m_work.filePath("in")));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const VaultOutcome refused = vault({"add", "Open", pipe});
        QCOMPARE(refused.status, 1);
        QVERIFY2(refused.err.contains("cannot read"), qPrintable(refused.err));
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

    // Interrupted half-way, `get` and `add` leave nothing behind: their bytes have no name until
    // complete or, where files cannot be unnamed, a hidden one that goes with the signal.
    void interruptedTransferLeavesNothing_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("unnamedFiles");
        QTest::newRow("get") << "get" << SIGINT << true;
        QTest::newRow("get, hidden sibling") << "get" << SIGHUP << false;
        QTest::newRow("add") << "add" << SIGINT << true;
        QTest::newRow("add, hidden sibling") << "add" << SIGINT << false;
        QTest::newRow("add, hidden sibling, SIGTERM") << "add" << SIGTERM << false;
    }
    void interruptedTransferLeavesNothing()
    {
        QFETCH(QString, command);
        QFETCH(int, signal);
        QFETCH(bool, unnamedFiles);
        const QString big = m_work.filePath("in/big.bin");
        if (!QFileInfo::exists(big)) {
            QCOMPARE(bigFile("big.bin", 160), big);
            QCOMPARE(vault({"add", "Open", big}).status, 0);
        }
        const bool get = command == "get";
        const QString out = get ? m_work.filePath("out-interrupted") : storedFolder("Open");
        QVERIFY(QDir().mkpath(out));
        const QStringList before = namesIn(out);
        const QString listed = vault({"ls", "Open"}).out;
        QProcess process;
        start(process,
              get ? QStringList{"get", "Open", "big.bin", "-o", out} : QStringList{"add", "Open", big},
              environment(unnamedFiles));
        // Interrupted once it writes into the folder.
        QTRY_VERIFY_WITH_TIMEOUT(holdsFileUnder(process.processId(), out), 20000);
        ::kill(pid_t(process.processId()), signal);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
        QCOMPARE(process.exitCode(), signal);
        QCOMPARE(namesIn(out), before);
        QCOMPARE(vault({"ls", "Open"}).out, listed);
    }

    // A write the system refuses part-way (over the file size limit here, as on a full disk)
    // fails the command with the system's reason, and leaves the vault and the target folder as
    // they were.
    void refusedWriteLeavesNothing_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<bool>("unnamedFiles");
        // The file has 6 MiB, written about 1 MiB at a time: refused in the first write, or half-way
        // through the fourth after three complete ones.
        const qint64 atStart = 1000, halfWay = 7 << 19;
        QTest::newRow("add, at start") << "add" << atStart << true;
        QTest::newRow("add, half-way") << "add" << halfWay << true;
        QTest::newRow("add, half-way, hidden sibling") << "add" << halfWay << false;
        QTest::newRow("get, at start") << "get" << atStart << true;
        QTest::newRow("get, half-way") << "get" << halfWay << true;
        QTest::newRow("get, half-way, hidden sibling") << "get" << halfWay << false;
    }
    void refusedWriteLeavesNothing()
    {
        QFETCH(QString, command);
        QFETCH(qint64, limit);
        QFETCH(bool, unnamedFiles);
        const QString input = m_work.filePath("in/limited.bin");
        if (!QFileInfo::exists(input)) {
            QCOMPARE(writeFile("limited.bin", QByteArray(6 << 20, 'l')), input);
            QCOMPARE(vault({"mkdir", "Limited"}).status, 0);
            QCOMPARE(vault({"add", "Limited", input}).status, 0);
        }
        const QString out = m_work.filePath("out-refused");
        QVERIFY(QDir().mkpath(out));
        const QStringList stored = namesIn(storedFolder("Limited"));
        const QString listed = vault({"ls", "Limited"}).out;
        const bool get = command == "get";
        const VaultOutcome outcome =
            runVault(get ? QStringList{"get", "Limited", "limited.bin", "-o", out}
                         : QStringList{"add", "Limited", input},
                     passcode + '\n', m_work.path(), environment(unnamedFiles), [limit] {
                         const rlimit size{rlim_t(limit), rlim_t(limit)};
                         ::setrlimit(RLIMIT_FSIZE, &size);
                         ::signal(SIGXFSZ, SIG_IGN);
                     });
        QCOMPARE(outcome.status, 1);
        // One line, naming the file and the system's reason.
        const QString file = get ? out + "/limited.bin" : input;
        const QString reason = QString::fromLocal8Bit(std::strerror(EFBIG));
        QVERIFY2(outcome.err.startsWith("lumisera-vault: " + command + ": ") &&
                     outcome.err.contains('"' + file + '"') && outcome.err.endsWith(": " + reason + '\n') &&
                     outcome.err.count('\n') == 1,
                 qPrintable(outcome.err));
        QVERIFY(outcome.out.isEmpty());
        QCOMPARE(vault({"ls", "Limited"}).out, listed);
        QCOMPARE(namesIn(storedFolder("Limited")), stored);
        QVERIFY(namesIn(out).isEmpty());
    }

    // `get -o - > file` keeps the plaintext in a file without a name until the whole file decrypted:
    // a kill -9 meanwhile leaves nothing in the temporary folder.
    void killedGetToAFileLeavesNoPlaintext_data()
    {
        QTest::addColumn<bool>("unnamedFiles");
        QTest::newRow("unnamed") << true;
        QTest::newRow("named, then unlinked") << false;
    }
    void killedGetToAFileLeavesNoPlaintext()
    {
        QFETCH(bool, unnamedFiles);
        const QString input = m_work.filePath("in/plain-big.bin");
        if (!QFileInfo::exists(input)) {
            QCOMPARE(bigFile("plain-big.bin", 96), input);
            QCOMPARE(vault({"add", "Open", input}).status, 0);
        }
        const QString temporary = qEnvironmentVariable("XDG_RUNTIME_DIR") + "/lumisera";
        QProcess process;
        process.setStandardOutputFile(m_work.filePath("out-killed.bin"));
        start(process, {"get", "Open", "plain-big.bin", "-o", "-"}, environment(unnamedFiles));
        QTRY_VERIFY_WITH_TIMEOUT(holdsFileUnder(process.processId(), temporary, 1 << 20), 20000);
        ::kill(pid_t(process.processId()), SIGKILL);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(namesIn(temporary), QStringList());
    }

    // What a killed command of an earlier version left goes at the next command; the previews
    // and shared copies of the application stay.
    void leftoverPlaintextGoesAtTheNextCommand()
    {
        const QString temporary = qEnvironmentVariable("XDG_RUNTIME_DIR") + "/lumisera";
        QVERIFY(QDir().mkpath(temporary));
        for (const QString &name : {QStringLiteral("get-Ab12Cd"), QStringLiteral("preview.txt")})
            QVERIFY(writeBytes(temporary + '/' + name, "plain"));
        QCOMPARE(vault({"ls"}).status, 0);
        QCOMPARE(namesIn(temporary), QStringList{"preview.txt"});
        QVERIFY(QFile::remove(temporary + "/preview.txt"));
    }

    // Ctrl-C at the passcode prompt ends the command with the terminal as it was: echo on.
    void interruptedPromptRestoresTheTerminal()
    {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QByteArray terminalPath = ::ptsname(master);
        const int terminal = ::open(terminalPath.constData(), O_RDWR | O_NOCTTY);
        QVERIFY(terminal >= 0);
        termios settings{};
        QVERIFY(::tcgetattr(terminal, &settings) == 0 && (settings.c_lflag & ECHO));
        QProcess process;
        process.setProcessEnvironment(withoutSessionBus());
        process.setChildProcessModifier([terminalPath] {
            ::setsid();
            const int controlling = ::open(terminalPath.constData(), O_RDWR);
            ::ioctl(controlling, TIOCSCTTY, 0);
        });
        process.start(QStringLiteral(LUMISERA_VAULT_BINARY), {"ls"});
        QByteArray shown;
        const auto prompted = [&] {
            char buffer[256];
            pollfd ready{master, POLLIN, 0};
            while (::poll(&ready, 1, 0) > 0 && (ready.revents & POLLIN)) {
                const ssize_t count = ::read(master, buffer, sizeof buffer);
                if (count <= 0)
                    break;
                shown.append(buffer, count);
            }
            termios now{};
            return shown.contains("Passcode: ") && ::tcgetattr(terminal, &now) == 0 && !(now.c_lflag & ECHO);
        };
        QTRY_VERIFY_WITH_TIMEOUT(prompted(), 20000);
        ::kill(pid_t(process.processId()), SIGINT);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
        QVERIFY(::tcgetattr(terminal, &settings) == 0);
        QVERIFY(settings.c_lflag & ECHO);
        ::close(terminal);
        ::close(master);
    }

    // Folder names are stored in clear: the folders the vault makes are the owner's alone.
    void foldersArePrivate()
    {
        const QString data = qEnvironmentVariable("XDG_DATA_HOME") + "/Morvenda/Lumisera";
        QVERIFY(QDir().mkpath(data + "/CloudContainer"));
        QCOMPARE(vault({"--cloud", "ls"}).status, 0);
        for (const QString &folder :
             {data, QString(data + "/Documents"), QString(data + "/CloudContainer/Documents")}) {
            struct stat status = {};
            QCOMPARE(::stat(QFile::encodeName(folder).constData(), &status), 0);
            QCOMPARE(status.st_mode & 0777, mode_t(0700));
        }
    }
};

LUMISERA_TEST_MAIN(TestVaultCommands)
#include "TestVaultCommands.moc"
