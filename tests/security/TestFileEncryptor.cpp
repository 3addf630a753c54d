#include "FileEncryptor.h"
#include "LogCapture.h"
#include "TestHome.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString ZeroIv = QStringLiteral("00000000000000000000000000000000");

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QList<quint32> words((size + 3) / 4);
    QRandomGenerator(seed).fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char *>(words.constData()), size);
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The reference peer: the openssl command line with the same key and the all-zero IV.
bool opensslEnc(const QString &passcode, const QString &in, const QString &out, bool decrypt)
{
    QStringList arguments{
        QStringLiteral("enc"),  QStringLiteral("-aes-128-cbc"),
        QStringLiteral("-K"),   QString::fromLatin1(FileEncryptor::aesKey(passcode).toHex()),
        QStringLiteral("-iv"),  ZeroIv,
        QStringLiteral("-in"),  in,
        QStringLiteral("-out"), out};
    if (decrypt)
        arguments << QStringLiteral("-d");
    QProcess process;
    process.start(QStringLiteral("openssl"), arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

class TestFileEncryptor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void aesKey_data();
    void aesKey();
    void publishedVectors_data();
    void publishedVectors();
    void interoperatesWithOpenssl_data();
    void interoperatesWithOpenssl();
    void tamperedInputIsRefused_data();
    void tamperedInputIsRefused();
    void processFileFailures_data();
    void processFileFailures();

private:
    QTemporaryDir m_dir;
};

void TestFileEncryptor::aesKey_data()
{
    QTest::addColumn<QString>("passcode");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("empty") << "" << QByteArray(16, '\0');
    QTest::newRow("short is zero-padded, not repeated") << "abc" << QByteArray("abc").append(13, '\0');
    QTest::newRow("longer is cut") << "0123456789abcdefXYZ" << QByteArray("0123456789abcdef");
    QTest::newRow("counted in UTF-8 bytes")
        << QStringLiteral("çé") << QByteArray("\xc3\xa7\xc3\xa9").append(12, '\0');
    QTest::newRow("cut inside a character")
        << QStringLiteral("012345678901234é") << QByteArray("012345678901234\xc3");
}

void TestFileEncryptor::aesKey()
{
    QFETCH(QString, passcode);
    QFETCH(QByteArray, expected);
    QCOMPARE(FileEncryptor::aesKey(passcode), expected);
}

void TestFileEncryptor::publishedVectors_data()
{
    QTest::addColumn<QString>("passcode");
    QTest::addColumn<QByteArray>("plaintext");
    QTest::addColumn<QByteArray>("firstBlock");
    // FIPS-197 appendix C.1: with a zero IV the first CBC block is the bare block cipher.
    QTest::newRow("FIPS-197 C.1") << QString::fromLatin1(
                                         QByteArray::fromHex("000102030405060708090a0b0c0d0e0f"))
                                  << QByteArray::fromHex("00112233445566778899aabbccddeeff")
                                  << QByteArray::fromHex("69c4e0d86a7b0430d8cdb78070b4c55a");
    // AESAVS GFSbox, all-zero key: the empty passcode.
    QTest::newRow("AESAVS GFSbox 1") << QString() << QByteArray::fromHex("f34481ec3cc627bacd5dc3fb08f273e6")
                                     << QByteArray::fromHex("0336763e966d92595a567cc9ce537f5e");
}

void TestFileEncryptor::publishedVectors()
{
    QFETCH(QString, passcode);
    QFETCH(QByteArray, plaintext);
    QFETCH(QByteArray, firstBlock);
    const std::optional<QByteArray> ciphertext = FileEncryptor::encrypt(plaintext, passcode);
    QVERIFY(ciphertext);
    QCOMPARE(ciphertext->size(), 32); // a full block of padding follows
    QCOMPARE(ciphertext->left(16), firstBlock);
    QCOMPARE(FileEncryptor::decrypt(*ciphertext, passcode), std::optional<QByteArray>(plaintext));
}

void TestFileEncryptor::interoperatesWithOpenssl_data()
{
    QTest::addColumn<qsizetype>("size");
    QTest::addColumn<QString>("passcode");
    const QString passcode = QStringLiteral("correct horse");
    QTest::newRow("empty") << qsizetype(0) << passcode;
    QTest::newRow("1 byte") << qsizetype(1) << passcode;
    QTest::newRow("15 bytes") << qsizetype(15) << passcode;
    QTest::newRow("16 bytes") << qsizetype(16) << passcode;
    QTest::newRow("17 bytes") << qsizetype(17) << QStringLiteral("пароль, который длиннее ключа");
    QTest::newRow("over 3 MiB") << qsizetype(3 * 1024 * 1024 + 7) << passcode;
}

void TestFileEncryptor::interoperatesWithOpenssl()
{
    QFETCH(qsizetype, size);
    QFETCH(QString, passcode);
    const QByteArray plain = randomBytes(size, quint32(size) + 1);
    const QString plainPath = m_dir.filePath(QStringLiteral("plain"));
    const QString ours = m_dir.filePath(QStringLiteral("ours.enc"));
    const QString theirs = m_dir.filePath(QStringLiteral("theirs.enc"));
    const QString back = m_dir.filePath(QStringLiteral("back"));
    QVERIFY(writeFile(plainPath, plain));

    QVERIFY(FileEncryptor::processFile(plainPath, ours, passcode, CryptOperation::encrypt));
    QVERIFY(opensslEnc(passcode, plainPath, theirs, false));
    const QByteArray ciphertext = readFile(ours);
    QCOMPARE(ciphertext.size(), (size / 16 + 1) * 16);
    QCOMPARE(ciphertext, readFile(theirs));
    QCOMPARE(FileEncryptor::encrypt(plain, passcode), std::optional<QByteArray>(ciphertext));
    QCOMPARE(QFile::permissions(ours) & 0x0777, QFile::ReadUser | QFile::WriteUser); // nobody else reads it

    QVERIFY(opensslEnc(passcode, ours, back, true));
    QCOMPARE(readFile(back), plain);
    QVERIFY(FileEncryptor::processFile(theirs, back, passcode, CryptOperation::decrypt));
    QCOMPARE(readFile(back), plain);
    QCOMPARE(FileEncryptor::decrypt(ciphertext, passcode), std::optional<QByteArray>(plain));
}

void TestFileEncryptor::tamperedInputIsRefused_data()
{
    QTest::addColumn<QByteArray>("ciphertext");
    QTest::addColumn<QString>("passcode");
    const QString passcode = QStringLiteral("passcode");
    const QByteArray good = *FileEncryptor::encrypt(randomBytes(40, 7), passcode);
    QByteArray flipped = good;
    flipped[good.size() - 17] = char(flipped.at(good.size() - 17) ^ 0x01); // breaks the padding byte
    QTest::newRow("flipped byte") << flipped << passcode;
    QTest::newRow("truncated") << good.left(good.size() - 1) << passcode;
    QTest::newRow("wrong passcode") << good << QStringLiteral("passcodf");
    QTest::newRow("empty") << QByteArray() << passcode;
}

void TestFileEncryptor::tamperedInputIsRefused()
{
    QFETCH(QByteArray, ciphertext);
    QFETCH(QString, passcode);
    LogCapture capture;
    QCOMPARE(FileEncryptor::decrypt(ciphertext, passcode), std::nullopt);
    QVERIFY(capture.contains(QStringLiteral("FileEncryptor:decrypt(data:withKey:) decrypt failed!")));

    const QString input = m_dir.filePath(QStringLiteral("tampered"));
    QVERIFY(writeFile(input, ciphertext));
    QVERIFY(!FileEncryptor::processFile(input, m_dir.filePath(QStringLiteral("out")), passcode,
                                        CryptOperation::decrypt));
    QVERIFY(capture.contains(QStringLiteral("CCCryptorFinal failed")));
    QVERIFY(!capture.contains(passcode));
}

void TestFileEncryptor::processFileFailures_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("message");
    const QString plain = m_dir.filePath(QStringLiteral("failures-plain"));
    QVERIFY(writeFile(plain, "some bytes to encrypt"));
    const QString invalid = QStringLiteral("Invalid file paths or key");
    QTest::newRow("missing input") << m_dir.filePath(QStringLiteral("nothing")) << m_dir.filePath("o")
                                   << invalid;
    QTest::newRow("output folder missing") << plain << m_dir.filePath(QStringLiteral("no/such")) << invalid;
    QTest::newRow("output is the input") << plain << plain << invalid;
    // Address zero is never mapped: reading the process's memory there fails with EIO.
    QTest::newRow("read error") << "/proc/self/mem" << m_dir.filePath("o") << "Error reading the input file";
    QTest::newRow("write error") << plain << "/dev/full"
                                 << "Error writing the output file";
}

void TestFileEncryptor::processFileFailures()
{
    QFETCH(QString, input);
    QFETCH(QString, output);
    QFETCH(QString, message);
    const QByteArray before = readFile(input);
    LogCapture capture;
    QVERIFY(!FileEncryptor::processFile(input, output, QStringLiteral("secret"), CryptOperation::encrypt));
    QVERIFY2(capture.contains(
                 QStringLiteral("FileEncryptor:processFile(inputURL:outputURL:key:operation:) ") + message),
             qPrintable(capture.lines().join(u'\n')));
    QCOMPARE(readFile(input), before);
}

LUMISERA_TEST_MAIN(TestFileEncryptor)

#include "TestFileEncryptor.moc"
