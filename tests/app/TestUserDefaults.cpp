#include "LogCapture.h"
#include "SharedData.h"
#include "TestHome.h"
#include "UserDefaults.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using Key = UserDefaults::Key;

class TestUserDefaults : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void storeLivesInTheSharedSuite();
    void freshInstallDefaults_data();
    void freshInstallDefaults();
    void mode_data();
    void mode();
    void datesRoundTripAsReferenceSeconds();
    void writesAnnounceAndReachOtherReaders();
    void privacyMonitorFirstStart_data();
    void privacyMonitorFirstStart();
    void nextBackgroundImage_data();
    void nextBackgroundImage();
    void saveQuote();
    void saveWithoutQuoteOnlyLogs();
};

void TestUserDefaults::init()
{
    auto store = UserDefaults::appDefaults();
    store->clear();
    store->sync();
}

void TestUserDefaults::storeLivesInTheSharedSuite()
{
    UserDefaults::setValue(Key::autoOpen, true);
    const QString expected = qEnvironmentVariable("XDG_CONFIG_HOME") + "/group.com.morvenda.calmora.ini";
    QCOMPARE(UserDefaults::appDefaults()->fileName(), expected);
    QVERIFY(QFileInfo::exists(expected));
}

void TestUserDefaults::freshInstallDefaults_data()
{
    QTest::addColumn<Key>("key");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("author") << Key::author << QVariant(QStringLiteral("Unknown Author"));
    QTest::newRow("quote") << Key::quote
                           << QVariant(QStringLiteral("Live for today, tomorrow is not a given."));
    QTest::newRow("quoteSet") << Key::quoteSet << QVariant(QString());
    QTest::newRow("backgroundImage") << Key::backgroundImage << QVariant(QStringLiteral("none"));
    for (Key key : {Key::rotateImage, Key::hideBiometrics, Key::privacyMonitor, Key::hideSettingOnMainScreen,
                    Key::obsecuredUnlockUI, Key::autoOpen})
        QTest::newRow(qPrintable(UserDefaults::keyName(key))) << key << QVariant(false);
}

void TestUserDefaults::freshInstallDefaults()
{
    QFETCH(Key, key);
    QFETCH(QVariant, expected);
    QVERIFY(!UserDefaults::contains(key));
    if (expected.typeId() == QMetaType::Bool)
        QCOMPARE(UserDefaults::boolean(key), expected.toBool());
    else
        QCOMPARE(UserDefaults::string(key), expected.toString());
}

void TestUserDefaults::mode_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<UserDefaults::Mode>("expected");
    QTest::newRow("absent") << QVariant() << UserDefaults::Mode::dark;
    QTest::newRow("automatic") << QVariant("automatic") << UserDefaults::Mode::automatic;
    QTest::newRow("light") << QVariant("light") << UserDefaults::Mode::light;
    QTest::newRow("dark") << QVariant("dark") << UserDefaults::Mode::dark;
    QTest::newRow("unknown") << QVariant("sepia") << UserDefaults::Mode::dark;
    QTest::newRow("wrong case") << QVariant("Light") << UserDefaults::Mode::dark;
    QTest::newRow("empty") << QVariant("") << UserDefaults::Mode::dark;
}

void TestUserDefaults::mode()
{
    QFETCH(QVariant, stored);
    QFETCH(UserDefaults::Mode, expected);
    if (stored.isValid())
        UserDefaults::setValue(Key::mode, stored);
    QCOMPARE(UserDefaults::mode(), expected);
    UserDefaults::setMode(expected);
    QCOMPARE(UserDefaults::string(Key::mode), UserDefaults::modeName(expected));
}

void TestUserDefaults::datesRoundTripAsReferenceSeconds()
{
    QCOMPARE(UserDefaults::date(Key::date), UserDefaults::distantPast());
    QCOMPARE(UserDefaults::secondsSinceReferenceDate(UserDefaults::distantPast()), -63114076800.0);

    const QDateTime moment(QDate(2025, 4, 24), QTime(11, 1, 44, 250), Qt::UTC);
    UserDefaults::setDate(Key::installed, moment);
    QCOMPARE(UserDefaults::appDefaults()->value("installed").toDouble(), 767185304.25);
    QCOMPARE(UserDefaults::date(Key::installed), moment);
}

void TestUserDefaults::writesAnnounceAndReachOtherReaders()
{
    QSignalSpy changes(&UserDefaults::shared(), &UserDefaults::objectWillChange);
    UserDefaults::setValue(Key::hideBiometrics, true);
    QCOMPARE(changes.count(), 1);

    // Another process (the widget) reads the file, not this process's cache.
    QSettings reader(UserDefaults::appDefaults()->fileName(), QSettings::IniFormat);
    QCOMPARE(reader.value("hideBiometrics").toBool(), true);

    // And a write by the other process is seen at the next read here.
    reader.setValue("autoOpen", true);
    reader.sync();
    QVERIFY(UserDefaults::boolean(Key::autoOpen));
}

void TestUserDefaults::privacyMonitorFirstStart_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("expected");
    QTest::newRow("absent becomes true") << QVariant() << true;
    QTest::newRow("false stays false") << QVariant(false) << false;
    QTest::newRow("true stays true") << QVariant(true) << true;
}

void TestUserDefaults::privacyMonitorFirstStart()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, expected);
    if (stored.isValid())
        UserDefaults::setValue(Key::privacyMonitor, stored);
    UserDefaults::applyFirstStartDefaults();
    QCOMPARE(UserDefaults::boolean(Key::privacyMonitor), expected);
    UserDefaults::applyFirstStartDefaults(); // a second start changes nothing
    QCOMPARE(UserDefaults::boolean(Key::privacyMonitor), expected);
}

void TestUserDefaults::nextBackgroundImage_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("expected");
    QTest::newRow("absent") << QVariant() << "background";
    QTest::newRow("none") << QVariant("none") << "background";
    QTest::newRow("unknown name") << QVariant("beach") << "background";
    QTest::newRow("first") << QVariant("background") << "stonesInRing";
    QTest::newRow("middle") << QVariant("triplets") << "darkZen";
    QTest::newRow("last wraps") << QVariant("lifeInSand") << "background";
}

void TestUserDefaults::nextBackgroundImage()
{
    QFETCH(QVariant, stored);
    QFETCH(QString, expected);
    if (stored.isValid())
        UserDefaults::setValue(Key::backgroundImage, stored);
    QCOMPARE(UserDefaults::nextBackgroundImage().image, expected);
    QCOMPARE(BackgroundImage::all().size(), 8);
}

void TestUserDefaults::saveQuote()
{
    QCOMPARE(UserDefaults::quote(),
             (ComposedDailyQuote{"Unknown Author", "Live for today, tomorrow is not a given."}));
    QSignalSpy changes(&UserDefaults::shared(), &UserDefaults::objectWillChange);
    QSignalSpy updated(&SharedData::shared(), &SharedData::lastUpdatedDateChanged);
    LogCapture capture;
    const QDateTime moment(QDate(2026, 3, 1), QTime(8, 30), Qt::UTC);

    UserDefaults::saveQuote(ComposedDailyQuote{"Seneca", "Luck is what happens..."}, moment);

    QCOMPARE(UserDefaults::quote(), (ComposedDailyQuote{"Seneca", "Luck is what happens..."}));
    QCOMPARE(UserDefaults::date(Key::date), moment);
    QCOMPARE(changes.count(), 3);
    QCOMPARE(updated.count(), 1);
    QCOMPARE(SharedData::shared().lastUpdatedDate(), moment);
    QCOMPARE(capture.infos().size(), 1);
    QVERIFY(capture.infos().first().endsWith(": update complete for 2026-03-01 08:30:00 +0000"));
}

void TestUserDefaults::saveWithoutQuoteOnlyLogs()
{
    QSignalSpy changes(&UserDefaults::shared(), &UserDefaults::objectWillChange);
    LogCapture capture;
    UserDefaults::saveQuote(std::nullopt, QDateTime::currentDateTimeUtc());
    QCOMPARE(changes.count(), 0);
    QVERIFY(!UserDefaults::contains(Key::date));
    QVERIFY(capture.contains("update complete for "));
}

LUMISERA_TEST_MAIN(TestUserDefaults)
#include "TestUserDefaults.moc"
