#include "WidgetTestMain.h"
#include "core/UserDefaults.h"
#include "ui/common/AppearanceMenus.h"
#include "ui/settings/Settings.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

namespace {

void store(const QString &key, const QVariant &value)
{
    auto settings = UserDefaults::appDefaults();
    settings->setValue(key, value);
    settings->sync();
}

template <typename T> T *childWithText(QWidget *parent, const QString &text)
{
    const QList<T *> children = parent->findChildren<T *>();
    for (T *child : children) {
        if (child->text() == text)
            return child;
    }
    return nullptr;
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

private Q_SLOTS:
    void init()
    {
        auto settings = UserDefaults::appDefaults();
        settings->clear();
        settings->sync();
    }
    void cleanup() { m_settings.reset(); }

    // The row asks the host for the sheet, and is reachable by keyboard under its own name.
    void changePasscodeRowAsksForTheSheet()
    {
        open();
        auto *row = m_settings->findChild<QPushButton *>(QStringLiteral("changePasscodeButton"));
        QVERIFY(row);
        QCOMPARE(row->text(), QStringLiteral("Change Passcode"));
        QVERIFY(row->focusPolicy() & Qt::TabFocus);
        QSignalSpy requested(m_settings.get(), &Settings::changePasscodeRequested);
        row->click();
        QCOMPARE(requested.size(), 1);
    }

    void closesAndSpeaksOfThisDesktopOnly()
    {
        open();
        QVERIFY(m_settings->dismissesOnBackground());
        QStringList texts;
        const QList<QLabel *> labels = m_settings->findChildren<QLabel *>();
        for (const QLabel *label : labels)
            texts << label->text();
        const QString all = texts.join(QLatin1Char('\n'));
        for (const char *foreign : {"Apple", "iCloud", "Face ID", "Touch ID", "macOS", "Additonally"})
            QVERIFY2(!all.contains(QLatin1String(foreign)), foreign);

        QSignalSpy dismissed(m_settings.get(), &Screen::dismissRequested);
        auto *close = m_settings->findChild<QPushButton *>(QStringLiteral("closeButton"));
        close->setFocus();
        QTest::keyClick(close, Qt::Key_Space);
        QCOMPARE(dismissed.count(), 1);
    }

    // Each row is named after its toggle or menu entry.
    void eachToggleWritesItsKey_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("flag"); // the main screen's signal: 0 sparseUI, 1 obscuredUI, 2 autoOpen
        QTest::newRow("Disable Biometrics") << "hideBiometrics" << -1;
        QTest::newRow("Protect Screen Contents") << "privacyMonitor" << -1;
        QTest::newRow("Display Inspiration") << "hideSettingOnMainScreen" << 0;
        QTest::newRow("Hide Unlock Button") << "obsecuredUnlockUI" << 1;
        QTest::newRow("Fast Unlock") << "autoOpen" << 2;
        QTest::newRow("Stay Unlocked in Other Windows") << "keepUnlockedWhenInactive" << -1;
    }
    void eachToggleWritesItsKey()
    {
        QFETCH(QString, key);
        QFETCH(int, flag);
        const QString text = QString::fromLatin1(QTest::currentDataTag());
        open();
        QVERIFY(!childWithText<QCheckBox>(m_settings.get(), text)->isChecked());
        store(key, true);
        open();
        auto *toggle = childWithText<QCheckBox>(m_settings.get(), text);
        QVERIFY(toggle->isChecked());
        QSignalSpy sparse(m_settings.get(), &Settings::sparseUIChanged);
        QSignalSpy obscured(m_settings.get(), &Settings::obscuredUIChanged);
        QSignalSpy autoOpen(m_settings.get(), &Settings::autoOpenChanged);

        toggle->click();
        QCOMPARE(UserDefaults::appDefaults()->value(key), QVariant(false));
        toggle->click();
        QCOMPARE(UserDefaults::appDefaults()->value(key).toBool(), true);
        QCOMPARE(UserDefaults::appDefaults()->allKeys(), QStringList{key});
        const QSignalSpy *spies[] = {&sparse, &obscured, &autoOpen};
        for (int i = 0; i < 3; ++i)
            QCOMPARE(*spies[i], (i == flag ? QList<QVariantList>{{false}, {true}} : QList<QVariantList>()));
    }

    void backgroundMenuStoresTheChoice_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("image");
        QTest::addColumn<bool>("rotate");
        for (const BackgroundImage &picture : BackgroundImage::all())
            QTest::newRow(qPrintable(picture.name)) << QStringLiteral("none") << picture.image << false;
        QTest::newRow("None") << QStringLiteral("darkZen") << QStringLiteral("none") << false;
        QTest::newRow("Rotate Daily") << QStringLiteral("lifeInSand") << QStringLiteral("background") << true;
    }
    void backgroundMenuStoresTheChoice()
    {
        QFETCH(QString, before);
        QFETCH(QString, image);
        QFETCH(bool, rotate);
        store(QStringLiteral("backgroundImage"), before);
        store(QStringLiteral("rotateImage"), !rotate);
        open();
        QSignalSpy changed(m_settings.get(), &Settings::backgroundImageChanged);
        auto *button = m_settings->findChild<BackgroundImageMenu *>();
        QAction *entry = childWithText<QAction>(button->menu(), QString::fromUtf8(QTest::currentDataTag()));
        QVERIFY(entry);
        entry->trigger();
        QCOMPARE(UserDefaults::appDefaults()->value(QStringLiteral("backgroundImage")).toString(), image);
        QCOMPARE(UserDefaults::appDefaults()->value(QStringLiteral("rotateImage")).toBool(), rotate);
        QCOMPARE(changed, QList<QVariantList>{{image}});
    }

    void modePickerReportsWithoutStoring()
    {
        open();
        m_settings->setMode(UserDefaults::Mode::light);
        auto *picker = m_settings->findChild<ColorSchemePicker *>();
        QCOMPARE(picker->currentText(), QStringLiteral("Light"));
        QSignalSpy changed(m_settings.get(), &Settings::modeChanged);
        picker->setFocus();
        QTest::keyClick(picker, Qt::Key_Down);
        QCOMPARE(picker->currentText(), QStringLiteral("Dark"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().first().value<UserDefaults::Mode>(), UserDefaults::Mode::dark);
        QCOMPARE(m_settings->state()->mode(), UserDefaults::Mode::dark);
        QVERIFY(!UserDefaults::contains(UserDefaults::Key::mode));
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestSettings)
#include "TestSettings.moc"
