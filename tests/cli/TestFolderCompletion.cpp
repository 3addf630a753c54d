// The folder names bash completion gets from lumisera-vault: only from a keyring that gives the
// passcode without a prompt, and never a question, a message or a change otherwise.
#include "FakeKeyring.h"
#include "TestHome.h"
#include "VaultProcess.h"
#include "cli/CommandLine.h"
#include "cli/FolderCompletion.h"
#include "core/AppPaths.h"
#include "core/UserDefaults.h"
#include "security/FileCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "security/KeychainCredentialBackend.h"
#include "security/PasscodeStore.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;
using Location = PasscodeStore::Location;

namespace {
const QString Passcode = QStringLiteral("garden path 7");

enum class Keyring { promptFree, locked, lostItem };
} // namespace

class TestFolderCompletion : public QObject
{
    Q_OBJECT
    std::shared_ptr<FakeKeyring> m_keyring;
    QTemporaryDir m_work;

    // The application's store over a fake keyring and the private file, the passcode saved where
    // `where` says, and two folders in each tree.
    void makeVault(Location where)
    {
        m_keyring = std::make_shared<FakeKeyring>();
        if (where == Location::file)
            m_keyring->setNoBackend(true);
        KeyChainHelper::shared().setBackend(
            std::make_unique<PasscodeStore>(std::make_unique<KeychainCredentialBackend>(m_keyring, 300ms),
                                            std::make_unique<FileCredentialBackend>(),
                                            AppPaths::credentialsFile(), [] { return VaultPresence{}; }));
        QVERIFY(KeyChainHelper::shared().saveKey(Passcode));
        QCOMPARE(PasscodeStore::recorded(), where);
        m_keyring->setNoBackend(false);
        for (const QString &tree :
             QStringList{AppPaths::documentsDirectory(), AppPaths::cloudContainer() + "/Documents"}) {
            for (const QString &folder : {QStringLiteral("Receipts"), QStringLiteral("Tax 2026")})
                QVERIFY(QDir().mkpath(tree + "/" + folder));
        }
    }

    struct Outcome
    {
        int status = -1;
        QString out;
    };

    Outcome complete(StorageLocation location, bool promptFree)
    {
        QString printed;
        QTextStream out(&printed);
        const int status = FolderCompletion(location, [promptFree] { return promptFree; }).run(out);
        return {status, printed};
    }

private Q_SLOTS:
    void cleanup()
    {
        KeyChainHelper::shared().lock();
        QDir(AppPaths::dataDirectory()).removeRecursively();
        UserDefaults::setPasscodeStore({});
    }

    void namesOnlyFromAKeyringWithoutPrompt_data()
    {
        QTest::addColumn<Location>("store");
        QTest::addColumn<Keyring>("keyring");
        QTest::addColumn<bool>("cloud");
        QTest::addColumn<QString>("expected");

        const QString both = QStringLiteral("Receipts\nTax 2026\n");
        QTest::newRow("unlocked keyring") << Location::keyring << Keyring::promptFree << false << both;
        QTest::newRow("unlocked keyring, cloud tree")
            << Location::keyring << Keyring::promptFree << true << both;
        QTest::newRow("locked keyring") << Location::keyring << Keyring::locked << false << QString();
        QTest::newRow("keyring without the item")
            << Location::keyring << Keyring::lostItem << false << QString();
        QTest::newRow("private file") << Location::file << Keyring::promptFree << false << QString();
    }

    void namesOnlyFromAKeyringWithoutPrompt()
    {
        QFETCH(Location, store);
        QFETCH(Keyring, keyring);
        QFETCH(bool, cloud);
        QFETCH(QString, expected);
        makeVault(store);
        if (keyring == Keyring::lostItem)
            m_keyring->setRefusal(FakeKeyring::Refusal::dismissed);
        const int jobsBefore = m_keyring->jobsStarted();

        const Outcome outcome =
            complete(cloud ? StorageLocation::cloud : StorageLocation::local, keyring != Keyring::locked);

        QCOMPARE(outcome.out, expected);
        QCOMPARE(outcome.status, expected.isEmpty() ? int(CommandLine::Failure) : int(CommandLine::Success));
        // A keyring that would prompt is never asked for the passcode; a file is never used.
        if (keyring == Keyring::locked || store == Location::file)
            QCOMPARE(m_keyring->jobsStarted(), jobsBefore);
        // Completing leaves the vault locked and the record as it was.
        QVERIFY(!KeyChainHelper::shared().isUnlocked());
        QCOMPARE(PasscodeStore::recorded(), store);
    }

    void nothingWithoutTheCloudContainer()
    {
        makeVault(Location::keyring);
        QVERIFY(QDir(AppPaths::cloudContainer()).removeRecursively());
        const Outcome outcome = complete(StorageLocation::cloud, true);
        QCOMPARE(outcome.out, QString());
        QCOMPARE(outcome.status, int(CommandLine::Failure));
    }

    void namesThatWouldBreakTheLineAreLeftOut()
    {
        makeVault(Location::keyring);
        QVERIFY(QDir().mkpath(AppPaths::documentsDirectory() + "/two\nlines"));
        QCOMPARE(complete(StorageLocation::local, true).out, QStringLiteral("Receipts\nTax 2026\n"));
    }

    // The program as bash runs it, where no keyring can answer: silent.
    void programStaysSilentWithoutKeyring_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("local") << QStringList{"--complete-folders"};
        QTest::newRow("cloud") << QStringList{"--cloud", "--complete-folders"};
        QTest::newRow("extra argument") << QStringList{"--complete-folders", "ls"};
    }

    void programStaysSilentWithoutKeyring()
    {
        QFETCH(QStringList, arguments);
        QVERIFY(m_work.isValid());
        makeVault(Location::keyring);
        const VaultOutcome outcome = runVault(arguments, QString(), m_work.path(), withoutSessionBus());
        QVERIFY(outcome.status > 0);
        QCOMPARE(outcome.out, QString());
        QCOMPARE(outcome.err, QString());
    }
};

LUMISERA_TEST_MAIN(TestFolderCompletion)
#include "TestFolderCompletion.moc"
