#include "TestHome.h"
#include "security/TwoPairSubstitutionObfuscator.h"
#include "storage/StoredItem.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using FileType = StoredItem::StoredFileType;
using namespace Qt::StringLiterals;

class TestStoredItem : public QObject
{
    Q_OBJECT
    QTemporaryDir m_folder;

    QUrl storedFile(const QString &clearName)
    {
        QFile file(m_folder.filePath(TwoPairSubstitutionObfuscator::shared().encode(clearName)));
        return file.open(QIODevice::WriteOnly) ? QUrl::fromLocalFile(file.fileName()) : QUrl();
    }

private Q_SLOTS:
    void clearNameAndKind_data()
    {
        QTest::addColumn<QString>("clearName"); // empty for a folder
        QTest::addColumn<QStringList>("nameAndExt");
        QTest::addColumn<FileType>("fileType");
        QTest::newRow("pdf, upper case") << u"report.PDF"_s << QStringList{"report", "PDF"} << FileType::pdf;
        QTest::newRow("heic") << u"photo.HEIC"_s << QStringList{"photo", "HEIC"} << FileType::image;
        QTest::newRow("movie") << u"movie.mov"_s << QStringList{"movie", "mov"} << FileType::content;
        QTest::newRow("doubled extension") << u"a.jpg.jpg"_s << QStringList{"a", "jpg"} << FileType::image;
        QTest::newRow("no extension") << u"notes"_s << QStringList{"notes", ""} << FileType::unknown;
        QTest::newRow("folder") << QString() << QStringList{"Trips.2024", ""} << FileType::unknown;
    }
    void clearNameAndKind()
    {
        QFETCH(QString, clearName);
        QFETCH(QStringList, nameAndExt);
        QFETCH(FileType, fileType);
        const bool isFolder = clearName.isEmpty();
        QVERIFY(!isFolder || QDir(m_folder.path()).mkpath(nameAndExt[0]));
        const QUrl url =
            isFolder ? QUrl::fromLocalFile(m_folder.filePath(nameAndExt[0])) : storedFile(clearName);
        const StoredItemPtr item = StoredItem::makeStoredItem(url, StorageLocation::cloud, "Trips");
        QCOMPARE(item->itemType() == StoredItem::StoredItemType::directory, isFolder);
        QCOMPARE(QStringList({item->name(), item->ext()}), nameAndExt);
        QCOMPARE(item->fileType(), fileType);
    }

    void listingsOfOneFileShareIdentityButNotEquality()
    {
        const QUrl url = storedFile("two words.jpg");
        const StoredItemPtr first = StoredItem::makeStoredItem(url, StorageLocation::local, "Trips");
        const StoredItemPtr second = StoredItem::makeStoredItem(url, StorageLocation::local, "Trips");
        QCOMPARE(first->id(), second->id());
        QVERIFY(!(*first == *second) && second->timestamp() > first->timestamp() && first->timestamp() > 7e8);
        QVERIFY(QFile::remove(url.toLocalFile())); // gone before it was listed again
        QVERIFY_THROWS_EXCEPTION(std::exception, StoredItem::makeStoredItem(url, StorageLocation::local, {}));
    }

    void placeholdersAreBundledPictures()
    {
        const QStringList resources{"unknowPlaceholder", "imagePlaceholder", "placeholderPDF",
                                    "contentPlaceholder"};
        StoredItem item(QUrl::fromLocalFile("/x"), "x", "", true, StorageLocation::local, "");
        for (int type = 0; type < resources.size(); ++type) {
            item.setFileType(FileType(type)); // in the order of declaration
            QVERIFY(item.placeholderURL().endsWith("/" + resources[type] + ".png"));
            QVERIFY(QImage(item.placeholderURL()).hasAlphaChannel());
        }
    }
};

LUMISERA_TEST_MAIN(TestStoredItem)
#include "TestStoredItem.moc"
