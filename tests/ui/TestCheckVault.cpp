#include "TestFiles.h"
#include "TestSession.h"
#include "WidgetTestMain.h"
#include "core/AppPaths.h"
#include "security/FileEncryptor.h"
#include "storage/FileNaming.h"
#include "ui/settings/CheckVaultState.h"
#include "ui/settings/CheckVaultView.h"
#include "ui/settings/Settings.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;
using Phase = CheckVaultState::Phase;

namespace {
const QString passcode = u"Passcode1"_s;

QString folder()
{
    return AppPaths::documentsDirectory() + u"/Trips"_s;
}

bool store(const QString &clearName, const QByteArray &bytes)
{
    return writeBytes(folder() + u'/' + FileNaming::storedFileName(clearName), bytes);
}
} // namespace

// The rules of the "Check Vault" sheet without a window, then the sheet's wiring.
class TestCheckVault : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QDir(AppPaths::documentsDirectory()).removeRecursively();
        QVERIFY(QDir().mkpath(folder()));
        QVERIFY(store(u"good.txt"_s, FileEncryptor::encrypt("good", passcode).value_or("")));
        openTestSession(passcode);
    }

    // What the sheet shows after a check, for trees with and without damage.
    void report_data()
    {
        QTest::addColumn<QByteArray>("damaged"); // the stored bytes of a second file; empty: none
        QTest::addColumn<Phase>("phase");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("clean") << QByteArray() << Phase::done << QStringList();
        QTest::newRow("cut short") << QByteArray("123") << Phase::done
                                   << QStringList{VaultCheck::kindText(VaultCheck::Kind::undecryptable) +
                                                      u": 1"_s,
                                                  u"    Local: Trips/bad.txt"_s};
    }
    void report()
    {
        QFETCH(QByteArray, damaged);
        QFETCH(Phase, phase);
        QFETCH(QStringList, lines);
        if (!damaged.isEmpty())
            QVERIFY(store(u"bad.txt"_s, damaged));
        CheckVaultState state;
        QSignalSpy phases(&state, &CheckVaultState::phaseChanged);
        state.start(testSession());
        QTRY_COMPARE(state.phase(), phase);
        QCOMPARE(state.reportLines(), lines);
        QCOMPARE(state.filesChecked(), damaged.isEmpty() ? 1 : 2);
        QCOMPARE(state.statusText().startsWith(u"Nothing is wrong"_s), lines.isEmpty());
        // running, then the end
        QCOMPARE(phases.size(), 2);
        QCOMPARE(phases.first().first().value<Phase>(), Phase::running);
    }

    void lockedSessionChecksNothing_data()
    {
        QTest::addColumn<bool>("session");
        QTest::newRow("no session") << false;
        QTest::newRow("ended session") << true;
    }
    void lockedSessionChecksNothing()
    {
        QFETCH(bool, session);
        if (session)
            testSession()->end();
        CheckVaultState state;
        state.start(session ? testSession() : VaultSessionPtr());
        QCOMPARE(state.phase(), Phase::locked);
        QCOMPARE(state.statusText(), u"Unlock the vault to check it."_s);
        QVERIFY(state.reportLines().isEmpty());
    }

    // Cancel, or the lock, stops the walk before its end.
    void stopsBeforeTheEnd_data()
    {
        QTest::addColumn<bool>("lock");
        QTest::newRow("cancel") << false;
        QTest::newRow("lock") << true;
    }
    void stopsBeforeTheEnd()
    {
        QFETCH(bool, lock);
        const QByteArray bad = "x";
        for (int index = 0; index < 3000; ++index)
            QVERIFY(store(u"f%1.txt"_s.arg(index), bad));
        CheckVaultState state;
        state.start(testSession());
        if (lock) {
            testSession()->end();
        } else {
            state.cancel();
            QVERIFY(!state.canCancel());
        }
        QTRY_COMPARE(state.phase(), Phase::cancelled);
        QVERIFY(state.filesChecked() < 3001);
    }

    void settingsRowOpensTheSheet()
    {
        Settings settings;
        QSignalSpy requested(&settings, &Settings::checkVaultRequested);
        auto *button = settings.findChild<QPushButton *>(u"checkVaultButton"_s);
        QVERIFY(button);
        button->click();
        QCOMPARE(requested.size(), 1);
    }

    void sheetShowsProgressThenTheReport()
    {
        QVERIFY(store(u"bad.txt"_s, "123"));
        CheckVaultView view(testSession());
        QVERIFY(view.dismissesOnLock());
        view.show();
        auto *close = view.findChild<QPushButton *>(u"checkVaultClose"_s);
        auto *report = view.findChild<QPlainTextEdit *>(u"checkVaultReport"_s);
        QVERIFY(close && report);
        QTRY_COMPARE(view.state()->phase(), Phase::done);
        QVERIFY(close->isVisible());
        QVERIFY(!view.findChild<QPushButton *>(u"checkVaultCancel"_s)->isVisible());
        QVERIFY(report->toPlainText().contains(u"Local: Trips/bad.txt"_s));
        // A screen reader hears the outcome with the button the check ends on.
        QVERIFY(close->accessibleDescription().startsWith(u"Problems found: 1."_s));
        QSignalSpy dismissed(&view, &Screen::dismissRequested);
        close->click();
        QCOMPARE(dismissed.size(), 1);
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestCheckVault)

#include "TestCheckVault.moc"
