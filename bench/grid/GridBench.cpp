// grid-bench [PICTURES] [LARGE] [BOMBS] [PREVIEWS]
//     fills a folder with PICTURES (2000) pictures, LARGE (100) of them of 12 megapixels, PREVIEWS
//     (0) of those with the 160 × 120 preview a camera puts in the EXIF data, and BOMBS (0) of them
//     decompression bombs (a few hundred bytes declaring 20000 × 20000 pixels and more, in every
//     format the pipeline reads), opens it in the folder screen, waits for the first screenful of
//     tiles (a preview counts) and until every tile in view is sharp, then scrolls a screenful at a time to
//     the bottom and back. Prints the time to the first screenful, the main thread's longest stall (how late
//     a 10 ms timer fired at worst) and the peak resident memory; exits 1 past the targets (50 ms, 1 GiB) or
//     when a bomb got a picture. Needs a display (run through grid.sh under Xvfb).
// Everything happens in a private temporary home with the passcode in memory.
#include "BenchHome.h"
#include "BenchProcess.h"
#include "ExifPictures.h"
#include "HostilePictures.h"
#include "security/KeyChainHelper.h"
#include "storage/DriveManager.h"
#include "storage/FolderOperations.h"
#include "storage/ItemCollection.h"
#include "storage/ItemListModel.h"
#include "ui/common/NavigationStack.h"
#include "ui/common/Presenter.h"
#include "ui/folder/FolderGrid.h"
#include "ui/folder/FolderView.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSet>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <unistd.h>

namespace {

using namespace BenchProcess;

const QString folderName = QStringLiteral("Grid");
constexpr qint64 stallTargetMs = 50;
constexpr qint64 memoryTargetKiB = 1024 * 1024;

// The bombs, by turns: what a few hundred bytes can declare in each format.
QByteArray bomb(int index)
{
    switch (index % 8) {
    case 0:
        return HostilePictures::jpeg({20000, 20000});
    case 1:
        return HostilePictures::jpeg({30000, 30000}, 1);
    case 2:
        return HostilePictures::jpeg({65500, 65500}, 3, false);
    case 3:
        return HostilePictures::png({20000, 20000});
    case 4:
        return HostilePictures::gif({11000, 11000});
    case 5:
        return HostilePictures::webp({16384, 16384});
    case 6:
        return HostilePictures::tiff({20000, 20000});
    default:
        return HostilePictures::bmp({20000, 20000});
    }
}

// Spread through the folder, as a phone's photos would be.
bool isOneOf(int index, int pictures, int count)
{
    return count > 0 && index % std::max(1, pictures / count) == 0;
}

// Camera-like pictures: a gradient with grain, so that JPEG cannot shrink it to nothing.
bool fill(int pictures, int large, int bombs, int previews)
{
    const std::shared_ptr<DriveManager> root = FolderOperations::makeDriveManager(StorageLocation::local, {});
    root->connect();
    if (!FolderOperations(root, StorageLocation::local, KeyChainHelper::shared().session())
             .createFolder(folderName, std::nullopt))
        return false;
    const std::shared_ptr<DriveManager> folder =
        FolderOperations::makeDriveManager(StorageLocation::local, folderName);
    folder->connect();
    FolderOperations operations(folder, StorageLocation::local, KeyChainHelper::shared().session());
    QList<QByteArray> largePictures;
    QList<QByteArray> withPreviews;
    for (int seed = 0; seed < (large >= pictures ? 8 : 1); ++seed) {
        largePictures.append(picture(4000, 3000, 7 + seed));
        if (previews > 0)
            withPreviews.append(ExifPictures::withPreview(
                largePictures.last(), ExifPictures::previewOf(QImage::fromData(largePictures.last()))));
    }
    int bombsStored = 0;
    int largeStored = 0;
    int previewsStored = 0;
    for (int i = 0; i < pictures; ++i) {
        // Bombs fall between the large ones, half a stride on.
        const int stride = std::max(1, pictures / std::max(1, bombs));
        const bool isBomb = bombsStored < bombs && i >= stride / 2 && (i - stride / 2) % stride == 0;
        const bool isLarge = large >= pictures || isOneOf(i, pictures, large);
        // The photos with a preview spread among those without.
        const bool hasPreview = !isBomb && isLarge && previewsStored < previews &&
                                largeStored++ % std::max(1, large / std::max(1, previews)) == 0;
        previewsStored += hasPreview;
        const QByteArray bytes = isBomb       ? bomb(bombsStored++)
                                 : hasPreview ? withPreviews.at(i % withPreviews.size())
                                 : isLarge    ? largePictures.at(i % largePictures.size())
                                              : picture(480, 360, i);
        if (!operations.addImageData(bytes))
            return false;
    }
    return bombsStored == bombs;
}

// Tiles that came out as a picture; a bomb must never be one of them.
int bombsShown(const FolderGrid *grid, const QSet<QUrl> &bombUrls)
{
    int shown = 0;
    for (const QUrl &url : bombUrls)
        shown += !grid->tile(url).isNull();
    return shown;
}

// Whether every tile in view passes done (or is known not to have a picture).
template <typename Done> bool everyTileInView(const FolderGrid *grid, Done done)
{
    const ItemListModel *model = grid->itemModel();
    if (!model || model->rowCount() == 0)
        return false;
    const QRect viewport = grid->viewport()->rect();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        if (!grid->visualRect(index).intersects(viewport))
            continue;
        const QUrl url = index.data(ItemListModel::UrlRole).toUrl();
        if (!done(url) && !grid->tileFailed(url))
            return false;
    }
    return true;
}

// Every tile in view has its picture, a preview or the decoded one.
bool screenfulReady(const FolderGrid *grid)
{
    return everyTileInView(grid, [grid](const QUrl &url) { return !grid->tile(url).isNull(); });
}

// Every tile in view shows its decoded picture, not a preview.
bool screenfulSharp(const FolderGrid *grid)
{
    return everyTileInView(grid, [grid](const QUrl &url) { return grid->tileSharp(url); });
}

int run(int pictures, int large, int bombs, int previews)
{
    QElapsedTimer clock;
    clock.start();
    if (!fill(pictures, large, bombs, previews)) {
        std::fprintf(stderr, "grid-bench: cannot fill the folder\n");
        return 1;
    }
    std::printf("folder of %d pictures (%d of 12 MP, %d of those with a camera preview, %d bombs) stored in "
                "%.1f s\n",
                pictures, std::min(large, pictures - bombs), std::min(previews, large), bombs,
                double(clock.elapsed()) / 1000.0);
    // The folder was stored earlier: its gigabytes are on disk before the clock starts, not being
    // written back while the screen reads them.
    ::sync();

    QWidget window;
    window.resize(1100, 800);
    auto *layers = new QStackedWidget(&window);
    auto *navigation = new NavigationStack;
    layers->addWidget(navigation);
    (new QVBoxLayout(&window))->addWidget(layers);
    Presenter presenter(layers, navigation, &window);
    auto collection = std::make_shared<ItemCollection>(StorageLocation::local, FileItemType::all, folderName);

    // The stall meter: how late a 10 ms timer fires.
    qint64 worstLateMs = 0;
    QElapsedTimer tick;
    QTimer meter;
    meter.setTimerType(Qt::PreciseTimer);
    QObject::connect(&meter, &QTimer::timeout,
                     [&] { worstLateMs = std::max(worstLateMs, tick.restart() - 10); });

    clock.restart();
    auto *view = new FolderView(collection, KeyChainHelper::shared().session(), &presenter);
    navigation->setRoot(view);
    window.show();
    tick.start();
    meter.start(10);
    processUntil([view] { return screenfulReady(view->grid()); }, 60000);
    const qint64 firstScreenful = clock.elapsed();
    processUntil([view] { return screenfulSharp(view->grid()); }, 60000);
    const qint64 sharpScreenful = clock.elapsed();

    QScrollBar *bar = view->grid()->verticalScrollBar();
    const int page = std::max(1, bar->pageStep());
    for (int value = 0; value < bar->maximum(); value += page) {
        bar->setValue(value);
        processFor(50);
    }
    bar->setValue(bar->maximum());
    processUntil([view] { return screenfulReady(view->grid()); }, 60000);
    for (int value = bar->maximum(); value > 0; value -= page) {
        bar->setValue(value);
        processFor(50);
    }
    bar->setValue(0);
    processUntil([view] { return screenfulReady(view->grid()); }, 60000);

    // Then every bomb brought into view in turn, until its tile is answered. The bombs are the
    // files too small to be photos.
    QSet<QUrl> bombUrls;
    int bombsAnswered = 0;
    const ItemListModel *model = view->grid()->itemModel();
    for (int row = 0; model && row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        const QUrl url = index.data(ItemListModel::UrlRole).toUrl();
        if (QFileInfo(url.toLocalFile()).size() >= 4096)
            continue;
        bombUrls.insert(url);
        view->grid()->scrollTo(index);
        const FolderGrid *grid = view->grid();
        bombsAnswered +=
            processUntil([grid, url] { return grid->tileFailed(url) || !grid->tile(url).isNull(); }, 60000) &&
            grid->tileFailed(url);
    }
    meter.stop();
    const int shownBombs = bombsShown(view->grid(), bombUrls);

    const qint64 peakKiB = statusKiB("VmHWM:");
    std::printf("first screenful of tiles      %6lld ms\n", static_cast<long long>(firstScreenful));
    std::printf("every tile in view sharp      %6lld ms\n", static_cast<long long>(sharpScreenful));
    std::printf("scrolled down and back%s in %6lld ms\n", bombs > 0 ? ", then to each bomb," : "",
                static_cast<long long>(clock.elapsed() - firstScreenful));
    std::printf("longest main-thread stall     %6lld ms   (target < %lld)\n",
                static_cast<long long>(worstLateMs), static_cast<long long>(stallTargetMs));
    std::printf("peak resident memory          %6.0f MiB  (target < %lld)\n", double(peakKiB) / 1024.0,
                static_cast<long long>(memoryTargetKiB / 1024));
    if (bombs > 0)
        std::printf("bombs shown as \"x.circle\"      %6d of %d  (%d as a picture)\n", bombsAnswered,
                    int(bombUrls.size()), shownBombs);
    return worstLateMs < stallTargetMs && peakKiB < memoryTargetKiB && shownBombs == 0 &&
                   bombsAnswered == int(bombUrls.size())
               ? 0
               : 1;
}

} // namespace

int main(int argc, char **argv)
{
    const int pictures = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int large = argc > 2 ? std::atoi(argv[2]) : 100;
    const int bombs = argc > 3 ? std::atoi(argv[3]) : 0;
    const int previews = argc > 4 ? std::atoi(argv[4]) : 0;
    if (pictures <= 0 || large < 0 || large > pictures || bombs < 0 || bombs > pictures || previews < 0 ||
        previews > large) {
        std::fprintf(stderr, "usage: grid-bench [PICTURES] [LARGE] [BOMBS] [PREVIEWS]\n");
        return 2;
    }
    const BenchHome home(QStringLiteral("grid"));
    if (!home.isValid())
        return 1;
    QApplication application(argc, argv);
    if (!unlockVault(QStringLiteral("grid passcode 1")))
        return 1;
    return run(pictures, large, bombs, previews);
}
