#include "LogCapture.h"
#include "TestHome.h"
#include "core/Logging.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QTest>

class TestLogging : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fileName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        auto row = [](const char *name, const QString &path, const QString &expected) {
            QTest::newRow(name) << path << expected;
        };
        row("nested path", "/work/src/storage/ItemCollection.cpp", "ItemCollection");
        row("bare name", "KeyChainHelper.cpp", "KeyChainHelper");
        row("no extension", "Logging", "Logging");
        row("extension twice", "a/Foo.cpp.cpp", "Foo");
        row("extension inside", "Foo.cppBar.cpp", "FooBar");
        row("header keeps its extension", "src/Foo.h", "Foo.h");
        row("no component", "/", "/");
        row("empty", "", "");
    }
    void fileName()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(logFileName(path), expected);
    }

    void errorLines()
    {
        LogCapture capture;
        logError(QStringLiteral("encrypt failed!"), QStringLiteral("/x/y/FileEncryptor.cpp"),
                 QStringLiteral("encrypt(data:withKey:)"));
        errorMsg(QStringLiteral("Caught error boom"));
        fatalErrorMsg(QStringLiteral("no drive"));
        QCOMPARE(capture.errors(),
                 (QStringList{"FileEncryptor:encrypt(data:withKey:) encrypt failed!",
                              "Logging:errorMsg(_:) Caught error boom",
                              "Logging:fatalErrorMsg(_:) Production arrested fatal: no drive"}));
        QVERIFY(capture.infos().isEmpty());
    }

    void infoLineCarriesTimeWithSeconds()
    {
        LogCapture capture;
        logInfo(QStringLiteral("update complete"));
        QCOMPARE(capture.infos().size(), 1);
        static const QRegularExpression shape(
            QStringLiteral("^\\S.*\\d{1,2}.\\d{2}.\\d{2}.*: update complete$"));
        QVERIFY2(shape.match(capture.infos().first()).hasMatch(), qPrintable(capture.infos().first()));
        QVERIFY(capture.errors().isEmpty());
    }
};

LUMISERA_TEST_MAIN(TestLogging)
#include "TestLogging.moc"
