#include "security/VaultSession.h"
#include "ui/common/PasscodeGate.h"

#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

using Answer = PasscodeGate::Answer;

class TestPasscodeGate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Exactly the session's passcode opens; a session that ended checks nothing and says so,
    // and what was typed stays for the next try.
    void answers_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("session"); // "open", "ended" or "none"
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<bool>("clears");
        const QString locked = u"The passcode could not be checked: the vault is locked"_s;
        QTest::newRow("right") << u"correct horse 42"_s << u"open"_s << Answer::open << QString() << true;
        QTest::newRow("other") << u"passcode2"_s << u"open"_s << Answer::wrong << QString() << true;
        QTest::newRow("trailing space")
            << u"correct horse 42 "_s << u"open"_s << Answer::wrong << QString() << true;
        QTest::newRow("other case") << u"Correct horse 42"_s << u"open"_s << Answer::wrong << QString()
                                    << true;
        QTest::newRow("empty") << QString() << u"open"_s << Answer::wrong << QString() << true;
        QTest::newRow("right, session ended")
            << u"correct horse 42"_s << u"ended"_s << Answer::unchecked << locked << false;
        QTest::newRow("wrong, session ended") << u"x"_s << u"ended"_s << Answer::unchecked << locked << false;
        QTest::newRow("right, no session")
            << u"correct horse 42"_s << u"none"_s << Answer::unchecked << locked << false;
    }
    void answers()
    {
        QFETCH(QString, typed);
        QFETCH(QString, session);
        QFETCH(Answer, answer);
        QFETCH(QString, problem);
        QFETCH(bool, clears);
        const VaultSessionPtr vault =
            session == u"none"_s ? nullptr : VaultSession::open(u"correct horse 42"_s);
        if (session == u"ended"_s)
            vault->end();
        PasscodeGate gate;
        QSignalSpy problemChanged(&gate, &PasscodeGate::problemChanged);
        QCOMPARE(gate.check(typed, vault.get()), answer);
        QCOMPARE(gate.problem(), problem);
        QCOMPARE(problemChanged.count(), problem.isEmpty() ? 0 : 1);
        QCOMPARE(PasscodeGate::clearsField(answer), clears);
    }

    // The reason goes with the next answer that could be checked.
    void problemGoesWhenChecked()
    {
        PasscodeGate gate;
        QSignalSpy problemChanged(&gate, &PasscodeGate::problemChanged);
        QCOMPARE(gate.check(u"a"_s, nullptr), Answer::unchecked);
        QCOMPARE(gate.check(u"a"_s, nullptr), Answer::unchecked);
        QCOMPARE(problemChanged.count(), 1);
        const VaultSessionPtr vault = VaultSession::open(u"a"_s);
        QCOMPARE(gate.check(u"b"_s, vault.get()), Answer::wrong);
        QCOMPARE(gate.problem(), QString());
        QCOMPARE(problemChanged.count(), 2);
    }
};

QTEST_GUILESS_MAIN(TestPasscodeGate)
#include "TestPasscodeGate.moc"
