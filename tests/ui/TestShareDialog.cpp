#include "PresenterWindow.h"
#include "TestFiles.h"
#include "TestSession.h"
#include "WidgetTestMain.h"
#include "core/AppPaths.h"
#include "security/FileEncryptor.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "storage/ShareFolder.h"
#include "ui/common/Presenter.h"
#include "ui/common/UrlOpener.h"
#include "ui/common/UserFormTextField.h"
#include "ui/share/ProgramStarter.h"
#include "ui/share/ShareDialog.h"
#include "ui/share/ShareTargets.h"

#include <QCommandLinkButton>
#include <QDirIterator>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using namespace Qt::StringLiterals;
using Activity = ShareTargets::Activity;

class TestShareDialog : public QObject
{
    Q_OBJECT
    InMemoryCredentialBackend *m_backend = nullptr;
    QTemporaryDir m_vault;
    std::unique_ptr<PresenterWindow> m_window;
    Presenter *m_presenter = nullptr;
    QList<StoredItemPtr> m_items;
    QStringList m_started; // program, then its arguments
    QList<QUrl> m_opened;
    bool m_startSucceeds = true;
    QString m_chosenFolder;

    static QByteArray plain(const QString &name) { return name.toUtf8().repeated(5000); }
    // Everything below the temporary directory, folders included.
    static QStringList temporaryEntries()
    {
        QStringList found;
        QDirIterator it(AppPaths::temporaryDirectory(),
                        QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            found.append(it.next());
        found.sort();
        return found;
    }
    StoredItemPtr item(const QString &name, const QString &ext)
    {
        const QString path = m_vault.filePath(u"scrambled "_s + name);
        const QByteArray data = FileEncryptor::encrypt(plain(name + u'.' + ext), u"passcode1"_s).value_or("");
        return writeBytes(path, data)
                   ? std::make_shared<StoredItem>(QUrl::fromLocalFile(path), name, ext, true,
                                                  StorageLocation::local, m_vault.path())
                   : nullptr;
    }
    ShareDialog *openSheet()
    {
        auto *sheet = new ShareDialog(m_items, testSession());
        m_presenter->sheet(sheet);
        return sheet;
    }
    static void enter(ShareDialog *sheet, const QString &passcode)
    {
        auto *field = sheet->findChild<UserFormTextField *>(u"passcodeField"_s);
        field->setText(passcode);
        QTest::keyClick(field, Qt::Key_Return);
    }
    // Unlocked and past the progress card.
    static bool showsTargets(ShareDialog *sheet)
    {
        return sheet->activities() && sheet->activities()->isVisible() && !sheet->activities()->isBusy();
    }

private Q_SLOTS:
    void initTestCase()
    {
        auto backend = std::make_unique<InMemoryCredentialBackend>();
        m_backend = backend.get();
        KeyChainHelper::shared().setBackend(std::move(backend));
        QVERIFY(KeyChainHelper::shared().saveKey(u"passcode1"_s));
        QVERIFY(unlockVaultForTest(u"passcode1"_s));
        m_items = {item(u"a"_s, u"txt"_s), item(u"b"_s, u"pdf"_s)};
        ProgramStarter::setStarter([this](const QString &program, const QStringList &arguments) {
            m_started = QStringList{program} + arguments;
            return m_startSucceeds;
        });
        UrlOpener::setOpener([this](const QUrl &url) {
            m_opened.append(url);
            return true;
        });
        ShareTargets::chooseFolder = [this] { return m_chosenFolder; };
    }
    void init()
    {
        AppPaths::clearTemporaryDirectory();
        m_started.clear();
        m_opened.clear();
        m_startSucceeds = true;
        m_window = std::make_unique<PresenterWindow>();
        m_presenter = m_window->presenter();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    // The progress card, then the targets; going before a target was chosen leaves nothing.
    void closingBeforeATargetLeavesNothing_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Close") << 0;
        QTest::newRow("vault locked") << 1;
        QTest::newRow("background") << 2;
    }
    void closingBeforeATargetLeavesNothing()
    {
        QFETCH(int, how);
        ShareDialog *sheet = openSheet();
        enter(sheet, u"passcode1"_s);
        QTRY_VERIFY(sheet->isUnlocked());
        auto *card = sheet->findChild<QWidget *>(u"preparingFileProgress"_s);
        QVERIFY(card->isVisible() && !sheet->activities()->isVisible());
        QTRY_VERIFY(showsTargets(sheet));
        QVERIFY(!card->isVisible());

        if (how == 0)
            QTest::mouseClick(sheet->findChild<QPushButton *>(u"doneButton"_s), Qt::LeftButton);
        else if (how == 1)
            m_presenter->vaultLocked();
        else
            m_presenter->applicationWentToBackground();
        QVERIFY(m_presenter->presented().isEmpty());
        QTRY_VERIFY(m_window->findChildren<ShareDialog *>().isEmpty());
        QCOMPARE(temporaryEntries(), QStringList());
        QVERIFY(m_started.isEmpty() && m_opened.isEmpty());
    }

    // Which passcodes open is PasscodeGate's; here, that a wrong one decrypts nothing and that the
    // open session answers while the store cannot.
    void wrongPasscodeDecryptsNothing()
    {
        ShareDialog *sheet = openSheet();
        auto *field = sheet->findChild<UserFormTextField *>(u"passcodeField"_s);
        QTRY_VERIFY(field->hasFocus());
        enter(sheet, u"passcode2"_s);
        QCOMPARE(field->text(), QString());
        QVERIFY(!sheet->isUnlocked() && !sheet->activities());
        QVERIFY(!sheet->findChild<QMessageBox *>());
        QCOMPARE(temporaryEntries(), QStringList());

        m_backend->setFailing(true);
        enter(sheet, u"passcode1"_s);
        QTRY_VERIFY(sheet->isUnlocked());
        QCOMPARE(field->text(), QString());
    }

    void saveToFolderNeverReplaces()
    {
        QTemporaryDir folder;
        m_chosenFolder = folder.path();
        QVERIFY(writeBytes(folder.filePath(u"a.txt"_s), "mine"));
        ShareDialog *sheet = openSheet();
        enter(sheet, u"passcode1"_s);
        QTRY_VERIFY(showsTargets(sheet));
        sheet->activities()->button(Activity::saveToFolder)->click();
        auto *status = sheet->findChild<QLabel *>(u"statusLabel"_s);
        QTRY_COMPARE(status->text(), u"Saved 2 items in %1."_s.arg(folder.path()));
        QCOMPARE(
            QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
            (QStringList{u"a(1).txt"_s, u"a.txt"_s, u"b.pdf"_s}));
        QCOMPARE(fileContents(folder.filePath(u"a.txt"_s)), QByteArray("mine"));
        QCOMPARE(fileContents(folder.filePath(u"a(1).txt"_s)), plain(u"a.txt"_s));
        QCOMPARE(fileContents(folder.filePath(u"b.pdf"_s)), plain(u"b.pdf"_s));
        QCOMPARE(temporaryEntries(), QStringList()); // straight into the folder
    }

    // Copies given to another application outlive the dialog until Lumisera quits; copies the
    // application never got go with it.
    void handsCopiesToOtherApplications_data()
    {
        QTest::addColumn<int>("activity");
        QTest::addColumn<bool>("startSucceeds");
        QTest::newRow("e-mail") << int(Activity::sendByEmail) << true;
        QTest::newRow("default application") << int(Activity::openWithDefaultApplication) << true;
        QTest::newRow("no e-mail program") << int(Activity::sendByEmail) << false;
    }
    void handsCopiesToOtherApplications()
    {
        QFETCH(int, activity);
        QFETCH(bool, startSucceeds);
        m_startSucceeds = startSucceeds;
        ShareDialog *sheet = openSheet();
        enter(sheet, u"passcode1"_s);
        QTRY_VERIFY(showsTargets(sheet));
        QCOMPARE(temporaryEntries(), QStringList()); // nothing decrypted before a target asks
        sheet->activities()->button(Activity(activity))->click();
        QTRY_VERIFY(!m_started.isEmpty() || !m_opened.isEmpty());

        const QStringList copies = temporaryEntries().filter(QRegularExpression(u"\\.(txt|pdf)$"_s));
        QCOMPARE(copies.size(), 2);
        QVERIFY(copies[0].endsWith(u"/a.txt"_s) && copies[1].endsWith(u"/b.pdf"_s));
        QCOMPARE(fileContents(copies[0]), plain(u"a.txt"_s));
        QCOMPARE(fileContents(copies[1]), plain(u"b.pdf"_s));
        if (Activity(activity) == Activity::sendByEmail)
            QCOMPARE(m_started,
                     (QStringList{u"xdg-email"_s, u"--subject"_s, u"Shared from Morvenda Lumisera"_s,
                                  u"--attach"_s, copies[0], u"--attach"_s, copies[1]}));
        else
            QCOMPARE(m_opened, (QList<QUrl>{QUrl::fromLocalFile(copies[0]), QUrl::fromLocalFile(copies[1])}));
        if (!startSucceeds)
            QTRY_VERIFY(sheet->window()->findChild<QMessageBox *>(u"shareFailureAlert"_s));

        QTest::mouseClick(sheet->findChild<QPushButton *>(u"doneButton"_s), Qt::LeftButton);
        QTRY_VERIFY(m_window->findChildren<ShareDialog *>().isEmpty());
        QCOMPARE(QFileInfo::exists(copies[0]) && QFileInfo::exists(copies[1]), startSucceeds);
        ShareFolder::removeAll(); // what quitting does
        QCOMPARE(temporaryEntries(), QStringList());
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestShareDialog)
#include "TestShareDialog.moc"
