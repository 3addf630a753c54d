// What a screen reader finds: every screen and sheet of the window read through Qt's accessibility
// interfaces, each interactive element named and given a role; open menus in the tree with all
// their items; tiles, alerts, sheets and progress saying what they are.
#include "ConnectedCollection.h"
#include "EventLoopMarkers.h"
#include "MediaModuleLeaks.h"
#include "QuoteServer.h"
#include "TestFiles.h"
#include "TestSession.h"
#include "WidgetTestMain.h"
#include "core/AppPaths.h"
#include "core/UserDefaults.h"
#include "quote/QuoteSource.h"
#include "security/Biometrics.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "storage/FileNaming.h"
#include "storage/ItemListModel.h"
#include "storage/SelectedItemManager.h"
#include "storage/StoragePool.h"
#include "ui/common/AccessibleApplication.h"
#include "ui/common/AppearanceMenus.h"
#include "ui/common/Presenter.h"
#include "ui/common/UserFormTextField.h"
#include "ui/folder/EntrySheet.h"
#include "ui/folder/FolderGrid.h"
#include "ui/folder/FolderToolbar.h"
#include "ui/folder/FolderView.h"
#include "ui/folder/FolderViewState.h"
#include "ui/folder/ImportSheet.h"
#include "ui/folder/OKAlert.h"
#include "ui/folder/OKCancelAlert.h"
#include "ui/main/ContentView.h"
#include "ui/main/MainScreenState.h"
#include "ui/main/MainWindow.h"
#include "ui/main/QuoteArea.h"
#include "ui/share/ActivityIndicator.h"
#include "ui/share/ShareDialog.h"
#include "ui/share/ShareTargets.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString passcode = u"correct horse 42"_s;

bool isInteractive(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::ListItem:
    case QAccessible::TreeItem:
    case QAccessible::Cell:
    case QAccessible::MenuItem:
    case QAccessible::PopupMenu:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::Link:
    case QAccessible::PageTab:
    case QAccessible::ProgressBar:
    case QAccessible::Dialog:
    case QAccessible::AlertMessage:
        return true;
    default:
        return false;
    }
}

// Roles that say nothing about what an element does: fine for layout, not for what takes the keyboard.
bool saysNothing(QAccessible::Role role)
{
    return role == QAccessible::NoRole || role == QAccessible::Client || role == QAccessible::Pane ||
           role == QAccessible::Grouping || role == QAccessible::Window || role == QAccessible::Section;
}

QString describe(QAccessibleInterface *iface)
{
    const QObject *object = iface->object();
    return u"%1 '%2' (%3)"_s.arg(
        QString::fromLatin1(QMetaEnum::fromType<QAccessible::Role>().valueToKey(iface->role())),
        iface->text(QAccessible::Name),
        object ? QString::fromLatin1(object->metaObject()->className()) + u' ' + object->objectName()
               : u"-"_s);
}

// Every shown element under iface that a screen reader could not use.
void collectProblems(QAccessibleInterface *iface, QStringList &problems, int depth = 0)
{
    if (!iface || !iface->isValid() || depth > 60)
        return;
    const QAccessible::State state = iface->state();
    if (state.invisible)
        return;
    const QAccessible::Role role = iface->role();
    if (isInteractive(role) && iface->text(QAccessible::Name).trimmed().isEmpty())
        problems.append(u"no name: "_s + describe(iface));
    // A container reports focus while a proxy inside it holds it: only its own counts.
    const auto *widget = qobject_cast<const QWidget *>(iface->object());
    const bool ownFocus = widget
                              ? widget->focusPolicy() != Qt::NoFocus || QApplication::focusWidget() == widget
                              : state.focused;
    if (ownFocus && saysNothing(role))
        problems.append(u"no role: "_s + describe(iface));
    // The items of a long list are alike: the first ones stand for the rest.
    const int count = qMin(iface->childCount(), 40);
    for (int i = 0; i < count; ++i)
        collectProblems(iface->child(i), problems, depth + 1);
}

QAccessibleInterface *findUnder(QAccessibleInterface *iface,
                                const std::function<bool(QAccessibleInterface *)> &match, int depth = 0)
{
    if (!iface || depth > 60)
        return nullptr;
    if (match(iface))
        return iface;
    for (int i = 0; i < iface->childCount(); ++i) {
        if (QAccessibleInterface *found = findUnder(iface->child(i), match, depth + 1))
            return found;
    }
    return nullptr;
}

QAccessibleInterface *root()
{
    return QAccessible::queryAccessibleInterface(qApp);
}

// Folders to look at: pictures, a protected one, one of documents.
void fillVault()
{
    const auto top = connected(FileItemType::all);
    if (!top->loadItems().isEmpty())
        return;
    QVERIFY(top->operations().createFolder(u"Holidays"_s, std::nullopt));
    QVERIFY(top->operations().createFolder(u"Private"_s, u"2468"_s));
    QVERIFY(top->operations().createFolder(u"Receipts"_s, std::nullopt));
    const auto holidays = connected(FileItemType::file, u"Holidays"_s);
    FolderOperations pictures = holidays->operations();
    for (int i = 0; i < 3; ++i)
        QVERIFY(pictures.addImageData(pngPicture(i, {64, 48})));
    const auto secret = connected(FileItemType::file, u"Private"_s);
    QVERIFY(secret->operations().addImageData(pngPicture(9, {64, 48})));
    QTemporaryDir sources;
    const QString pdf = sources.filePath(u"Invoice.pdf"_s);
    const QString note = sources.filePath(u"Notes.txt"_s);
    const QString other = sources.filePath(u"Archive.bin"_s);
    QFile(pdf).open(QIODevice::WriteOnly);
    {
        QFile text(note);
        text.open(QIODevice::WriteOnly);
        text.write("Leave the keys with Ana on Friday.\n");
        QFile bin(other);
        bin.open(QIODevice::WriteOnly);
        bin.write(QByteArray(64, '\1'));
    }
    const auto documents = connected(FileItemType::file, u"Receipts"_s);
    FolderOperations receipts = documents->operations();
    for (const QString &path : {pdf, note, other})
        QVERIFY(receipts.addToCollectionAndDelete(path, false, false));
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

    QuoteServer m_server;
    std::unique_ptr<QuoteSource> m_quotes;
    std::unique_ptr<Biometrics> m_biometrics;
    std::unique_ptr<MainScreenState> m_state;
    std::unique_ptr<MainWindow> m_window;

    Presenter *presenter() const { return m_window->presenter(); }
    Screen *top() const
    {
        const QList<Screen *> shown = presenter()->presented();
        return shown.isEmpty() ? nullptr : shown.last();
    }
    template <typename T> T *topOf() const
    {
        const QList<Screen *> shown = presenter()->presented();
        for (auto it = shown.crbegin(); it != shown.crend(); ++it) {
            if (auto *screen = qobject_cast<T *>(*it))
                return screen;
        }
        return nullptr;
    }

    void openWindow(bool withPasscode)
    {
        if (withPasscode)
            QVERIFY(KeyChainHelper::shared().saveKey(passcode));
        m_quotes = std::make_unique<QuoteSource>(m_server.address());
        m_biometrics = std::make_unique<Biometrics>();
        m_state = std::make_unique<MainScreenState>(m_quotes.get(), m_biometrics.get());
        m_window = std::make_unique<MainWindow>(m_state.get());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_state->checkPasscode();
        QTRY_VERIFY(m_state->presence() != MainScreenState::Presence::checking);
    }
    void unlock()
    {
        m_state->requestUnlock();
        m_state->submit(passcode);
        QTRY_VERIFY(m_state->isUnlocked());
        testSession() = KeyChainHelper::shared().session();
    }
    FolderView *openRoot()
    {
        m_window->openTree(
            std::make_shared<ItemCollection>(StorageLocation::local, FileItemType::all, QString()),
            u"On Device"_s);
        const QPointer<FolderView> view = topOf<FolderView>();
        if (!view || !QTest::qWaitFor(
                         [view] { return !view || (view->model() && view->model()->rowCount() == 3); }, 5000))
            return nullptr;
        return view;
    }
    FolderView *openFolder(const QString &name, int rows)
    {
        FolderView *rootView = openRoot();
        if (!rootView || !rootView->model())
            return nullptr;
        const QModelIndexList found =
            rootView->model()->match(rootView->model()->index(0, 0), Qt::DisplayRole, name);
        if (found.isEmpty())
            return nullptr;
        rootView->tap(found.first());
        // Watched: a screen that goes meanwhile fails the scene instead of the process.
        const QPointer<FolderView> view = topOf<FolderView>();
        if (!view ||
            (rows >= 0 &&
             !QTest::qWaitFor(
                 [view, rows] { return !view || (view->model() && view->model()->rowCount() == rows); },
                 5000)))
            return nullptr;
        return view;
    }
    void tapRow(FolderView *view, const QString &name)
    {
        QVERIFY2(view, "the folder did not open");
        const QModelIndexList found = view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, name);
        QVERIFY(!found.isEmpty());
        view->tap(found.first());
    }
    static void trigger(FolderView *view, const QString &action)
    {
        QVERIFY2(view, "the folder did not open");
        if (QAction *found = view->toolbar()->folderMenu()->findChild<QAction *>(action))
            found->trigger();
    }
    // What a scene started has come: the storage pool's work, what it queued for the window and
    // the zero timers that lay views out, until a round finds nothing more to run.
    static bool settled()
    {
        for (int round = 0; round < 3; ++round) {
            if (!StoragePool::shared()->waitForDone(10000) || !postedEventsRan() || !zeroTimersRan())
                return false;
        }
        return true;
    }

    // Each scene leaves the window showing one screen, sheet or alert.
    using Scene = std::function<void(TestAccessibility *)>;

    // A folder menu action of Holidays, then the button of the sheet it opened, if any.
    static Scene fromFolderMenu(const QString &action, const QString &button = {})
    {
        return [action, button](TestAccessibility *t) {
            t->unlockedWith([t, action, button] {
                trigger(t->openFolder(u"Holidays"_s, 3), action);
                if (!button.isEmpty())
                    t->top()->findChild<QPushButton *>(button)->click();
            });
        };
    }
    // The first picture of Holidays selected, then what the selection bar offers.
    static Scene withSelection(const std::function<void(TestAccessibility *, FolderView *)> &then)
    {
        return [then](TestAccessibility *t) {
            t->unlockedWith([t, then] {
                FolderView *view = t->openFolder(u"Holidays"_s, 3);
                QVERIFY(view);
                view->selectionManager()->enable();
                view->tap(view->model()->index(0, 0));
                then(t, view);
            });
        };
    }
    static QList<std::pair<const char *, Scene>> scenes()
    {
        return {
            {"main screen, no passcode yet", [](TestAccessibility *t) { t->openWindow(false); }},
            {"main screen, locked", [](TestAccessibility *t) { t->openWindow(true); }},
            {"main screen, passcode field",
             [](TestAccessibility *t) {
                 t->openWindow(true);
                 t->m_state->requestUnlock();
             }},
            {"main screen, unlocked",
             [](TestAccessibility *t) {
                 t->openWindow(true);
                 t->unlock();
             }},
            {"passcode setup",
             [](TestAccessibility *t) {
                 t->openWindow(false);
                 t->m_window->openSetPasscode();
             }},
            {"Storage",
             [](TestAccessibility *t) {
                 t->openWindow(true);
                 t->unlock();
                 t->m_window->openStorage();
             }},
            {"a tree", [](TestAccessibility *t) { t->unlockedWith([t] { QVERIFY(t->openRoot()); }); }},
            {"an empty tree",
             [](TestAccessibility *t) {
                 t->openWindow(true);
                 t->unlock();
                 QDir(AppPaths::documentsDirectory()).removeRecursively();
                 QDir().mkpath(AppPaths::documentsDirectory());
                 t->m_window->openTree(
                     std::make_shared<ItemCollection>(StorageLocation::local, FileItemType::all, QString()),
                     u"On Device"_s);
                 QTRY_VERIFY(t->topOf<FolderView>() &&
                             t->topOf<FolderView>()->state()->page() == FolderViewState::Page::empty);
             }},
            {"a folder with pictures",
             [](TestAccessibility *t) {
                 t->unlockedWith([t] { QVERIFY(t->openFolder(u"Holidays"_s, 3)); });
             }},
            {"selection mode",
             [](TestAccessibility *t) {
                 t->unlockedWith([t] {
                     FolderView *view = t->openFolder(u"Holidays"_s, 3);
                     QVERIFY(view);
                     view->selectionManager()->enable();
                     view->tap(view->model()->index(1, 0));
                 });
             }},
            {"a protected folder",
             [](TestAccessibility *t) {
                 t->unlockedWith([t] { QVERIFY(t->openFolder(u"Private"_s, -1)); });
             }},
            {"enter PIN",
             [](TestAccessibility *t) {
                 t->unlockedWith([t] {
                     FolderView *view = t->openFolder(u"Private"_s, -1);
                     QVERIFY(view);
                     QTRY_VERIFY(view->isLocked());
                     view->findChild<QToolButton *>(u"lockButton"_s)->click();
                 });
             }},
            {"new folder",
             [](TestAccessibility *t) { t->unlockedWith([t] { trigger(t->openRoot(), u"Add Folder"_s); }); }},
            {"modify folder", fromFolderMenu(u"Modify Folder"_s)},
            {"modify folder, passcode", fromFolderMenu(u"Modify Folder"_s, u"pinButton"_s)},
            {"delete folder", fromFolderMenu(u"Delete Folder"_s)},
            {"delete folder, confirmation", fromFolderMenu(u"Delete Folder"_s, u"confirmButton"_s)},
            {"delete items", withSelection([](TestAccessibility *, FolderView *view) {
                 view->toolbar()->deleteButton()->click();
             })},
            {"import sheet",
             [](TestAccessibility *t) {
                 // Nothing chosen yet: the sheet as it waits for the file dialog.
                 ImportSheet::chooseFiles = [](ImportSheet::Source) { return QStringList(); };
                 t->unlockedWith([t] { trigger(t->openFolder(u"Holidays"_s, 3), u"Import Files"_s); });
             }},
            {"import sheet, files not imported",
             [](TestAccessibility *t) {
                 ImportSheet::chooseFiles = [](ImportSheet::Source) {
                     return QStringList{u"/nonexistent/a.png"_s};
                 };
                 t->unlockedWith([t] {
                     trigger(t->openFolder(u"Holidays"_s, 3), u"Import Files"_s);
                     QTRY_VERIFY(t->top()->findChild<QPushButton *>(u"okButton"_s)->isVisible());
                 });
             }},
            {"share dialog", withSelection([](TestAccessibility *, FolderView *view) {
                 view->toolbar()->findChild<QToolButton *>(u"shareSelectionButton"_s)->click();
             })},
            {"share dialog, targets", withSelection([](TestAccessibility *t, FolderView *view) {
                 view->toolbar()->findChild<QToolButton *>(u"shareSelectionButton"_s)->click();
                 auto *share = t->topOf<ShareDialog>();
                 QTest::keyClicks(share->findChild<QLineEdit *>(u"passcodeField"_s), passcode);
                 share->findChild<QPushButton *>(u"shareButton"_s)->click();
                 QTRY_VERIFY(share->activities() && share->activities()->isVisible());
             })},
            {"Settings",
             [](TestAccessibility *t) {
                 t->openWindow(true);
                 t->unlock();
                 t->m_window->openSettings();
             }},
            {"About",
             [](TestAccessibility *t) {
                 t->openWindow(false);
                 t->m_window->openAbout();
             }},
            {"the pager",
             [](TestAccessibility *t) {
                 t->unlockedWith([t] {
                     FolderView *view = t->openFolder(u"Holidays"_s, 3);
                     QVERIFY(view);
                     view->tap(view->model()->index(0, 0));
                 });
             }},
            {"a zoomed picture",
             [](TestAccessibility *t) {
                 t->unlockedWith([t] {
                     FolderView *view = t->openFolder(u"Holidays"_s, 3);
                     QVERIFY(view);
                     view->tap(view->model()->index(0, 0));
                     QTRY_VERIFY(t->top() != view && t->top()->isVisible());
                     QVERIFY(settled()); // the picture is decoded: Return zooms it
                     QTest::keyClick(t->top()->focusProxy() ? t->top()->focusProxy() : t->top(),
                                     Qt::Key_Return);
                 });
             }},
            {"the PDF viewer",
             [](TestAccessibility *t) {
                 t->unlockedWith([t] { t->tapRow(t->openFolder(u"Receipts"_s, 3), u"Invoice.pdf"_s); });
             }},
            {"the previewer, text",
             [](TestAccessibility *t) {
                 t->unlockedWith([t] { t->tapRow(t->openFolder(u"Receipts"_s, 3), u"Notes.txt"_s); });
             }},
            {"the previewer, other file",
             [](TestAccessibility *t) {
                 t->unlockedWith([t] { t->tapRow(t->openFolder(u"Receipts"_s, 3), u"Archive.bin"_s); });
             }},
        };
    }
    void unlockedWith(const std::function<void()> &then)
    {
        openWindow(true);
        unlock();
        fillVault();
        if (!QTest::currentTestFailed())
            then();
    }

    // Opens the menu as a keyboard would and hands it over while it shows; closes it after.
    void whileOpen(const std::function<QMenu *()> &menuOf, const std::function<void()> &open,
                   const std::function<void(QMenu *)> &check)
    {
        bool checked = false;
        QTimer poll;
        QElapsedTimer waited;
        waited.start();
        connect(&poll, &QTimer::timeout, this, [&] {
            QMenu *menu = menuOf();
            if (menu && menu->isVisible() && (menu->activeAction() || waited.elapsed() > 2000)) {
                poll.stop();
                check(menu);
                checked = true;
                menu->close();
            } else if (waited.elapsed() > 5000) {
                poll.stop();
                if (QWidget *popup = QApplication::activePopupWidget())
                    popup->close();
            }
        });
        poll.start(10);
        open();
        QTRY_VERIFY_WITH_TIMEOUT(checked || !poll.isActive(), 6000);
        QVERIFY2(checked, "the menu did not open");
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/system_bus");
        m_server.answer(u"/api/quotes"_s, R"([{"q":"Next","a":"Someone"}])");
        UserDefaults::setDate(UserDefaults::Key::installed, QDateTime::currentDateTimeUtc());
        KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
        // As the window does it, before any interface is asked for.
        AccessibleApplication::install();
    }
    void init()
    {
        KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
        KeyChainHelper::shared().lock();
        QDir(AppPaths::documentsDirectory()).removeRecursively();
        QVERIFY(QDir().mkpath(AppPaths::documentsDirectory()));
    }
    void cleanup()
    {
        ImportSheet::chooseFiles = nullptr;
        while (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        m_window.reset();
        m_state.reset();
        // What the closed window left queued (its screens, the focus leaving, which is a phase
        // change that locks) runs now, not in the next scene.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(postedEventsRan());
    }

    void everyControlHasANameAndARole_data()
    {
        QTest::addColumn<int>("scene");
        const auto all = scenes();
        for (int i = 0; i < all.size(); ++i)
            QTest::newRow(all.at(i).first) << i;
    }
    void everyControlHasANameAndARole()
    {
        QFETCH(int, scene);
        scenes().at(scene).second(this);
        if (QTest::currentTestFailed())
            return;
        QTRY_VERIFY(!top() || top()->isVisible()); // sheets open
        QVERIFY(settled());                        // decoding and previews arrive
        QStringList problems;
        collectProblems(root(), problems);
        // Whatever has the keyboard is announced by its name.
        if (QWidget *focus = QApplication::focusWidget()) {
            QAccessibleInterface *focused = QAccessible::queryAccessibleInterface(focus);
            if (focused && focused->text(QAccessible::Name).trimmed().isEmpty() && !focused->tableInterface())
                problems.append(u"focus on an unnamed element: "_s + describe(focused));
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }

    void theQuoteSaysWhatAPressAndAHoldDo()
    {
        openWindow(true);
        auto *area = m_window->findChild<QuoteArea *>(u"quoteArea"_s);
        QVERIFY(area);
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(area);
        QCOMPARE(iface->role(), QAccessible::Button);
        QVERIFY(iface->text(QAccessible::Name).contains(m_state->composedItem().q));
        QCOMPARE(iface->text(QAccessible::Description), QuoteArea::pressDescription());
        // Nothing of it on screen: no label carries the description.
        for (QLabel *label : m_window->findChildren<QLabel *>())
            QVERIFY(!label->isVisible() || label->text() != QuoteArea::pressDescription());
        QVERIFY(iface->state().focusable);
        QAccessibleActionInterface *actions = iface->actionInterface();
        QVERIFY(actions);
        QCOMPARE(actions->actionNames().size(), 2);
        // The hold reaches the state as the long press does: with the unlock line hidden, it is the way in.
        UserDefaults::setValue(UserDefaults::Key::obsecuredUnlockUI, true);
        m_state->setObscuredUI(true);
        actions->doAction(actions->actionNames().at(1));
        QTRY_COMPARE(m_state->unlockLine(), MainScreenState::UnlockLine::passcodeField);
        UserDefaults::setValue(UserDefaults::Key::obsecuredUnlockUI, false);
    }

    void openMenusAreInTheTree_data()
    {
        QTest::addColumn<QString>("menu");
        for (const char *menu : {"folder menu, tree", "folder menu, folder", "tile menu",
                                 "passcode field menu", "background image menu"})
            QTest::newRow(menu) << QString::fromLatin1(menu);
    }
    void openMenusAreInTheTree()
    {
        QFETCH(QString, menu);
        openWindow(true);
        unlock();
        fillVault();
        std::function<QMenu *()> menuOf;
        std::function<void()> open;
        if (menu.startsWith(u"folder menu"_s)) {
            FolderView *view = menu.endsWith(u"tree"_s) ? openRoot() : openFolder(u"Holidays"_s, 3);
            QVERIFY(view);
            auto *button = view->toolbar()->findChild<QToolButton *>(u"folderMenuButton"_s);
            menuOf = [view] { return view->toolbar()->folderMenu(); };
            open = [button] {
                button->setFocus();
                QTest::keyClick(button, Qt::Key_Space);
            };
        } else if (menu == u"tile menu"_s) {
            FolderView *view = openFolder(u"Holidays"_s, 3);
            QVERIFY(view);
            menuOf = [view] { return view->findChild<QMenu *>(u"tileMenu"_s); };
            open = [view] {
                view->grid()->setFocus();
                view->grid()->setCurrentIndex(view->model()->index(1, 0));
                QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), QPoint(5, 5));
                QApplication::sendEvent(view->grid()->viewport(), &event);
            };
        } else if (menu == u"passcode field menu"_s) {
            m_state->keyboardHidden();
            KeyChainHelper::shared().lock();
            QTRY_VERIFY(!m_state->isUnlocked());
            m_state->requestUnlock();
            auto *field = m_window->findChild<UserFormTextField *>(u"passcodeField"_s);
            QTRY_VERIFY(field->isVisible());
            menuOf = [field] { return field->findChild<QMenu *>(); };
            open = [field] {
                QTest::keyClicks(field, u"abc"_s);
                QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), QPoint(5, 5));
                QApplication::sendEvent(field, &event);
            };
        } else {
            auto *button = m_window->contentView()->findChild<BackgroundImageMenu *>();
            QVERIFY(button);
            menuOf = [button] { return button->menu(); };
            open = [button] {
                button->setFocus();
                QTest::keyClick(button, Qt::Key_Space);
            };
        }
        QStringList missing;
        QString name;
        bool startsOnFirst = false;
        whileOpen(menuOf, open, [&](QMenu *shown) {
            QAccessibleInterface *found =
                findUnder(root(), [shown](QAccessibleInterface *iface) { return iface->object() == shown; });
            startsOnFirst = shown->activeAction() == shown->actions().constFirst();
            if (!found) {
                missing.append(u"the menu itself"_s);
                return;
            }
            name = found->text(QAccessible::Name);
            QStringList items;
            for (int i = 0; i < found->childCount(); ++i) {
                if (found->child(i)->role() == QAccessible::MenuItem)
                    items.append(found->child(i)->text(QAccessible::Name));
            }
            for (QAction *action : shown->actions()) {
                if (!action->isSeparator() && !items.contains(action->text().remove(u'&')))
                    missing.append(action->text());
            }
        });
        QVERIFY2(missing.isEmpty(), qPrintable(u"not in the tree: "_s + missing.join(u", "_s)));
        QVERIFY(!name.isEmpty());
        QVERIFY(startsOnFirst);
    }

    void theColourSchemeListIsInTheTree()
    {
        openWindow(false);
        auto *picker = m_window->contentView()->findChild<ColorSchemePicker *>();
        picker->showPopup();
        QTRY_VERIFY(picker->view()->isVisible());
        for (const QString &item : {u"Automatic"_s, u"Light"_s, u"Dark"_s}) {
            QVERIFY2(findUnder(root(),
                               [&item](QAccessibleInterface *iface) {
                                   return iface->role() == QAccessible::ListItem &&
                                          iface->text(QAccessible::Name) == item;
                               }),
                     qPrintable(item));
        }
        picker->hidePopup();
    }

    void aMenuOpenedByMouseStartsOnNothing()
    {
        openWindow(false);
        auto *button = m_window->contentView()->findChild<BackgroundImageMenu *>();
        bool opened = false;
        QTimer::singleShot(300, this, [&] {
            opened = button->menu()->isVisible() && !button->menu()->activeAction();
            button->menu()->close();
        });
        QTest::mousePress(button, Qt::LeftButton);
        QTest::mouseRelease(button, Qt::LeftButton);
        QVERIFY(opened);
    }

    void tilesSayWhatTheyAre_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("selecting");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("folder") << QString() << u"Holidays"_s << false << u"Holidays, folder"_s;
        QTest::newRow("PDF") << u"Receipts"_s << u"Invoice.pdf"_s << false << u"Invoice.pdf, PDF"_s;
        QTest::newRow("document") << u"Receipts"_s << u"Notes.txt"_s << false << u"Notes.txt, document"_s;
        QTest::newRow("file") << u"Receipts"_s << u"Archive.bin"_s << false << u"Archive.bin, file"_s;
        QTest::newRow("selected") << u"Receipts"_s << u"Notes.txt"_s << true
                                  << u"Notes.txt, document, selected"_s;
        QTest::newRow("not selected")
            << u"Receipts"_s << u"Archive.bin"_s << true << u"Archive.bin, file, not selected"_s;
    }
    void tilesSayWhatTheyAre()
    {
        QFETCH(QString, folder);
        QFETCH(QString, item);
        QFETCH(bool, selecting);
        QFETCH(QString, spoken);
        openWindow(true);
        unlock();
        fillVault();
        FolderView *view = folder.isEmpty() ? openRoot() : openFolder(folder, 3);
        QVERIFY(view && view->model());
        if (selecting) {
            view->selectionManager()->enable();
            tapRow(view, u"Notes.txt"_s);
        }
        const QModelIndexList found = view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, item);
        QVERIFY(!found.isEmpty());
        QAccessibleTableInterface *table =
            QAccessible::queryAccessibleInterface(view->grid())->tableInterface();
        QVERIFY(table);
        QAccessibleInterface *tile = table->cellAt(found.first().row(), 0);
        QVERIFY(tile);
        QCOMPARE(tile->text(QAccessible::Name), spoken);
    }

    void picturesArePictures()
    {
        openWindow(true);
        unlock();
        fillVault();
        FolderView *view = openFolder(u"Holidays"_s, 3);
        QVERIFY(view && view->model());
        QAccessibleTableInterface *table =
            QAccessible::queryAccessibleInterface(view->grid())->tableInterface();
        const QString name = table->cellAt(0, 0)->text(QAccessible::Name);
        QVERIFY2(name.endsWith(u", picture"_s), qPrintable(name));
    }

    void alertsAndSheetsCarryTheirText_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("OK alert") << u"ok"_s;
        QTest::newRow("OK/Cancel alert") << u"okcancel"_s;
        QTest::newRow("entry sheet") << u"entry"_s;
        QTest::newRow("delete items sheet") << u"delete"_s;
        QTest::newRow("enter PIN sheet") << u"pin"_s;
    }
    void alertsAndSheetsCarryTheirText()
    {
        QFETCH(QString, kind);
        openWindow(true);
        QWidget *window = nullptr;
        QString title, text;
        if (kind == u"ok"_s || kind == u"okcancel"_s) {
            title = u"Folder Error"_s;
            text = u"An error occurred while adding the folder"_s;
            QMessageBox *alert = kind == u"ok"_s
                                     ? static_cast<QMessageBox *>(new OKAlert(title, text, m_window.get()))
                                     : new OKCancelAlert(title, text, DestructiveButton::ok, m_window.get());
            alert->open();
            window = alert;
        } else if (kind == u"entry"_s) {
            title = u"Enter Passcode"_s;
            text = u"Modifying this folder requires a passcode."_s;
            auto *sheet =
                new EntrySheet(title, text, ProtectFieldType::passcode, u"Continue"_s, m_window.get());
            sheet->setAttribute(Qt::WA_DeleteOnClose);
            sheet->open();
            window = sheet;
        } else {
            unlock();
            fillVault();
            FolderView *view = openFolder(u"Receipts"_s, 3);
            QVERIFY(view);
            if (kind == u"delete"_s) {
                view->selectionManager()->enable();
                view->tap(view->model()->index(0, 0));
                view->toolbar()->deleteButton()->click();
            } else {
                view = openFolder(u"Private"_s, -1);
                QTRY_VERIFY(view->isLocked());
                view->findChild<QToolButton *>(u"lockButton"_s)->click();
            }
            Screen *sheet = top();
            title = sheet->title();
            text = sheet->summary();
            QVERIFY(!text.isEmpty());
            window = sheet->window();
        }
        QTRY_VERIFY(window->isVisible());
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(window);
        QVERIFY(iface->role() == QAccessible::Dialog || iface->role() == QAccessible::AlertMessage);
        QCOMPARE(iface->text(QAccessible::Name), title);
        QCOMPARE(iface->text(QAccessible::Description), text);
        window->close();
    }

    void progressIsNamedAndFollowed()
    {
        ActivityIndicator busy;
        busy.setAccessibleName(u"Preparing item..."_s);
        QAccessibleInterface *indicator = QAccessible::queryAccessibleInterface(&busy);
        QCOMPARE(indicator->role(), QAccessible::ProgressBar);
        QVERIFY(indicator->valueInterface());
        QCOMPARE(indicator->valueInterface()->maximumValue().toInt(), 0);
        QCOMPARE(indicator->text(QAccessible::Name), u"Preparing item..."_s);

        openWindow(true);
        unlock();
        fillVault();
        ImportSheet::chooseFiles = [](ImportSheet::Source) { return QStringList{u"/nonexistent/a.png"_s}; };
        FolderView *view = openFolder(u"Holidays"_s, 3);
        trigger(view, u"Import Files"_s);
        auto *sheet = topOf<ImportSheet>();
        QVERIFY(sheet);
        auto *bar = sheet->findChild<QProgressBar *>(u"progressBar"_s);
        QAccessibleInterface *progress = QAccessible::queryAccessibleInterface(bar);
        QVERIFY(!progress->text(QAccessible::Name).isEmpty());
        QTRY_VERIFY(sheet->findChild<QPushButton *>(u"okButton"_s)->isVisible());
        // The list of files left out is answered with Return: the keyboard is on OK.
        QCOMPARE(sheet->focusWidget(), sheet->findChild<QPushButton *>(u"okButton"_s));
        // The bar counts files; the bytes written beside it reach the tree as its description.
        const QString shown = sheet->findChild<QLabel *>(u"progressText"_s)->text();
        QVERIFY(!shown.isEmpty());
        QCOMPARE(progress->text(QAccessible::Description), shown);
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestAccessibility)
#include "TestAccessibility.moc"
