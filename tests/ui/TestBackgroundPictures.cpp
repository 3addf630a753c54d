#include "TestHome.h"
#include "core/BackgroundImage.h"
#include "ui/common/BackgroundPictures.h"
#include "ui/common/Symbols.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QtTest>

class TestBackgroundPictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Only the names of the table: a stored setting must not reach other resources.
    // First, before anything else reads a picture: the main screen's pictures must not load every
    // installed image plugin (and the libraries behind them) into the window's start-up.
    void picturesLoadNoOtherImagePlugin()
    {
        QVERIFY(!BackgroundPictures::sorryClosed().isNull());
        QVERIFY(!BackgroundPictures::picture(BackgroundImage::all().first().image).isNull());
        QVERIFY(!Symbols::bundledIcon("gear").pixmap(32).isNull());
        QFile maps("/proc/self/maps");
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QByteArray mapped = maps.readAll();
        QVERIFY(!mapped.contains("libqwebp") && !mapped.contains("libqtiff") && !mapped.contains("libqgif"));
    }

    void onlyTheTableLoads_data()
    {
        QTest::addColumn<QString>("image");
        QTest::addColumn<bool>("loads");
        for (const BackgroundImage &row : BackgroundImage::all())
            QTest::newRow(qPrintable(row.name)) << row.image << true;
        QTest::newRow("none") << QStringLiteral("none") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("a display name") << QStringLiteral("Default") << false;
        QTest::newRow("another resource") << QStringLiteral("../pictures/sorryClosed") << false;
    }
    void onlyTheTableLoads()
    {
        QFETCH(QString, image);
        QFETCH(bool, loads);
        const QPixmap picture = BackgroundPictures::picture(image);
        QCOMPARE(picture.isNull(), !loads);
        QCOMPARE(BackgroundPictures::resourcePath(image).isEmpty(), !loads);
        // Wide enough to fill a window without visible upscaling.
        QVERIFY(!loads || (picture.width() >= 1280 && picture.width() > picture.height()));
    }

    void thePicturesLoad_data()
    {
        QTest::addColumn<QPixmap>("picture");
        QTest::addColumn<bool>("small"); // small ones sit on any background: their corners are see-through
        QTest::newRow("sorryClosed") << BackgroundPictures::sorryClosed() << false;
        for (const char *path :
             {":/pictures/tipIcon.png", ":/pictures/folder.png", ":/pictures/contentIcon.png",
              ":/pictures/newFolder.png", ":/icons/48/com.morvenda.Lumisera.png",
              ":/icons/128/com.morvenda.Lumisera.png", ":/icons/256/com.morvenda.Lumisera.png"})
            QTest::newRow(path) << Symbols::bundledPicture(QLatin1String(path)) << true;
    }
    void thePicturesLoad()
    {
        QFETCH(QPixmap, picture);
        QFETCH(bool, small);
        QVERIFY(!picture.isNull());
        if (small)
            QCOMPARE(picture.toImage().pixelColor(0, 0).alpha(), 0);
        else
            QVERIFY(picture.width() >= 400 && picture.height() >= 400);
    }
};

LUMISERA_TEST_MAIN(TestBackgroundPictures)
#include "TestBackgroundPictures.moc"
