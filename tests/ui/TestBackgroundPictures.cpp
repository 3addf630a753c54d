#include "BackgroundImage.h"
#include "BackgroundPictures.h"
#include "TestHome.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QtTest>

class TestBackgroundPictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyBackgroundLoads_data()
    {
        QTest::addColumn<QString>("image");
        for (const BackgroundImage &row : BackgroundImage::all())
            QTest::newRow(qPrintable(row.name)) << row.image;
    }

    void everyBackgroundLoads()
    {
        QFETCH(QString, image);
        const QPixmap picture = BackgroundPictures::picture(image);
        QVERIFY(!picture.isNull());
        // Wide enough to fill a window without visible upscaling.
        QVERIFY(picture.width() >= 1280);
        QVERIFY(picture.width() > picture.height());
    }

    void noPictureForNoneOrOtherNames_data()
    {
        QTest::addColumn<QString>("image");
        QTest::newRow("none") << QStringLiteral("none");
        QTest::newRow("empty") << QString();
        QTest::newRow("a display name") << QStringLiteral("Default");
        QTest::newRow("wrong case") << QStringLiteral("Background");
        QTest::newRow("another resource") << QStringLiteral("../pictures/sorryClosed");
    }

    void noPictureForNoneOrOtherNames()
    {
        QFETCH(QString, image);
        QVERIFY(BackgroundPictures::picture(image).isNull());
        QVERIFY(BackgroundPictures::resourcePath(image).isEmpty());
    }

    void sorryClosedLoads()
    {
        const QPixmap cover = BackgroundPictures::sorryClosed();
        QVERIFY(!cover.isNull());
        QVERIFY(cover.width() >= 400 && cover.height() >= 400);
    }

    void theNamedPicturesLoad_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("tip") << QStringLiteral(":/pictures/tipIcon.png");
        QTest::newRow("folder") << QStringLiteral(":/pictures/folder.png");
        QTest::newRow("other files") << QStringLiteral(":/pictures/contentIcon.png");
        QTest::newRow("new folder") << QStringLiteral(":/pictures/newFolder.png");
        QTest::newRow("icon 48") << QStringLiteral(":/icons/48/com.morvenda.Lumisera.png");
        QTest::newRow("icon 256") << QStringLiteral(":/icons/256/com.morvenda.Lumisera.png");
    }

    void theNamedPicturesLoad()
    {
        QFETCH(QString, path);
        const QImage image(path);
        QVERIFY(!image.isNull());
        // Small pictures sit on any background: their corners are see-through.
        QVERIFY(image.hasAlphaChannel());
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
    }
};

LUMISERA_TEST_MAIN(TestBackgroundPictures)
#include "TestBackgroundPictures.moc"
