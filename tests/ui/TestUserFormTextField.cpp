#include "WidgetTestMain.h"
#include "ui/common/UserFormTextField.h"

#include <QClipboard>
#include <QMenu>
#include <QTest>

Q_DECLARE_METATYPE(ProtectFieldType)

class TestUserFormTextField : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void masksAndNamesEachType_data()
    {
        QTest::addColumn<ProtectFieldType>("type"); // the row's name is the placeholder
        QTest::newRow("Passcode") << ProtectFieldType::passcode;
        QTest::newRow("Repeat Passcode") << ProtectFieldType::repeatPasscode;
        QTest::newRow("Pin") << ProtectFieldType::pin;
        QTest::newRow("Optional Pin") << ProtectFieldType::optionalPin;
    }
    void masksAndNamesEachType()
    {
        QFETCH(ProtectFieldType, type);
        UserFormTextField field(type);
        QCOMPARE(field.placeholderText(), QLatin1String(QTest::currentDataTag()));
        QCOMPARE(field.accessibleName(), QLatin1String(QTest::currentDataTag()));
        QCOMPARE(field.echoMode(), QLineEdit::Password);
    }

    // Neither the shortcuts nor the context menu let typed text out; the menu still pastes.
    void typedTextNeverReachesTheClipboard_data()
    {
        QTest::addColumn<QKeySequence>("shortcut"); // empty: the context menu
        QTest::newRow("copy") << QKeySequence(QKeySequence::Copy);
        QTest::newRow("cut") << QKeySequence(QKeySequence::Cut);
        QTest::newRow("context menu") << QKeySequence();
    }
    void typedTextNeverReachesTheClipboard()
    {
        QFETCH(QKeySequence, shortcut);
        QApplication::clipboard()->setText(QStringLiteral("before"));
        UserFormTextField field(ProtectFieldType::passcode);
        field.show();
        QVERIFY(QTest::qWaitForWindowExposed(&field));
        QTest::keyClicks(&field, QStringLiteral("secret12"));
        field.selectAll();
        if (!shortcut.isEmpty()) {
            QTest::keySequence(&field, shortcut);
            QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
            return;
        }
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), field.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&field, &event);
        QMenu *menu = nullptr;
        QTRY_VERIFY((menu = field.findChild<QMenu *>()) != nullptr);
        QAction *paste = nullptr;
        const QList<QAction *> actions = menu->actions();
        for (QAction *action : actions) {
            QVERIFY2(!action->text().contains(QStringLiteral("Copy")), qPrintable(action->text()));
            QVERIFY2(!action->text().contains(QStringLiteral("Cut")), qPrintable(action->text()));
            if (action->objectName() == QLatin1String("edit-paste"))
                paste = action;
        }
        QVERIFY(paste);
        paste->trigger();
        QCOMPARE(field.text(), QStringLiteral("before"));
        menu->close();
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestUserFormTextField)
#include "TestUserFormTextField.moc"
