// "Lock When Idle" in Settings: what is stored for each choice, and the choice disabled with a
// reason where the desktop does not tell its idle time.
#include "WidgetTestMain.h"
#include "core/UserDefaults.h"
#include "ui/settings/Settings.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

namespace {
QVariant stored()
{
    return UserDefaults::appDefaults()->value(UserDefaults::lockWhenIdleKey);
}

void store(const QVariant &value)
{
    auto settings = UserDefaults::appDefaults();
    if (value.isValid())
        settings->setValue(UserDefaults::lockWhenIdleKey, value);
    else
        settings->remove(UserDefaults::lockWhenIdleKey);
    settings->sync();
}
} // namespace

class TestIdleLockSetting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { store(QVariant()); }

    // What the store held, what is chosen, and what it holds afterwards (invalid: no key).
    void choiceIsStored_data()
    {
        QTest::addColumn<QVariant>("before");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QVariant>("after");
        QTest::addColumn<int>("shown");
        QTest::newRow("absent is Never") << QVariant() << -1 << QVariant() << 0;
        QTest::newRow("1 minute") << QVariant() << 1 << QVariant(1) << 1;
        QTest::newRow("5 minutes") << QVariant() << 5 << QVariant(5) << 5;
        QTest::newRow("15 minutes") << QVariant(5) << 15 << QVariant(15) << 15;
        QTest::newRow("Never removes the key") << QVariant(15) << 0 << QVariant() << 0;
        QTest::newRow("a value not offered is not stored") << QVariant(5) << 10 << QVariant(5) << 5;
        QTest::newRow("a stored value not offered counts as Never") << QVariant(7) << -1 << QVariant(7) << 0;
    }

    void choiceIsStored()
    {
        QFETCH(QVariant, before);
        QFETCH(int, chosen);
        QFETCH(QVariant, after);
        QFETCH(int, shown);
        store(before);
        SettingsState state;
        if (chosen >= 0)
            state.setLockWhenIdle(chosen);
        const QVariant now = stored();
        QCOMPARE(now.isValid(), after.isValid());
        if (after.isValid())
            QCOMPARE(now.toInt(), after.toInt());
        QCOMPARE(state.lockWhenIdle(), shown);

        // The widget shows the same choice, and a choice made there is stored.
        Settings settings;
        auto *choice = settings.findChild<QComboBox *>(QStringLiteral("lockWhenIdleChoice"));
        QVERIFY(choice);
        QCOMPARE(choice->count(), 4);
        QCOMPARE(choice->currentData().toInt(), shown);
        const int other = shown == 15 ? 1 : 15;
        choice->setCurrentIndex(choice->findData(other));
        Q_EMIT choice->activated(choice->currentIndex());
        QCOMPARE(UserDefaults::lockWhenIdle(), other);
    }

    void choicesAreNamed()
    {
        QCOMPARE(SettingsState::idleLockChoices(), (QList<int>{0, 1, 5, 15}));
        QCOMPARE(SettingsState::idleLockChoiceText(0), QStringLiteral("Never"));
        QCOMPARE(SettingsState::idleLockChoiceText(1), QStringLiteral("1 minute"));
        QCOMPARE(SettingsState::idleLockChoiceText(15), QStringLiteral("15 minutes"));
    }

    // Without an idle source the choice is disabled and says why; a source found later enables it.
    void unavailableSourceDisablesTheChoice_data()
    {
        QTest::addColumn<bool>("available");
        QTest::newRow("available") << true;
        QTest::newRow("not available") << false;
    }

    void unavailableSourceDisablesTheChoice()
    {
        QFETCH(bool, available);
        Settings settings;
        settings.state()->setIdleLockAvailable(available);
        settings.show();
        QVERIFY(QTest::qWaitForWindowExposed(&settings));
        auto *choice = settings.findChild<QComboBox *>(QStringLiteral("lockWhenIdleChoice"));
        auto *note = settings.findChild<QLabel *>(QStringLiteral("lockWhenIdleNote"));
        QVERIFY(choice && note);
        QCOMPARE(choice->isEnabled(), available);
        QCOMPARE(note->isVisible(), !available);
        QCOMPARE(note->text(), available ? QString() : QStringLiteral("Not available on this desktop"));
        // A screen reader says why the choice is greyed out.
        QCOMPARE(choice->accessibleDescription() == note->text(), !available);
        settings.state()->setIdleLockAvailable(true);
        QVERIFY(choice->isEnabled());
        QVERIFY(!note->isVisible());
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestIdleLockSetting)
#include "TestIdleLockSetting.moc"
