// paging-bench [PICTURES]   fills a folder with PICTURES (300) pictures of 12 megapixels, opens the
//                           first in the photo pager from the folder screen and pages to the last
//                           with the Right arrow key, a page once the last one has settled. Prints
//                           the time until each page is sharp after its key press (median, worst),
//                           the main thread's longest stall while paging (how late a 10 ms timer
//                           fired at worst; opening the folder and the pager is shown apart)
//                           and the peak resident memory; exits 1 past the targets (50 ms, 1.5 GiB)
//                           or when a picture could not be shown. Needs a display (run through
//                           paging.sh under Xvfb).
// Everything happens in a private temporary home with the passcode in memory.
#include "BenchHome.h"
#include "BenchProcess.h"
#include "security/KeyChainHelper.h"
#include "storage/DriveManager.h"
#include "storage/FolderOperations.h"
#include "storage/ItemCollection.h"
#include "storage/ItemListModel.h"
#include "ui/common/NavigationStack.h"
#include "ui/common/Presenter.h"
#include "ui/folder/FolderView.h"
#include "ui/viewer/PhotoPageLoader.h"
#include "ui/viewer/PhotoPager.h"
#include "ui/viewer/ScrollingPhotoView.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

using namespace BenchProcess;

const QString folderName = QStringLiteral("Paging");
constexpr qint64 stallTargetMs = 50;
constexpr qint64 memoryTargetKiB = qint64(1536) * 1024;
// Pictures made once and stored again and again: each file is decoded on its own all the same.
constexpr int distinctPictures = 12;

// A camera-like picture: a gradient with grain, so that JPEG cannot shrink it to nothing.
bool fill(int pictures)
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
    QList<QByteArray> made;
    for (int i = 0; i < std::min(pictures, distinctPictures); ++i)
        made.append(picture(4000, 3000, i));
    for (int i = 0; i < pictures; ++i) {
        if (!operations.addImageData(made.at(i % made.size())))
            return false;
    }
    return true;
}

qint64 median(QList<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

int run(int pictures)
{
    QElapsedTimer clock;
    clock.start();
    if (!fill(pictures)) {
        std::fprintf(stderr, "paging-bench: cannot fill the folder\n");
        return 1;
    }
    std::printf("folder of %d pictures of 12 MP stored in %.1f s\n", pictures,
                double(clock.elapsed()) / 1000.0);

    QWidget window;
    window.resize(1280, 800);
    auto *layers = new QStackedWidget(&window);
    auto *navigation = new NavigationStack;
    layers->addWidget(navigation);
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(layers);
    Presenter presenter(layers, navigation, &window);
    auto collection =
        std::make_shared<ItemCollection>(StorageLocation::local, FileItemType::file, folderName);
    auto *folder = new FolderView(collection, KeyChainHelper::shared().session(), &presenter);
    navigation->setRoot(folder);
    window.show();

    // The stall meter: how late a 10 ms timer fires.
    qint64 worstLateMs = 0;
    QElapsedTimer tick;
    QTimer meter;
    meter.setTimerType(Qt::PreciseTimer);
    QObject::connect(&meter, &QTimer::timeout,
                     [&] { worstLateMs = std::max(worstLateMs, tick.restart() - 10); });
    tick.start();
    meter.start(10);

    if (!processUntil(
            [folder, pictures] { return folder->model() && folder->model()->rowCount() == pictures; },
            60000)) {
        std::fprintf(stderr, "paging-bench: the folder was not listed\n");
        return 1;
    }
    processFor(500); // the first screenful of tiles, as a person would wait for it
    folder->tap(folder->model()->index(0, 0));
    auto *viewer = qobject_cast<ScrollingPhotoView *>(presenter.presented().value(0));
    if (!viewer) {
        std::fprintf(stderr, "paging-bench: the pager did not open\n");
        return 1;
    }
    PhotoPager *pager = viewer->pager();
    PhotoPageLoader *loader = viewer->loader();

    // When each page turned sharp, from its signal rather than from polling.
    int waitingFor = 0;
    QElapsedTimer sinceKey;
    qint64 sharpAfter = -1;
    QObject::connect(loader, &PhotoPageLoader::pageChanged, [&](int index) {
        if (index == waitingFor && sharpAfter < 0 && loader->isSharp(index))
            sharpAfter = sinceKey.elapsed();
    });
    sinceKey.start();
    processUntil([&] { return loader->isSharp(0); }, 60000);
    const qint64 firstPage = sinceKey.elapsed();

    // Opening shows the window and lists the folder; paging is what is measured from here.
    const qint64 openingLateMs = worstLateMs;
    worstLateMs = 0;
    QList<qint64> latencies;
    int sharpAtPress = 0;
    int failed = loader->isFailed(0) ? 1 : 0;
    clock.restart();
    for (int page = 1; page < viewer->storedItems().size(); ++page) {
        waitingFor = page;
        sharpAfter = -1;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
        sinceKey.restart();
        QApplication::sendEvent(pager, &press);
        QApplication::sendEvent(pager, &release);
        if (loader->isSharp(page)) {
            ++sharpAtPress;
            sharpAfter = 0;
        }
        if (!processUntil([&] { return sharpAfter >= 0; }, 60000)) {
            std::fprintf(stderr, "paging-bench: page %d never turned sharp\n", page);
            return 1;
        }
        latencies.append(sharpAfter);
        failed += loader->isFailed(page) ? 1 : 0;
        processUntil([pager] { return !pager->isMoving(); }, 10000);
    }
    meter.stop();

    const qint64 peakKiB = statusKiB("VmHWM:");
    std::printf("first page sharp after opening %6lld ms\n", static_cast<long long>(firstPage));
    std::printf("paged %lld pages in           %6.1f s\n", static_cast<long long>(latencies.size()),
                double(clock.elapsed()) / 1000.0);
    std::printf("sharp at the key press        %6d of %lld\n", sharpAtPress,
                static_cast<long long>(latencies.size()));
    std::printf("sharp after the key, median   %6lld ms\n", static_cast<long long>(median(latencies)));
    std::printf("sharp after the key, worst    %6lld ms\n",
                static_cast<long long>(
                    latencies.isEmpty() ? 0 : *std::max_element(latencies.begin(), latencies.end())));
    std::printf("pictures not shown            %6d\n", failed);
    std::printf("longest stall while opening   %6lld ms\n", static_cast<long long>(openingLateMs));
    std::printf("longest stall while paging    %6lld ms   (target < %lld)\n",
                static_cast<long long>(worstLateMs), static_cast<long long>(stallTargetMs));
    std::printf("peak resident memory          %6.0f MiB  (target < %lld)\n", double(peakKiB) / 1024.0,
                static_cast<long long>(memoryTargetKiB / 1024));
    return worstLateMs < stallTargetMs && peakKiB < memoryTargetKiB && failed == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    const int pictures = argc > 1 ? std::atoi(argv[1]) : 300;
    if (pictures <= 0) {
        std::fprintf(stderr, "usage: paging-bench [PICTURES]\n");
        return 2;
    }
    const BenchHome home(QStringLiteral("paging"));
    if (!home.isValid())
        return 1;
    QApplication application(argc, argv);
    if (!unlockVault(QStringLiteral("paging passcode 1")))
        return 1;
    return run(pictures);
}
