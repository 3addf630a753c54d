#include "LogCapture.h"
#include "TestFiles.h"
#include "TestHome.h"
#include "security/FileEncryptor.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QList<quint32> words((size + 3) / 4);
    QRandomGenerator(seed).fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char *>(words.constData()), size);
}

// The reference peer: the openssl command line with the same key and the all-zero IV.
bool opensslEnc(const QString &passcode, const QString &in, const QString &out, bool decrypt)
{
    const QString key = QString::fromLatin1(FileEncryptor::aesKey(passcode).toHex());
    const QStringList args{"enc", decrypt ? "-d" : "-e", "-aes-128-cbc", "-K", key, "-iv", QString(32, '0')};
    return QProcess::execute("openssl", args + QStringList{"-in", in, "-out", out}) == 0;
}
} // namespace

class TestFileEncryptor : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void aesKey_data()
    {
        QTest::addColumn<QString>("passcode");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("empty") << "" << QByteArray(16, '\0');
        QTest::newRow("short is zero-padded, not repeated") << "abc" << QByteArray("abc").append(13, '\0');
        QTest::newRow("longer is cut") << "0123456789abcdefXYZ" << QByteArray("0123456789abcdef");
        QTest::newRow("counted in UTF-8 bytes") << "çé" << QByteArray("\xc3\xa7\xc3\xa9").append(12, '\0');
        QTest::newRow("cut inside a character") << "012345678901234é" << QByteArray("012345678901234\xc3");
    }

    void aesKey()
    {
        QFETCH(QString, passcode);
        QFETCH(QByteArray, expected);
        QCOMPARE(FileEncryptor::aesKey(passcode), expected);
    }

    void interoperatesWithOpenssl_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QString>("passcode");
        QTest::addColumn<QByteArray>("firstBlock");
        const auto row = [](const QString &tag, const QByteArray &plain, const QString &passcode,
                            const char *firstBlock = "") {
            QTest::addRow("%s", qPrintable(tag)) << plain << passcode << QByteArray::fromHex(firstBlock);
        };
        // Published vectors; with a zero IV the first block is the bare block cipher.
        const QByteArray fipsKey = QByteArray::fromHex("000102030405060708090a0b0c0d0e0f");
        row("FIPS-197 C.1", QByteArray::fromHex("00112233445566778899aabbccddeeff"),
            QString::fromLatin1(fipsKey), "69c4e0d86a7b0430d8cdb78070b4c55a");
        row("AESAVS GFSbox 1, zero key", QByteArray::fromHex("f34481ec3cc627bacd5dc3fb08f273e6"), "",
            "0336763e966d92595a567cc9ce537f5e");
        for (const int size : {0, 1, 15, 16, 17, 3 * 1024 * 1024 + 7})
            row(QString::number(size) + " bytes", randomBytes(size, size),
                size == 17 ? "пароль, который длиннее ключа" : "correct horse");
    }

    void interoperatesWithOpenssl()
    {
        QFETCH(QByteArray, plain);
        QFETCH(QString, passcode);
        QFETCH(QByteArray, firstBlock);
        const QString plainPath = m_dir.filePath("plain"), ours = m_dir.filePath("ours.enc"),
                      theirs = m_dir.filePath("theirs.enc"), back = m_dir.filePath("back");
        QVERIFY(writeBytes(plainPath, plain));
        QVERIFY(FileEncryptor::processFile(plainPath, ours, passcode, CryptOperation::encrypt));
        QVERIFY(opensslEnc(passcode, plainPath, theirs, false));
        const QByteArray ciphertext = fileContents(ours);
        QCOMPARE(ciphertext, fileContents(theirs));
        QVERIFY(firstBlock.isEmpty() || ciphertext.startsWith(firstBlock));
        QCOMPARE(FileEncryptor::encrypt(plain, passcode), ciphertext);
        QCOMPARE(QFile::permissions(ours) & 0x0777, QFile::ReadUser | QFile::WriteUser);
        QVERIFY(opensslEnc(passcode, ours, back, true));
        QCOMPARE(fileContents(back), plain);
        QVERIFY(FileEncryptor::processFile(theirs, back, passcode, CryptOperation::decrypt));
        QCOMPARE(fileContents(back), plain);
        QCOMPARE(FileEncryptor::decrypt(ciphertext, passcode), plain);
    }

    void processFileFailures_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("message");
        const QString plain = m_dir.filePath("input"), out = m_dir.filePath("out");
        const auto row = [&](const char *tag, const QString &input, const QString &output,
                             const char *message, const std::optional<QByteArray> &content = {}) {
            QVERIFY(!content || writeBytes(input, *content));
            QTest::newRow(tag) << input << output << message;
        };
        const QByteArray good = *FileEncryptor::encrypt(randomBytes(40, 7), "secret");
        QByteArray flipped = good;
        flipped[good.size() - 17] = char(flipped.at(good.size() - 17) ^ 0x01); // breaks the padding byte
        const char *invalid = "Invalid file paths or key", *refused = "CCCryptorFinal failed";
        row("output folder missing", plain, m_dir.filePath("no/such"), invalid, "some bytes to encrypt");
        row("missing input", m_dir.filePath("nothing"), out, invalid);
        row("output is the input", plain, plain, invalid);
        // Address zero is never mapped: reading the process's memory there fails with EIO.
        row("read error", "/proc/self/mem", out, "Error reading the input file");
        row("write error", plain, "/dev/full", "Error writing the output file");
        row("flipped byte", m_dir.filePath("flipped"), out, refused, flipped);
        row("truncated", m_dir.filePath("truncated"), out, refused, good.left(good.size() - 1));
        row("wrong passcode", m_dir.filePath("wrong"), out, refused, FileEncryptor::encrypt("x", "Secret"));
        row("empty", m_dir.filePath("empty"), out, refused, QByteArray());
    }

    void processFileFailures()
    {
        QFETCH(QString, input);
        QFETCH(QString, output);
        QFETCH(QString, message);
        const bool decrypting = message == "CCCryptorFinal failed";
        const QByteArray before = fileContents(input);
        LogCapture capture;
        QVERIFY(!FileEncryptor::processFile(input, output, "secret",
                                            decrypting ? CryptOperation::decrypt : CryptOperation::encrypt));
        QVERIFY(capture.contains("FileEncryptor:processFile(inputURL:outputURL:key:operation:) " + message));
        QCOMPARE(fileContents(input), before);
        if (decrypting)
            QCOMPARE(FileEncryptor::decrypt(before, "secret"), std::nullopt);
        QVERIFY(!capture.contains("secret"));
    }
};

LUMISERA_TEST_MAIN(TestFileEncryptor)

#include "TestFileEncryptor.moc"
