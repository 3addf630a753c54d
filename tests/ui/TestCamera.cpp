#include "ConnectedCollection.h"
#include "EventLoopMarkers.h"
#include "PresenterWindow.h"
#include "TestFiles.h"
#include "TestSession.h"
#include "WidgetTestMain.h"
#include "core/AppPaths.h"
#include "media/CameraDevice.h"
#include "security/FileEncryptor.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "storage/StoragePool.h"
#include "ui/camera/CameraWrapper.h"
#include "ui/camera/NewCameraView.h"
#include "ui/common/Presenter.h"
#include "ui/folder/OKAlert.h"

#include <QDir>
#include <QLabel>
#include <QRegularExpression>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;

// Qt Multimedia keeps its PulseAudio connection until the process ends.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libpulse.so\n";
}

namespace {
const QString passcode = u"passcode1"_s;

// Stands for a camera: starts (or fails to) and takes its still from the event loop, as a real
// one reports.
class FakeCamera : public CameraDevice
{
public:
    explicit FakeCamera(QString failure) : m_failure(std::move(failure))
    {
        QTimer::singleShot(0, &m_context, [this] {
            m_failure.isEmpty() ? started() : failed(m_failure);
            if (m_failure.isEmpty() && readyChanged)
                readyChanged(true);
        });
    }
    ~FakeCamera() override
    {
        if (m_view && !m_view->parent())
            delete m_view.data();
    }
    QWidget *viewfinder() override { return m_view; }
    QString name() const override { return u"Test Camera"_s; }
    bool isReadyForCapture() const override { return m_failure.isEmpty(); }
    void capture() override
    {
        QTimer::singleShot(0, &m_context, [this] {
            QImage still(640, 480, QImage::Format_RGB32);
            still.fill(QColor(30, 140, 90));
            captured(still);
        });
    }

private:
    QString m_failure;
    QPointer<QLabel> m_view = new QLabel(u"live"_s);
    QObject m_context;
};

} // namespace

class TestCamera : public QObject
{
    Q_OBJECT
    std::unique_ptr<PresenterWindow> m_window;
    std::unique_ptr<ItemCollection> m_collection;

    NewCameraView *cameraScreen() const
    {
        const QList<Screen *> shown = m_window->presenter()->presented();
        return shown.isEmpty() ? nullptr : qobject_cast<NewCameraView *>(shown.last());
    }

    OKAlert *alert() const { return m_window->findChild<OKAlert *>(u"captureErrorAlert"_s); }

private Q_SLOTS:
    void initTestCase()
    {
        KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
        QVERIFY(KeyChainHelper::shared().saveKey(passcode));
        QVERIFY(unlockVaultForTest(passcode));
    }
    void init()
    {
        const QString folder = u"Camera "_s + QString::fromLatin1(QTest::currentDataTag());
        QVERIFY(connected(FileItemType::all)->operations().createFolder(folder, std::nullopt));
        m_collection = connected(FileItemType::file, folder);
        m_collection->loadFirstTime();
        m_window = std::make_unique<PresenterWindow>();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        CameraWrapper::openCamera = [](QString *) { return std::make_unique<FakeCamera>(QString()); };
    }
    void cleanup()
    {
        CameraWrapper::openCamera = nullptr;
        m_window.reset();
        m_collection.reset();
    }

    void stillIsStoredEncrypted_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("stored");
        QTest::newRow("shutter") << 0 << 1;
        QTest::newRow("space") << int(Qt::Key_Space) << 1;
        QTest::newRow("escape") << int(Qt::Key_Escape) << 0;
    }
    void stillIsStoredEncrypted()
    {
        QFETCH(int, key);
        QFETCH(int, stored);
        NewCameraView::present(m_window->presenter(), m_collection.get(), m_window.get());
        QTRY_VERIFY(cameraScreen());
        QTRY_VERIFY(cameraScreen()->shutterButton()->isEnabled());
        if (key == 0)
            QTest::mouseClick(cameraScreen()->shutterButton(), Qt::LeftButton);
        else
            QTest::keyClick(cameraScreen(), Qt::Key(key));
        QTRY_VERIFY(!cameraScreen());
        if (stored == 0) {
            // A picture would be stored on the pool and listed by the next reload.
            QVERIFY(StoragePool::shared()->waitForDone(10000));
            QVERIFY(postedEventsRan());
            QSignalSpy listed(m_collection.get(), &ItemCollection::timestampChanged);
            m_collection->reload();
            QVERIFY(listed.wait(5000));
        }
        QTRY_COMPARE(m_collection->items().size(), stored);
        if (!stored)
            return;
        const StoredItemPtr item = m_collection->items().constFirst();
        QVERIFY2(QRegularExpression(u"^[0-9A-Za-z]{32}\\.JPG$"_s).match(item->fullName()).hasMatch(),
                 qPrintable(item->fullName()));
        QFile file(item->url().toLocalFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray onDisk = file.readAll();
        QVERIFY(!onDisk.startsWith("\xFF\xD8"));
        const QImage picture =
            QImage::fromData(FileEncryptor::decrypt(onDisk, passcode).value_or(""), "JPEG");
        QCOMPARE(picture.size(), QSize(640, 480));
        QCOMPARE(filesUnder(AppPaths::temporaryDirectory()), QStringList());
    }

    void captureErrorWithoutCamera_data()
    {
        QTest::addColumn<bool>("realModule");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("reason");
        QTest::newRow("none found") << false << QString() << u"No camera was found."_s;
        QTest::newRow("does not open")
            << false << u"Device or resource busy"_s << u"Device or resource busy"_s;
        QTest::newRow("media module") << true << QString() << u"No camera was found."_s;
    }
    void captureErrorWithoutCamera()
    {
        QFETCH(bool, realModule);
        QFETCH(QString, failure);
        QFETCH(QString, reason);
        if (realModule && !QDir(u"/dev"_s).entryList({u"video*"_s}, QDir::System).isEmpty())
            QSKIP("this machine has a camera");
        if (realModule)
            CameraWrapper::openCamera = nullptr;
        else if (failure.isEmpty())
            CameraWrapper::openCamera = [reason](QString *whyNot) {
                *whyNot = reason;
                return std::unique_ptr<CameraDevice>();
            };
        else
            CameraWrapper::openCamera = [failure](QString *) {
                return std::make_unique<FakeCamera>(failure);
            };
        NewCameraView::present(m_window->presenter(), m_collection.get(), m_window.get());
        // Asked twice while the first answer is pending: still one alert.
        NewCameraView::present(m_window->presenter(), m_collection.get(), m_window.get());
        QTRY_VERIFY(alert());
        QCOMPARE(m_window->findChildren<OKAlert *>().size(), 1);
        QCOMPARE(alert()->informativeText(), reason);
        QVERIFY(!cameraScreen());
        alert()->okButton()->click();
        QTRY_VERIFY(!alert());
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestCamera)
#include "TestCamera.moc"
