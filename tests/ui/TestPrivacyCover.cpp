// The privacy cover: vault content gives way to the "sorryClosed" picture exactly while the screen
// is captured and "Protect Screen Contents" is on, and comes back without any other action.
#include "WidgetTestMain.h"
#include "core/UserDefaults.h"
#include "ui/common/PrivacyCover.h"
#include "ui/common/ScreenPrivacyMonitor.h"

#include <QLabel>
#include <QTest>

class TestPrivacyCover : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void coversWhileCaptured_data()
    {
        QTest::addColumn<bool>("protect");
        QTest::addColumn<bool>("captured");
        QTest::newRow("protected, captured") << true << true;
        QTest::newRow("protected, not captured") << true << false;
        QTest::newRow("unprotected, captured") << false << true;
    }

    void coversWhileCaptured()
    {
        QFETCH(bool, protect);
        QFETCH(bool, captured);
        UserDefaults::setValue(UserDefaults::Key::privacyMonitor, protect);
        ScreenPrivacyMonitor monitor;
        auto *content = new QLabel(QStringLiteral("a folder"));
        PrivacyCover cover(content, &monitor);
        QVERIFY(!cover.isCovering()); // the window's monitor starts "not captured"
        monitor.setScreenBeingCaptured(captured);
        QCOMPARE(cover.isCovering(), protect && captured);
        QCOMPARE(cover.currentWidget() == content, !(protect && captured));
        // The setting follows at once, both ways.
        UserDefaults::setValue(UserDefaults::Key::privacyMonitor, !protect);
        QCOMPARE(cover.isCovering(), !protect && captured);
        monitor.setScreenBeingCaptured(false);
        QVERIFY(!cover.isCovering());
        QVERIFY(!cover.findChild<QLabel *>(QStringLiteral("sorryClosed"))->pixmap().isNull());
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestPrivacyCover)
#include "TestPrivacyCover.moc"
