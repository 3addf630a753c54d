#include "TestHome.h"
#include "VaultProcess.h"
#include "security/FileCredentialBackend.h"
#include "security/KeyChainHelper.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {
const QString Current = u"correct horse 42"_s;
const QString Next = u"battery staple 7 and more"_s;

QString journalPath()
{
    return qEnvironmentVariable("XDG_DATA_HOME") + u"/Morvenda/Lumisera/passcode-change"_s;
}

QString lines(const QStringList &entries)
{
    return entries.join(u'\n') + u'\n';
}
} // namespace

// lumisera-vault passcode change, run as a user would in a private home whose passcode lives in
// the fallback credentials file.
class TestPasscodeChangeCommand : public QObject
{
    Q_OBJECT
    QTemporaryDir m_work;
    QByteArray m_large;

    VaultOutcome vault(const QStringList &arguments, const QString &input)
    {
        return runVault(QStringList{u"--passcode-stdin"_s} + arguments, input, m_work.path(),
                        withoutSessionBus());
    }

    QString source(const QString &name, const QByteArray &content)
    {
        const QString path = m_work.filePath(name);
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() ? path : QString();
    }

    QByteArray fetched(const QString &folder, const QString &name, const QString &passcode, int &status)
    {
        const QString out = m_work.filePath(u"out-"_s + name);
        QFile::remove(out);
        status = vault({u"get"_s, folder, name, u"-o"_s, out}, lines({passcode})).status;
        QFile file(out);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void verifyOpensWith(const QString &passcode)
    {
        int status = -1;
        QCOMPARE(fetched(u"Trips"_s, u"note.txt"_s, passcode, status), QByteArray("a note\n"));
        QCOMPARE(status, 0);
        QCOMPARE(fetched(u"Trips"_s, u"large.bin"_s, passcode, status), m_large);
        QCOMPARE(status, 0);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        m_large = QByteArray(48 << 20, 'v');
        QCOMPARE(vault({u"init"_s}, lines({Current, Current})).status, 0);
        QCOMPARE(vault({u"mkdir"_s, u"Trips"_s}, lines({Current})).status, 0);
        QCOMPARE(
            vault({u"add"_s, u"Trips"_s, source(u"note.txt"_s, "a note\n"), source(u"large.bin"_s, m_large)},
                  lines({Current}))
                .status,
            0);
    }

    // Refused before anything changes: the files still open with the current passcode.
    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("error");
        const QStringList change{u"passcode"_s, u"change"_s};
        QTest::newRow("wrong current passcode")
            << change << lines({u"correct horse 43"_s, Next, Next}) << u"wrong passcode"_s;
        QTest::newRow("entries differ")
            << change << lines({Current, Next, Next + u'x'}) << u"the two entries differ"_s;
        QTest::newRow("too short") << change << lines({Current, u"abc1"_s, u"abc1"_s})
                                   << u"passcode refused"_s;
        QTest::newRow("same key") << change << lines({Current, Current + u"0000"_s, Current + u"0000"_s})
                                  << u"first 16 characters"_s;
        QTest::newRow("no new passcode") << change << lines({Current}) << u"no new passcode given"_s;
        QTest::newRow("nothing to resume") << change + QStringList{u"--resume"_s} << lines({Current})
                                           << u"no passcode change is unfinished"_s;
        QTest::newRow("resume elsewhere")
            << QStringList{u"ls"_s, u"--resume"_s} << lines({Current}) << u"ls takes no --resume"_s;
    }
    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, input);
        QFETCH(QString, error);
        const VaultOutcome outcome = vault(arguments, input);
        QVERIFY(outcome.status == 1 || outcome.status == 2);
        QVERIFY2(outcome.err.contains(error), qPrintable(outcome.err));
        QVERIFY(!QFile::exists(journalPath()));
        verifyOpensWith(Current);
    }

    // Ctrl-C in the middle leaves an unfinished change: every other command refuses until
    // --resume finishes it, after which only the new passcode opens the files.
    void interruptedThenResumed_data()
    {
        QTest::addColumn<bool>("pendingKept");
        QTest::newRow("the store keeps the new passcode") << true;
        QTest::newRow("the store lost the new passcode") << false;
    }
    void interruptedThenResumed()
    {
        QFETCH(bool, pendingKept);
        QProcess change;
        change.setProcessEnvironment(withoutSessionBus());
        change.setWorkingDirectory(m_work.path());
        change.start(QStringLiteral(LUMISERA_VAULT_BINARY),
                     {u"--passcode-stdin"_s, u"passcode"_s, u"change"_s});
        change.write(lines({Current, Next, Next}).toUtf8());
        change.closeWriteChannel();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(journalPath()) || change.state() == QProcess::NotRunning,
                                 30000);
        ::kill(pid_t(change.processId()), SIGINT);
        QVERIFY(change.waitForFinished(60000));
        QCOMPARE(change.exitStatus(), QProcess::NormalExit);
        QCOMPARE(change.exitCode(), 1);
        QVERIFY2(change.readAllStandardError().contains("--resume"), "the stop names the way to resume");
        QVERIFY(QFile::exists(journalPath()));

        for (const QStringList &other :
             {QStringList{u"ls"_s}, QStringList{u"get"_s, u"Trips"_s, u"note.txt"_s}, QStringList{u"init"_s},
              QStringList{u"passcode"_s, u"change"_s}}) {
            const VaultOutcome refused = vault(other, lines({Current, Next, Next}));
            QCOMPARE(refused.status, 1);
            QVERIFY2(refused.err.contains(u"passcode change --resume"_s), qPrintable(refused.err));
        }
        const VaultOutcome wrong = vault({u"passcode"_s, u"change"_s, u"--resume"_s}, lines({Next}));
        QCOMPARE(wrong.status, 1);
        QVERIFY(QFile::exists(journalPath()));

        QString input = lines({Current});
        if (!pendingKept) {
            const QString credentials =
                qEnvironmentVariable("XDG_DATA_HOME") + u"/Morvenda/Lumisera/credentials"_s;
            QVERIFY(FileCredentialBackend(credentials).remove(KeyChainHelper::pendingAccount).succeeded());
            for (const QString &typed : {QString(), u"not the new one 1"_s}) {
                const VaultOutcome refused = vault({u"passcode"_s, u"change"_s, u"--resume"_s},
                                                   typed.isEmpty() ? input : lines({Current, typed}));
                QCOMPARE(refused.status, 1);
                QVERIFY2(refused.err.contains(u"not the new passcode"_s), qPrintable(refused.err));
                QVERIFY(QFile::exists(journalPath()));
            }
            input = lines({Current, Next});
        }
        const VaultOutcome resumed = vault({u"passcode"_s, u"change"_s, u"--resume"_s}, input);
        QVERIFY2(resumed.status == 0, qPrintable(resumed.err));
        QVERIFY(!QFile::exists(journalPath()));
        QCOMPARE(vault({u"ls"_s}, lines({Current})).err, u"lumisera-vault: wrong passcode\n"_s);
        verifyOpensWith(Next);

        // And back, in one go.
        const VaultOutcome back = vault({u"passcode"_s, u"change"_s}, lines({Next, Current, Current}));
        QVERIFY2(back.status == 0, qPrintable(back.err));
        QCOMPARE(back.out, u"The passcode was changed.\n"_s);
        verifyOpensWith(Current);
    }
};

LUMISERA_TEST_MAIN(TestPasscodeChangeCommand)
#include "TestPasscodeChangeCommand.moc"
