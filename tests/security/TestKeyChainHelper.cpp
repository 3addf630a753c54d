#include "InMemoryCredentialBackend.h"
#include "KeyChainHelper.h"
#include "LogCapture.h"
#include "TestHome.h"
#include "UserDefaults.h"

#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

class TestKeyChainHelper : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void saveReplacesStoredPasscode();
    void failedSaveKeepsPreviousPasscode();
    void saveDropsStaleCache();
    void loadPrefersCacheAndNeverFillsIt();
    void deleteKey_data();
    void deleteKey();
    void failedDeleteKeepsEverything();
    void unreadableStoredBytesLoadNothing();
    void unconvertiblePasswordIsRefused();
    void firstLaunchCheck_data();
    void firstLaunchCheck();

private:
    KeyChainHelper &helper() { return KeyChainHelper::shared(); }
    InMemoryCredentialBackend *m_backend = nullptr;
};

void TestKeyChainHelper::init()
{
    auto backend = std::make_unique<InMemoryCredentialBackend>();
    m_backend = backend.get();
    helper().setBackend(std::move(backend));
    helper().setLoadedKey(std::nullopt);
}

void TestKeyChainHelper::saveReplacesStoredPasscode()
{
    LogCapture capture;
    const QString longPasscode = QStringLiteral("a passcode well over sixteen bytes: ünïcödé");
    QVERIFY(helper().saveKey(QStringLiteral("first passcode")));
    QVERIFY(helper().saveKey(longPasscode));
    QCOMPARE(helper().load(), longPasscode); // stored whole, not cut to a key
    QCOMPARE(m_backend->read(KeyChainHelper::account).secret, longPasscode.toUtf8());
    QVERIFY(capture.contains(QStringLiteral("User saved successfully in the keychain")));
    QVERIFY(!capture.contains(QStringLiteral("first passcode")));
    QVERIFY(!capture.contains(longPasscode));
}

void TestKeyChainHelper::failedSaveKeepsPreviousPasscode()
{
    QVERIFY(helper().saveKey(QStringLiteral("old passcode")));
    m_backend->setFailing(true);
    LogCapture capture;
    QVERIFY(!helper().saveKey(QStringLiteral("new passcode")));
    QVERIFY(
        capture.contains(QStringLiteral("KeyChainHelper:saveKey(password:) Error saving to keychain -1")));
    QVERIFY(!capture.contains(QStringLiteral("passcode")));
    m_backend->setFailing(false);
    QCOMPARE(helper().load(), QStringLiteral("old passcode"));
}

void TestKeyChainHelper::saveDropsStaleCache()
{
    QVERIFY(helper().saveKey(QStringLiteral("old")));
    helper().setLoadedKey(QStringLiteral("old"));
    QSignalSpy changed(&helper(), &KeyChainHelper::loadedKeyChanged);
    QVERIFY(helper().saveKey(QStringLiteral("new")));
    QCOMPARE(helper().loadedKey(), std::nullopt);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(helper().load(), QStringLiteral("new"));
}

void TestKeyChainHelper::loadPrefersCacheAndNeverFillsIt()
{
    QVERIFY(helper().saveKey(QStringLiteral("stored")));
    QCOMPARE(helper().load(), QStringLiteral("stored"));
    QCOMPARE(helper().loadedKey(), std::nullopt);
    QVERIFY(!helper().isUnlocked());
    helper().setLoadedKey(QStringLiteral("cached"));
    QVERIFY(helper().isUnlocked());
    QCOMPARE(helper().load(), QStringLiteral("cached"));
}

void TestKeyChainHelper::deleteKey_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("cached");
    QTest::newRow("nothing stored") << false << false;
    QTest::newRow("stored, locked") << true << false;
    QTest::newRow("stored, unlocked") << true << true;
}

void TestKeyChainHelper::deleteKey()
{
    QFETCH(bool, stored);
    QFETCH(bool, cached);
    if (stored)
        QVERIFY(helper().saveKey(QStringLiteral("secret")));
    if (cached)
        helper().setLoadedKey(QStringLiteral("secret"));
    QSignalSpy changed(&helper(), &KeyChainHelper::loadedKeyChanged);
    LogCapture capture;
    QVERIFY(helper().deleteKey());
    QCOMPARE(helper().loadedKey(), std::nullopt);
    QCOMPARE(helper().load(), std::nullopt);
    QCOMPARE(changed.count(), cached ? 1 : 0);
    QCOMPARE(capture.lines().size(), stored ? 1 : 0);
    if (stored)
        QVERIFY(capture.contains(QStringLiteral("Successfully removed from keychain.")));
}

void TestKeyChainHelper::failedDeleteKeepsEverything()
{
    QVERIFY(helper().saveKey(QStringLiteral("secret")));
    helper().setLoadedKey(QStringLiteral("secret"));
    m_backend->setFailing(true);
    LogCapture capture;
    QVERIFY(!helper().deleteKey());
    QVERIFY(
        capture.contains(QStringLiteral("KeyChainHelper:deleteKey() The credential store is unavailable")));
    QCOMPARE(helper().loadedKey(), QStringLiteral("secret"));
    m_backend->setFailing(false);
    helper().setLoadedKey(std::nullopt);
    QCOMPARE(helper().load(), QStringLiteral("secret"));
}

void TestKeyChainHelper::unreadableStoredBytesLoadNothing()
{
    QVERIFY(m_backend->write(KeyChainHelper::account, QByteArray("\xff\xfe not UTF-8")).succeeded());
    QCOMPARE(helper().load(), std::nullopt);
}

void TestKeyChainHelper::unconvertiblePasswordIsRefused()
{
    QVERIFY(helper().saveKey(QStringLiteral("kept")));
    LogCapture capture;
    QVERIFY(!helper().saveKey(QString(QChar(0xd800)) + QStringLiteral("abc")));
    QVERIFY(capture.contains(
        QStringLiteral("KeyChainHelper:saveKey(password:) Error converting password to data")));
    QCOMPARE(helper().load(), QStringLiteral("kept"));
}

void TestKeyChainHelper::firstLaunchCheck_data()
{
    QTest::addColumn<bool>("installedBefore");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("expected");
    QTest::newRow("fresh install, item of an earlier one") << false << true << false;
    QTest::newRow("fresh install, nothing stored") << false << false << false;
    QTest::newRow("installed, passcode set") << true << true << true;
    QTest::newRow("installed, no passcode") << true << false << false;
}

void TestKeyChainHelper::firstLaunchCheck()
{
    QFETCH(bool, installedBefore);
    QFETCH(bool, stored);
    QFETCH(bool, expected);
    const QDateTime installed = QDateTime::currentDateTimeUtc().addDays(-3);
    if (installedBefore)
        UserDefaults::setDate(UserDefaults::Key::installed, installed);
    else
        UserDefaults::setDate(UserDefaults::Key::installed, UserDefaults::distantPast());
    if (stored)
        QVERIFY(helper().saveKey(QStringLiteral("from before")));

    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    QCOMPARE(helper().isPasscodeSet(), expected);
    const QDateTime stamp = UserDefaults::date(UserDefaults::Key::installed);
    if (installedBefore) {
        QCOMPARE(stamp.toSecsSinceEpoch(), installed.toSecsSinceEpoch());
        QCOMPARE(helper().load().has_value(), stored);
    } else {
        QVERIFY(stamp >= before);
        QCOMPARE(helper().load(), std::nullopt); // the earlier installation's item is gone
    }
    QCOMPARE(helper().isPasscodeSet(), expected);
}

LUMISERA_TEST_MAIN(TestKeyChainHelper)

#include "TestKeyChainHelper.moc"
