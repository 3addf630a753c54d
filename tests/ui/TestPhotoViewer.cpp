#include "ConnectedCollection.h"
#include "LogCapture.h"
#include "PresenterWindow.h"
#include "TestFiles.h"
#include "TestSession.h"
#include "WidgetTestMain.h"
#include "core/AppPaths.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "storage/DecodedImageCache.h"
#include "storage/FileNaming.h"
#include "storage/ItemCollection.h"
#include "storage/ItemCollectionCache.h"
#include "storage/ItemListModel.h"
#include "ui/common/NavigationStack.h"
#include "ui/common/Presenter.h"
#include "ui/folder/FolderView.h"
#include "ui/viewer/PanZoom.h"
#include "ui/viewer/PanZoomState.h"
#include "ui/viewer/PhotoPageLoader.h"
#include "ui/viewer/PhotoPager.h"
#include "ui/viewer/ScrollingPhotoView.h"
#include "ui/viewer/SwipeToDismiss.h"
#include "ui/viewer/SwipeToDismissState.h"

#include <QBuffer>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QString passcode = u"passcode1"_s;
const QSizeF view(800, 600);

// A folder of the on-device tree with pictures, a PDF and a document; its path.
QString makeFolder(int pictures)
{
    if (!connected(FileItemType::all)->operations().createFolder(u"Mixed"_s, std::nullopt))
        return {};
    const QString path = FileNaming::adjustedFolderName(u"Mixed"_s);
    const auto folder = connected(FileItemType::file, path);
    FolderOperations operations = folder->operations();
    for (int i = 0; i < pictures; ++i)
        if (!operations.addImageData(pngPicture(i, {320, 240})))
            return {};
    QTemporaryDir sources;
    for (const QString &name : {u"Letter.pdf"_s, u"Notes.txt"_s}) {
        QFile file(sources.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write("not a picture") < 0)
            return {};
        file.close();
        if (!operations.addToCollectionAndDelete(file.fileName(), false, false))
            return {};
    }
    return path;
}

QList<StoredItemPtr> itemsOf(const QString &path)
{
    return connected(FileItemType::file, path)->loadListing().items;
}

void sendMouse(QWidget *widget, QEvent::Type type, QPointF at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void drag(QWidget *widget, QPointF from, QPointF to)
{
    sendMouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton);
    for (int step = 1; step <= 8; ++step)
        sendMouse(widget, QEvent::MouseMove, from + (to - from) * step / 8, Qt::LeftButton);
    sendMouse(widget, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

} // namespace

class TestPhotoViewer : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PresenterWindow> m_window;
    Presenter *m_presenter = nullptr;

    ScrollingPhotoView *openViewer(const QList<StoredItemPtr> &items, const QString &selectedId)
    {
        auto *viewer = new ScrollingPhotoView(items, selectedId, testSession());
        m_presenter->cover(viewer);
        return viewer;
    }

private Q_SLOTS:
    void initTestCase()
    {
        KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
        QVERIFY(KeyChainHelper::shared().saveKey(passcode));
    }
    void init()
    {
        unlockVaultForTest(passcode);
        QDir(AppPaths::documentsDirectory()).removeRecursively();
        QVERIFY(QDir().mkpath(AppPaths::documentsDirectory()));
        ItemCollectionCache::shared().clear();
        DecodedImageCache::thumbnails().removeAllObjects();
        m_window = std::make_unique<PresenterWindow>(QSize(640, 720));
        m_window->navigation()->setRoot(new Screen);
        m_presenter = m_window->presenter();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup()
    {
        m_window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // screens go with deleteLater
    }

    void theFolderScreenPagesOnlyThroughPictures()
    {
        const QString path = makeFolder(3);
        QVERIFY(!path.isEmpty());
        auto *folder =
            new FolderView(std::make_shared<ItemCollection>(StorageLocation::local, FileItemType::file, path),
                           testSession(), m_presenter);
        m_presenter->push(folder);
        QTRY_COMPARE(folder->model() ? folder->model()->rowCount() : 0, 5);
        QStringList pictureIds;
        for (const StoredItemPtr &item : folder->collection()->items())
            if (item->fileType() == StoredItem::StoredFileType::image)
                pictureIds.append(item->id());
        QCOMPARE(pictureIds.size(), 3);

        folder->tap(folder->model()
                        ->match(folder->model()->index(0, 0), ItemListModel::IdRole, pictureIds.at(1))
                        .value(0));
        auto *viewer = qobject_cast<ScrollingPhotoView *>(m_presenter->presented().value(1));
        QVERIFY(viewer);
        QTRY_VERIFY(viewer->pager()->hasFocus());
        QCOMPARE(viewer->scrolledToID(), pictureIds.at(1));
        QStringList visited{viewer->scrolledToID()};
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(viewer->pager(), Qt::Key_Right);
            QTRY_VERIFY(!viewer->pager()->isMoving());
            visited.append(viewer->scrolledToID());
        }
        QCOMPARE(visited,
                 (QStringList{pictureIds.at(1), pictureIds.at(2), pictureIds.at(2), pictureIds.at(2)}));

        QSignalSpy shared(viewer, &ScrollingPhotoView::shareRequested);
        QTest::mouseClick(viewer->findChild<QToolButton *>(u"shareButton"_s), Qt::LeftButton);
        QCOMPARE(shared.size(), 1);
        const auto items = shared.at(0).at(0).value<QList<StoredItemPtr>>();
        QCOMPARE(items.size(), 1);
        QCOMPARE(items.first()->id(), pictureIds.at(2));
    }

    void arrowKeysStepAndStopAtTheEnds_data()
    {
        QTest::addColumn<int>("start"); // -1: an item that is not in the folder
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("expected");
        QTest::newRow("right from the first") << 0 << u"R"_s << 1;
        QTest::newRow("left at the first") << 0 << u"L"_s << 0;
        QTest::newRow("right at the last") << 3 << u"R"_s << 3;
        QTest::newRow("left twice from the last") << 3 << u"LL"_s << 1;
        QTest::newRow("three rights in a row") << 0 << u"RRR"_s << 3;
        QTest::newRow("unknown item starts at the first") << -1 << u"R"_s << 1;
    }
    void arrowKeysStepAndStopAtTheEnds()
    {
        QFETCH(int, start);
        QFETCH(QString, keys);
        QFETCH(int, expected);
        const QString path = makeFolder(4);
        QVERIFY(!path.isEmpty());
        QList<StoredItemPtr> pictures;
        for (const StoredItemPtr &item : itemsOf(path))
            if (item->fileType() == StoredItem::StoredFileType::image)
                pictures.append(item);
        LogCapture log;
        ScrollingPhotoView *viewer =
            openViewer(itemsOf(path), start < 0 ? u"file:///nowhere.png"_s : pictures.at(start)->id());
        QTRY_VERIFY(viewer->pager()->hasFocus());
        QCOMPARE(log.contains(u"ScrollingPhotoView:tryLaunchPreview() Can't find item to preview"_s),
                 start < 0);

        for (const QChar key : keys)
            QTest::keyClick(viewer->pager(), key == u'R' ? Qt::Key_Right : Qt::Key_Left);
        QCOMPARE(viewer->pager()->targetIndex(), expected);
        QTRY_COMPARE(viewer->pager()->position(), qreal(expected));
        QCOMPARE(viewer->scrolledToID(), pictures.at(expected)->id());
        PhotoPageLoader *loader = viewer->loader();
        QTRY_VERIFY(loader->isSharp(expected));
        QVERIFY(!loader->isFailed(expected));
        // Fitted to the page, which is wider than it is tall: the width is the limit.
        QCOMPARE(loader->picture(expected).width(), viewer->pager()->width());
        for (const int held : loader->heldPages())
            QVERIFY2(qAbs(held - expected) <= PhotoPageLoader::reach, qPrintable(QString::number(held)));
    }

    void zoomClamps_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<QPointF>("translation");
        QTest::addColumn<QList<double>>("pinches");
        QTest::addColumn<double>("expectedScale");
        QTest::addColumn<QPointF>("expectedOffset");
        QTest::newRow("no drag at the container size")
            << 1.0 << QPointF(120, -80) << QList<double>{} << 1.0 << QPointF();
        QTest::newRow("no drag below it") << 0.8 << QPointF(120, -80) << QList<double>{} << 0.8 << QPointF();
        QTest::newRow("within the limits at 3")
            << 3.0 << QPointF(300, 200) << QList<double>{} << 3.0 << QPointF(300, 200);
        QTest::newRow("clamped at 3")
            << 3.0 << QPointF(1000, -1000) << QList<double>{} << 3.0 << QPointF(800, -600);
        QTest::newRow("pinching in stops at half size")
            << 1.0 << QPointF() << QList<double>{0.5, 0.2} << 0.5 << QPointF();
        QTest::newRow("pinching out has no upper bound")
            << 2.0 << QPointF() << QList<double>{2.0, 4.0, 8.0} << 16.0 << QPointF();
        QTest::newRow("a pinch under the minimum delta does nothing")
            << 1.0 << QPointF() << QList<double>{1.005} << 1.0 << QPointF();
        QTest::newRow("zooming out pulls the offset in")
            << 3.0 << QPointF(1000, -1000) << QList<double>{0.5} << 1.5 << QPointF(200, -150);
    }
    void zoomClamps()
    {
        QFETCH(double, scale);
        QFETCH(QPointF, translation);
        QFETCH(QList<double>, pinches);
        QFETCH(double, expectedScale);
        QFETCH(QPointF, expectedOffset);
        PanZoomState state(scale);
        state.setGeometry(view, view);
        state.drag(translation);
        state.endDrag();
        for (const double value : pinches)
            state.pinch(value);
        state.endPinch();
        QCOMPARE(state.scale(), expectedScale);
        QCOMPARE(state.offset(), expectedOffset);
        QCOMPARE(state.initialOffset(), expectedOffset);
    }

    void swipeDecidesOnRelease_data()
    {
        QTest::addColumn<SwipeToDismissState::Direction>("direction");
        QTest::addColumn<QPointF>("translation");
        QTest::addColumn<double>("opacity");
        QTest::addColumn<bool>("swiped");
        const auto up = SwipeToDismissState::Direction::up;
        const auto left = SwipeToDismissState::Direction::left;
        QTest::newRow("up, short") << up << QPointF(0, -150) << 1.0 << false;
        QTest::newRow("up, at a third") << up << QPointF(0, -200) << 1.0 << false;
        QTest::newRow("up, past a third") << up << QPointF(0, -260) << -0.6 << true;
        QTest::newRow("down") << up << QPointF(0, 400) << 1.0 << false;
        QTest::newRow("left, short") << left << QPointF(-50, 0) << 0.5 << false;
        QTest::newRow("left, far") << left << QPointF(-150, 0) << 0.0 << true;
    }
    void swipeDecidesOnRelease()
    {
        QFETCH(SwipeToDismissState::Direction, direction);
        QFETCH(QPointF, translation);
        QFETCH(double, opacity);
        QFETCH(bool, swiped);
        SwipeToDismissState state(direction);
        state.setContainerHeight(view.height());
        state.drag(translation);
        QCOMPARE(state.opacityAmount(), opacity);
        QCOMPARE(state.release(), swiped);
        QCOMPARE(state.opacityAmount(), 1.0);
        QCOMPARE(state.verticalDragAmount(), 0.0);
        QCOMPARE(state.horizontalDragAmount(), 0.0);
    }

    void theZoomedPictureReturnsToThePager_data()
    {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<bool>("zoomed");
        QTest::newRow("double click") << u"double click"_s << false;
        QTest::newRow("short pull past the edge springs back") << u"pull 0.25"_s << true;
        QTest::newRow("long pull past the edge returns") << u"pull 0.45"_s << false;
    }
    void theZoomedPictureReturnsToThePager()
    {
        QFETCH(QString, gesture);
        QFETCH(bool, zoomed);
        const QString path = makeFolder(2);
        QVERIFY(!path.isEmpty());
        ScrollingPhotoView *viewer = openViewer(itemsOf(path), {});
        QTRY_VERIFY(viewer->pager()->hasFocus());
        QCOMPARE(viewer->hint(), u"Double tap to zoom"_s);
        QTest::mouseDClick(viewer->pager(), Qt::LeftButton, {}, viewer->pager()->rect().center());
        QVERIFY(viewer->isZoomable());
        PanZoom *zoom = viewer->panZoom();
        QTRY_VERIFY(zoom->isVisible());
        QCOMPARE(zoom->state().scale(), 2.0);
        QCOMPARE(viewer->hint(), u"Pan and zoom, double tap to reset"_s);

        const double height = zoom->height();
        if (gesture == u"double click"_s) {
            QTest::mouseDClick(zoom, Qt::LeftButton, {}, zoom->rect().center());
        } else {
            // The first drag takes the picture to its lower edge; the second pulls past it.
            drag(zoom, QPointF(100, height - 5), QPointF(100, height * 0.4 - 5));
            QVERIFY(viewer->isZoomable());
            QCOMPARE(zoom->state().offset().y(), -zoom->state().limits().y());
            const double pull = gesture.section(u' ', 1).toDouble() * height;
            drag(zoom, QPointF(100, height - 5), QPointF(100, height - 5 - pull));
        }
        QCOMPARE(viewer->isZoomable(), zoomed);
        QCOMPARE(viewer->hint(), zoomed ? u"Pan and zoom, double tap to reset"_s : u"Double tap to zoom"_s);
        QCOMPARE(viewer->pager()->isVisible(), !zoomed);
        if (zoomed) {
            QTRY_COMPARE(zoom->opacity(), 1.0);
            QTRY_COMPARE(zoom->transform().dy(), height / 2 * (1 - 2.0) + zoom->state().offset().y());
        }
    }

    void thePagerClosesWithTheVault_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::newRow("vault locked") << true;
        QTest::newRow("application in the background") << false;
    }
    void thePagerClosesWithTheVault()
    {
        QFETCH(bool, locked);
        const QString path = makeFolder(1);
        QVERIFY(!path.isEmpty());
        ScrollingPhotoView *viewer = openViewer(itemsOf(path), {});
        QTRY_VERIFY(viewer->isVisible());
        if (locked) {
            KeyChainHelper::shared().lock();
            QVERIFY(viewer->loader()->heldPages().isEmpty());
            m_presenter->vaultLocked();
        } else {
            m_presenter->applicationWentToBackground();
        }
        QTRY_VERIFY(!m_presenter->presented().contains(viewer));
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestPhotoViewer)
#include "TestPhotoViewer.moc"
