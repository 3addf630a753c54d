#include "EventLoopMarkers.h"
#include "FakeKeyring.h"
#include "LogCapture.h"
#include "TestFiles.h"
#include "TestHome.h"
#include "core/AppPaths.h"
#include "core/UserDefaults.h"
#include "security/FileCredentialBackend.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "security/KeychainCredentialBackend.h"
#include "security/PasscodeStore.h"
#include "security/VaultPresence.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <future>

using namespace std::chrono_literals;
using State = KeyChainHelper::PasscodeState;
using Location = PasscodeStore::Location;

namespace {
const QString Account = QStringLiteral("com_morvenda_dailyVeln");
constexpr auto Deadline = 300ms;
const auto helper = []() -> KeyChainHelper & { return KeyChainHelper::shared(); };

enum class Keyring { works, noBackend, neverAnswers, answersLate, locked, dismissed };

void stampInstalled(bool earlier)
{
    UserDefaults::setDate(UserDefaults::Key::installed, earlier ? QDateTime::currentDateTimeUtc().addDays(-3)
                                                                : UserDefaults::distantPast());
}
} // namespace

class TestKeyChainHelper : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    std::shared_ptr<FakeKeyring> m_keyring;
    QString m_file;
    VaultPresence m_presence;

    // The application's store over a new fake keyring and this test function's private file.
    PasscodeStore &installStore(std::function<VaultPresence()> presence = {})
    {
        m_keyring = std::make_shared<FakeKeyring>();
        if (!presence)
            presence = [this] { return m_presence; };
        auto store = std::make_unique<PasscodeStore>(
            std::make_unique<KeychainCredentialBackend>(m_keyring, Deadline),
            std::make_unique<FileCredentialBackend>(m_file), m_file, std::move(presence));
        PasscodeStore &result = *store;
        helper().setBackend(std::move(store));
        return result;
    }

    void setVaultInUse(bool inUse)
    {
        m_presence =
            inUse ? VaultPresence{true, QStringLiteral("the on-device tree holds folders")} : VaultPresence{};
    }

    void setKeyring(Keyring keyring)
    {
        m_keyring->setNoBackend(keyring == Keyring::noBackend);
        m_keyring->setRefusal(keyring == Keyring::locked      ? FakeKeyring::Refusal::locked
                              : keyring == Keyring::dismissed ? FakeKeyring::Refusal::dismissed
                                                              : FakeKeyring::Refusal::none);
        const FakeKeyring::Delay answer = keyring == Keyring::neverAnswers  ? FakeKeyring::Delay()
                                          : keyring == Keyring::answersLate ? FakeKeyring::Delay(800ms)
                                                                            : FakeKeyring::Delay(0ms);
        m_keyring->setDelays(answer, answer);
    }

    std::optional<QByteArray> inFile()
    {
        const CredentialResult result = FileCredentialBackend(m_file).read(Account);
        return result.succeeded() ? std::optional<QByteArray>(result.secret) : std::nullopt;
    }

private Q_SLOTS:
    void init()
    {
        helper().setBackend(std::make_unique<InMemoryCredentialBackend>());
        helper().lock();
        UserDefaults::setPasscodeStore({});
        stampInstalled(true);
        setVaultInUse(false);
        m_file = m_dir.filePath(QString::number(QRandomGenerator::global()->generate()) + "/credentials");
    }

    static VaultSessionPtr unlock(const QString &passcode)
    {
        return helper().unlock(passcode, helper().lockGeneration());
    }

    static std::optional<QString> stored() { return helper().lookUp().passcode; }

    void saveAndDeleteKey()
    {
        auto *backend = new InMemoryCredentialBackend;
        helper().setBackend(std::unique_ptr<CredentialBackend>(backend));
        const QString longPasscode = QStringLiteral("a passcode well over sixteen bytes: ünïcödé");
        LogCapture capture;
        QVERIFY(helper().saveKey("first passcode"));
        const VaultSessionPtr first = unlock("first passcode");
        QSignalSpy changed(&helper(), &KeyChainHelper::loadedKeyChanged);
        QVERIFY(helper().saveKey(longPasscode));
        QCOMPARE(changed.count(), 1); // the session under the old passcode ends
        QVERIFY(!first->isOpen() && !first->key());
        QCOMPARE(helper().loadedKey(), std::nullopt);
        QCOMPARE(stored(), longPasscode);                   // stored whole, not cut to a key
        QVERIFY(!helper().saveKey(QString(QChar(0xd800)))); // a lone surrogate has no UTF-8 form
        // A failing store answers false, keeps what it holds, and never reads as "no passcode".
        QVERIFY(unlock(longPasscode));
        backend->setFailing(true);
        QVERIFY(!helper().deleteKey());
        QVERIFY(helper().isUnlocked());
        QVERIFY(!helper().saveKey("new passcode"));
        QCOMPARE(helper().lookUp().state, State::unavailable);
        backend->setFailing(false);
        QCOMPARE(stored(), longPasscode);
        // Deleting locks, and succeeds again when nothing is stored any more.
        QVERIFY(helper().deleteKey());
        QVERIFY(!helper().isUnlocked());
        QCOMPARE(stored(), std::nullopt);
        QVERIFY(helper().deleteKey());
        QVERIFY(!capture.contains("first passcode") && !capture.contains(longPasscode));
    }

    // An answer that comes after a lock never opens the vault; the lock ends the session and its key.
    void sessionsAndLocks()
    {
        const quint64 beforeLock = helper().lockGeneration();
        const VaultSessionPtr open = unlock("passcode1");
        QVERIFY(open && open->isOpen() && open->holdsKey("passcode1") && !open->holdsKey("passcode2"));
        QCOMPARE(unlock("passcode1"), open); // the same passcode keeps the session
        QSignalSpy changed(&helper(), &KeyChainHelper::loadedKeyChanged);
        helper().lock();
        QCOMPARE(changed.count(), 1);
        QVERIFY(!open->isOpen() && !open->key() && !open->holdsKey("passcode1"));
        QVERIFY(!helper().unlock("passcode1", beforeLock)); // a check started before the lock
        QVERIFY(!helper().isUnlocked());
        QCOMPARE(changed.count(), 1);
        helper().lock(); // locking a locked vault still moves on
        QVERIFY(helper().lockGeneration() > beforeLock + 1);
        QVERIFY(unlock("passcode2"));
    }

    void firstLaunchCheck_data()
    {
        QTest::addColumn<bool>("installedBefore");
        QTest::addColumn<bool>("recorded"); // saved by this version, so the store knows where
        QTest::addColumn<bool>("vaultInUse");
        QTest::addColumn<bool>("kept");
        QTest::newRow("installed, passcode set") << true << true << true << true;
        QTest::newRow("installed, no passcode") << true << false << false << false;
        QTest::newRow("fresh install, recorded item, vault in use") << false << true << true << true;
        QTest::newRow("fresh install, recorded item, no vault") << false << true << false << false;
        QTest::newRow("fresh install, unrecorded item, empty vault") << false << false << false << false;
        QTest::newRow("fresh install, unrecorded item, vault in use") << false << false << true << true;
    }

    void firstLaunchCheck()
    {
        QFETCH(bool, installedBefore);
        QFETCH(bool, recorded);
        QFETCH(bool, vaultInUse);
        QFETCH(bool, kept);
        installStore();
        const bool stored = recorded || !installedBefore;
        if (recorded)
            QVERIFY(helper().saveKey("from before"));
        else if (stored)
            m_keyring->put(Account, "from before"); // an earlier version saved it
        setVaultInUse(vaultInUse);
        stampInstalled(installedBefore);
        const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
        const KeyChainHelper::Lookup result = helper().passcodeState();
        QCOMPARE(result.state, kept ? State::set : State::notSet);
        QCOMPARE(result.passcode, kept ? std::optional<QString>("from before") : std::nullopt);
        QVERIFY(UserDefaults::date(UserDefaults::Key::installed) >=
                (installedBefore ? before.addDays(-4) : before));
        QCOMPARE(m_keyring->item(Account).has_value(), kept);
    }

    // A settings file reset while the synced folder's drive is not mounted yet: the passcode the
    // cloud tree needs stays; with no vault anywhere the same start removes it.
    void firstStartKeepsAPasscodeADanglingContainerNeeds()
    {
        installStore([] { return VaultPresence::look(); });
        m_keyring->put(Account, "still needed");
        QVERIFY(QDir().mkpath(AppPaths::dataDirectory()));
        QVERIFY(QFile::link(m_dir.filePath("not-mounted/Lumisera"), AppPaths::cloudContainer()));
        stampInstalled(false);
        LogCapture capture;
        QCOMPARE(helper().passcodeState().state, State::set);
        QCOMPARE(m_keyring->item(Account), QByteArray("still needed"));
        QVERIFY(capture.contains("CloudContainer is a link whose folder is missing"));

        QVERIFY(QFile::remove(AppPaths::cloudContainer()));
        stampInstalled(false);
        QCOMPARE(helper().passcodeState().state, State::notSet);
        QVERIFY(!m_keyring->item(Account));
    }

    // The keyring holds the passcode but cannot answer: never "no passcode", never a second one.
    void unavailableStore_data()
    {
        QTest::addColumn<Keyring>("keyring");
        QTest::addColumn<bool>("installedBefore");
        for (const bool installed : {true, false}) {
            const char *when = installed ? "" : ", first start";
            QTest::addRow("no backend%s", when) << Keyring::noBackend << installed;
            QTest::addRow("never answers%s", when) << Keyring::neverAnswers << installed;
            QTest::addRow("answers late%s", when) << Keyring::answersLate << installed;
            QTest::addRow("locked%s", when) << Keyring::locked << installed;
            QTest::addRow("prompt dismissed%s", when) << Keyring::dismissed << installed;
        }
    }

    void unavailableStore()
    {
        QFETCH(Keyring, keyring);
        QFETCH(bool, installedBefore);
        installStore();
        QVERIFY(helper().saveKey("the only passcode"));
        QCOMPARE(PasscodeStore::recorded(), Location::keyring);
        setKeyring(keyring);
        stampInstalled(installedBefore);

        QElapsedTimer clock;
        clock.start();
        const KeyChainHelper::Lookup result = helper().passcodeState();
        QVERIFY(clock.elapsed() <= Deadline.count() + 1000);
        QCOMPARE(result.state, State::unavailable);
        QVERIFY2(result.problem.startsWith("the desktop keyring "), qPrintable(result.problem));
        QVERIFY(!helper().saveKey("a second passcode"));
        QCOMPARE(UserDefaults::date(UserDefaults::Key::installed) == UserDefaults::distantPast(),
                 !installedBefore);

        // Late answers land, and are undone.
        for (int round = 0; round < 2; ++round) {
            QVERIFY(QTest::qWaitFor([this] { return m_keyring->pendingAnswers() == 0; }, 5000));
            QVERIFY(postedEventsRan());
        }
        setKeyring(Keyring::works);
        QCOMPARE(m_keyring->item(Account), QByteArray("the only passcode"));
        QVERIFY(!inFile());
        QCOMPARE(stored(), "the only passcode");
    }

    // Where the record says the passcode went, "no such item" is a store that did not give it.
    void recordedItemMissing()
    {
        installStore();
        QVERIFY(helper().saveKey("kept in the keyring"));
        QVERIFY(m_keyring->item(Account));
        QVERIFY(helper().deleteKey());
        QCOMPARE(helper().passcodeState().state, State::notSet); // removed on purpose: no record left
        QVERIFY(helper().saveKey("kept in the keyring"));
        installStore(); // a new keyring, which lost the item
        const KeyChainHelper::Lookup missing = helper().passcodeState();
        QCOMPARE(missing.state, State::unavailable);
        QVERIFY2(missing.problem.contains("did not give the passcode"), qPrintable(missing.problem));

        // The same for the private file: gone from under its record.
        UserDefaults::setPasscodeStore(PasscodeStore::name(Location::file));
        QVERIFY(!QFile::exists(m_file));
        QCOMPARE(helper().lookUp().state, State::unavailable);
    }

    // A passcode saved before the store kept a record: only an empty vault may go without it.
    void unrecordedPasscode()
    {
        installStore();
        m_keyring->put(Account, "older");
        setKeyring(Keyring::noBackend);
        setVaultInUse(true);
        QCOMPARE(helper().passcodeState().state, State::unavailable);
        QVERIFY(!helper().saveKey("second"));
        setKeyring(Keyring::dismissed);
        QCOMPARE(helper().passcodeState().state, State::unavailable);
        setKeyring(Keyring::noBackend);
        setVaultInUse(false);
        QCOMPARE(helper().passcodeState().state, State::notSet); // nothing here could need it
        LogCapture capture;
        QVERIFY(helper().saveKey("new"));
        QCOMPARE(PasscodeStore::recorded(), Location::file);
        QCOMPARE(inFile(), QByteArray("new"));
        QCOMPARE(QFile::permissions(m_file) & 0x0777, QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(capture.lines().filter("No desktop keyring answered").size(),
                 capture.infos().isEmpty() ? 0 : 1);
        setKeyring(Keyring::works);
        QCOMPARE(stored(), "new"); // the record, not the older keyring item, decides
    }

    // The new passcode of a running change lives where the passcode lives, whatever the record
    // says, and neither writing nor removing it moves the record: the passcode stays reachable.
    void pendingPasscode_data()
    {
        QTest::addColumn<Location>("location");
        QTest::addColumn<bool>("recorded");
        QTest::newRow("keyring, recorded") << Location::keyring << true;
        QTest::newRow("file, recorded") << Location::file << true;
        QTest::newRow("keyring, saved by an earlier version") << Location::keyring << false;
        QTest::newRow("file, saved by an earlier version") << Location::file << false;
    }
    void pendingPasscode()
    {
        QFETCH(Location, location);
        QFETCH(bool, recorded);
        PasscodeStore &store = installStore();
        QVERIFY(helper().saveKey("current"));
        if (location == Location::file)
            QVERIFY(store.relocate(Account, Location::file).succeeded());
        if (!recorded)
            UserDefaults::setPasscodeStore({});
        QVERIFY(helper().savePending("next one"));
        QCOMPARE(helper().pendingPasscode(), "next one");
        const QString pending = KeyChainHelper::pendingAccount;
        if (location == Location::file) {
            QCOMPARE(FileCredentialBackend(m_file).read(pending).secret, QByteArray("next one"));
            QVERIFY(!m_keyring->item(pending));
        } else {
            QCOMPARE(m_keyring->item(pending), QByteArray("next one"));
            QVERIFY(!FileCredentialBackend(m_file).read(pending).succeeded());
        }
        QCOMPARE(PasscodeStore::recorded(), recorded ? location : Location::none);
        QVERIFY(helper().removePending());
        QCOMPARE(helper().pendingPasscode(), std::nullopt);
        QCOMPARE(PasscodeStore::recorded(), recorded ? location : Location::none);
        QCOMPARE(stored(), "current");
    }

    void relocate()
    {
        PasscodeStore &store = installStore();
        QVERIFY(helper().saveKey("moving"));
        QVERIFY(store.relocate(Account, Location::file).succeeded());
        QCOMPARE(PasscodeStore::recorded(), Location::file);
        QVERIFY(!m_keyring->item(Account));
        QCOMPARE(inFile(), QByteArray("moving"));
        setKeyring(Keyring::noBackend);
        QCOMPARE(stored(), "moving");
        const CredentialResult refused = store.relocate(Account, Location::keyring);
        QVERIFY(!refused.succeeded());
        QVERIFY(refused.message.startsWith("the desktop keyring is not reachable"));
        QCOMPARE(PasscodeStore::recorded(), Location::file);
        setKeyring(Keyring::works);
        QVERIFY(store.relocate(Account, Location::keyring).succeeded());
        QCOMPARE(PasscodeStore::recorded(), Location::keyring);
        QVERIFY(!QFile::exists(m_file));
        QCOMPARE(stored(), "moving");
    }

    // Nobody holds a lock while a keyring call waits: a call made meanwhile, on the main thread
    // or beside it, ends by its own deadline and the main thread keeps running.
    void callsDuringAProbe()
    {
        installStore();
        setVaultInUse(true);
        setKeyring(Keyring::neverAnswers);
        KeyChainHelper::Lookup nested;
        QTimer::singleShot(50, this, [&] { nested = helper().lookUp(); });
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(helper().lookUp().state, State::unavailable);
        QCOMPARE(nested.state, State::unavailable);
        QVERIFY(clock.elapsed() <= Deadline.count() + 1000);

        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
        ticker.start(10);
        const int started = m_keyring->jobsStarted();
        auto onWorker = std::async(std::launch::async, [] { return helper().lookUp(); });
        QTRY_VERIFY(m_keyring->jobsStarted() > started); // the worker waits for the keyring
        clock.restart();
        QCOMPARE(helper().lookUp().state, State::unavailable);
        QVERIFY(clock.elapsed() <= Deadline.count() + 1000);
        QTRY_VERIFY(onWorker.wait_for(0s) == std::future_status::ready);
        QCOMPARE(onWorker.get().state, State::unavailable);
        QVERIFY(ticks >= 10);
    }

    void fileStore()
    {
        installStore();
        setKeyring(Keyring::noBackend);
        QVERIFY(FileCredentialBackend(m_file).write(Account, "older").succeeded()); // an earlier fallback
        QCOMPARE(stored(), "older");
        const QString folder = QFileInfo(m_file).absolutePath();
        QVERIFY(QFile::link(m_file, folder + "/link")); // never read through a link
        QCOMPARE(FileCredentialBackend(folder + "/link").read(Account).status,
                 CredentialResult::Status::failed);
        QFile::remove(folder + "/link");
        QVERIFY(writeBytes(m_file, "{broken"));
        QCOMPARE(helper().lookUp().state, State::unavailable);
        QVERIFY(helper().lookUp().problem.contains("damaged"));
    }
};

LUMISERA_TEST_MAIN(TestKeyChainHelper)

#include "TestKeyChainHelper.moc"
