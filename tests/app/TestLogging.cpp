#include "LogCapture.h"
#include "Logging.h"
#include "TestHome.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QTest>

class TestLogging : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fileName_data();
    void fileName();
    void errorLines_data();
    void errorLines();
    void infoLineCarriesTimeWithSeconds();
};

void TestLogging::fileName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nested path") << "/work/src/storage/ItemCollection.cpp"
                                 << "ItemCollection";
    QTest::newRow("bare name") << "KeyChainHelper.cpp"
                               << "KeyChainHelper";
    QTest::newRow("no extension") << "Logging"
                                  << "Logging";
    QTest::newRow("extension twice") << "a/Foo.cpp.cpp"
                                     << "Foo";
    QTest::newRow("extension inside") << "Foo.cppBar.cpp"
                                      << "FooBar";
    QTest::newRow("header keeps its extension") << "src/Foo.h"
                                                << "Foo.h";
    QTest::newRow("no component") << "/"
                                  << "/";
    QTest::newRow("empty") << ""
                           << "";
}

void TestLogging::fileName()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(logFileName(path), expected);
}

void TestLogging::errorLines_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("expected");
    QTest::newRow("logError") << 0 << "FileEncryptor:encrypt(data:withKey:) encrypt failed!";
    QTest::newRow("errorMsg") << 1 << "Logging:errorMsg(_:) Caught error boom";
    QTest::newRow("fatalErrorMsg") << 2 << "Logging:fatalErrorMsg(_:) Production arrested fatal: no drive";
}

void TestLogging::errorLines()
{
    QFETCH(int, which);
    QFETCH(QString, expected);
    LogCapture capture;
    switch (which) {
    case 0:
        logError(QStringLiteral("encrypt failed!"), QStringLiteral("/x/y/FileEncryptor.cpp"),
                 QStringLiteral("encrypt(data:withKey:)"));
        break;
    case 1:
        errorMsg(QStringLiteral("Caught error boom"));
        break;
    default:
        fatalErrorMsg(QStringLiteral("no drive"));
        break;
    }
    QCOMPARE(capture.errors(), QStringList{expected});
    QVERIFY(capture.infos().isEmpty());
}

void TestLogging::infoLineCarriesTimeWithSeconds()
{
    LogCapture capture;
    logInfo(QStringLiteral("update complete"));
    QCOMPARE(capture.infos().size(), 1);
    static const QRegularExpression shape(QStringLiteral("^\\S.*\\d{1,2}.\\d{2}.\\d{2}.*: update complete$"));
    QVERIFY2(shape.match(capture.infos().first()).hasMatch(), qPrintable(capture.infos().first()));
    QVERIFY(capture.errors().isEmpty());
}

LUMISERA_TEST_MAIN(TestLogging)
#include "TestLogging.moc"
