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
    // Exactly the session's passcode opens; a session that ended checks nothing and says so, and
    // what was typed stays for the next try. The reason goes with the next checked answer.
    void answers_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("session"); // "open", "ended" or "none"
        QTest::addColumn<Answer>("answer");
        QTest::newRow("right") << u"correct horse 42"_s << u"open"_s << Answer::open;
        QTest::newRow("other") << u"passcode2"_s << u"open"_s << Answer::wrong;
        QTest::newRow("trailing space") << u"correct horse 42 "_s << u"open"_s << Answer::wrong;
        QTest::newRow("other case") << u"Correct horse 42"_s << u"open"_s << Answer::wrong;
        QTest::newRow("empty") << QString() << u"open"_s << Answer::wrong;
        QTest::newRow("right, session ended") << u"correct horse 42"_s << u"ended"_s << Answer::unchecked;
        QTest::newRow("wrong, session ended") << u"x"_s << u"ended"_s << Answer::unchecked;
        QTest::newRow("right, no session") << u"correct horse 42"_s << u"none"_s << Answer::unchecked;
    }
    void answers()
    {
        QFETCH(QString, typed);
        QFETCH(QString, session);
        QFETCH(Answer, answer);
        const VaultSessionPtr vault =
            session == u"none"_s ? nullptr : VaultSession::open(u"correct horse 42"_s);
        if (session == u"ended"_s)
            vault->end();
        const bool unchecked = answer == Answer::unchecked;
        PasscodeGate gate;
        QSignalSpy problemChanged(&gate, &PasscodeGate::problemChanged);
        QCOMPARE(gate.check(typed, vault.get()), answer);
        QCOMPARE(gate.problem(),
                 unchecked ? u"The passcode could not be checked: the vault is locked"_s : QString());
        QCOMPARE(PasscodeGate::clearsField(answer), !unchecked);
        QCOMPARE(gate.check(typed, vault.get()), answer); // the same reason is not told twice
        QCOMPARE(problemChanged.count(), unchecked ? 1 : 0);
        const VaultSessionPtr other = VaultSession::open(u"a"_s);
        QCOMPARE(gate.check(u"b"_s, other.get()), Answer::wrong);
        QCOMPARE(gate.problem(), QString());
        QCOMPARE(problemChanged.count(), unchecked ? 2 : 0);
    }
};

QTEST_GUILESS_MAIN(TestPasscodeGate)
#include "TestPasscodeGate.moc"
