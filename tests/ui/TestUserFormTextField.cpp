#include "UserFormTextField.h"
#include "WidgetTestMain.h"

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
        QTest::addColumn<ProtectFieldType>("type");
        QTest::addColumn<QString>("placeholder");
        QTest::newRow("passcode") << ProtectFieldType::passcode << "Passcode";
        QTest::newRow("repeatPasscode") << ProtectFieldType::repeatPasscode << "Repeat Passcode";
        QTest::newRow("pin") << ProtectFieldType::pin << "Pin";
        QTest::newRow("optionalPin") << ProtectFieldType::optionalPin << "Optional Pin";
    }
    void masksAndNamesEachType()
    {
        QFETCH(ProtectFieldType, type);
        QFETCH(QString, placeholder);
        UserFormTextField field(type);
        QCOMPARE(field.placeholderText(), placeholder);
        QCOMPARE(field.accessibleName(), placeholder);
        QCOMPARE(field.echoMode(), QLineEdit::Password);
        QCOMPARE(field.type(), type);
    }

    void typedTextNeverReachesTheClipboard_data()
    {
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::newRow("copy") << QKeySequence(QKeySequence::Copy);
        QTest::newRow("cut") << QKeySequence(QKeySequence::Cut);
    }
    void typedTextNeverReachesTheClipboard()
    {
        QFETCH(QKeySequence, shortcut);
        QApplication::clipboard()->setText(QStringLiteral("before"));
        UserFormTextField field(ProtectFieldType::pin);
        field.show();
        QVERIFY(QTest::qWaitForWindowExposed(&field));
        QTest::keyClicks(&field, QStringLiteral("4711"));
        field.selectAll();
        QTest::keySequence(&field, shortcut);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
    }

    void contextMenuPastesButNeverCopies()
    {
        QApplication::clipboard()->setText(QStringLiteral("pasted1"));
        UserFormTextField field(ProtectFieldType::passcode);
        field.show();
        QVERIFY(QTest::qWaitForWindowExposed(&field));
        QTest::keyClicks(&field, QStringLiteral("secret12"));
        field.selectAll();
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
        QVERIFY(paste && paste->isEnabled());
        paste->trigger();
        QCOMPARE(field.text(), QStringLiteral("pasted1"));
        menu->close();
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestUserFormTextField)
#include "TestUserFormTextField.moc"
