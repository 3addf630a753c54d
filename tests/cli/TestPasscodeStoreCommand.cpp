// lumisera-vault against a real desktop keyring, and the same vault seen without a session bus.
// It stores the passcode under the application's own keyring item, so it runs only on the
// private session bus that scripts/test.sh starts (LUMISERA_REQUIRE_SECRET_SERVICE=1).
#include "TestFiles.h"
#include "TestHome.h"
#include "VaultProcess.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString passcode = QStringLiteral("keyring horse 42");
const QString noBus = QStringLiteral("the desktop keyring is not reachable: no session bus");
} // namespace

class TestPasscodeStoreCommand : public QObject
{
    Q_OBJECT
    QTemporaryDir m_work;

    VaultOutcome vault(const QStringList &arguments, bool sessionBus = true,
                       const QString &input = passcode + QLatin1Char('\n'))
    {
        return runVault(arguments, input, m_work.path(),
                        sessionBus ? QProcessEnvironment::systemEnvironment() : withoutSessionBus());
    }

    QString credentialsFile() const
    {
        return QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME")) + "/Morvenda/Lumisera/credentials";
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIntValue("LUMISERA_REQUIRE_SECRET_SERVICE") != 1)
            QSKIP("Needs the private keyring of scripts/test.sh");
        QVERIFY(m_work.isValid());
    }

    void keyringOutOfReach()
    {
        QCOMPARE(vault({"init"}, true, passcode + "\n" + passcode + "\n").status, 0);
        QCOMPARE(vault({"passcode-store"}).out, QStringLiteral("keyring\n"));
        const QString note = m_work.filePath("note.txt");
        QVERIFY(writeBytes(note, "kept safe"));
        QCOMPARE(vault({"mkdir", "Notes"}).status, 0);
        QCOMPARE(vault({"add", "Notes", note}).status, 0);

        // The unlocked keyring gives the passcode without a prompt: bash completion gets the folders.
        const VaultOutcome completed = vault({"--complete-folders"}, true, QString());
        QCOMPARE(completed.out, QStringLiteral("Notes\n"));
        QCOMPARE(completed.status, 0);
        const VaultOutcome unreachable = vault({"--complete-folders"}, false, QString());
        QCOMPARE(unreachable.out + unreachable.err, QString());
        QCOMPARE(unreachable.status, 1);

        // Over SSH or from cron: one clear line, and no second passcode.
        const VaultOutcome listed = vault({"ls", "Notes"}, false);
        QCOMPARE(listed.status, 1);
        QCOMPARE(listed.err, "lumisera-vault: " + noBus + "\n");
        const VaultOutcome init = vault({"init"}, false, "other horse 42\nother horse 42\n");
        QCOMPARE(init.status, 1);
        QCOMPARE(init.err, "lumisera-vault: init: " + noBus + "; a passcode may already be set there\n");
        QVERIFY(!QFile::exists(credentialsFile()));

        // Moved to the file on purpose, it serves without the keyring; moved back, with it.
        QCOMPARE(vault({"passcode-store", "file"}, true, "wrong horse 42\n").status, 1);
        QCOMPARE(vault({"passcode-store", "file"}).status, 0);
        QCOMPARE(vault({"passcode-store"}).out, QStringLiteral("file\n"));
        QCOMPARE(vault({"--complete-folders"}, true, QString()).out, QString()); // the file: no names
        QCOMPARE(vault({"get", "Notes", "note.txt", "-o", "-"}, false).out, QStringLiteral("kept safe"));
        QCOMPARE(vault({"passcode-store", "keyring"}, false).status, 1);
        QCOMPARE(vault({"passcode-store", "keyring"}).status, 0);
        QVERIFY(!QFile::exists(credentialsFile()));
        QCOMPARE(vault({"get", "Notes", "note.txt", "-o", "-"}).out, QStringLiteral("kept safe"));
        QCOMPARE(vault({"ls", "Notes"}, false).status, 1);
    }
};

LUMISERA_TEST_MAIN(TestPasscodeStoreCommand)
#include "TestPasscodeStoreCommand.moc"
