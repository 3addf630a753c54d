#include "WidgetTestMain.h"
#include "core/AppPaths.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "storage/ItemCollection.h"
#include "storage/ItemListModel.h"
#include "ui/folder/FolderView.h"
#include "ui/storage/StorageLocationRow.h"
#include "ui/storage/StorageLocationSelectionView.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

Q_DECLARE_METATYPE(StorageLocation)

namespace {

void removeContainer()
{
    const QFileInfo info(AppPaths::cloudContainer());
    if (info.isSymLink() || info.isFile())
        QFile::remove(info.filePath());
    else if (info.isDir())
        QDir(info.filePath()).removeRecursively();
}

// What treeRequested reports when the row of location opens.
QList<QVariantList> opened(StorageLocation location, const char *title)
{
    return {{QVariant::fromValue(location), QString::fromLatin1(title)}};
}

} // namespace

class TestStorageLocationSelectionView : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<StorageLocationSelectionView> m_view;

    StorageLocationRow *row(const char *name) const
    {
        return m_view->findChild<StorageLocationRow *>(QLatin1String(name));
    }
    QPushButton *chooseButton() const
    {
        return m_view->findChild<QPushButton *>(QStringLiteral("chooseSyncedFolderButton"));
    }
    void open()
    {
        m_view = std::make_unique<StorageLocationSelectionView>();
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }
    // The cloud row as shown, and whether a click on it opens the cloud tree.
    void expectCloud(bool available)
    {
        StorageLocationRow *cloud = row("cloudRow");
        // The container is looked at off the main thread; until then the row says nothing.
        const QString label = available ? QStringLiteral("Cloud") : QStringLiteral("Cloud (Disabled) ");
        QTRY_VERIFY(cloud->text() == label && cloud->isEnabled() == available);
        QCOMPARE(chooseButton()->isVisible(), !available);
        QSignalSpy requested(m_view.get(), &StorageLocationSelectionView::treeRequested);
        QTest::mouseClick(cloud, Qt::LeftButton);
        QCOMPARE(requested, available ? opened(StorageLocation::cloud, "Cloud") : QList<QVariantList>());
    }
    // Chooses folder in the synced-folder dialog as a user would.
    void pick(const QString &folder)
    {
        QTest::mouseClick(chooseButton(), Qt::LeftButton);
        QFileDialog *dialog = nullptr;
        QTRY_VERIFY((dialog = m_view->findChild<QFileDialog *>(QStringLiteral("syncedFolderDialog"))) &&
                    dialog->isVisible());
        // The desktop's own dialog where the platform has one; no desktop portal on the test's bus.
        QVERIFY(!dialog->testOption(QFileDialog::DontUseNativeDialog));
        dialog->selectFile(folder);
        QVERIFY(QMetaObject::invokeMethod(dialog, "accept"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<StorageLocation>();
        KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
    }
    void init()
    {
        removeContainer();
        QVERIFY(QDir().mkpath(AppPaths::documentsDirectory() + QStringLiteral("/Holidays")));
    }
    void cleanup() { m_view.reset(); }

    void cloudRowFollowsTheContainer()
    {
        open();
        QVERIFY(m_view->dismissesOnBackground() && m_view->dismissesOnLock());
        expectCloud(false);
        // A sync client may make or remove the container while the screen is away.
        QVERIFY(QDir().mkpath(AppPaths::cloudContainer()));
        m_view->hide();
        m_view->show();
        expectCloud(true);
        removeContainer();
        QVERIFY(QFile(AppPaths::cloudContainer()).open(QIODevice::WriteOnly)); // a file is no cloud tree
        m_view->hide();
        m_view->show();
        expectCloud(false);
    }

    void theLocalRowOpensByClickAndKeyboard_data()
    {
        QTest::addColumn<int>("key"); // 0: a mouse click
        QTest::newRow("click") << 0;
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }
    void theLocalRowOpensByClickAndKeyboard()
    {
        QFETCH(int, key);
        open();
        QSignalSpy requested(m_view.get(), &StorageLocationSelectionView::treeRequested);
        StorageLocationRow *local = row("localRow");
        if (key == 0) {
            QTest::mouseClick(local, Qt::LeftButton);
        } else {
            local->setFocus();
            QTest::keyClick(local, Qt::Key(key));
        }
        QCOMPARE(requested, opened(StorageLocation::local, "On Device"));
    }

    void choosingASyncedFolder_data()
    {
        QTest::addColumn<bool>("inside");        // a folder of the on-device tree
        QTest::addColumn<bool>("fileContainer"); // something already at the container's place
        QTest::newRow("outside the tree") << false << false;
        QTest::newRow("inside the tree") << true << false;
        QTest::newRow("over an existing container") << false << true;
    }
    void choosingASyncedFolder()
    {
        QFETCH(bool, inside);
        QFETCH(bool, fileContainer);
        QTemporaryDir synced;
        if (fileContainer)
            QVERIFY(QFile(AppPaths::cloudContainer()).open(QIODevice::WriteOnly));
        open();
        pick(inside ? AppPaths::documentsDirectory() + QStringLiteral("/Holidays") : synced.path());
        if (!inside && !fileContainer) {
            expectCloud(true);
            QCOMPARE(QFile::symLinkTarget(AppPaths::cloudContainer()),
                     QFileInfo(synced.path()).canonicalFilePath());
            QVERIFY(!m_view->findChild<QMessageBox *>());
            return;
        }
        QMessageBox *alert = nullptr;
        QTRY_VERIFY((alert = m_view->findChild<QMessageBox *>(QStringLiteral("linkFailureAlert"))) &&
                    alert->isVisible());
        QVERIFY(!alert->text().isEmpty());
        QVERIFY(!QFileInfo(AppPaths::cloudContainer()).isSymLink());
        QCOMPARE(QFileInfo(AppPaths::cloudContainer()).isFile(), fileContainer);
        expectCloud(false);
        QVERIFY(chooseButton()->isEnabled());
    }

    void aTreeRootListsItsFolders()
    {
        QVERIFY(QDir().mkpath(AppPaths::documentsDirectory() + QStringLiteral("/Receipts")));
        FolderView listing(
            std::make_shared<ItemCollection>(StorageLocation::local, FileItemType::all, QString()),
            VaultSession::open(QStringLiteral("passcode1")), nullptr);
        QVERIFY(listing.dismissesOnBackground() && listing.dismissesOnLock());
        listing.show();
        QTRY_VERIFY(listing.model() && listing.model()->rowCount() == 2);
        QCOMPARE(listing.model()->index(0, 0).data().toString(), QStringLiteral("Holidays"));
        QCOMPARE(listing.model()->index(1, 0).data().toString(), QStringLiteral("Receipts"));
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestStorageLocationSelectionView)
#include "TestStorageLocationSelectionView.moc"
