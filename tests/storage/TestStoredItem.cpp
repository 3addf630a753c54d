#include "StoredItem.h"
#include "TestHome.h"
#include "TwoPairSubstitutionObfuscator.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using FileType = StoredItem::StoredFileType;
using ItemType = StoredItem::StoredItemType;

class TestStoredItem : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void filesGetTheirClearNameAndKind_data();
    void filesGetTheirClearNameAndKind();
    void listingsOfOneFileShareIdentityButNotEquality();
    void placeholdersAreBundledPictures_data();
    void placeholdersAreBundledPictures();

private:
    QUrl storedFile(const QString &clearName);
    QTemporaryDir m_folder;
};

QUrl TestStoredItem::storedFile(const QString &clearName)
{
    const QString path = m_folder.filePath(TwoPairSubstitutionObfuscator::shared().encode(clearName));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    return QUrl::fromLocalFile(path);
}

void TestStoredItem::filesGetTheirClearNameAndKind_data()
{
    QTest::addColumn<QString>("clearName");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("ext");
    QTest::addColumn<FileType>("fileType");
    QTest::newRow("pdf, upper case") << "report.PDF"
                                     << "report"
                                     << "PDF" << FileType::pdf;
    QTest::newRow("heic") << "photo.HEIC"
                          << "photo"
                          << "HEIC" << FileType::image;
    QTest::newRow("movie") << "movie.mov"
                           << "movie"
                           << "mov" << FileType::content;
    QTest::newRow("archive") << "archive.zip"
                             << "archive"
                             << "zip" << FileType::unknown;
    QTest::newRow("doubled extension") << "a.jpg.jpg"
                                       << "a"
                                       << "jpg" << FileType::image;
    QTest::newRow("no extension") << "notes"
                                  << "notes"
                                  << "" << FileType::unknown;
    QTest::newRow("folder") << ""
                            << "Trips.2024"
                            << "" << FileType::unknown;
}

void TestStoredItem::filesGetTheirClearNameAndKind()
{
    QFETCH(QString, clearName);
    QFETCH(QString, name);
    QFETCH(QString, ext);
    QFETCH(FileType, fileType);
    const bool isFolder = clearName.isEmpty();
    if (isFolder)
        QVERIFY(QDir(m_folder.path()).mkpath(name));
    const QUrl url = isFolder ? QUrl::fromLocalFile(m_folder.filePath(name)) : storedFile(clearName);
    const StoredItemPtr item = StoredItem::makeStoredItem(url, StorageLocation::cloud, "Trips");
    QCOMPARE(item->itemType(), isFolder ? ItemType::directory : ItemType::file);
    QCOMPARE(item->name(), name);
    QCOMPARE(item->ext(), ext);
    QCOMPARE(item->fileType(), fileType);
    QCOMPARE(item->fullName(), ext.isEmpty() ? name : name + "." + ext);
    QCOMPARE(item->url(), url);
    QCOMPARE(item->parent(), QString("Trips"));
}

void TestStoredItem::listingsOfOneFileShareIdentityButNotEquality()
{
    const QUrl url = storedFile("two words.jpg");
    const StoredItemPtr first = StoredItem::makeStoredItem(url, StorageLocation::local, "Trips");
    const StoredItemPtr second = StoredItem::makeStoredItem(url, StorageLocation::local, "Trips");
    QCOMPARE(first->id(), second->id());
    QVERIFY(first->id().startsWith("file:///"));
    QVERIFY(!first->id().contains(' '));
    QCOMPARE(qHash(*first), qHash(*second));
    QVERIFY(!(*first == *second));
    QVERIFY(*first == *first);
    QVERIFY(second->timestamp() > first->timestamp());
    // Seconds since 2001: the items were made in this century's third decade or later.
    QVERIFY(first->timestamp() > 7e8);
    QVERIFY_THROWS_EXCEPTION(std::exception,
                             StoredItem::makeStoredItem(QUrl::fromLocalFile(m_folder.filePath("gone")),
                                                        StorageLocation::local, ""));
}

void TestStoredItem::placeholdersAreBundledPictures_data()
{
    QTest::addColumn<FileType>("fileType");
    QTest::addColumn<QString>("resource");
    QTest::newRow("unknown") << FileType::unknown << "unknowPlaceholder.png";
    QTest::newRow("image") << FileType::image << "imagePlaceholder.png";
    QTest::newRow("pdf") << FileType::pdf << "placeholderPDF.png";
    QTest::newRow("content") << FileType::content << "contentPlaceholder.png";
}

void TestStoredItem::placeholdersAreBundledPictures()
{
    QFETCH(FileType, fileType);
    QFETCH(QString, resource);
    StoredItem item(QUrl::fromLocalFile("/x"), "x", "", true, StorageLocation::local, "");
    item.setFileType(fileType);
    QVERIFY(item.placeholderURL().endsWith("/" + resource));
    const QImage picture(item.placeholderURL());
    QVERIFY(!picture.isNull());
    QVERIFY(picture.hasAlphaChannel());
}

LUMISERA_TEST_MAIN(TestStoredItem)
#include "TestStoredItem.moc"
