#include "ui/folder/NewFolderState.h"

#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

using Pin = std::optional<QString>;

Q_DECLARE_METATYPE(Pin)

class TestNewFolderState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The dialog refuses only blank names and short PINs; a name the file system cannot take goes
    // on to the folder operations, which refuse it before touching the disk.
    void create_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pin");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("handedName");
        QTest::addColumn<Pin>("handedPin");
        QTest::newRow("empty name") << QString() << QString() << false << QString() << Pin();
        QTest::newRow("name of only spaces") << u"   "_s << QString() << false << QString() << Pin();
        QTest::newRow("name of a tab") << u"\t"_s << u"1234"_s << false << QString() << Pin();
        QTest::newRow("PIN of three") << u"Trip"_s << u"123"_s << false << QString() << Pin();
        QTest::newRow("PIN of three, padded") << u"Trip"_s << u" 123  "_s << false << QString() << Pin();
        QTest::newRow("no PIN") << u"Trip"_s << QString() << true << u"Trip"_s << Pin();
        QTest::newRow("PIN of only spaces") << u"Trip"_s << u"    "_s << true << u"Trip"_s << Pin();
        QTest::newRow("PIN of four") << u"Trip"_s << u"1234"_s << true << u"Trip"_s << Pin(u"1234"_s);
        QTest::newRow("padded name and PIN")
            << u"  Trip "_s << u" 1234 "_s << true << u"Trip"_s << Pin(u"1234"_s);
        QTest::newRow("PIN with inner space")
            << u"Trip"_s << u"12 34"_s << true << u"Trip"_s << Pin(u"12 34"_s);
        QTest::newRow("name with a slash") << u"a/b"_s << QString() << true << u"a/b"_s << Pin();
        QTest::newRow("leading dot") << u".hidden"_s << QString() << true << u".hidden"_s << Pin();
        QTest::newRow("dot dot") << u".."_s << QString() << true << u".."_s << Pin();
        QTest::newRow("too long") << QString(300, u'x') << QString() << true << QString(300, u'x') << Pin();
    }
    void create()
    {
        QFETCH(QString, name);
        QFETCH(QString, pin);
        QFETCH(bool, enabled);
        QFETCH(QString, handedName);
        QFETCH(Pin, handedPin);
        NewFolderState state;
        QSignalSpy changed(&state, &NewFolderState::changed);
        QList<std::pair<QString, Pin>> handed;
        connect(&state, &NewFolderState::createRequested, this, [&handed](const QString &n, const Pin &p) {
            handed.append({n, p});
        });
        state.setName(name);
        state.setPin(pin);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(state.canCreate(), enabled);
        QCOMPARE(state.create(), enabled);
        QCOMPARE(handed.size(), enabled ? 1 : 0);
        if (!enabled)
            return;
        QCOMPARE(handed.first().first, handedName);
        QCOMPARE(handed.first().second, handedPin);
        // What was handed over is not held any longer: the next "Create" carries no PIN.
        QVERIFY(state.create());
        QCOMPARE(handed.last().second, Pin());
    }

    // Modify Folder asks the same length of a new PIN, counted without the spaces around it.
    void pinLength()
    {
        QVERIFY(!NewFolderState::isPinLongEnough(QString()));
        QVERIFY(!NewFolderState::isPinLongEnough(u" 567  "_s));
        QVERIFY(NewFolderState::isPinLongEnough(u" 5678 "_s));
        QVERIFY(NewFolderState::isPinLongEnough(u"ab cd"_s));
    }

    // What was typed is forgotten once the sheet closed.
    void closingForgetsThePin()
    {
        NewFolderState state;
        Pin last = u"unset"_s;
        connect(&state, &NewFolderState::createRequested, this,
                [&last](const QString &, const Pin &p) { last = p; });
        state.setName(u"Trip"_s);
        state.setPin(u"5678"_s);
        state.forgetPin();
        QVERIFY(state.create());
        QCOMPARE(last, Pin());
    }
};

QTEST_GUILESS_MAIN(TestNewFolderState)
#include "TestNewFolderState.moc"
