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
#include "storage/ItemListModel.h"
#include "storage/PasscodeChangeJournal.h"
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
#include "ui/settings/ChangePasscodeState.h"
#include "ui/settings/ChangePasscodeView.h"
#include "ui/settings/Settings.h"
#include "ui/share/ActivityIndicator.h"
#include "ui/share/ShareDialog.h"
#include "ui/share/ShareTargets.h"
#include "ui/storage/StorageLocationSelectionView.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
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

// What a user acts on or is told about: each needs a name.
bool isInteractive(QAccessible::Role role)
{
    static const QList<QAccessible::Role> roles = {
        QAccessible::Button,      QAccessible::CheckBox,       QAccessible::RadioButton,
        QAccessible::ComboBox,    QAccessible::EditableText,   QAccessible::SpinBox,
        QAccessible::Slider,      QAccessible::ListItem,       QAccessible::TreeItem,
        QAccessible::Cell,        QAccessible::MenuItem,       QAccessible::PopupMenu,
        QAccessible::ButtonMenu,  QAccessible::ButtonDropDown, QAccessible::Link,
        QAccessible::PageTab,     QAccessible::ProgressBar,    QAccessible::Dialog,
        QAccessible::AlertMessage};
    return roles.contains(role);
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
    const auto documents = connected(FileItemType::file, u"Receipts"_s);
    FolderOperations receipts = documents->operations();
    const std::pair<QString, QByteArray> files[] = {{u"Invoice.pdf"_s, QByteArray()},
                                                    {u"Notes.txt"_s, "Leave the keys with Ana on Friday.\n"},
                                                    {u"Archive.bin"_s, QByteArray(64, '\1')}};
    for (const auto &[name, bytes] : files) {
        QVERIFY(writeBytes(sources.filePath(name), bytes));
        QVERIFY(receipts.addToCollectionAndDelete(sources.filePath(name), false, false));
    }
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

    template <typename T> T *topOf() const
    {
        const QList<Screen *> shown = m_window->presenter()->presented();
        for (auto it = shown.crbegin(); it != shown.crend(); ++it) {
            if (auto *screen = qobject_cast<T *>(*it))
                return screen;
        }
        return nullptr;
    }
    Screen *top() const { return topOf<Screen>(); }

    // How the window starts: the main screen without a passcode, locked, unlocked, or unlocked
    // over the folders of fillVault.
    enum class Start { noPasscode, locked, unlocked, filled };
    void start(Start how)
    {
        if (how != Start::noPasscode)
            QVERIFY(KeyChainHelper::shared().saveKey(passcode));
        m_quotes = std::make_unique<QuoteSource>(m_server.address());
        m_biometrics = std::make_unique<Biometrics>();
        m_state = std::make_unique<MainScreenState>(m_quotes.get(), m_biometrics.get());
        m_window = std::make_unique<MainWindow>(m_state.get());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_state->checkPasscode();
        QTRY_VERIFY(m_state->presence() != MainScreenState::Presence::checking);
        if (how < Start::unlocked)
            return;
        m_state->requestUnlock();
        m_state->submit(passcode);
        QTRY_VERIFY(m_state->isUnlocked());
        testSession() = KeyChainHelper::shared().session();
        if (how == Start::filled)
            fillVault();
    }
    void showTree()
    {
        m_window->openTree(
            std::make_shared<ItemCollection>(StorageLocation::local, FileItemType::all, QString()),
            u"On Device"_s);
    }
    // The top folder screen once it lists `rows` items (any number when negative). Watched: a
    // screen that goes meanwhile fails the scene instead of the process.
    FolderView *listedTop(int rows)
    {
        const QPointer<FolderView> view = topOf<FolderView>();
        const auto listed = [view, rows] {
            return !view || (view->model() && view->model()->rowCount() == rows);
        };
        if (!view || (rows >= 0 && !QTest::qWaitFor(listed, 5000)))
            return nullptr;
        return view;
    }
    FolderView *openRoot()
    {
        showTree();
        return listedTop(3);
    }
    static QModelIndex indexOf(FolderView *view, const QString &name)
    {
        return view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, name).value(0);
    }
    FolderView *openFolder(const QString &name, int rows)
    {
        FolderView *rootView = openRoot();
        if (!rootView || !indexOf(rootView, name).isValid())
            return nullptr;
        rootView->tap(indexOf(rootView, name));
        return listedTop(rows);
    }
    static void tapRow(FolderView *view, const QString &name)
    {
        QVERIFY2(view, "the folder did not open");
        const QModelIndex found = indexOf(view, name);
        QVERIFY(found.isValid());
        view->tap(found);
    }
    static void trigger(FolderView *view, const QString &action)
    {
        QVERIFY2(view, "the folder did not open");
        QAction *found = view->toolbar()->folderMenu()->findChild<QAction *>(action);
        QVERIFY2(found, qPrintable(action));
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
    using Then = std::function<void(TestAccessibility *)>;
    using OnFolder = std::function<void(TestAccessibility *, FolderView *)>;
    struct Scene
    {
        const char *name;
        Start start;
        Then then;
    };

    static Then inHolidays(const OnFolder &then)
    {
        return [then](TestAccessibility *t) {
            FolderView *view = t->openFolder(u"Holidays"_s, 3);
            QVERIFY2(view, "the folder did not open");
            if (then)
                then(t, view);
        };
    }
    // A folder menu action of Holidays, then the button of the sheet it opened, if any.
    static Then fromFolderMenu(const QString &action, const QString &button = {})
    {
        return inHolidays([action, button](TestAccessibility *t, FolderView *view) {
            trigger(view, action);
            if (!button.isEmpty() && !QTest::currentTestFailed())
                t->top()->findChild<QPushButton *>(button)->click();
        });
    }
    // The first picture of Holidays selected, then what the selection bar offers.
    static Then withSelection(const OnFolder &then)
    {
        return inHolidays([then](TestAccessibility *t, FolderView *view) {
            view->selectionManager()->enable();
            view->tap(view->model()->index(0, 0));
            if (then)
                then(t, view);
        });
    }
    static Then opening(const QString &folder, const QString &row)
    {
        return [folder, row](TestAccessibility *t) { tapRow(t->openFolder(folder, 3), row); };
    }
    static Then importing(const QStringList &chosen)
    {
        return inHolidays([chosen](TestAccessibility *t, FolderView *view) {
            ImportSheet::chooseFiles = [chosen](ImportSheet::Source) { return chosen; };
            trigger(view, u"Import Files"_s);
            if (!chosen.isEmpty())
                QTRY_VERIFY(t->top()->findChild<QPushButton *>(u"okButton"_s)->isVisible());
        });
    }
    static QList<Scene> scenes()
    {
        return {
            {"main screen, no passcode yet", Start::noPasscode, {}},
            {"main screen, locked", Start::locked, {}},
            {"main screen, passcode field", Start::locked,
             [](TestAccessibility *t) { t->m_state->requestUnlock(); }},
            {"main screen, unlocked", Start::unlocked, {}},
            {"passcode setup", Start::noPasscode,
             [](TestAccessibility *t) { t->m_window->openSetPasscode(); }},
            {"Storage", Start::unlocked, [](TestAccessibility *t) { t->m_window->openStorage(); }},
            {"a tree", Start::filled, [](TestAccessibility *t) { QVERIFY(t->openRoot()); }},
            {"an empty tree", Start::unlocked,
             [](TestAccessibility *t) {
                 QDir(AppPaths::documentsDirectory()).removeRecursively();
                 QDir().mkpath(AppPaths::documentsDirectory());
                 t->showTree();
                 QTRY_VERIFY(t->topOf<FolderView>() &&
                             t->topOf<FolderView>()->state()->page() == FolderViewState::Page::empty);
             }},
            {"a folder with pictures", Start::filled, inHolidays({})},
            {"selection mode", Start::filled, withSelection({})},
            {"a protected folder", Start::filled,
             [](TestAccessibility *t) { QVERIFY(t->openFolder(u"Private"_s, -1)); }},
            {"enter PIN", Start::filled,
             [](TestAccessibility *t) {
                 const QPointer<FolderView> view = t->openFolder(u"Private"_s, -1);
                 QVERIFY(view);
                 QTRY_VERIFY(!view || view->isLocked()); // a view that left fails below, not here
                 QVERIFY(view);
                 view->findChild<QToolButton *>(u"lockButton"_s)->click();
             }},
            {"new folder", Start::filled,
             [](TestAccessibility *t) { trigger(t->openRoot(), u"Add Folder"_s); }},
            {"modify folder", Start::filled, fromFolderMenu(u"Modify Folder"_s)},
            {"modify folder, passcode", Start::filled, fromFolderMenu(u"Modify Folder"_s, u"pinButton"_s)},
            {"delete folder", Start::filled, fromFolderMenu(u"Delete Folder"_s)},
            {"delete folder, confirmation", Start::filled,
             fromFolderMenu(u"Delete Folder"_s, u"confirmButton"_s)},
            {"delete items", Start::filled, withSelection([](TestAccessibility *, FolderView *view) {
                 view->toolbar()->deleteButton()->click();
             })},
            // Nothing chosen yet: the sheet as it waits for the file dialog.
            {"import sheet", Start::filled, importing({})},
            {"import sheet, files not imported", Start::filled, importing({u"/nonexistent/a.png"_s})},
            {"share dialog", Start::filled, withSelection([](TestAccessibility *, FolderView *view) {
                 view->toolbar()->findChild<QToolButton *>(u"shareSelectionButton"_s)->click();
             })},
            {"share dialog, targets", Start::filled,
             withSelection([](TestAccessibility *t, FolderView *view) {
                 view->toolbar()->findChild<QToolButton *>(u"shareSelectionButton"_s)->click();
                 auto *share = t->topOf<ShareDialog>();
                 QTest::keyClicks(share->findChild<QLineEdit *>(u"passcodeField"_s), passcode);
                 share->findChild<QPushButton *>(u"shareButton"_s)->click();
                 QTRY_VERIFY(share->activities() && share->activities()->isVisible());
             })},
            {"Settings", Start::unlocked, [](TestAccessibility *t) { t->m_window->openSettings(); }},
            {"change passcode", Start::unlocked,
             [](TestAccessibility *t) {
                 t->m_window->openSettings();
                 QTRY_VERIFY(t->topOf<Settings>());
                 t->topOf<Settings>()->findChild<QPushButton *>(u"changePasscodeButton"_s)->click();
                 QTRY_VERIFY(t->topOf<ChangePasscodeView>());
             }},
            // The unlocked vault opens only to finish an unfinished change.
            {"unfinished passcode change", Start::unlocked,
             [](TestAccessibility *t) {
                 QString error;
                 QVERIFY2(PasscodeChangeJournal::begin(u"next passcode 2"_s, error), qPrintable(error));
                 t->m_window->openStorage();
                 QTRY_VERIFY(t->topOf<ChangePasscodeView>());
                 QVERIFY(t->topOf<ChangePasscodeView>()->state()->isResuming());
                 QVERIFY(!t->topOf<StorageLocationSelectionView>());
             }},
            {"unfinished passcode change, Check Vault", Start::unlocked,
             [](TestAccessibility *t) {
                 QString error;
                 QVERIFY2(PasscodeChangeJournal::begin(u"next passcode 2"_s, error), qPrintable(error));
                 t->m_window->openSettings();
                 QTRY_VERIFY(t->topOf<Settings>());
                 t->topOf<Settings>()->findChild<QPushButton *>(u"checkVaultButton"_s)->click();
                 QTRY_VERIFY(t->topOf<ChangePasscodeView>());
                 QVERIFY(t->topOf<ChangePasscodeView>()->state()->isResuming());
             }},
            {"About", Start::noPasscode, [](TestAccessibility *t) { t->m_window->openAbout(); }},
            {"the pager", Start::filled, inHolidays([](TestAccessibility *, FolderView *view) {
                 view->tap(view->model()->index(0, 0));
             })},
            {"a zoomed picture", Start::filled, inHolidays([](TestAccessibility *t, FolderView *view) {
                 view->tap(view->model()->index(0, 0));
                 QTRY_VERIFY(t->top() != view && t->top()->isVisible());
                 QVERIFY(settled()); // the picture is decoded: Return zooms it
                 QTest::keyClick(t->top()->focusProxy() ? t->top()->focusProxy() : t->top(), Qt::Key_Return);
             })},
            {"the PDF viewer", Start::filled, opening(u"Receipts"_s, u"Invoice.pdf"_s)},
            {"the previewer, text", Start::filled, opening(u"Receipts"_s, u"Notes.txt"_s)},
            {"the previewer, other file", Start::filled, opening(u"Receipts"_s, u"Archive.bin"_s)},
        };
    }
    // Plays the scene of that name.
    void play(const QString &name)
    {
        const QList<Scene> all = scenes();
        const auto found = std::find_if(all.begin(), all.end(), [&name](const Scene &scene) {
            return name == QLatin1StringView(scene.name);
        });
        QVERIFY2(found != all.end(), qPrintable(name));
        start(found->start);
        if (found->then && !QTest::currentTestFailed())
            found->then(this);
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
        QFile::remove(PasscodeChangeJournal::path());
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
        QTest::addColumn<QString>("scene");
        for (const Scene &scene : scenes())
            QTest::newRow(scene.name) << QString::fromLatin1(scene.name);
    }
    void everyControlHasANameAndARole()
    {
        QFETCH(QString, scene);
        play(scene);
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
        start(Start::locked);
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
        start(Start::filled);
        // A menu button opened from the keyboard; a context menu by the menu key.
        const auto pressSpace = [](QWidget *button) -> std::function<void()> {
            return [button] {
                button->setFocus();
                QTest::keyClick(button, Qt::Key_Space);
            };
        };
        const auto pressMenuKey = [](QWidget *widget) -> std::function<void()> {
            return [widget] {
                QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), QPoint(5, 5));
                QApplication::sendEvent(widget, &event);
            };
        };
        std::function<QMenu *()> menuOf;
        std::function<void()> open;
        if (menu.startsWith(u"folder menu"_s)) {
            FolderView *view = menu.endsWith(u"tree"_s) ? openRoot() : openFolder(u"Holidays"_s, 3);
            QVERIFY(view);
            menuOf = [view] { return view->toolbar()->folderMenu(); };
            open = pressSpace(view->toolbar()->findChild<QToolButton *>(u"folderMenuButton"_s));
        } else if (menu == u"tile menu"_s) {
            FolderView *view = openFolder(u"Holidays"_s, 3);
            QVERIFY(view);
            view->grid()->setFocus();
            view->grid()->setCurrentIndex(view->model()->index(1, 0));
            menuOf = [view] { return view->findChild<QMenu *>(u"tileMenu"_s); };
            open = pressMenuKey(view->grid()->viewport());
        } else if (menu == u"passcode field menu"_s) {
            m_state->keyboardHidden();
            KeyChainHelper::shared().lock();
            QTRY_VERIFY(!m_state->isUnlocked());
            m_state->requestUnlock();
            auto *field = m_window->findChild<UserFormTextField *>(u"passcodeField"_s);
            QTRY_VERIFY(field->isVisible());
            QTest::keyClicks(field, u"abc"_s);
            menuOf = [field] { return field->findChild<QMenu *>(); };
            open = pressMenuKey(field);
        } else {
            auto *button = m_window->contentView()->findChild<BackgroundImageMenu *>();
            QVERIFY(button);
            menuOf = [button] { return button->menu(); };
            open = pressSpace(button);
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
        start(Start::noPasscode);
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
        start(Start::noPasscode);
        auto *button = m_window->contentView()->findChild<BackgroundImageMenu *>();
        QMenu *menu = button->menu();
        bool waited = false;
        bool onNothing = false;
        // Checked while the press holds the menu open, once what its showing queued has run.
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (!menu->isVisible())
                return;
            poll.stop();
            waited = postedEventsRan() && zeroTimersRan();
            onNothing = !menu->activeAction();
            menu->close();
        });
        poll.start(10);
        QTest::mousePress(button, Qt::LeftButton);
        QTest::mouseRelease(button, Qt::LeftButton);
        QTRY_VERIFY(!poll.isActive());
        QVERIFY(waited);
        QVERIFY(onNothing);
    }

    // %1: the name the tile shows.
    void tilesSayWhatTheyAre_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("item"); // empty: the first
        QTest::addColumn<bool>("selecting");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("folder") << QString() << u"Holidays"_s << false << u"%1, folder"_s;
        QTest::newRow("picture") << u"Holidays"_s << QString() << false << u"%1, picture"_s;
        QTest::newRow("PDF") << u"Receipts"_s << u"Invoice.pdf"_s << false << u"%1, PDF"_s;
        QTest::newRow("document") << u"Receipts"_s << u"Notes.txt"_s << false << u"%1, document"_s;
        QTest::newRow("file") << u"Receipts"_s << u"Archive.bin"_s << false << u"%1, file"_s;
        QTest::newRow("selected") << u"Receipts"_s << u"Notes.txt"_s << true << u"%1, document, selected"_s;
        QTest::newRow("not selected")
            << u"Receipts"_s << u"Archive.bin"_s << true << u"%1, file, not selected"_s;
    }
    void tilesSayWhatTheyAre()
    {
        QFETCH(QString, folder);
        QFETCH(QString, item);
        QFETCH(bool, selecting);
        QFETCH(QString, spoken);
        start(Start::filled);
        FolderView *view = folder.isEmpty() ? openRoot() : openFolder(folder, 3);
        QVERIFY(view && view->model());
        if (selecting) {
            view->selectionManager()->enable();
            tapRow(view, u"Notes.txt"_s);
        }
        const QModelIndex found = item.isEmpty() ? view->model()->index(0, 0) : indexOf(view, item);
        QVERIFY(found.isValid());
        QAccessibleTableInterface *table =
            QAccessible::queryAccessibleInterface(view->grid())->tableInterface();
        QVERIFY(table);
        QAccessibleInterface *tile = table->cellAt(found.row(), 0);
        QVERIFY(tile);
        QCOMPARE(tile->text(QAccessible::Name), spoken.arg(found.data().toString()));
    }

    // The sheets of the folder screen are scenes; the alerts and the entry sheet are made here.
    void alertsAndSheetsCarryTheirText_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"OK alert", "OK/Cancel alert", "entry sheet", "delete items", "enter PIN"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }
    void alertsAndSheetsCarryTheirText()
    {
        QFETCH(QString, kind);
        QString title = u"Enter Passcode"_s;
        QString text = u"Modifying this folder requires a passcode."_s;
        QWidget *window = nullptr;
        if (kind == u"OK alert"_s || kind == u"OK/Cancel alert"_s || kind == u"entry sheet"_s) {
            start(Start::locked);
            QDialog *dialog = nullptr;
            if (kind == u"OK alert"_s)
                dialog = new OKAlert(title, text, m_window.get());
            else if (kind == u"OK/Cancel alert"_s)
                dialog = new OKCancelAlert(title, text, DestructiveButton::ok, m_window.get());
            else
                dialog =
                    new EntrySheet(title, text, ProtectFieldType::passcode, u"Continue"_s, m_window.get());
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            dialog->open();
            window = dialog;
        } else {
            play(kind);
            QVERIFY(!QTest::currentTestFailed());
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

        play(u"import sheet, files not imported"_s);
        auto *sheet = topOf<ImportSheet>();
        QVERIFY(sheet);
        auto *bar = sheet->findChild<QProgressBar *>(u"progressBar"_s);
        QAccessibleInterface *progress = QAccessible::queryAccessibleInterface(bar);
        QVERIFY(!progress->text(QAccessible::Name).isEmpty());
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
