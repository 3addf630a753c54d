#include "LogCapture.h"
#include "TestHome.h"
#include "core/SharedData.h"
#include "core/UserDefaults.h"

#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

using Key = UserDefaults::Key;

class TestUserDefaults : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        UserDefaults::appDefaults()->clear();
        UserDefaults::appDefaults()->sync();
    }

    void freshInstallDefaults_data()
    {
        QTest::addColumn<Key>("key");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("quoteSet") << Key::quoteSet << QVariant(QString());
        QTest::newRow("backgroundImage") << Key::backgroundImage << QVariant(QStringLiteral("none"));
        for (Key key : {Key::rotateImage, Key::hideBiometrics, Key::privacyMonitor,
                        Key::hideSettingOnMainScreen, Key::obsecuredUnlockUI, Key::autoOpen})
            QTest::newRow(qPrintable(UserDefaults::keyName(key))) << key << QVariant(false);
    }
    void freshInstallDefaults()
    {
        QFETCH(Key, key);
        QFETCH(QVariant, expected);
        QVERIFY(!UserDefaults::contains(key));
        if (expected.typeId() == QMetaType::Bool)
            QCOMPARE(UserDefaults::boolean(key), expected.toBool());
        else
            QCOMPARE(UserDefaults::string(key), expected.toString());
    }

    // The mode and the next background image come from a stored name; anything else gives the default.
    void readsOfAStoredName_data()
    {
        QTest::addColumn<Key>("key");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("mode absent") << Key::mode << QVariant() << "dark";
        QTest::newRow("mode automatic") << Key::mode << QVariant("automatic") << "automatic";
        QTest::newRow("mode light") << Key::mode << QVariant("light") << "light";
        QTest::newRow("mode unknown") << Key::mode << QVariant("sepia") << "dark";
        QTest::newRow("mode wrong case") << Key::mode << QVariant("Light") << "dark";
        QTest::newRow("mode qualified") << Key::mode << QVariant("UserDefaults::light") << "dark";
        QTest::newRow("mode with a NUL")
            << Key::mode << QVariant(QString::fromLatin1("light\0x", 7)) << "dark";
        QTest::newRow("image absent") << Key::backgroundImage << QVariant() << "background";
        QTest::newRow("image none") << Key::backgroundImage << QVariant("none") << "background";
        QTest::newRow("image unknown") << Key::backgroundImage << QVariant("beach") << "background";
        QTest::newRow("image in the middle") << Key::backgroundImage << QVariant("triplets") << "darkZen";
        QTest::newRow("last image wraps") << Key::backgroundImage << QVariant("lifeInSand") << "background";
    }
    void readsOfAStoredName()
    {
        QFETCH(Key, key);
        QFETCH(QVariant, stored);
        QFETCH(QString, expected);
        if (stored.isValid())
            UserDefaults::setValue(key, stored);
        QCOMPARE(key == Key::mode ? UserDefaults::modeName(UserDefaults::mode())
                                  : UserDefaults::nextBackgroundImage().image,
                 expected);
    }

    void datesAsSecondsSince2001()
    {
        QCOMPARE(UserDefaults::date(Key::date), UserDefaults::distantPast());
        QCOMPARE(UserDefaults::secondsSinceReferenceDate(UserDefaults::distantPast()), -63114076800.0);
        const QDateTime moment(QDate(2025, 4, 24), QTime(11, 1, 44, 250), Qt::UTC);
        UserDefaults::setDate(Key::installed, moment);
        QCOMPARE(UserDefaults::appDefaults()->value("installed").toDouble(), 767185304.25);
        QCOMPARE(UserDefaults::date(Key::installed), moment);
    }

    // The widget, another process, reads the same file; each side sees the other's writes.
    void writesReachTheSharedFile()
    {
        QSignalSpy changes(&UserDefaults::shared(), &UserDefaults::objectWillChange);
        UserDefaults::setValue(Key::hideBiometrics, true);
        QCOMPARE(changes.count(), 1);
        QSettings reader(qEnvironmentVariable("XDG_CONFIG_HOME") + "/group.com.morvenda.calmora.ini",
                         QSettings::IniFormat);
        QCOMPARE(reader.value("hideBiometrics").toBool(), true);
        reader.setValue("autoOpen", true);
        reader.sync();
        QVERIFY(UserDefaults::boolean(Key::autoOpen));
    }

    void privacyMonitorFirstStart()
    {
        UserDefaults::applyFirstStartDefaults();
        QVERIFY(UserDefaults::boolean(Key::privacyMonitor)); // absent becomes true
        UserDefaults::setValue(Key::privacyMonitor, false);
        UserDefaults::applyFirstStartDefaults();
        QVERIFY(UserDefaults::contains(Key::privacyMonitor) && !UserDefaults::boolean(Key::privacyMonitor));
    }

    void saveQuote()
    {
        QCOMPARE(UserDefaults::quote(),
                 (ComposedDailyQuote{"Unknown Author", "Live for today, tomorrow is not a given."}));
        // The first save of the process comes from a storage thread: the state still lives on
        // the main thread and takes the date there.
        const QDateTime first(QDate(2026, 2, 1), QTime(7, 0), Qt::UTC);
        std::unique_ptr<QThread> worker(QThread::create([&] {
            UserDefaults::saveQuote(ComposedDailyQuote{"Ann", "First"}, first);
        }));
        worker->start();
        QVERIFY(worker->wait(10000));
        QTRY_COMPARE(SharedData::shared().lastUpdatedDate(), first);
        QCOMPARE(SharedData::shared().thread(), qApp->thread());
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

        // Without a quote only the line is written.
        capture.clear();
        UserDefaults::saveQuote(std::nullopt, moment.addDays(1));
        QCOMPARE(changes.count(), 3);
        QCOMPARE(UserDefaults::date(Key::date), moment);
        QVERIFY(capture.contains("update complete for "));
    }
};

LUMISERA_TEST_MAIN(TestUserDefaults)
#include "TestUserDefaults.moc"
