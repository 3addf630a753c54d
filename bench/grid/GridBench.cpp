// grid-bench [PICTURES] [LARGE]   fills a folder with PICTURES (2000) pictures, LARGE (100) of them of
//                                 12 megapixels, opens it in the folder screen, waits for the first
//                                 screenful of tiles, then scrolls a screenful at a time to the
//                                 bottom and back. Prints the time to the first screenful, the main
//                                 thread's longest stall (how late a 10 ms timer fired at worst)
//                                 and the peak resident memory; exits 1 past the targets (50 ms,
//                                 1 GiB). Needs a display (run through grid.sh under Xvfb).
// Everything happens in a private temporary home with the passcode in memory.
#include "BenchHome.h"
#include "BenchProcess.h"
#include "DriveManager.h"
#include "FolderGrid.h"
#include "FolderOperations.h"
#include "FolderView.h"
#include "ItemCollection.h"
#include "ItemListModel.h"
#include "KeyChainHelper.h"
#include "NavigationStack.h"
#include "Presenter.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

using namespace BenchProcess;

const QString folderName = QStringLiteral("Grid");
constexpr qint64 stallTargetMs = 50;
constexpr qint64 memoryTargetKiB = 1024 * 1024;

// A camera-like picture: a gradient with grain, so that JPEG cannot shrink it to nothing.
bool fill(int pictures, int large)
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
    const QByteArray largePicture = picture(4000, 3000, 7);
    for (int i = 0; i < pictures; ++i) {
        // The large ones spread through the folder, as a phone's photos would be.
        const bool isLarge = large > 0 && i % (pictures / large) == 0;
        if (!operations.addImageData(isLarge ? largePicture : picture(480, 360, i)))
            return false;
    }
    return true;
}

// Every tile in view has its picture (or is known not to have one).
bool screenfulReady(const FolderGrid *grid)
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
        if (grid->tile(url).isNull() && !grid->tileFailed(url))
            return false;
    }
    return true;
}

int run(int pictures, int large)
{
    QElapsedTimer clock;
    clock.start();
    if (!fill(pictures, large)) {
        std::fprintf(stderr, "grid-bench: cannot fill the folder\n");
        return 1;
    }
    std::printf("folder of %d pictures (%d of 12 MP) stored in %.1f s\n", pictures, large,
                double(clock.elapsed()) / 1000.0);

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
    meter.stop();

    const qint64 peakKiB = statusKiB("VmHWM:");
    std::printf("first screenful of tiles      %6lld ms\n", static_cast<long long>(firstScreenful));
    std::printf("scrolled down and back in     %6lld ms\n",
                static_cast<long long>(clock.elapsed() - firstScreenful));
    std::printf("longest main-thread stall     %6lld ms   (target < %lld)\n",
                static_cast<long long>(worstLateMs), static_cast<long long>(stallTargetMs));
    std::printf("peak resident memory          %6.0f MiB  (target < %lld)\n", double(peakKiB) / 1024.0,
                static_cast<long long>(memoryTargetKiB / 1024));
    return worstLateMs < stallTargetMs && peakKiB < memoryTargetKiB ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    const int pictures = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int large = argc > 2 ? std::atoi(argv[2]) : 100;
    if (pictures <= 0 || large < 0 || large > pictures) {
        std::fprintf(stderr, "usage: grid-bench [PICTURES] [LARGE]\n");
        return 2;
    }
    const BenchHome home(QStringLiteral("grid"));
    if (!home.isValid())
        return 1;
    QApplication application(argc, argv);
    if (!unlockVault(QStringLiteral("grid passcode 1")))
        return 1;
    return run(pictures, large);
}
