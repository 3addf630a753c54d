// Walks the window through its screens and saves a picture of each, in light and in dark, for
// the README: scripts/screenshots.sh runs it under Xvfb. Not a test: it checks nothing.
#include "ColorScheme.h"
#include "DriveManager.h"
#include "FolderGrid.h"
#include "FolderToolbar.h"
#include "FolderView.h"
#include "ImportSheet.h"
#include "InMemoryCredentialBackend.h"
#include "ItemCollection.h"
#include "ItemListModel.h"
#include "KeyChainHelper.h"
#include "MainScreenState.h"
#include "MainWindow.h"
#include "NavigationStack.h"
#include "Presenter.h"
#include "Private_Lumisera_for_MacApp.h"
#include "Screen.h"
#include "SelectedItemManager.h"
#include "SharedData.h"
#include "TestHome.h"
#include "UserDefaults.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

const QString passcode = QStringLiteral("correct horse 42");

void settle()
{
    QTest::qWait(400);
}

void shoot(const QString &folder, const QString &name)
{
    settle();
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!QGuiApplication::primaryScreen()->grabWindow(0).save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// A picture a camera might have taken: a gradient sky with a few shapes in it.
QByteArray makePicture(int seed)
{
    QImage image(800, 600, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 600);
    sky.setColorAt(0, QColor::fromHsv((seed * 29) % 360, 140, 250));
    sky.setColorAt(1, QColor::fromHsv((seed * 29 + 60) % 360, 220, 120));
    painter.fillRect(image.rect(), sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromHsv((seed * 53) % 360, 90, 255, 220));
    painter.drawEllipse(QPointF(180 + seed * 37 % 420, 160 + seed * 19 % 120), 90, 90);
    QPainterPath hills;
    hills.moveTo(0, 600);
    hills.cubicTo(200, 380 - seed * 7 % 80, 520, 560, 800, 420);
    hills.lineTo(800, 600);
    painter.setBrush(QColor::fromHsv((seed * 71 + 120) % 360, 160, 90));
    painter.drawPath(hills);
    painter.setBrush(QColor(255, 255, 255, 120));
    painter.drawRoundedRect(QRectF(60 + seed * 41 % 500, 420, 160, 90), 24, 24);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 85);
    return bytes;
}

// Folders to look at: pictures, a protected one and an empty one.
void fillVault()
{
    ItemCollection root(StorageLocation::local, FileItemType::all, QString());
    root.driveManager()->connect();
    if (!root.loadItems().isEmpty())
        return; // the tour in the other colour scheme filled it
    root.operations().createFolder(QStringLiteral("Holidays"), std::nullopt);
    root.operations().createFolder(QStringLiteral("Private"), QStringLiteral("2468"));
    root.operations().createFolder(QStringLiteral("Receipts"), std::nullopt);
    ItemCollection holidays(StorageLocation::local, FileItemType::file, QStringLiteral("Holidays"));
    holidays.driveManager()->connect();
    FolderOperations operations = holidays.operations();
    for (int i = 0; i < 12; ++i)
        operations.addImageData(makePicture(i));
    ItemCollection secret(StorageLocation::local, FileItemType::file, QStringLiteral("Private"));
    secret.driveManager()->connect();
    secret.operations().addImageData(makePicture(40));
}

FolderView *topFolder(MainWindow *window)
{
    const QList<Screen *> shown = window->presenter()->presented();
    for (auto it = shown.crbegin(); it != shown.crend(); ++it) {
        if (auto *view = qobject_cast<FolderView *>(*it))
            return view;
    }
    return nullptr;
}

void openRow(FolderView *view, const QString &name)
{
    if (!QTest::qWaitFor([view] { return view->model() && view->model()->rowCount() > 0; }, 3000))
        return;
    const QModelIndexList found = view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, name);
    if (!found.isEmpty())
        view->tap(found.first());
}

void dismissSheets(MainWindow *window)
{
    const QList<Screen *> shown = window->presenter()->presented();
    for (Screen *screen : shown) {
        if (screen->window() != window)
            window->presenter()->dismiss(screen);
    }
}

// An import held in the middle: the third file is a pipe that gives its bytes only when released.
void importTour(MainWindow *window, FolderView *pictures, const QString &folder, const QString &scheme)
{
    QTemporaryDir sources;
    const QString pipe = sources.filePath(QStringLiteral("Beach video.mov"));
    if (::mkfifo(QFile::encodeName(pipe).constData(), 0600) != 0)
        return;
    QStringList chosen;
    for (const char *name : {"Letter.pdf", "Notes.txt", "Recipe.txt"}) {
        QFile file(sources.filePath(QLatin1String(name)));
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray(200 * 1024, 'x'));
        chosen.append(file.fileName());
    }
    chosen.insert(2, pipe);
    ImportSheet::chooseFiles = [chosen](ImportSheet::Source) { return chosen; };
    if (QAction *import =
            pictures->toolbar()->folderMenu()->findChild<QAction *>(QStringLiteral("Import Files")))
        import->trigger();
    QTest::qWait(1200);
    shoot(folder, QStringLiteral("folder-import-") + scheme);
    // The pipe's reader waits for a writer: give it one that writes nothing, then let the rest end.
    std::thread([pipe] { ::close(::open(QFile::encodeName(pipe).constData(), O_WRONLY)); }).join();
    QTest::qWait(800);
    dismissSheets(window);
    ImportSheet::chooseFiles = nullptr;
}

void folderTour(MainWindow *window, const QString &folder, const QString &scheme)
{
    window->openTree(StorageLocation::local, QStringLiteral("On Device"));
    shoot(folder, QStringLiteral("folder-root-") + scheme);
    FolderView *root = topFolder(window);
    if (!root)
        return;
    QAction *add = root->toolbar()->folderMenu()->findChild<QAction *>(QStringLiteral("Add Folder"));
    if (add)
        add->trigger();
    shoot(folder, QStringLiteral("folder-new-") + scheme);
    dismissSheets(window);

    openRow(root, QStringLiteral("Holidays"));
    settle();
    FolderView *pictures = topFolder(window);
    shoot(folder, QStringLiteral("folder-pictures-") + scheme);
    if (pictures && pictures != root && pictures->model()) {
        pictures->selectionManager()->enable();
        for (int row : {1, 2, 5})
            pictures->tap(pictures->model()->index(row, 0));
        shoot(folder, QStringLiteral("folder-selection-") + scheme);
        pictures->toolbar()->deleteButton()->click();
        shoot(folder, QStringLiteral("folder-delete-") + scheme);
        dismissSheets(window);
        pictures->selectionManager()->disable();
        importTour(window, pictures, folder, scheme);
        window->presenter()->dismiss(pictures);
        settle();
    }
    openRow(root, QStringLiteral("Private"));
    shoot(folder, QStringLiteral("folder-protected-") + scheme);
    window->presenter()->dismiss(root);
}

void tour(const QString &folder, const QString &scheme)
{
    KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
    KeyChainHelper::shared().setLoadedKey(std::nullopt);
    UserDefaults::setDate(UserDefaults::Key::installed, QDateTime::currentDateTimeUtc());
    UserDefaults::setValue(UserDefaults::Key::backgroundImage, QStringLiteral("zenStones"));
    const UserDefaults::Mode mode =
        scheme == QLatin1String("dark") ? UserDefaults::Mode::dark : UserDefaults::Mode::light;
    UserDefaults::setMode(mode);
    SharedData::shared().setColorScheme(mode);
    UserDefaults::saveQuote(
        ComposedDailyQuote{QStringLiteral("Lao Tzu"),
                           QStringLiteral("Nature does not hurry, yet everything is accomplished.")},
        QDateTime::currentDateTimeUtc());

    Private_Lumisera_for_MacApp app;
    app.start();
    MainWindow *window = app.window();
    window->move(32, 24);
    window->resize(960, 680);
    settle();
    shoot(folder, QStringLiteral("main-new-") + scheme);
    window->openSetPasscode();
    shoot(folder, QStringLiteral("passcode-setup-") + scheme);
    for (Screen *screen : window->presenter()->presented())
        window->presenter()->dismiss(screen);

    if (!KeyChainHelper::shared().saveKey(passcode)) {
        std::fprintf(stderr, "cannot save the passcode\n");
        return;
    }
    app.mainScreen()->checkPasscode();
    settle();
    shoot(folder, QStringLiteral("main-locked-") + scheme);
    app.mainScreen()->requestUnlock();
    shoot(folder, QStringLiteral("main-passcode-") + scheme);
    app.mainScreen()->submit(passcode);
    shoot(folder, QStringLiteral("main-unlocked-") + scheme);
    window->openStorage();
    shoot(folder, QStringLiteral("storage-") + scheme);
    fillVault();
    folderTour(window, folder, scheme);
    window->openSettings();
    shoot(folder, QStringLiteral("settings-") + scheme);
}

} // namespace

int main(int argc, char **argv)
{
    TestHome home;
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(folder);
    for (const QString &scheme : {QStringLiteral("light"), QStringLiteral("dark")})
        tour(folder, scheme);
    return 0;
}
