#include "ConnectedCollection.h"
#include "EventLoopMarkers.h"
#include "PresenterWindow.h"
#include "TestFiles.h"
#include "TestSession.h"
#include "WidgetTestMain.h"
#include "core/AppPaths.h"
#include "core/TipStore.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "storage/DecodedImageCache.h"
#include "storage/FileNaming.h"
#include "storage/InterruptedImports.h"
#include "storage/ItemCollection.h"
#include "storage/ItemCollectionCache.h"
#include "storage/ItemListModel.h"
#include "storage/SelectedItemManager.h"
#include "storage/TileThumbnailQueue.h"
#include "ui/common/NavigationStack.h"
#include "ui/common/Presenter.h"
#include "ui/common/UserFormTextField.h"
#include "ui/folder/FolderGrid.h"
#include "ui/folder/FolderTip.h"
#include "ui/folder/FolderToolbar.h"
#include "ui/folder/FolderView.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QString passcode = u"passcode1"_s;

// A folder of the on-device tree holding the given number of pictures; its path for collections.
QString makeFolder(const QString &name, int pictures, const std::optional<QString> &pin = std::nullopt)
{
    const auto root = connected(FileItemType::all);
    if (!root->operations().createFolder(name, pin))
        return {};
    const QString path = FileNaming::adjustedFolderName(name);
    const auto folder = connected(FileItemType::file, path);
    FolderOperations operations = folder->operations();
    for (int i = 0; i < pictures; ++i) {
        if (!operations.addImageData(pngPicture(i, {24, 16})))
            return {};
    }
    return path;
}

} // namespace

class TestFolderView : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PresenterWindow> m_window;
    NavigationStack *m_navigation = nullptr;
    Presenter *m_presenter = nullptr;

    FolderView *open(FileItemType type, const QString &path = {})
    {
        auto *view = new FolderView(std::make_shared<ItemCollection>(StorageLocation::local, type, path),
                                    testSession(), m_presenter);
        m_presenter->push(view);
        return view;
    }
    static bool listed(FolderView *view, int rows)
    {
        return QTest::qWaitFor([&] { return view->model() && view->model()->rowCount() == rows; }, 5000);
    }
    static QModelIndex row(FolderView *view, const QString &name)
    {
        const QModelIndexList found = view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, name);
        return found.value(0);
    }
    static void click(FolderView *view, const QModelIndex &index)
    {
        view->grid()->scrollTo(index);
        QTest::mouseClick(view->grid()->viewport(), Qt::LeftButton, {},
                          view->grid()->visualRect(index).center());
    }
    // Answers the PIN sheet a lock button opened.
    void enterPin(const QString &pin)
    {
        UserFormTextField *field = nullptr;
        QTRY_VERIFY((field = m_window->findChild<UserFormTextField *>(u"pinField"_s)) && field->isVisible());
        QTest::keyClicks(field, pin);
        m_window->findChild<QPushButton *>(u"continueButton"_s)->click();
    }
    static void press(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }

private Q_SLOTS:
    void initTestCase()
    {
        KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
        QVERIFY(KeyChainHelper::shared().saveKey(passcode));
        unlockVaultForTest(passcode);
    }
    void init()
    {
        QDir(AppPaths::documentsDirectory()).removeRecursively();
        QVERIFY(QDir().mkpath(AppPaths::documentsDirectory()));
        ItemCollectionCache::shared().clear();
        DecodedImageCache::tiles().removeAllObjects();
        DecodedImageCache::thumbnails().removeAllObjects();
        m_window = std::make_unique<PresenterWindow>(QSize(640, 480));
        m_navigation = m_window->navigation();
        m_navigation->setRoot(new Screen);
        m_presenter = m_window->presenter();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup()
    {
        m_window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // screens go with deleteLater
    }

    // One tip at a time, in order; a closed tip stays closed for later screens (and restarts: the
    // store is a file); the gestures tip waits for pictures.
    void tipsShowOneAtATimeAndStayClosed()
    {
        TipStore::reset();
        const QString path = makeFolder(u"Tips"_s, 0);
        // The empty root's own tip is another matter: only the one above the grid counts.
        const auto shown = [](FolderView *view) {
            QStringList tips;
            for (FolderTip *tip : view->findChildren<FolderTip *>()) {
                if (tip->isVisible())
                    tips.append(tip->objectName());
            }
            return tips;
        };
        FolderView *root = open(FileItemType::all);
        QVERIFY(listed(root, 1));
        QTRY_COMPARE(shown(root), QStringList{u"ToolbarTips"_s});
        root->findChild<FolderTip *>(u"ToolbarTips"_s)->findChild<QToolButton *>(u"closeTip"_s)->click();
        // The next tip waits for the next screen.
        QTRY_VERIFY(shown(root).isEmpty());

        FolderView *again = open(FileItemType::all);
        QVERIFY(listed(again, 1));
        QTRY_COMPARE(shown(again), QStringList{u"ImportTip"_s});
        TipStore::dismiss(u"ToolbarTips2"_s);
        FolderView *empty = open(FileItemType::file, path);
        QVERIFY(listed(empty, 0));
        QVERIFY(shown(empty).isEmpty());
        QVERIFY(connected(FileItemType::file, path)->operations().addImageData(pngPicture(3, {24, 16})));
        empty->collection()->reload();
        QTRY_COMPARE(shown(empty), QStringList{u"SubFolderTip"_s});

        TipStore::setTipsEnabled(false);
        FolderView *off = open(FileItemType::file, path);
        QVERIFY(listed(off, 1));
        QVERIFY(shown(off).isEmpty());
        TipStore::reset();
    }

    // What a tap does in selection mode is FolderViewState's; here, that Select, the tiles and the
    // selection's delete button reach it.
    void selectionModeTogglesFilesOnly()
    {
        QVERIFY(connected(FileItemType::all)->operations().addImageData(pngPicture(1, {24, 16})));
        FolderView *view = open(FileItemType::all);
        QVERIFY(listed(view, 1));
        QAbstractItemModelTester tester(view->model());
        QToolButton *trash = view->toolbar()->deleteButton();
        QTest::mouseClick(view->toolbar()->selectButton(), Qt::LeftButton);
        QVERIFY(view->selectionManager()->isEnabled());
        QVERIFY(trash->isVisible() && !trash->isEnabled());
        const QModelIndex file = view->model()->index(0, 0);
        click(view, file);
        QCOMPARE(view->selectionManager()->selectedItemIDs().size(), 1);
        QVERIFY(trash->isEnabled());
        click(view, file);
        QVERIFY(!trash->isEnabled());
    }

    // Before its PIN a protected folder lists and decodes nothing; the right PIN, as typed with
    // spaces around it, opens it; a damaged PIN entry says why and asks for none.
    void protectedFolderShowsOnlyItsLock_data()
    {
        QTest::addColumn<bool>("damaged");
        QTest::newRow("right PIN, spaces around") << false;
        QTest::newRow("PIN entry cut short") << true;
    }
    void protectedFolderShowsOnlyItsLock()
    {
        QFETCH(bool, damaged);
        const QString path = makeFolder(u"Vault"_s, 3, u"abcd"_s);
        QVERIFY(!path.isEmpty());
        if (damaged)
            QVERIFY(QFile::resize(AppPaths::documentsDirectory() + u'/' + path + u'/' +
                                      FileNaming::scrambledName(FileNaming::pinFileName()),
                                  10));
        FolderView *view = open(FileItemType::file, path);
        auto *lock = view->findChild<QToolButton *>(u"lockButton"_s);
        auto *problem = view->findChild<QLabel *>(u"pinProblem"_s);
        QTRY_VERIFY(lock->isVisible());
        QVERIFY(view->isLocked() && !view->model() && !view->grid()->isVisible());
        QCOMPARE(problem->isVisible(), damaged);
        QCOMPARE(lock->isEnabled(), !damaged);
        QCOMPARE(DecodedImageCache::tiles().count(), 0);
        QCOMPARE(DecodedImageCache::thumbnails().count(), 0);
        if (damaged) {
            QCOMPARE(problem->text(), u"The folder's PIN cannot be read"_s);
            return;
        }
        QTest::mouseClick(lock, Qt::LeftButton);
        enterPin(u"  abcd "_s);
        QVERIFY(listed(view, 3));
        QVERIFY(view->grid()->isVisible() && !lock->isVisible());
    }

    // What an import left when the vault locked is told the next time the folder shows its
    // contents: after its PIN for a protected one, and once.
    void interruptedImportIsReported_data()
    {
        QTest::addColumn<bool>("protectedFolder");
        QTest::newRow("plain folder") << false;
        QTest::newRow("protected folder") << true;
    }
    void interruptedImportIsReported()
    {
        QFETCH(bool, protectedFolder);
        const QString path =
            makeFolder(u"Interrupted"_s, 1, protectedFolder ? std::optional(u"2468"_s) : std::nullopt);
        QVERIFY(!path.isEmpty());
        const QString key = ItemCollection(StorageLocation::local, FileItemType::file, path).cacheKey();
        InterruptedImports::shared().record(
            key, {{u"beach.jpg"_s, u"The vault locked before this file was stored"_s}});
        const auto alertShown = [this] {
            auto *alert = m_window->findChild<QMessageBox *>(u"importStoppedAlert"_s);
            return alert && alert->isVisible() ? alert : nullptr;
        };
        FolderView *view = open(FileItemType::file, path);
        if (protectedFolder) {
            QTRY_VERIFY(view->findChild<QToolButton *>(u"lockButton"_s)->isVisible());
            QVERIFY(postedEventsRan() && zeroTimersRan()); // what the listing scheduled has run
            QVERIFY(!alertShown());                        // nothing of the folder before its PIN
            view->findChild<QToolButton *>(u"lockButton"_s)->click();
            enterPin(u"2468"_s);
        }
        QMessageBox *alert = nullptr;
        QTRY_VERIFY((alert = alertShown()));
        QVERIFY(alert->text().contains(u"beach.jpg: The vault locked before this file was stored"_s));
        QVERIFY(InterruptedImports::shared().take(key).isEmpty());
    }

    // A button that stands alone on its page answers Return, as a keyboard user expects.
    void returnPressesALoneButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("opens"); // the screen that comes
        QTest::newRow("a protected folder's lock") << u"lockButton"_s << u"enterPin"_s;
        QTest::newRow("an empty tree's add-folder button") << u"addFolderButton"_s << u"newFolderView"_s;
    }
    void returnPressesALoneButton()
    {
        QFETCH(QString, button);
        QFETCH(QString, opens);
        const bool lock = button == u"lockButton"_s;
        const QString path = lock ? makeFolder(u"Keyed"_s, 1, u"1357"_s) : QString();
        FolderView *view = open(lock ? FileItemType::file : FileItemType::all, path);
        QAbstractButton *target = nullptr;
        QTRY_VERIFY((target = view->findChild<QAbstractButton *>(button)) && target->isVisible());
        target->setFocus();
        QTRY_VERIFY(target->hasFocus());
        QTest::keyClick(target, Qt::Key_Return);
        QTRY_VERIFY(m_window->findChild<Screen *>(opens) &&
                    m_window->findChild<Screen *>(opens)->isVisible());
    }

    // The standard keys reach the folder's state: F5 reloads, Ctrl+A and Delete wait for Select
    // mode, then select every file (never a folder) and ask to delete them, and Escape leaves Select
    // mode before it closes the screen.
    void standardKeysReachTheFolder()
    {
        QVERIFY(!makeFolder(u"Sub"_s, 0).isEmpty());
        for (int i = 0; i < 2; ++i)
            QVERIFY(connected(FileItemType::all)->operations().addImageData(pngPicture(i, {24, 16})));
        FolderView *view = open(FileItemType::all);
        QVERIFY(listed(view, 3));
        QTRY_COMPARE(QApplication::focusWidget(), view->grid());
        QSignalSpy listing(view->collection(), &ItemCollection::timestampChanged);
        press(Qt::Key_F5);
        QVERIFY(listing.wait(5000));

        press(Qt::Key_A, Qt::ControlModifier);
        press(Qt::Key_Delete);
        QVERIFY(!view->selectionManager()->isEnabled());
        QCOMPARE(m_presenter->presented(), QList<Screen *>{view}); // no confirmation

        QTest::mouseClick(view->toolbar()->selectButton(), Qt::LeftButton);
        view->grid()->setFocus();
        press(Qt::Key_Delete);
        QCOMPARE(m_presenter->presented(), QList<Screen *>{view}); // nothing chosen yet
        press(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(view->selectionManager()->selectedItemIDs().size(), 2);
        press(Qt::Key_Delete);
        QTRY_COMPARE(m_presenter->presented().size(), 2);
        Screen *confirm = m_presenter->presented().constLast();
        QCOMPARE(confirm->objectName(), u"deleteFileView"_s);
        m_presenter->dismiss(confirm);
        QCOMPARE(view->selectionManager()->selectedItemIDs().size(), 2); // nothing deleted yet

        view->grid()->setFocus();
        press(Qt::Key_Escape);
        QVERIFY(!view->selectionManager()->isEnabled());
        QCOMPARE(m_navigation->top(), view);
        press(Qt::Key_Escape);
        QTRY_COMPARE(m_navigation->top(), m_navigation->screens().first());
    }

    void reloadKeepsTheScrollPosition()
    {
        const QString path = makeFolder(u"Many"_s, 60);
        FolderView *view = open(FileItemType::file, path);
        QVERIFY(listed(view, 60));
        QScrollBar *bar = view->grid()->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 200);
        bar->setValue(bar->maximum() / 2);
        const int kept = bar->value();

        QSignalSpy listing(view->collection(), &ItemCollection::timestampChanged);
        QAction *reload = view->toolbar()->folderMenu()->findChild<QAction *>(u"Reload Folder"_s);
        QVERIFY(reload);
        reload->trigger();
        QVERIFY(listing.wait(5000));
        // The grid lays itself out again on a zero timer: after it, the bar shows where the reload left it.
        QVERIFY(zeroTimersRan());
        QCOMPARE(bar->value(), kept);
    }

    void theScreenGoesWithItsFolder_data()
    {
        QTest::addColumn<bool>("otherProcess");
        QTest::newRow("QDir::removeRecursively") << false;
        QTest::newRow("another process") << true;
    }
    void theScreenGoesWithItsFolder()
    {
        QFETCH(bool, otherProcess);
        const QString path = makeFolder(u"Doomed"_s, 2);
        FolderView *view = open(FileItemType::file, path);
        QVERIFY(listed(view, 2));
        QPointer<FolderView> watched(view);
        const QString folder = AppPaths::documentsDirectory() + u'/' + path;
        if (otherProcess)
            QCOMPARE(QProcess::execute(u"rm"_s, {u"-rf"_s, folder}), 0);
        else
            QVERIFY(QDir(folder).removeRecursively());
        QTRY_VERIFY_WITH_TIMEOUT(m_navigation->top() != view, 5000);
        QTRY_VERIFY(!watched);
    }

    void tilesAreDecodedOnlyForTheRowsInView()
    {
        const QString path = makeFolder(u"Large"_s, 300);
        FolderView *view = open(FileItemType::file, path);
        QVERIFY(listed(view, 300));
        TileThumbnailQueue *queue = view->grid()->tileQueue();
        QTRY_VERIFY(!view->grid()->wantedTiles().isEmpty() && queue->pendingCount() == 0);
        const int decoded = DecodedImageCache::tiles().count();
        QVERIFY2(decoded > 0 && decoded <= 60, qPrintable(QString::number(decoded)));
        QTRY_VERIFY(view->grid()->wantedTiles().contains(
            view->model()->index(0, 0).data(ItemListModel::UrlRole).toUrl()));

        // The last rows come when scrolled to, and the first ones are no longer wanted.
        view->grid()->scrollToBottom();
        const QUrl last = view->model()->index(299, 0).data(ItemListModel::UrlRole).toUrl();
        QTRY_VERIFY(!view->grid()->tile(last).isNull());
        QVERIFY(!view->grid()->wantedTiles().contains(
            view->model()->index(0, 0).data(ItemListModel::UrlRole).toUrl()));
        QVERIFY(DecodedImageCache::tiles().count() <= 2 * decoded);
    }

    void theKeyboardAloneDrivesTheGrid()
    {
        QVERIFY(!makeFolder(u"Alpha"_s, 0).isEmpty());
        QVERIFY(!makeFolder(u"Beta"_s, 1).isEmpty());
        QVERIFY(connected(FileItemType::all)->operations().addImageData(pngPicture(2, {24, 16})));
        FolderView *view = open(FileItemType::all);
        QVERIFY(listed(view, 3));
        QTRY_COMPARE(QApplication::focusWidget(), view->grid());
        QCOMPARE(view->grid()->currentIndex().row(), 0);

        press(Qt::Key_Right);
        QCOMPARE(view->grid()->currentIndex().data().toString(), u"Beta"_s);
        press(Qt::Key_Return);
        QTRY_COMPARE(m_navigation->top()->title(), u"Beta"_s);
        auto *beta = qobject_cast<FolderView *>(m_navigation->top());
        QVERIFY(beta && listed(beta, 1));
        QTRY_COMPARE(QApplication::focusWidget(), beta->grid());
        press(Qt::Key_Left, Qt::AltModifier);
        QTRY_COMPARE(m_navigation->top(), view);

        view->grid()->setFocus();
        press(Qt::Key_Right);
        press(Qt::Key_Right);
        press(Qt::Key_Return);
        Screen *page = m_presenter->presented().value(1);
        QVERIFY(page && page->objectName() == u"scrollingPhotoView"_s);
        QTRY_VERIFY(page->isVisible());
        press(Qt::Key_Escape);
        QTRY_VERIFY(!m_presenter->presented().contains(page));

        view->grid()->setFocus();
        press(Qt::Key_Escape);
        QTRY_COMPARE(m_navigation->top(), m_navigation->screens().first());
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestFolderView)
#include "TestFolderView.moc"
