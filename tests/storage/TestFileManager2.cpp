#include "AppPaths.h"
#include "FileEncryptor.h"
#include "FileManager2.h"
#include "InMemoryCredentialBackend.h"
#include "KeyChainHelper.h"
#include "LogCapture.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString Passcode = QStringLiteral("passcode");

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString &path, const QByteArray &data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

QStringList temporaryEntries()
{
    return QDir(AppPaths::temporaryDirectory())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}
} // namespace

class TestFileManager2 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void decryptedCopyReplacesWithoutFollowingLinks();
    void wrongPasscodeLeavesNoPlaintext();
    void namesMayNotLeaveTheTemporaryDirectory_data();
    void namesMayNotLeaveTheTemporaryDirectory();
    void copyReusesAnExistingFile();

private:
    QTemporaryDir m_vault;
    QString m_encrypted;
};

void TestFileManager2::initTestCase()
{
    KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
    m_encrypted = m_vault.filePath("encrypted");
    // Long enough that a wrong key writes plaintext blocks before the padding check fails.
    write(m_encrypted, *FileEncryptor::encrypt(QByteArray(3 * 1024 * 1024, 'd'), Passcode));
}

void TestFileManager2::init()
{
    QVERIFY(KeyChainHelper::shared().saveKey(Passcode));
    AppPaths::clearTemporaryDirectory();
}

void TestFileManager2::decryptedCopyReplacesWithoutFollowingLinks()
{
    const QString outside = m_vault.filePath("outside");
    write(outside, "untouched");
    QVERIFY(QFile::link(outside, AppPaths::temporaryDirectory() + "/report.pdf"));
    const std::optional<QString> copy = FileManager2::createDecryptedTempFile(m_encrypted, "report.pdf");
    QCOMPARE(copy, AppPaths::temporaryDirectory() + "/report.pdf");
    QCOMPARE(contents(*copy), QByteArray(3 * 1024 * 1024, 'd'));
    QVERIFY(!QFileInfo(*copy).isSymLink());
    QCOMPARE(QFile(*copy).permissions() & 0x0077, QFileDevice::Permissions());
    QCOMPARE(contents(outside), QByteArray("untouched"));
    QCOMPARE(temporaryEntries(), QStringList{"report.pdf"});
}

void TestFileManager2::wrongPasscodeLeavesNoPlaintext()
{
    LogCapture log;
    QVERIFY(KeyChainHelper::shared().saveKey("not the passcode"));
    QVERIFY(!FileManager2::createDecryptedTempFile(m_encrypted, "report.pdf"));
    QVERIFY(
        log.contains("FileManager2:createDecryptedTempFile(from:withName:) Failed to decrypt file on copy"));
    QVERIFY(temporaryEntries().isEmpty());
    QVERIFY(KeyChainHelper::shared().deleteKey());
    QVERIFY(!FileManager2::createDecryptedTempFile(m_encrypted, "report.pdf"));
    QVERIFY(temporaryEntries().isEmpty());
}

void TestFileManager2::namesMayNotLeaveTheTemporaryDirectory_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent") << "..";
    QTest::newRow("up and out") << "../escaped.pdf";
    QTest::newRow("absolute") << "/tmp/escaped.pdf";
    QTest::newRow("empty") << "";
}

void TestFileManager2::namesMayNotLeaveTheTemporaryDirectory()
{
    QFETCH(QString, name);
    LogCapture log;
    QVERIFY(!FileManager2::createDecryptedTempFile(m_encrypted, name));
    QVERIFY(!FileManager2::copyToTemporaryDirectory(m_encrypted, name));
    QCOMPARE(
        log.errors().filter("Caught error The item is missing, is of the other kind, or has a name").size(),
        2);
    QVERIFY(temporaryEntries().isEmpty());
    QVERIFY(!QFileInfo::exists(QFileInfo(AppPaths::temporaryDirectory()).path() + "/escaped.pdf"));
}

void TestFileManager2::copyReusesAnExistingFile()
{
    const QString source = m_vault.filePath("picked.heic");
    write(source, "first");
    const std::optional<QString> copy = FileManager2::copyToTemporaryDirectory(source);
    QCOMPARE(copy, AppPaths::temporaryDirectory() + "/picked.heic");
    write(source, "second");
    QCOMPARE(FileManager2::copyToTemporaryDirectory(source), copy);
    QCOMPARE(contents(*copy), QByteArray("first"));
    QCOMPARE(FileManager2::copyToTemporaryDirectory(source, QString("renamed")),
             AppPaths::temporaryDirectory() + "/renamed");
    QCOMPARE(contents(AppPaths::temporaryDirectory() + "/renamed"), QByteArray("second"));
    QVERIFY(!FileManager2::copyToTemporaryDirectory(m_vault.filePath("missing")));
    QCOMPARE(temporaryEntries(), QStringList({"picked.heic", "renamed"}));
}

LUMISERA_TEST_MAIN(TestFileManager2)
#include "TestFileManager2.moc"
