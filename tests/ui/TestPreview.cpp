#include "LogCapture.h"
#include "MediaModuleLeaks.h"
#include "PresenterWindow.h"
#include "TestFiles.h"
#include "TestSession.h"
#include "WidgetTestMain.h"
#include "core/AppPaths.h"
#include "security/FileEncryptor.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "storage/ShareFolder.h"
#include "storage/StoragePool.h"
#include "ui/common/Presenter.h"
#include "ui/common/UrlOpener.h"
#include "ui/media/MediaModule.h"
#include "ui/preview/DocumentPreviewState.h"
#include "ui/preview/DocumentPreviewer.h"
#include "ui/preview/PdfViewer.h"

#include <QBuffer>
#include <QDirIterator>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
const QString passcode = u"passcode1"_s;

QByteArray pdf()
{
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    QPdfWriter writer(&out);
    QPainter painter(&writer);
    painter.drawText(200, 200, u"Page one"_s);
    writer.newPage();
    painter.drawText(200, 200, u"Page two"_s);
    return painter.end() ? bytes : QByteArray();
}

} // namespace

class TestPreview : public QObject
{
    Q_OBJECT
    QTemporaryDir m_vault;
    std::unique_ptr<PresenterWindow> m_window;
    Presenter *m_presenter = nullptr;
    QList<QUrl> m_opened;

    // The vault file holds data as it is, already encrypted or not.
    StoredItemPtr storedItem(const QString &name, const QString &ext, const QByteArray &data)
    {
        QFile file(m_vault.filePath(u"scrambled "_s + name + ext));
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            return nullptr;
        return std::make_shared<StoredItem>(QUrl::fromLocalFile(file.fileName()), name, ext, true,
                                            StorageLocation::local, m_vault.path());
    }
    StoredItemPtr item(const QString &name, const QString &ext, const QByteArray &plain)
    {
        return storedItem(name, ext, FileEncryptor::encrypt(plain, passcode).value_or(QByteArray()));
    }
    DocumentPreviewer *preview(const StoredItemPtr &item)
    {
        auto *previewer = new DocumentPreviewer(item, testSession());
        m_presenter->cover(previewer);
        return previewer;
    }
    static QString copyOf(const DocumentPreviewer *previewer)
    {
        return previewer->qlItem().previewItemURL.value_or(QUrl()).toLocalFile();
    }

private Q_SLOTS:
    void initTestCase()
    {
        KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
        QVERIFY(KeyChainHelper::shared().saveKey(passcode));
        QVERIFY(unlockVaultForTest(passcode));
        UrlOpener::setOpener([this](const QUrl &url) {
            m_opened.append(url);
            return true;
        });
    }
    void init()
    {
        AppPaths::clearTemporaryDirectory();
        m_opened.clear();
        m_window = std::make_unique<PresenterWindow>();
        m_presenter = m_window->presenter();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    // Folders below a scratch root; the build tree is "build".
    void mediaModuleOfTheRunningProgram_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("fromBuild"); // else from beside the program
        QTest::newRow("the build's window") << u"build/src/app"_s << true;
        QTest::newRow("a test of the build") << u"build/tests/ui"_s << true;
        QTest::newRow("installed") << u"usr/bin"_s << false;
        QTest::newRow("a sibling of the build") << u"build-other/bin"_s << false;
    }
    void mediaModuleOfTheRunningProgram()
    {
        QFETCH(QString, program);
        QFETCH(bool, fromBuild);
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(program) && QDir(root.path()).mkpath(u"build"_s));
        const QString build = QFileInfo(root.filePath(u"build"_s)).canonicalFilePath();
        const QStringList paths = MediaModule::searchPaths(root.filePath(program), root.filePath(u"build"_s));
        QCOMPARE(paths.size(), 1);
        const QString &plugin = paths.constFirst();
        QVERIFY(plugin.endsWith(u"/lumisera_media.so"_s));
        if (fromBuild)
            QCOMPARE(plugin, build + u"/plugins/lumisera_media.so"_s);
        else // the prefix the program is installed under, never the build tree
            QVERIFY2(plugin.startsWith(QDir::cleanPath(root.filePath(program) + u"/.."_s) + u'/') &&
                         !plugin.startsWith(build + u'/'),
                     qPrintable(plugin));
    }

    void pageOfEachKind_data()
    {
        using Kind = PreviewContent::Kind;
        using Page = DocumentPreviewState::Page;
        QTest::addColumn<bool>("decrypted");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<bool>("canPlay");
        QTest::addColumn<Page>("page");
        QTest::newRow("not decrypted") << false << Kind::text << true << Page::failure;
        QTest::newRow("text") << true << Kind::text << false << Page::text;
        QTest::newRow("code") << true << Kind::code << false << Page::text;
        QTest::newRow("Markdown") << true << Kind::markdown << false << Page::text;
        QTest::newRow("media, a player") << true << Kind::media << true << Page::player;
        QTest::newRow("media, no player") << true << Kind::media << false << Page::details;
        QTest::newRow("other") << true << Kind::other << true << Page::details;
    }
    void pageOfEachKind()
    {
        QFETCH(bool, decrypted);
        QFETCH(PreviewContent::Kind, kind);
        QFETCH(bool, canPlay);
        QFETCH(DocumentPreviewState::Page, page);
        PreviewCopy copy;
        if (decrypted)
            copy.previewItemURL = QUrl::fromLocalFile(u"/tmp/copy"_s);
        QCOMPARE(DocumentPreviewState::pageFor(copy, kind, canPlay), page);
    }

    void pdfIsNeverOnDisk()
    {
        const StoredItemPtr document = item(u"manual"_s, u"pdf"_s, pdf());
        const QStringList before = filesUnder(AppPaths::temporaryDirectory()) + filesUnder(m_vault.path());
        // Catches a file written and removed again, too.
        QFileSystemWatcher watcher({AppPaths::temporaryDirectory(), m_vault.path()});
        QSignalSpy written(&watcher, &QFileSystemWatcher::directoryChanged);
        auto *viewer = new PdfViewer(document, testSession());
        QSignalSpy shared(viewer, &PdfViewer::shareRequested);
        m_presenter->cover(viewer);
        QTRY_VERIFY(viewer->findChild<QWidget *>(u"pdfView"_s));
        QVERIFY(viewer->findChild<QWidget *>(u"pdfView"_s)->isVisible());
        QCOMPARE(viewer->failure(), QString());
        QCOMPARE(filesUnder(AppPaths::temporaryDirectory()) + filesUnder(m_vault.path()), before);
        // The watcher reports in the order the kernel saw the changes: once a marker written now
        // is reported, every earlier write has been.
        QTemporaryDir markers;
        QVERIFY(watcher.addPath(markers.path()));
        QVERIFY(QFile(markers.filePath(u"marker"_s)).open(QIODevice::WriteOnly));
        QTRY_VERIFY(written.contains(QVariantList{markers.path()}));
        for (const QList<QVariant> &report : std::as_const(written))
            QCOMPARE(report.first().toString(), markers.path());
        QTest::mouseClick(viewer->findChild<QToolButton *>(u"shareButton"_s), Qt::LeftButton);
        QCOMPARE(shared.count(), 1);
        QCOMPARE(shared.first().first().value<QList<StoredItemPtr>>(), QList<StoredItemPtr>{document});
    }

    void pdfFailureIsShown_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("failure");
        QTest::newRow("not a PDF") << FileEncryptor::encrypt("%PDF- in name only", passcode).value_or("")
                                   << u"The file is not a PDF document."_s;
        // No whole number of cipher blocks: no passcode decrypts it.
        QTest::newRow("undecryptable") << QByteArray(100, 'x') << u"The file could not be decrypted."_s;
    }
    void pdfFailureIsShown()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, failure);
        LogCapture log;
        auto *viewer = new PdfViewer(storedItem(u"broken"_s, u"pdf"_s, stored), testSession());
        m_presenter->cover(viewer);
        QTRY_COMPARE(viewer->failure(), failure);
        QVERIFY(viewer->findChild<QLabel *>(u"failureLabel"_s)->isVisible());
        QVERIFY(!viewer->findChild<QWidget *>(u"pdfView"_s));
        QVERIFY(log.errors().join(u'\n').contains(u"Caught error "_s + failure));
    }

    // Each kind in its view; the copy goes with the previewer, and a new one decrypts again.
    void previewerShowsAndCleansUp_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QString>("view");
        QTest::newRow("text") << u"notes"_s << u"txt"_s << u"plainTextView"_s;
        QTest::newRow("Markdown") << u"README"_s << u"md"_s << u"markdownView"_s;
        QTest::newRow("other") << u"letter"_s << u"docx"_s << u"documentInfoView"_s;
    }
    void previewerShowsAndCleansUp()
    {
        QFETCH(QString, name);
        QFETCH(QString, ext);
        QFETCH(QString, view);
        const StoredItemPtr document = item(name, ext, "The text of " + name.toUtf8());
        for (int opening = 0; opening < 2; ++opening) {
            LogCapture log;
            DocumentPreviewer *previewer = preview(document);
            QCOMPARE(previewer->title(), u"Preview"_s);
            QTRY_VERIFY(previewer->contentView());
            QVERIFY(!previewer->showLoading());
            const QString copy = copyOf(previewer);
            QCOMPARE(QFileInfo(copy).path(), AppPaths::temporaryDirectory());
            QVERIFY(QFileInfo::exists(copy));
            QVERIFY(previewer->findChild<QWidget *>(view)->isVisible());
            if (auto *text = previewer->findChild<QPlainTextEdit *>(view)) {
                QVERIFY(text->isReadOnly());
                QCOMPARE(text->toPlainText(), u"The text of "_s + name);
            }

            QTest::mouseClick(previewer->findChild<QPushButton *>(u"closeButton"_s), Qt::LeftButton);
            QTRY_VERIFY(!QFileInfo::exists(copy));
            QCOMPARE(filesUnder(AppPaths::temporaryDirectory()), QStringList());
            QVERIFY(log.infos().join(u'\n').contains(u"ContentPreviewer clean up temp file "_s));
            QVERIFY(!log.contains(name)); // no plaintext name in the journal
        }
    }

    void undecryptableDocument()
    {
        DocumentPreviewer *previewer = preview(storedItem(u"broken"_s, u"txt"_s, QByteArray(100, 'x')));
        QTRY_VERIFY(previewer->contentView());
        QCOMPARE(previewer->findChild<QLabel *>(u"failureLabel"_s)->text(),
                 u"Failed to decrypt item for quick look"_s);
        QCOMPARE(filesUnder(AppPaths::temporaryDirectory()), QStringList());
    }

    // Locked while decrypting or once shown: the previewer goes and so does its copy.
    void lockingRemovesTheCopy_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::newRow("while preparing") << false;
        QTest::newRow("once shown") << true;
    }
    void lockingRemovesTheCopy()
    {
        QFETCH(bool, shown);
        LogCapture log;
        DocumentPreviewer *previewer = preview(item(u"diary"_s, u"txt"_s, "Dear diary\n"_ba.repeated(1000)));
        if (shown)
            QTRY_VERIFY(previewer->contentView());
        const QString copy = AppPaths::temporaryDirectory() + u"/diary.txt"_s;
        m_presenter->vaultLocked();
        QVERIFY(m_presenter->presented().isEmpty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(m_window->findChildren<DocumentPreviewer *>().isEmpty());
        // While preparing, the copy appears after the previewer went: the decryption's end removes it.
        QVERIFY(StoragePool::shared()->waitForDone(10000));
        QTRY_COMPARE(filesUnder(AppPaths::temporaryDirectory()), QStringList());
        QTRY_VERIFY(log.infos().join(u'\n').contains(u"ContentPreviewer clean up temp file "_s));
        QVERIFY(!log.contains(u"diary"_s));
    }

    // The other application may read its copy after the previewer closed: it stays until quit.
    void defaultApplicationKeepsItsCopy()
    {
        DocumentPreviewer *previewer = preview(item(u"letter"_s, u"docx"_s, "PK\x03\x04 letter"));
        QTRY_VERIFY(previewer->findChild<QPushButton *>(u"openButton"_s));
        const QString copy = copyOf(previewer);
        previewer->findChild<QPushButton *>(u"openButton"_s)->click();
        QTRY_COMPARE(m_opened.size(), 1);
        const QString given = m_opened.first().toLocalFile();
        QVERIFY(given != copy && given.startsWith(AppPaths::temporaryDirectory() + u'/'));
        QCOMPARE(QFileInfo(given).fileName(), u"letter.docx"_s);

        m_presenter->vaultLocked();
        QTRY_VERIFY(!QFileInfo::exists(copy));
        QFile handed(given);
        QVERIFY(handed.open(QIODevice::ReadOnly));
        QCOMPARE(handed.readAll(), QByteArray("PK\x03\x04 letter"));
        ShareFolder::removeAll();
        QCOMPARE(filesUnder(AppPaths::temporaryDirectory()), QStringList());
    }

    void mediaPlayerReleasesTheFile()
    {
        DocumentPreviewer *previewer = preview(item(u"song"_s, u"mp3"_s, QByteArray(4096, '\0')));
        QTRY_VERIFY(previewer->contentView());
        QVERIFY(previewer->findChild<QWidget *>(u"mediaPlayer"_s));
        QVERIFY(previewer->findChild<QWidget *>(u"playPauseButton"_s)->isVisible());
        const QString copy = copyOf(previewer);
        m_presenter->applicationWentToBackground();
        QTRY_VERIFY(!QFileInfo::exists(copy));
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestPreview)
#include "TestPreview.moc"
