#include "ConnectedCollection.h"
#include "EventLoopMarkers.h"
#include "LogCapture.h"
#include "PresenterWindow.h"
#include "TestFiles.h"
#include "TestSession.h"
#include "WidgetTestMain.h"
#include "drive/CloudDrive.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "storage/DriveManager.h"
#include "storage/FileNaming.h"
#include "storage/ItemCollection.h"
#include "storage/StoragePool.h"
#include "ui/common/Presenter.h"
#include "ui/common/UserFormTextField.h"
#include "ui/folder/DeleteFileView.h"
#include "ui/folder/DeleteFolderView.h"
#include "ui/folder/EnterPin.h"
#include "ui/folder/EntrySheet.h"
#include "ui/folder/ModifyFolderView.h"
#include "ui/folder/NewFolderView.h"
#include "ui/folder/OKAlert.h"
#include "ui/folder/OKCancelAlert.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QString passcode = u"correct horse 42"_s;

// A fresh folder of the local tree, its PIN (if any) already published by a reload.
std::unique_ptr<ItemCollection> makeFolder(const QString &name, const std::optional<QString> &pin)
{
    if (!connected(FileItemType::all)->operations().createFolder(name, pin))
        return nullptr;
    auto folder = connected(FileItemType::file, name);
    QSignalSpy applied(folder.get(), &ItemCollection::timestampChanged);
    folder->reload();
    return applied.wait(5000) ? std::move(folder) : nullptr;
}

bool folderExists(const QString &name)
{
    const auto root = connected(FileItemType::all);
    return QDir(root->driveManager()->drive()->rootDirectory()).exists(name);
}

} // namespace

class TestFolderDialogs : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PresenterWindow> m_window;
    Presenter *m_presenter = nullptr;
    QTemporaryDir m_sources;

    template <typename T> T *present(T *screen)
    {
        m_presenter->sheet(screen);
        return screen;
    }
    bool isShown(Screen *screen) const { return m_presenter->presented().contains(screen); }
    template <typename T = QPushButton> static T *child(QObject *parent, const char *name)
    {
        return parent->findChild<T *>(QLatin1String(name));
    }
    // Keys go where a user's would: to whatever has the focus inside the given window.
    static void press(QWidget *window, int key)
    {
        QWidget *target = window->focusWidget() ? window->focusWidget() : window;
        QTest::keyClick(target, Qt::Key(key));
    }
    template <typename T> static T *waitForChild(QObject *parent, const char *name)
    {
        const bool shown = QTest::qWaitFor(
            [&] { return child<T>(parent, name) && child<T>(parent, name)->isVisible(); }, 5000);
        return shown ? child<T>(parent, name) : nullptr;
    }

private Q_SLOTS:
    void initTestCase()
    {
        KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
        QVERIFY(KeyChainHelper::shared().saveKey(passcode));
        QVERIFY(unlockVaultForTest(passcode));
        QVERIFY(m_sources.isValid());
    }
    void init()
    {
        m_window = std::make_unique<PresenterWindow>();
        m_presenter = m_window->presenter();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    void alertRoles_data()
    {
        QTest::addColumn<DestructiveButton>("danger");
        QTest::addColumn<QMessageBox::ButtonRole>("okRole");
        QTest::addColumn<QMessageBox::ButtonRole>("cancelRole");
        QTest::newRow("none") << DestructiveButton::none << QMessageBox::AcceptRole
                              << QMessageBox::RejectRole;
        QTest::newRow("ok") << DestructiveButton::ok << QMessageBox::DestructiveRole
                            << QMessageBox::RejectRole;
        QTest::newRow("cancel") << DestructiveButton::cancel << QMessageBox::AcceptRole
                                << QMessageBox::DestructiveRole;
    }
    void alertRoles()
    {
        QFETCH(DestructiveButton, danger);
        QFETCH(QMessageBox::ButtonRole, okRole);
        QFETCH(QMessageBox::ButtonRole, cancelRole);
        QPointer alert = new OKCancelAlert(u"Title"_s, u"Text"_s, danger, m_window.get());
        QSignalSpy ok(alert.data(), &OKCancelAlert::ok);
        QSignalSpy cancelled(alert.data(), &OKCancelAlert::cancelled);
        QCOMPARE(alert->buttonRole(alert->okButton()), okRole);
        QCOMPARE(alert->buttonRole(alert->cancelButton()), cancelRole);
        alert->open();
        QTest::keyClick(alert, Qt::Key_Escape);
        QTRY_VERIFY(!alert);
        QCOMPARE(cancelled.count(), 1);
        QCOMPARE(ok.count(), 0);
    }

    // The rules are NewFolderState's; here, that the fields, the button and Return reach them.
    void newFolderWiring_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pin");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("handedName");
        QTest::addColumn<std::optional<QString>>("handedPin");
        QTest::newRow("PIN of three")
            << u"Trip"_s << u"123"_s << false << QString() << std::optional<QString>();
        QTest::newRow("padded name and PIN")
            << u"  Trip "_s << u" 1234 "_s << true << u"Trip"_s << std::optional<QString>(u"1234"_s);
    }
    void newFolderWiring()
    {
        QFETCH(QString, name);
        QFETCH(QString, pin);
        QFETCH(bool, enabled);
        QFETCH(QString, handedName);
        QFETCH(std::optional<QString>, handedPin);
        int calls = 0;
        auto *view = present(new NewFolderView([&](const QString &n, const std::optional<QString> &p) {
            ++calls;
            QCOMPARE(n, handedName);
            QCOMPARE(p, handedPin);
        }));
        QTest::keyClicks(child<QLineEdit>(view, "folderNameField"), name);
        QTest::keyClicks(child<QLineEdit>(view, "pinField"), pin);
        QPushButton *create = child(view, "createFolderButton");
        QCOMPARE(create->isEnabled(), enabled);
        QTest::keyClick(child<QLineEdit>(view, "pinField"), Qt::Key_Return);
        QCOMPARE(calls, enabled ? 1 : 0);
        QCOMPARE(isShown(view), !enabled);
    }

    void enterPinHandsOverTrimmed_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("cancel");
        QTest::newRow("padded") << u"  4711 "_s << false;
        QTest::newRow("cancelled") << u"4711"_s << true;
    }
    void enterPinHandsOverTrimmed()
    {
        QFETCH(QString, typed);
        QFETCH(bool, cancel);
        auto *view = present(new EnterPin);
        QSignalSpy entered(view, &EnterPin::pinEntered);
        QTRY_COMPARE(view->focusWidget(), child<QLineEdit>(view, "pinField"));
        QTest::keyClicks(view->focusWidget(), typed);
        QTest::mouseClick(child(view, cancel ? "cancelButton" : "continueButton"), Qt::LeftButton);
        QVERIFY(!isShown(view));
        QCOMPARE(entered.count(), cancel ? 0 : 1);
        if (!cancel)
            QCOMPARE(entered.at(0).at(0).toString(), u"4711"_s);
    }

    // Which dialogs Escape closes, which go when the application goes to the background, and
    // that a closed one keeps nothing typed.
    void dismissal_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("escapeCloses");
        QTest::addColumn<bool>("backgroundCloses");
        QTest::newRow("new folder") << u"new"_s << true << false;
        QTest::newRow("enter PIN") << u"pin"_s << false << true;
        QTest::newRow("modify folder") << u"modify"_s << true << true;
        QTest::newRow("delete folder") << u"delete"_s << false << false;
    }
    void dismissal()
    {
        QFETCH(QString, kind);
        QFETCH(bool, escapeCloses);
        QFETCH(bool, backgroundCloses);
        const auto folder = makeFolder(u"Marks"_s, std::nullopt);
        QVERIFY(folder);
        Screen *view = kind == u"new"_s      ? static_cast<Screen *>(new NewFolderView)
                       : kind == u"pin"_s    ? new EnterPin
                       : kind == u"modify"_s ? static_cast<Screen *>(new ModifyFolderView(folder.get()))
                                             : static_cast<Screen *>(new DeleteFolderView(folder.get(), {}));
        present(view);
        QLineEdit *secret = child<QLineEdit>(view, "pinField");
        if (secret)
            QTest::keyClicks(secret, u"9876"_s);
        bool wiped = false;
        connect(m_presenter, &Presenter::dismissed, view,
                [&] { wiped = !secret || secret->text().isEmpty(); });

        QTest::keyClick(view->window(), Qt::Key_Escape);
        view->window()->close();
        QCOMPARE(isShown(view), !escapeCloses);
        if (isShown(view)) {
            m_presenter->applicationWentToBackground();
            QCOMPARE(isShown(view), !backgroundCloses);
        }
        if (!isShown(view))
            QVERIFY(wiped);
        else
            m_presenter->dismiss(view);
        QVERIFY(folderExists(u"Marks"_s));
        folder->operations().deleteFolder();
    }

    // The lock closes each dialog with everything it opened; nothing changes the vault afterwards.
    void closedByTheLock_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("new folder") << u"new"_s;
        QTest::newRow("enter PIN") << u"pin"_s;
        QTest::newRow("modify folder, its passcode sheet open") << u"modify"_s;
        QTest::newRow("delete folder, at the second alert") << u"delete"_s;
        QTest::newRow("delete files, at the alert") << u"files"_s;
    }
    void closedByTheLock()
    {
        QFETCH(QString, kind);
        QVERIFY(unlockVaultForTest(passcode));
        const QString name = u"Lock "_s + kind;
        const auto folder = makeFolder(name, u"2468"_s);
        QVERIFY(folder);
        QVERIFY(folder->operations().addImageData("jpeg"));
        const QStringList files =
            QDir(folder->driveManager()->drive()->rootDirectory()).entryList(QDir::Files);
        QList<QPointer<QPushButton>> confirms; // what a person could still press after the lock
        Screen *view = nullptr;
        if (kind == u"new"_s) {
            // As the folder screen would: with operations made while the vault was open.
            auto operations = std::make_shared<FolderOperations>(connected(FileItemType::all)->operations());
            view = present(new NewFolderView([operations](const QString &n, const std::optional<QString> &p) {
                operations->createFolder(n, p);
            }));
            QTest::keyClicks(child<QLineEdit>(view, "folderNameField"), u"Made after the lock"_s);
            confirms << child(view, "createFolderButton");
        } else if (kind == u"pin"_s) {
            view = present(new EnterPin);
            confirms << child(view, "continueButton");
        } else if (kind == u"modify"_s) {
            view = present(new ModifyFolderView(folder.get()));
            child(view, "pinButton")->click();
            auto *sheet = waitForChild<EntrySheet>(view, "passcodeSheet");
            QVERIFY(sheet);
            QTest::keyClicks(sheet->field(), passcode);
            confirms << sheet->confirmButton();
        } else {
            if (kind == u"delete"_s)
                view = present(new DeleteFolderView(folder.get(), {}));
            else
                view = present(new DeleteFileView(folder->loadItems(), folder.get()));
            child(view, "confirmButton")->click();
            auto *alert = waitForChild<OKCancelAlert>(view, "firstConfirmation");
            QVERIFY(alert);
            if (kind == u"delete"_s) {
                alert->okButton()->click();
                QVERIFY((alert = waitForChild<OKCancelAlert>(view, "secondConfirmation")));
            }
            confirms << alert->okButton();
        }

        KeyChainHelper::shared().lock(); // as the application does when the window loses the focus
        m_presenter->vaultLocked();
        QVERIFY(!isShown(view));
        for (QWidget *window : QApplication::topLevelWidgets())
            QVERIFY2(!window->isVisible() || window == m_window.get(), qPrintable(window->objectName()));
        for (const QPointer<QPushButton> &confirm : confirms) {
            if (confirm)
                confirm->click();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(StoragePool::shared()->waitForDone(10000));
        QCoreApplication::processEvents();

        QVERIFY(unlockVaultForTest(passcode));
        QVERIFY(folderExists(name) && !folderExists(u"Made after the lock"_s));
        const auto after = connected(FileItemType::file, name);
        QCOMPARE(QDir(after->driveManager()->drive()->rootDirectory()).entryList(QDir::Files), files);
        QCOMPARE(after->loadListing().pin, std::optional<QString>(u"2468"_s));
        QVERIFY(after->operations().deleteFolder());
    }

    // Three presses, each by keyboard: Return alone never deletes, for the focus starts on Cancel.
    void deleteFolderNeedsThreePresses_data()
    {
        QTest::addColumn<int>("cancelledAlert"); // 0: OK in both
        QTest::newRow("OK in both alerts") << 0;
        QTest::newRow("cancel in the first alert") << 1;
        QTest::newRow("cancel in the second alert") << 2;
    }
    void deleteFolderNeedsThreePresses()
    {
        QFETCH(int, cancelledAlert);
        const QString name = u"Keys "_s + QString::number(cancelledAlert);
        const auto folder = makeFolder(name, std::nullopt);
        QVERIFY(folder);
        QList<bool> outcomes;
        auto *view = present(new DeleteFolderView(folder.get(), [&](bool deleted) { outcomes << deleted; }));
        QTRY_COMPARE(view->focusWidget(), child(view, "cancelButton"));
        press(view->window(), Qt::Key_Escape);
        QVERIFY(isShown(view));
        press(view->window(), Qt::Key_Tab);
        QCOMPARE(view->focusWidget(), child(view, "confirmButton"));
        press(view->window(), Qt::Key_Return);
        int alerts = 0;
        for (const char *alertName : {"firstConfirmation", "secondConfirmation"}) {
            auto *alert = waitForChild<OKCancelAlert>(view, alertName);
            QVERIFY(alert);
            QCOMPARE(alert->focusWidget(), alert->cancelButton());
            if (++alerts == cancelledAlert) {
                press(alert, Qt::Key_Return);
                break;
            }
            for (int tabs = 0; tabs < 4 && alert->focusWidget() != alert->okButton(); ++tabs)
                press(alert, Qt::Key_Tab);
            QCOMPARE(alert->focusWidget(), alert->okButton());
            press(alert, Qt::Key_Return);
        }
        if (cancelledAlert == 0) {
            QCOMPARE(child<QLabel>(view, "progressLabel")->text(), u"Deleting folder and contents"_s);
            QTRY_VERIFY(!isShown(view));
            QCOMPARE(outcomes, QList<bool>{true});
            QVERIFY(!folderExists(name));
            return;
        }
        // Deleting would run on the storage pool and answer through the event loop.
        QVERIFY(StoragePool::shared()->waitForDone(10000));
        QVERIFY(postedEventsRan());
        QVERIFY(isShown(view) && !view->isDeleting());
        QVERIFY(outcomes.isEmpty());
        QVERIFY(folderExists(name));
        m_presenter->dismiss(view);
        QVERIFY(folder->operations().deleteFolder());
    }

    // A PIN is added or removed with the passcode, not the folder's PIN; a change that cannot be
    // made says so, and the screen stays.
    void pinChangesNeedThePasscode_data()
    {
        QTest::addColumn<bool>("hasPin");
        QTest::addColumn<bool>("goneMeanwhile"); // its PIN file, or the folder itself
        QTest::newRow("Remove Pin") << true << false;
        QTest::newRow("Add Pin") << false << false;
        QTest::newRow("removing a PIN already gone") << true << true;
        QTest::newRow("adding a PIN to a folder gone") << false << true;
    }
    void pinChangesNeedThePasscode()
    {
        QFETCH(bool, hasPin);
        QFETCH(bool, goneMeanwhile);
        const QString folderPin = u"1234"_s;
        const auto folder = makeFolder(QString::fromLatin1(QTest::currentDataTag()),
                                       hasPin ? std::optional(folderPin) : std::nullopt);
        QVERIFY(folder);
        QCOMPARE(folder->hasPin(), hasPin);
        auto *view = present(new ModifyFolderView(folder.get()));
        QPushButton *pinButton = child(view, "pinButton");
        QCOMPARE(pinButton->text(), hasPin ? u"Remove Pin"_s : u"Add Pin"_s);
        pinButton->click();
        auto *sheet = waitForChild<EntrySheet>(view, "passcodeSheet");
        QVERIFY(sheet);

        // The folder's own PIN is not the passcode.
        QTest::keyClicks(sheet->field(), folderPin);
        QTest::keyClick(sheet->field(), Qt::Key_Return);
        QTRY_VERIFY(sheet->field()->text().isEmpty() && sheet->confirmButton()->isEnabled());
        QVERIFY(sheet->isVisible());
        QCOMPARE(folder->loadListing().pin.has_value(), hasPin);

        const QString folderPath = folder->driveManager()->drive()->rootDirectory();
        if (goneMeanwhile && hasPin)
            QVERIFY(QFile::remove(folderPath + FileNaming::scrambledName(FileNaming::pinFileName())));
        else if (goneMeanwhile)
            QVERIFY(QDir(folderPath).removeRecursively());
        QTest::keyClicks(sheet->field(), passcode);
        QTest::keyClick(sheet->field(), Qt::Key_Return);
        if (!hasPin) {
            auto *pinSheet = waitForChild<EntrySheet>(view, "pinSheet");
            QVERIFY(pinSheet);
            QVERIFY(!sheet->isVisible());
            QTest::keyClicks(pinSheet->field(), u" 5678 "_s);
            pinSheet->confirmButton()->click();
        }
        if (goneMeanwhile) {
            auto *failure = waitForChild<OKAlert>(view, "folderErrorAlert");
            QVERIFY(failure);
            QVERIFY(isShown(view));
            failure->okButton()->click();
            QVERIFY(isShown(view));
            m_presenter->dismiss(view);
        } else {
            QTRY_VERIFY(!isShown(view));
            QCOMPARE(folder->loadListing().pin, hasPin ? std::nullopt : std::optional<QString>(u"5678"_s));
        }
        if (hasPin || !goneMeanwhile)
            QVERIFY(folder->operations().deleteFolder());
    }

    // Every file that can go goes; one alert names the others (its words are DeleteItemsState's).
    void deleteFiles_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QString>("alertSays"); // empty: no alert
        QTest::newRow("two of three") << QString() << QStringList{u"b.txt"_s} << QString();
        QTest::newRow("one gone behind the back")
            << u"file gone"_s << QStringList{u"b.txt"_s} << u"1 of 3 files could not be deleted"_s;
        QTest::newRow("collection gone meanwhile")
            << u"collection gone"_s << QStringList{u"d.txt"_s, u"c.txt"_s, u"b.txt"_s, u"a.txt"_s}
            << u"No file could be deleted."_s;
    }
    void deleteFiles()
    {
        QFETCH(QString, meanwhile);
        QFETCH(QStringList, left);
        QFETCH(QString, alertSays);
        const QString name = u"Papers "_s + QString::fromLatin1(QTest::currentDataTag());
        const auto folder = makeFolder(name, std::nullopt);
        QVERIFY(folder);
        for (const QString &file : {u"a.txt"_s, u"b.txt"_s, u"c.txt"_s, u"d.txt"_s}) {
            QVERIFY(writeBytes(m_sources.filePath(file), "words"));
            QVERIFY(folder->operations().addToCollectionAndDelete(m_sources.filePath(file), true, false));
        }
        QList<StoredItemPtr> chosen;
        StoredItemPtr goneFirst;
        for (const StoredItemPtr &item : folder->loadItems()) {
            if (item->name() != u"b"_s)
                chosen << item;
            if (item->name() == u"d"_s)
                goneFirst = item;
        }
        QCOMPARE(chosen.size(), 3);
        LogCapture log;
        auto *view = present(new DeleteFileView(chosen, folder.get()));
        QSignalSpy status(view, &DeleteFileView::deleteStatus);
        QTest::mouseClick(child(view, "confirmButton"), Qt::LeftButton);
        auto *alert = waitForChild<OKCancelAlert>(view, "firstConfirmation");
        QVERIFY(alert);
        if (meanwhile == u"collection gone"_s)
            folder->close();
        if (meanwhile == u"file gone"_s) // a sync client removed it while the alert was up
            QVERIFY(QFile::remove(goneFirst->url().toLocalFile()));
        alert->okButton()->click();
        if (!alertSays.isEmpty()) {
            auto *failure = waitForChild<OKAlert>(view, "deleteFailureAlert");
            QVERIFY(failure);
            QVERIFY2(failure->text().startsWith(alertSays), qPrintable(failure->text()));
            QCOMPARE(status.count(), 0); // the sheet waits for the person to read it
            failure->okButton()->click();
        }
        QTRY_COMPARE(status.count(), 1);
        QCOMPARE(status.at(0).at(0).toBool(), alertSays.isEmpty());
        QTRY_VERIFY(!isShown(view));
        QCOMPARE(log.contains(u"DeleteFileView:body something went bad"_s), !alertSays.isEmpty());
        const auto after = connected(FileItemType::file, name);
        QCOMPARE(itemNames(after->loadItems()), left);
        QVERIFY(after->operations().deleteFolder());
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestFolderDialogs)
#include "TestFolderDialogs.moc"
