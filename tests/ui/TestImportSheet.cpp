#include "DriveManager.h"
#include "ImportSheet.h"
#include "InMemoryCredentialBackend.h"
#include "ItemCollection.h"
#include "KeyChainHelper.h"
#include "Presenter.h"
#include "PresenterWindow.h"
#include "TestSession.h"
#include "UniqueFd.h"
#include "WidgetTestMain.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// The middle file chosen is a pipe: the import waits on it, so the test sees it in the middle.
class TestImportSheet : public QObject
{
    Q_OBJECT
    QTemporaryDir m_sources;
    std::unique_ptr<PresenterWindow> m_window;
    Presenter *m_presenter = nullptr;
    std::unique_ptr<ItemCollection> m_collection;
    QStringList m_chosen;
    std::optional<UniqueFd> m_writer;

    QString source(const QString &name, qint64 size)
    {
        QFile file(m_sources.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(QByteArray(size, 'x')) == size ? file.fileName()
                                                                                            : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
        QVERIFY(KeyChainHelper::shared().saveKey(u"passcode1"_s));
        QVERIFY(unlockVaultForTest(u"passcode1"_s));
        ImportSheet::chooseFiles = [this](ImportSheet::Source source) {
            return source == ImportSheet::Source::files ? m_chosen : QStringList();
        };
    }
    void init()
    {
        const QString folder = u"Import "_s + QString::fromLatin1(QTest::currentDataTag());
        ItemCollection root(StorageLocation::local, FileItemType::all, {});
        root.setSession(testSession());
        root.driveManager()->connect();
        QVERIFY(root.operations().createFolder(folder, std::nullopt));
        m_collection = std::make_unique<ItemCollection>(StorageLocation::local, FileItemType::file, folder);
        m_collection->setSession(testSession());
        m_collection->driveManager()->connect();

        const QString pipe = m_sources.filePath(folder + u".pipe"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        m_writer.emplace(::open(QFile::encodeName(pipe).constData(), O_RDWR | O_CLOEXEC));
        m_chosen = {source(folder + u"-a.txt"_s, 1000), pipe, source(folder + u"-c.txt"_s, 500)};

        m_window = std::make_unique<PresenterWindow>();
        m_presenter = m_window->presenter();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup()
    {
        m_writer.reset();
        m_window.reset();
        m_collection.reset();
    }

    // The sheet shows how far the import got and closes by itself once it ends; Cancel ends it
    // with the files finished before it.
    void progressAndEnd_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("endText");
        QTest::addColumn<int>("imported");
        QTest::newRow("completes") << false << u"3 of 3 files · 1.5 kB of 1.5 kB"_s << 3;
        QTest::newRow("cancelled") << true << u"1 of 3 files · 1.0 kB of 1.5 kB"_s << 1;
    }
    void progressAndEnd()
    {
        QFETCH(bool, cancel);
        QFETCH(QString, endText);
        QFETCH(int, imported);
        auto *sheet = new ImportSheet(m_collection.get(), ImportSheet::Source::files);
        QSignalSpy finished(sheet, &ImportSheet::finished);
        m_presenter->sheet(sheet);
        auto *status = sheet->findChild<QLabel *>(u"statusLabel"_s);
        auto *text = sheet->findChild<QLabel *>(u"progressText"_s);
        QCOMPARE(status->text(), u"Preparing..."_s);
        QTRY_COMPARE(text->text(), u"1 of 3 files · 1.0 kB of 1.5 kB"_s);
        QCOMPARE(status->text(), u"Importing..."_s);

        QString atEnd;
        connect(sheet, &ImportSheet::finished, text, [&atEnd, text] { atEnd = text->text(); });
        if (cancel) {
            QTest::mouseClick(sheet->findChild<QPushButton *>(u"cancelButton"_s), Qt::LeftButton);
            QCOMPARE(::write(m_writer->get(), "y", 1), ssize_t(1));
        } else {
            m_writer.reset(); // the pipe ends: an empty file
        }
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toInt(), imported);
        QCOMPARE(atEnd, endText);
        QTRY_VERIFY(m_presenter->presented().isEmpty());
        // The listing the job's reload published.
        QTRY_COMPARE(m_collection->items().size(), imported);
    }
};

LUMISERA_WIDGET_TEST_MAIN(TestImportSheet)
#include "TestImportSheet.moc"
