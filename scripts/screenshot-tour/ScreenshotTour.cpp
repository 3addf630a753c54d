// Walks the window through its screens and saves a picture of each, in light and in dark, for
// the README: scripts/screenshots.sh runs it under Xvfb. Not a test: it checks nothing.
#include "TestHome.h"
#include "TestSession.h"
#include "app/Application.h"
#include "core/SharedData.h"
#include "core/UserDefaults.h"
#include "i18n/Translations.h"
#include "media/CameraDevice.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "storage/DriveManager.h"
#include "storage/ItemCollection.h"
#include "storage/ItemListModel.h"
#include "storage/SelectedItemManager.h"
#include "ui/camera/CameraWrapper.h"
#include "ui/common/ColorScheme.h"
#include "ui/common/NavigationStack.h"
#include "ui/common/Presenter.h"
#include "ui/common/Screen.h"
#include "ui/folder/FolderGrid.h"
#include "ui/folder/FolderToolbar.h"
#include "ui/folder/FolderView.h"
#include "ui/folder/ImportSheet.h"
#include "ui/main/MainScreenState.h"
#include "ui/main/MainWindow.h"
#include "ui/settings/ChangePasscodeView.h"
#include "ui/settings/CheckVaultState.h"
#include "ui/settings/CheckVaultView.h"
#include "ui/settings/Settings.h"
#include "ui/share/ShareDialog.h"

#include "i18n/Translations.h"
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <unistd.h>

namespace {

const QString passcode = QStringLiteral("correct horse 42");

void settle()
{
    QTest::qWait(400);
}

// LUMISERA_TOUR_SHOTS="main-locked-light,…" keeps only those pictures; the tour still walks every
// screen to reach them.
bool wanted(const QString &name)
{
    static const QStringList only =
        QString::fromLocal8Bit(qgetenv("LUMISERA_TOUR_SHOTS")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    return only.isEmpty() || only.contains(name);
}

void shoot(const QString &folder, const QString &name)
{
    settle();
    if (!wanted(name))
        return;
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

// A PDF of two pages and a note, for the viewers.
void fillReceipts()
{
    QTemporaryDir sources;
    const QString pdf = sources.filePath(QStringLiteral("Hotel invoice.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setResolution(96);
        QPainter painter(&writer);
        QFont heading = painter.font();
        heading.setPointSize(22);
        for (int page = 1; page <= 2; ++page) {
            painter.setFont(heading);
            painter.drawText(QPointF(60, 100), QStringLiteral("Hotel Mirador — invoice, page %1").arg(page));
            painter.setFont(QFont());
            for (int line = 0; line < 24; ++line)
                painter.drawText(
                    QPointF(60, 160 + line * 24),
                    QStringLiteral("Night %1 · room 214 · breakfast included · 96.00 EUR").arg(line + 1));
            if (page == 1)
                writer.newPage();
        }
    }
    const QString note = sources.filePath(QStringLiteral("Packing list.txt"));
    QFile text(note);
    if (text.open(QIODevice::WriteOnly))
        text.write(
            "Packing list\n============\n\n- passport and tickets\n- charger, adapter\n- walking shoes\n"
            "- the blue notebook\n\nLeave the keys with Ana on Friday.\n");
    text.close();
    ItemCollection receipts(StorageLocation::local, FileItemType::file, QStringLiteral("Receipts"));
    receipts.setSession(KeyChainHelper::shared().session());
    receipts.driveManager()->connect();
    FolderOperations operations = receipts.operations();
    operations.addToCollectionAndDelete(pdf, false, false);
    operations.addToCollectionAndDelete(note, false, false);
}

// Folders to look at: pictures, a protected one and one of documents.
void fillVault()
{
    ItemCollection root(StorageLocation::local, FileItemType::all, QString());
    root.setSession(KeyChainHelper::shared().session());
    root.driveManager()->connect();
    if (!root.loadItems().isEmpty())
        return; // the tour in the other colour scheme filled it
    root.operations().createFolder(QStringLiteral("Holidays"), std::nullopt);
    root.operations().createFolder(QStringLiteral("Private"), QStringLiteral("2468"));
    root.operations().createFolder(QStringLiteral("Receipts"), std::nullopt);
    ItemCollection holidays(StorageLocation::local, FileItemType::file, QStringLiteral("Holidays"));
    holidays.setSession(KeyChainHelper::shared().session());
    holidays.driveManager()->connect();
    FolderOperations operations = holidays.operations();
    for (int i = 0; i < 12; ++i)
        operations.addImageData(makePicture(i));
    // Documents from the start, so that the light and the dark picture show the same folder.
    QTemporaryDir documents;
    for (const char *name : {"Letter.pdf", "Notes.txt"}) {
        QFile file(documents.filePath(QLatin1String(name)));
        if (file.open(QIODevice::WriteOnly) && file.write(QByteArray(4096, 'x')) == 4096) {
            file.close();
            operations.addToCollectionAndDelete(file.fileName(), false, false);
        }
    }
    ItemCollection secret(StorageLocation::local, FileItemType::file, QStringLiteral("Private"));
    secret.setSession(KeyChainHelper::shared().session());
    secret.driveManager()->connect();
    secret.operations().addImageData(makePicture(40));
    fillReceipts();
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

// An import under way: the first file is large (and sparse), so its copy is still going when the
// picture is taken; closing the sheet then stops it, and the folder stays as it was for the next pass.
void importTour(MainWindow *window, FolderView *pictures, const QString &folder, const QString &scheme)
{
    QTemporaryDir sources;
    QStringList chosen;
    for (const char *name : {"Beach video.mov", "Itinerary.pdf", "Tickets.pdf", "Recipe.txt"}) {
        QFile file(sources.filePath(QLatin1String(name)));
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray(200 * 1024, 'x'));
        chosen.append(file.fileName());
    }
    QFile::resize(chosen.at(0), qint64(2) << 30);
    ImportSheet::chooseFiles = [chosen](ImportSheet::Source) { return chosen; };
    if (QAction *import =
            pictures->toolbar()->folderMenu()->findChild<QAction *>(QStringLiteral("Import Files")))
        import->trigger();
    QTest::qWait(1200);
    shoot(folder, QStringLiteral("folder-import-") + scheme);
    dismissSheets(window);
    QTest::qWait(800);
    ImportSheet::chooseFiles = nullptr;
}

// A camera that shows one of the pictures as its live view.
class StillCamera : public CameraDevice
{
public:
    StillCamera()
    {
        m_view->setPixmap(QPixmap::fromImage(QImage::fromData(makePicture(4))));
        m_view->setAlignment(Qt::AlignCenter);
        QTimer::singleShot(0, m_view, [this] { started(); });
    }
    QWidget *viewfinder() override { return m_view; }
    QString name() const override { return QStringLiteral("Integrated Camera"); }
    bool isReadyForCapture() const override { return true; }
    void capture() override {}

private:
    QLabel *m_view = new QLabel;
};

void cameraTour(MainWindow *window, FolderView *pictures, const QString &folder, const QString &scheme)
{
    CameraWrapper::openCamera = [](QString *) { return std::make_unique<StillCamera>(); };
    pictures->toolbar()->findChild<QToolButton *>(QStringLiteral("cameraButton"))->click();
    shoot(folder, QStringLiteral("camera-") + scheme);
    const QList<Screen *> shown = window->presenter()->presented();
    if (!shown.isEmpty())
        window->presenter()->dismiss(shown.last());
    CameraWrapper::openCamera = nullptr;
}

Screen *topScreen(MainWindow *window)
{
    const QList<Screen *> shown = window->presenter()->presented();
    return shown.isEmpty() ? nullptr : shown.last();
}

void viewerTour(MainWindow *window, FolderView *pictures, const QString &folder, const QString &scheme)
{
    pictures->tap(pictures->model()->index(0, 0));
    QTest::qWait(800);
    shoot(folder, QStringLiteral("viewer-pager-") + scheme);
    if (QWidget *focus = QApplication::focusWidget())
        QTest::keyClick(focus, Qt::Key_Return);
    QTest::qWait(600);
    shoot(folder, QStringLiteral("viewer-zoomed-") + scheme);
    if (Screen *pager = topScreen(window))
        window->presenter()->dismiss(pager);
    settle();
}

void shareTour(MainWindow *window, FolderView *pictures, const QString &folder, const QString &scheme)
{
    pictures->selectionManager()->enable();
    for (int row : {0, 3})
        pictures->tap(pictures->model()->index(row, 0));
    pictures->toolbar()->findChild<QToolButton *>(QStringLiteral("shareSelectionButton"))->click();
    shoot(folder, QStringLiteral("share-passcode-") + scheme);
    auto *share = qobject_cast<ShareDialog *>(topScreen(window));
    if (QLineEdit *field = share ? share->findChild<QLineEdit *>() : nullptr) {
        QTest::keyClicks(field, passcode);
        QTest::keyClick(field, Qt::Key_Return);
        QTest::qWait(1200);
        shoot(folder, QStringLiteral("share-targets-") + scheme);
    }
    dismissSheets(window);
    pictures->selectionManager()->disable();
    settle();
}

void documentsTour(MainWindow *window, FolderView *root, const QString &folder, const QString &scheme)
{
    openRow(root, QStringLiteral("Receipts"));
    settle();
    FolderView *receipts = topFolder(window);
    if (!receipts || receipts == root)
        return;
    for (const auto &[name, shot] :
         {std::pair{"Hotel invoice.pdf", "viewer-pdf-"}, std::pair{"Packing list.txt", "viewer-text-"}}) {
        openRow(receipts, QLatin1String(name));
        QTest::qWait(900);
        shoot(folder, QLatin1String(shot) + scheme);
        if (Screen *viewer = topScreen(window))
            window->presenter()->dismiss(viewer);
        settle();
    }
    window->presenter()->dismiss(receipts);
    settle();
}

void folderTour(MainWindow *window, const QString &folder, const QString &scheme)
{
    window->openTree(std::make_shared<ItemCollection>(StorageLocation::local, FileItemType::all, QString()),
                     QCoreApplication::translate("StorageLocationState", "On Device"));
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
        viewerTour(window, pictures, folder, scheme);
        shareTour(window, pictures, folder, scheme);
        cameraTour(window, pictures, folder, scheme);
        // Last: its files stay in the folder.
        importTour(window, pictures, folder, scheme);
        window->presenter()->dismiss(pictures);
        settle();
    }
    documentsTour(window, root, folder, scheme);
    openRow(root, QStringLiteral("Private"));
    shoot(folder, QStringLiteral("folder-protected-") + scheme);
    window->presenter()->dismiss(root);
}

// The two vault sheets of Settings: a finished check, and the form of a passcode change.
void settingsTour(MainWindow *window, const QString &folder, const QString &scheme)
{
    auto *settings = qobject_cast<Settings *>(topScreen(window));
    if (!settings)
        return;
    Q_EMIT settings->checkVaultRequested();
    const bool checked = QTest::qWaitFor(
        [window] {
            auto *check = qobject_cast<CheckVaultView *>(topScreen(window));
            return check && check->state()->phase() == CheckVaultState::Phase::done;
        },
        20000);
    if (!checked)
        std::fprintf(stderr, "the vault check did not finish\n");
    shoot(folder, QStringLiteral("settings-check-") + scheme);
    dismissSheets(window);
    settle();
    Q_EMIT settings->changePasscodeRequested();
    shoot(folder, QStringLiteral("settings-passcode-") + scheme);
    dismissSheets(window);
}

void tour(const QString &folder, const QString &scheme)
{
    KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
    KeyChainHelper::shared().lock();
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

    Application app;
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
    if (!QTest::qWaitFor([] { return KeyChainHelper::shared().isUnlocked(); }, 5000))
        std::fprintf(stderr, "the passcode did not unlock\n");
    shoot(folder, QStringLiteral("main-unlocked-") + scheme);
    window->openStorage();
    shoot(folder, QStringLiteral("storage-") + scheme);
    fillVault();
    folderTour(window, folder, scheme);
    window->openSettings();
    shoot(folder, QStringLiteral("settings-") + scheme);
    settingsTour(window, folder, scheme);
}

} // namespace

int main(int argc, char **argv)
{
    TestHome home;
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    // In the language LANGUAGE names, as the window would be.
    Translations::install(application);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(folder);
    for (const QString &scheme : {QStringLiteral("light"), QStringLiteral("dark")})
        tour(folder, scheme);
    return 0;
}
