#include "AppPaths.h"
#include "InMemoryCredentialBackend.h"
#include "ItemListModel.h"
#include "KeyChainHelper.h"
#include "StorageLocationRow.h"
#include "StorageLocationSelectionView.h"
#include "StorageLocationState.h"
#include "TreeListingView.h"
#include "WidgetTestMain.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

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
    void reshow()
    {
        m_view->hide();
        m_view->show();
    }
    // Chooses folder in the synced-folder dialog as a user would.
    void pick(const QString &folder)
    {
        QTest::mouseClick(chooseButton(), Qt::LeftButton);
        QFileDialog *dialog = nullptr;
        QTRY_VERIFY((dialog = m_view->findChild<QFileDialog *>(QStringLiteral("syncedFolderDialog"))) &&
                    dialog->isVisible());
        QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
        QCOMPARE(dialog->fileMode(), QFileDialog::Directory);
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
        QVERIFY(QDir().mkpath(AppPaths::documentsDirectory()));
    }
    void cleanup() { m_view.reset(); }

    void showsTheScreen()
    {
        open();
        QCOMPARE(m_view->title(), QStringLiteral("Storage"));
        QVERIFY(m_view->dismissesOnBackground());
        QVERIFY(m_view->dismissesOnLock());
        QCOMPARE(row("localRow")->text(), QStringLiteral("On Device"));
        QCOMPARE(row("localRow")->caption(), QStringLiteral("Stored on this device only."));
        QCOMPARE(row("cloudRow")->caption(),
                 QStringLiteral("Files available to all devices that sync this folder"));
        auto *tipMessage = m_view->findChild<QLabel *>(QStringLiteral("storageTipMessage"));
        QVERIFY(tipMessage);
        QVERIFY(tipMessage->text().startsWith(QStringLiteral("Folders created on-device")));
        QVERIFY(!tipMessage->text().contains(QStringLiteral("iCloud")));
    }

    void cloudRowFollowsTheContainer()
    {
        open();
        QCOMPARE(row("cloudRow")->text(), QStringLiteral("Cloud (Disabled) "));
        QVERIFY(!row("cloudRow")->isEnabled());
        QVERIFY(chooseButton()->isVisible());

        QVERIFY(QDir().mkpath(AppPaths::cloudContainer()));
        reshow();
        QCOMPARE(row("cloudRow")->text(), QStringLiteral("Cloud"));
        QVERIFY(row("cloudRow")->isEnabled());
        QVERIFY(!chooseButton()->isVisible());

        // A container that is a file is no cloud tree.
        removeContainer();
        QFile file(AppPaths::cloudContainer());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        reshow();
        QCOMPARE(row("cloudRow")->text(), QStringLiteral("Cloud (Disabled) "));
        QVERIFY(!row("cloudRow")->isEnabled());
    }

    void rowsOpenByClickAndKeyboard_data()
    {
        QTest::addColumn<bool>("withContainer");
        QTest::addColumn<QString>("rowName");
        QTest::addColumn<int>("key"); // 0: a mouse click
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("title");
        QTest::newRow("local by click") << false << "localRow" << 0 << true << "On Device";
        QTest::newRow("local by Return") << false << "localRow" << int(Qt::Key_Return) << true << "On Device";
        QTest::newRow("local by Enter") << false << "localRow" << int(Qt::Key_Enter) << true << "On Device";
        QTest::newRow("local by Space") << false << "localRow" << int(Qt::Key_Space) << true << "On Device";
        QTest::newRow("cloud by click") << true << "cloudRow" << 0 << true << "Cloud";
        QTest::newRow("cloud by Return") << true << "cloudRow" << int(Qt::Key_Return) << true << "Cloud";
        QTest::newRow("disabled cloud by click") << false << "cloudRow" << 0 << false << "";
        QTest::newRow("disabled cloud by Return")
            << false << "cloudRow" << int(Qt::Key_Return) << false << "";
    }
    void rowsOpenByClickAndKeyboard()
    {
        QFETCH(bool, withContainer);
        QFETCH(QString, rowName);
        QFETCH(int, key);
        QFETCH(bool, opens);
        QFETCH(QString, title);
        if (withContainer)
            QVERIFY(QDir().mkpath(AppPaths::cloudContainer()));
        open();
        QSignalSpy requested(m_view.get(), &StorageLocationSelectionView::treeRequested);
        StorageLocationRow *target = row(qPrintable(rowName));
        if (key == 0) {
            QTest::mouseClick(target, Qt::LeftButton);
        } else {
            target->setFocus();
            QTest::keyClick(target, Qt::Key(key));
        }
        QCOMPARE(requested.count(), opens ? 1 : 0);
        if (opens) {
            const StorageLocation expected =
                rowName == QLatin1String("cloudRow") ? StorageLocation::cloud : StorageLocation::local;
            QCOMPARE(requested.first().at(0).value<StorageLocation>(), expected);
            QCOMPARE(requested.first().at(1).toString(), title);
        }
    }

    void choosingASyncedFolderEnablesTheCloud()
    {
        QTemporaryDir synced;
        open();
        pick(synced.path());
        QTRY_VERIFY(row("cloudRow")->isEnabled());
        QCOMPARE(row("cloudRow")->text(), QStringLiteral("Cloud"));
        QCOMPARE(QFile::symLinkTarget(AppPaths::cloudContainer()),
                 QFileInfo(synced.path()).canonicalFilePath());
        QVERIFY(!chooseButton()->isVisible());
        QVERIFY(!m_view->findChild<QMessageBox *>());
    }

    void aRefusedFolderIsExplained()
    {
        const QString inside = AppPaths::documentsDirectory() + QStringLiteral("/Holidays");
        QVERIFY(QDir().mkpath(inside));
        open();
        pick(inside);
        QMessageBox *alert = nullptr;
        QTRY_VERIFY((alert = m_view->findChild<QMessageBox *>(QStringLiteral("linkFailureAlert"))) &&
                    alert->isVisible());
        QVERIFY(!alert->text().isEmpty());
        QVERIFY(!QFileInfo(AppPaths::cloudContainer()).isSymLink());
        QVERIFY(!row("cloudRow")->isEnabled());
        QVERIFY(chooseButton()->isEnabled());
        alert->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(!m_view->findChild<QMessageBox *>(QStringLiteral("linkFailureAlert")));
    }

    void treeListingShowsTheRootFolders()
    {
        const QString documents = AppPaths::documentsDirectory();
        QVERIFY(QDir().mkpath(documents + QStringLiteral("/Receipts")));
        QVERIFY(QDir().mkpath(documents + QStringLiteral("/Holidays")));
        TreeListingView listing(StorageLocation::local, QStringLiteral("On Device"));
        QCOMPARE(listing.title(), QStringLiteral("On Device"));
        QVERIFY(listing.dismissesOnBackground());
        QVERIFY(listing.dismissesOnLock());
        QAbstractItemModel *model = listing.listView()->model();
        QCOMPARE(model->rowCount(), 0);
        listing.show();
        QTRY_COMPARE(model->rowCount(), 2);
        QStringList names;
        for (int i = 0; i < model->rowCount(); ++i)
            names << model->index(i, 0).data().toString();
        QCOMPARE(names, QStringList({QStringLiteral("Holidays"), QStringLiteral("Receipts")}));
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestStorageLocationSelectionView)
#include "TestStorageLocationSelectionView.moc"
