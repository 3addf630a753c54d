#include "TestHome.h"
#include "core/AppPaths.h"
#include "security/FileEncryptor.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "storage/FileNaming.h"
#include "storage/PasscodeChange.h"
#include "ui/settings/ChangePasscodeState.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QString Current = u"current horse 42"_s;
const QString Next = u"next battery 7 staple"_s;

struct Stored
{
    QString path;
    QByteArray plain;
};

QList<Stored> buildVault(int files, qint64 size)
{
    const QString folder = AppPaths::documentsDirectory() + u"/Trips"_s;
    QDir().mkpath(folder);
    QList<Stored> stored;
    for (int i = 0; i < files; ++i) {
        const QByteArray plain(size + i, char('a' + i));
        const QString path = folder + u'/' + FileNaming::storedFileName(u"file%1.bin"_s.arg(i));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(*FileEncryptor::encrypt(plain, Current));
        stored.append({path, plain});
    }
    return stored;
}

bool allOpenWith(const QList<Stored> &files, const QString &passcode)
{
    for (const Stored &file : files) {
        QFile in(file.path);
        if (!in.open(QIODevice::ReadOnly) || FileEncryptor::decrypt(in.readAll(), passcode) != file.plain)
            return false;
    }
    return true;
}
} // namespace

class TestChangePasscodeState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QDir(AppPaths::documentsDirectory()).removeRecursively();
        QFile::remove(PasscodeChangeJournal::path());
        KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
        KeyChainHelper::shared().saveKey(Current);
    }

    void canStart_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("repeated");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("all filled in") << Current << Next << Next << true;
        QTest::newRow("no current passcode") << QString() << Next << Next << false;
        QTest::newRow("entries differ") << Current << Next << Next + u'x' << false;
        QTest::newRow("too short") << Current << u"abc1"_s << u"abc1"_s << false;
        QTest::newRow("no digit") << Current << u"only letters here"_s << u"only letters here"_s << false;
        QTest::newRow("same first sixteen") << Current << Current + u"99"_s << Current + u"99"_s << false;
    }
    void canStart()
    {
        QFETCH(QString, current);
        QFETCH(QString, next);
        QFETCH(QString, repeated);
        QFETCH(bool, enabled);
        ChangePasscodeState state;
        state.setCurrent(current);
        state.setNewPasscode(next);
        state.setRepeated(repeated);
        QCOMPARE(state.canStart(), enabled);
        QSignalSpy running(&state, &ChangePasscodeState::runningChanged);
        state.start();
        QCOMPARE(state.isRunning(), enabled);
        if (enabled)
            QTRY_VERIFY(!state.isRunning());
    }

    void changesEveryFile()
    {
        const QList<Stored> files = buildVault(6, 3000);
        ChangePasscodeState state;
        QSignalSpy finished(&state, &ChangePasscodeState::finished);
        state.setCurrent(Current);
        state.setNewPasscode(Next);
        state.setRepeated(Next);
        state.start();
        QVERIFY(state.isRunning());
        QVERIFY(!state.canStart());
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
        QVERIFY(!state.isRunning());
        QVERIFY(allOpenWith(files, Next));
        QCOMPARE(KeyChainHelper::shared().lookUp().passcode, Next);
        QVERIFY(!PasscodeChangeJournal::exists());
    }

    void wrongCurrentPasscode()
    {
        const QList<Stored> files = buildVault(2, 100);
        ChangePasscodeState state;
        state.setCurrent(u"current horse 43"_s);
        state.setNewPasscode(Next);
        state.setRepeated(Next);
        state.start();
        QTRY_VERIFY(!state.isRunning());
        QCOMPARE(state.message(), u"The current passcode is not correct."_s);
        QVERIFY(!PasscodeChangeJournal::exists());
        QVERIFY(allOpenWith(files, Current));
    }

    // The lock stops the change; the sheet that comes back after the unlock finishes it, asking
    // for the new passcode only when the store lost it.
    void lockThenResume_data()
    {
        QTest::addColumn<bool>("pendingKept");
        QTest::newRow("new passcode still stored") << true;
        QTest::newRow("new passcode lost") << false;
    }
    void lockThenResume()
    {
        QFETCH(bool, pendingKept);
        const QList<Stored> files = buildVault(4, 16 << 20);
        {
            ChangePasscodeState state;
            state.setCurrent(Current);
            state.setNewPasscode(Next);
            state.setRepeated(Next);
            state.start();
            KeyChainHelper::shared().lock();
            QTRY_VERIFY_WITH_TIMEOUT(!state.isRunning(), 20000);
            QVERIFY2(state.message().contains(u"locked"_s), qPrintable(state.message()));
            QVERIFY(state.isResuming());
        }
        QVERIFY(PasscodeChangeJournal::exists());
        QVERIFY(!allOpenWith(files, Next));
        if (!pendingKept)
            QVERIFY(KeyChainHelper::shared().removePending());

        ChangePasscodeState resumed(true);
        QSignalSpy finished(&resumed, &ChangePasscodeState::finished);
        resumed.setCurrent(Current);
        QVERIFY(resumed.canStart());
        resumed.start();
        if (!pendingKept) {
            QTRY_VERIFY(!resumed.isRunning());
            QVERIFY(resumed.needsNewPasscode());
            QVERIFY(!resumed.canStart());
            resumed.setNewPasscode(u"some other passcode 1"_s);
            resumed.start();
            QTRY_VERIFY(!resumed.isRunning());
            QCOMPARE(resumed.message(), u"That is not the new passcode this change was started with."_s);
            resumed.setNewPasscode(Next);
            resumed.start();
        }
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 30000);
        QVERIFY(allOpenWith(files, Next));
        QCOMPARE(KeyChainHelper::shared().lookUp().passcode, Next);
        QVERIFY(!PasscodeChangeJournal::exists());
    }
};

LUMISERA_TEST_MAIN(TestChangePasscodeState)
#include "TestChangePasscodeState.moc"
