#include "TestHome.h"
#include "storage/PreviewContent.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestPreviewContent : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Read with limits of 11 bytes of text, 8 of Markdown and lines of 6 characters.
    void kindsOfContent_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("truncated");
        QTest::addColumn<bool>("longLines");
        using Kind = PreviewContent::Kind;
        QTest::newRow("plain text") << u"notes.txt"_s << "caf\xc3\xa9\nab"_ba << int(Kind::text)
                                    << u"café\nab"_s << false << false;
        QTest::newRow("cut in a character") << u"long.txt"_s << "0123456789\xc3\xa9x"_ba << int(Kind::text)
                                            << u"0123456789"_s << true << true;
        QTest::newRow("Latin-1") << u"old.txt"_s << "caf\xe9"_ba << int(Kind::text) << u"café"_s << false
                                 << false;
        QTest::newRow("code") << u"main.cpp"_s << "int f;"_ba << int(Kind::code) << u"int f;"_s << false
                              << false;
        QTest::newRow("Markdown") << u"README.md"_s << "# Title"_ba << int(Kind::markdown) << u"# Title"_s
                                  << false << true;
        QTest::newRow("Markdown as source")
            << u"NEWS.md"_s << "# 1\n\n- a\n"_ba << int(Kind::code) << u"# 1\n\n- a\n"_s << false << false;
        QTest::newRow("audio") << u"song.mp3"_s << "ID3"_ba << int(Kind::media) << QString() << false
                               << false;
        QTest::newRow("word") << u"letter.docx"_s << "PK\x03\x04"_ba << int(Kind::other) << QString() << false
                              << false;
    }
    void kindsOfContent()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(bool, truncated);
        QFETCH(bool, longLines);
        QTemporaryDir folder;
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        const PreviewContent content = PreviewContent::read(file.fileName(), {11, 8, 6});
        QCOMPARE(int(content.kind), kind);
        QCOMPARE(content.text, text);
        QCOMPARE(content.truncated, truncated);
        QCOMPARE(content.longLines, longLines);
        QCOMPARE(content.size, bytes.size());
        QVERIFY(!content.typeName.isEmpty());
    }
};

LUMISERA_TEST_MAIN(TestPreviewContent)
#include "TestPreviewContent.moc"
