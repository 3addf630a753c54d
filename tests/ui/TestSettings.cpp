#include "AppearanceMenus.h"
#include "Settings.h"
#include "UserDefaults.h"
#include "WidgetTestMain.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

QVariant stored(const QString &key)
{
    return UserDefaults::appDefaults()->value(key);
}

void store(const QString &key, const QVariant &value)
{
    auto settings = UserDefaults::appDefaults();
    settings->setValue(key, value);
    settings->sync();
}

void clearStore()
{
    auto settings = UserDefaults::appDefaults();
    settings->clear();
    settings->sync();
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Settings> m_settings;

    void open()
    {
        m_settings = std::make_unique<Settings>();
        m_settings->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_settings.get()));
    }
    QAction *backgroundEntry(const QString &text) const
    {
        auto *button = m_settings->findChild<BackgroundImageMenu *>();
        if (!button || !button->menu())
            return nullptr;
        const QList<QAction *> actions = button->menu()->actions();
        for (QAction *action : actions) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }

private Q_SLOTS:
    void init() { clearStore(); }
    void cleanup() { m_settings.reset(); }

    void showsTheSectionsInOrder()
    {
        open();
        QCOMPARE(m_settings->title(), QStringLiteral("Settings"));
        QVERIFY(m_settings->dismissesOnBackground());
        QStringList titles;
        const QList<QGroupBox *> sections = m_settings->findChildren<QGroupBox *>();
        for (const QGroupBox *section : sections)
            titles << section->title();
        QCOMPARE(titles, QStringList({QStringLiteral("Authentication"), QStringLiteral("Content Security"),
                                      QStringLiteral("Appearance"), QStringLiteral("Behavior")}));
    }

    void speaksOfThisDesktopOnly()
    {
        open();
        QStringList texts;
        const QList<QLabel *> labels = m_settings->findChildren<QLabel *>();
        for (const QLabel *label : labels)
            texts << label->text();
        const QString all = texts.join(QLatin1Char('\n'));
        for (const char *foreign : {"Apple", "iCloud", "Face ID", "Touch ID", "macOS", "Additonally"})
            QVERIFY2(!all.contains(QLatin1String(foreign)), foreign);
        QVERIFY(all.contains(QStringLiteral("fingerprint reader will not be used")));
        QVERIFY(all.contains(
            QStringLiteral("Linux does not tell applications when the screen is being recorded")));
        QVERIFY(all.contains(
            QStringLiteral("Visual customization changes take effect when Settings view is dismissed.")));
    }

    void eachToggleWritesItsKey_data()
    {
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");
        QTest::newRow("Disable Biometrics") << "disableBiometricsToggle"
                                            << "Disable Biometrics"
                                            << "hideBiometrics";
        QTest::newRow("Protect Screen Contents") << "protectScreenToggle"
                                                 << "Protect Screen Contents"
                                                 << "privacyMonitor";
        QTest::newRow("Display Inspiration") << "displayInspirationToggle"
                                             << "Display Inspiration"
                                             << "hideSettingOnMainScreen";
        QTest::newRow("Hide Unlock Button") << "hideUnlockButtonToggle"
                                            << "Hide Unlock Button"
                                            << "obsecuredUnlockUI";
        QTest::newRow("Fast Unlock") << "fastUnlockToggle"
                                     << "Fast Unlock"
                                     << "autoOpen";
        QTest::newRow("Stay Unlocked in Other Windows") << "stayUnlockedInOtherWindowsToggle"
                                                        << "Stay Unlocked in Other Windows"
                                                        << "keepUnlockedWhenInactive";
    }
    void eachToggleWritesItsKey()
    {
        QFETCH(QString, objectName);
        QFETCH(QString, text);
        QFETCH(QString, key);
        store(key, true);
        open();
        auto *toggle = m_settings->findChild<QCheckBox *>(objectName);
        QVERIFY(toggle);
        QCOMPARE(toggle->text(), text);
        QVERIFY(toggle->isChecked());
        QVERIFY(toggle->focusPolicy() & Qt::TabFocus);

        toggle->click();
        QCOMPARE(stored(key), QVariant(false));
        toggle->click();
        QCOMPARE(stored(key).toBool(), true);
        // Only its own key.
        const QStringList keys = UserDefaults::appDefaults()->allKeys();
        QCOMPARE(keys, QStringList{key});
    }

    void absentKeysShowOff()
    {
        open();
        const QList<QCheckBox *> toggles = m_settings->findChildren<QCheckBox *>();
        QCOMPARE(toggles.size(), 6);
        for (const QCheckBox *toggle : toggles)
            QVERIFY2(!toggle->isChecked(), qPrintable(toggle->objectName()));
    }

    void mainScreenFlagsFollowAtOnce_data()
    {
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<int>("flag"); // 0 sparseUI, 1 obscuredUI, 2 autoOpen, -1 none
        QTest::newRow("Display Inspiration") << "displayInspirationToggle" << 0;
        QTest::newRow("Hide Unlock Button") << "hideUnlockButtonToggle" << 1;
        QTest::newRow("Fast Unlock") << "fastUnlockToggle" << 2;
        QTest::newRow("Disable Biometrics") << "disableBiometricsToggle" << -1;
    }
    void mainScreenFlagsFollowAtOnce()
    {
        QFETCH(QString, objectName);
        QFETCH(int, flag);
        open();
        QSignalSpy sparse(m_settings.get(), &Settings::sparseUIChanged);
        QSignalSpy obscured(m_settings.get(), &Settings::obscuredUIChanged);
        QSignalSpy autoOpen(m_settings.get(), &Settings::autoOpenChanged);
        QSignalSpy *spies[] = {&sparse, &obscured, &autoOpen};
        auto *toggle = m_settings->findChild<QCheckBox *>(objectName);
        toggle->click();
        toggle->click();
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(spies[i]->count(), i == flag ? 2 : 0);
            if (i == flag) {
                QCOMPARE(spies[i]->at(0).first().toBool(), true);
                QCOMPARE(spies[i]->at(1).first().toBool(), false);
            }
        }
    }

    void backgroundMenuStoresTheChoice_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("rotatingBefore");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("image");
        QTest::addColumn<bool>("rotate");
        QTest::newRow("named picture") << "none" << true << "Rings"
                                       << "stonesInRing" << false;
        QTest::newRow("last named picture") << "background" << true << "Life in the Sand"
                                            << "lifeInSand" << false;
        QTest::newRow("None") << "darkZen" << true << "None"
                              << "none" << false;
        QTest::newRow("Rotate Daily from the last") << "lifeInSand" << false << "Rotate Daily"
                                                    << "background" << true;
        QTest::newRow("Rotate Daily from none") << "none" << false << "Rotate Daily"
                                                << "background" << true;
        QTest::newRow("Rotate Daily steps on") << "stonesInRing" << false << "Rotate Daily"
                                               << "tallStack" << true;
    }
    void backgroundMenuStoresTheChoice()
    {
        QFETCH(QString, before);
        QFETCH(bool, rotatingBefore);
        QFETCH(QString, entry);
        QFETCH(QString, image);
        QFETCH(bool, rotate);
        store(QStringLiteral("backgroundImage"), before);
        store(QStringLiteral("rotateImage"), rotatingBefore);
        open();
        QSignalSpy changed(m_settings.get(), &Settings::backgroundImageChanged);
        QAction *action = backgroundEntry(entry);
        QVERIFY(action);
        action->trigger();
        QCOMPARE(stored(QStringLiteral("backgroundImage")).toString(), image);
        QCOMPARE(stored(QStringLiteral("rotateImage")).toBool(), rotate);
        QCOMPARE(m_settings->state()->backgroundImage(), image);
        QCOMPARE(changed.count(), before == image ? 0 : 1);
        if (!changed.isEmpty())
            QCOMPARE(changed.first().first().toString(), image);
    }

    void backgroundMenuListsEveryPicture()
    {
        open();
        for (const BackgroundImage &picture : BackgroundImage::all())
            QVERIFY2(backgroundEntry(picture.name), qPrintable(picture.name));
        QVERIFY(backgroundEntry(QStringLiteral("None")));
        QVERIFY(backgroundEntry(QStringLiteral("Rotate Daily")));
    }

    void modePickerReportsWithoutStoring()
    {
        open();
        QSignalSpy fromHost(m_settings.get(), &Settings::modeChanged);
        m_settings->setMode(UserDefaults::Mode::dark);
        QCOMPARE(fromHost.count(), 0);
        QCOMPARE(m_settings->state()->mode(), UserDefaults::Mode::dark);
        auto *picker = m_settings->findChild<ColorSchemePicker *>();
        QVERIFY(picker);
        QCOMPARE(picker->currentText(), QStringLiteral("Dark"));
        QSignalSpy changed(m_settings.get(), &Settings::modeChanged);
        picker->setFocus();
        QTest::keyClick(picker, Qt::Key_Up);
        QCOMPARE(picker->currentText(), QStringLiteral("Light"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().first().value<UserDefaults::Mode>(), UserDefaults::Mode::light);
        QCOMPARE(m_settings->state()->mode(), UserDefaults::Mode::light);
        QVERIFY(!UserDefaults::contains(UserDefaults::Key::mode));
    }

    void closeButtonDismisses()
    {
        open();
        QSignalSpy dismissed(m_settings.get(), &Screen::dismissRequested);
        auto *close = m_settings->findChild<QPushButton *>(QStringLiteral("closeButton"));
        QVERIFY(close);
        QCOMPARE(close->text(), QStringLiteral("Close"));
        close->setFocus();
        QTest::keyClick(close, Qt::Key_Space);
        QCOMPARE(dismissed.count(), 1);
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestSettings)
#include "TestSettings.moc"
