#include "TestFiles.h"
#include "TestHome.h"
#include "TestSession.h"
#include "core/AppPaths.h"
#include "security/FileEncryptor.h"
#include "storage/ShareFolder.h"
#include "storage/StoredItemProvider.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

// Registered twice with ctest: once with unnamed files, once with the hidden siblings of file
// systems that have none.
class TestStoredItemProvider : public QObject
{
    Q_OBJECT
    QTemporaryDir m_vault;
    const QByteArray m_plain = QByteArray(2 * 1024 * 1024 + 7, 'p');

    static QStringList entries(const QString &folder)
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                      QDir::Name);
    }
    static int mode(const QString &path)
    {
        struct stat status = {};
        return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 0777) : -1;
    }
    // A vault file holding data, listed as name.ext.
    StoredItemPtr stored(const QString &name, const QString &ext, const QByteArray &data)
    {
        const QString path = m_vault.filePath(u"scrambled-"_s + name);
        if (!writeBytes(path, data))
            return nullptr;
        return std::make_shared<StoredItem>(QUrl::fromLocalFile(path), name, ext, true,
                                            StorageLocation::local, m_vault.path());
    }
    StoredItemPtr encrypted(const QString &name, const QString &ext)
    {
        return stored(name, ext, FileEncryptor::encrypt(m_plain, u"passcode1"_s).value_or(""));
    }

private Q_SLOTS:
    void init()
    {
        openTestSession(u"passcode1"_s);
        AppPaths::clearTemporaryDirectory();
    }

    void saveNeverReplaces_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QString>("saved");
        const auto row = [](const char *tag, const QStringList &existing, const char *name, const char *ext,
                            const char *saved) { QTest::newRow(tag) << existing << name << ext << saved; };
        row("free", {}, "report", "pdf", "report.pdf");
        row("taken", {"report.pdf"}, "report", "pdf", "report(1).pdf");
        row("taken twice", {"report.pdf", "report(1).pdf"}, "report", "pdf", "report(2).pdf");
        row("last extension", {"a.tar.gz"}, "a.tar", "gz", "a.tar(1).gz");
        row("no extension", {"notes"}, "notes", "", "notes(1)");
        row("dot file", {".profile"}, ".profile", "", ".profile(1)");
        row("a folder", {"photos/"}, "photos", "", "photos(1)");
    }
    void saveNeverReplaces()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, name);
        QFETCH(QString, ext);
        QFETCH(QString, saved);
        QTemporaryDir target;
        for (const QString &file : existing)
            QVERIFY(file.endsWith(u'/') ? QDir(target.path()).mkdir(file)
                                        : writeBytes(target.filePath(file), "mine"));
        StoredItemProvider provider(encrypted(name, ext), std::make_shared<ShareFolder>(), testSession());

        const StoredItemProvider::Copy copy = provider.saveInto(target.path());
        QCOMPARE(copy.error, QString());
        QCOMPARE(copy.path, target.filePath(saved));
        QCOMPARE(fileContents(copy.path), m_plain);
        QCOMPARE(mode(copy.path), 0600);
        for (const QString &file : existing) {
            if (!file.endsWith(u'/'))
                QCOMPARE(fileContents(target.filePath(file)), QByteArray("mine"));
        }
        QStringList expected = existing.replaceInStrings(u"/"_s, QString()) << saved;
        expected.sort();
        QCOMPARE(entries(target.path()), expected); // no hidden sibling left
        QVERIFY(!provider.tempFile());
        QVERIFY(entries(AppPaths::temporaryDirectory()).isEmpty());
    }

    // Nothing partial in either target, and a clear reason.
    void failuresLeaveNothing_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("passcode");
        QTest::addColumn<bool>("linked"); // the listed file was replaced by a link to the bytes
        QTest::addColumn<QString>("error");
        const QByteArray good = FileEncryptor::encrypt(m_plain, u"passcode1"_s).value_or("");
        QTest::newRow("damaged") << good.left(good.size() - 5) << true << false
                                 << "b.txt could not be decrypted; the stored file may be damaged.";
        QTest::newRow("other key") << FileEncryptor::encrypt(m_plain, u"other"_s).value_or("") << true
                                   << false
                                   << "b.txt could not be decrypted; the stored file may be damaged.";
        QTest::newRow("locked") << good << false << false << "The vault is locked.";
        QTest::newRow("replaced by a link")
            << good << true << true
            << "b.txt could not be read: " + QString::fromLocal8Bit(std::strerror(ELOOP));
    }
    void failuresLeaveNothing()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, passcode);
        QFETCH(bool, linked);
        QFETCH(QString, error);
        if (!passcode)
            testSession()->end();
        QTemporaryDir target, outside;
        StoredItemPtr item = this->stored(u"b"_s, u"txt"_s, stored);
        if (linked) {
            const QString listed = item->url().toLocalFile();
            QVERIFY(QFile::rename(listed, outside.filePath("elsewhere")) &&
                    QFile::link(outside.filePath("elsewhere"), listed));
        }
        {
            StoredItemProvider provider(item, std::make_shared<ShareFolder>(), testSession());
            const StoredItemProvider::Copy saved = provider.saveInto(target.path());
            const StoredItemProvider::Copy temporary = provider.item();
            QCOMPARE(saved.error, error);
            QCOMPARE(temporary.error, error);
            QVERIFY(!saved.isValid() && !temporary.isValid() && !provider.tempFile());
            QVERIFY(entries(target.path()).isEmpty());
            QCOMPARE(entries(provider.tempFolder()->path()), QStringList());
        }
        QVERIFY(entries(AppPaths::temporaryDirectory()).isEmpty());
        QVERIFY(!linked || (QFile::remove(item->url().toLocalFile()) &&
                            fileContents(outside.filePath("elsewhere")) == stored));
    }

    // Copies another application was given stay after the share until removeAll(); the others go
    // with it, and the share's folder too when none was given.
    void temporaryCopiesOutliveTheShareOnlyWhenGiven_data()
    {
        QTest::addColumn<bool>("given");
        QTest::newRow("none given") << false;
        QTest::newRow("one given") << true;
    }
    void temporaryCopiesOutliveTheShareOnlyWhenGiven()
    {
        QFETCH(bool, given);
        QString shareFolder, a, b;
        {
            auto folder = std::make_shared<ShareFolder>();
            StoredItemProvider first(encrypted(u"a"_s, u"txt"_s), folder, testSession());
            StoredItemProvider second(encrypted(u"b"_s, u"txt"_s), folder, testSession());
            QVERIFY(entries(AppPaths::temporaryDirectory()).isEmpty()); // nothing asked for yet

            a = first.item().path;
            b = second.item().path;
            shareFolder = folder->path();
            QCOMPARE(a, shareFolder + u"/a.txt"_s);
            QCOMPARE(b, shareFolder + u"/b.txt"_s);
            QCOMPARE(first.item().path, a); // decrypted once
            QCOMPARE(first.tempFile(), a);
            QCOMPARE(fileContents(b), m_plain);
            QCOMPARE(mode(shareFolder), 0700);
            QCOMPARE(mode(a), 0600);
            if (given)
                folder->handOut({a});
        }
        QCOMPARE(QFileInfo::exists(shareFolder), given);
        QCOMPARE(QFileInfo::exists(a), given);
        QVERIFY(!QFileInfo::exists(b));
        ShareFolder::removeAll();
        QVERIFY(entries(AppPaths::temporaryDirectory()).isEmpty());
    }
};

LUMISERA_TEST_MAIN(TestStoredItemProvider)
#include "TestStoredItemProvider.moc"
