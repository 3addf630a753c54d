#include "TestHome.h"
#include "ui/common/Symbols.h"

#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QtTest>

namespace {

// Every symbol name the screens show.
const QStringList documentedSymbols =
    QStringLiteral(
        "x.circle photo photo.stack lock.trianglebadge.exclamationmark touchid faceid opticid gear "
        "info.circle cup.and.heat.waves trophy xmark.circle.fill ellipsis arrowtriangle.left.fill "
        "arrowtriangle.right.fill arrowshape.turn.up.right square.and.arrow.up square.and.arrow.down "
        "filemenu.and.selection arrow.clockwise folder.badge.plus folder.badge.minus "
        "folder.badge.gearshape checkmark.circle.fill trash camera")
        .split(QLatin1Char(' '));

// A colour of its own for each theme icon name, so that a wrong mapping shows.
QColor colourFor(const QString &themeName)
{
    return QColor::fromRgb(0xff000000u | QRgb(qHash(themeName)));
}

QImage at48(const QIcon &icon)
{
    return icon.pixmap(QSize(48, 48)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

class TestSymbols : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // A theme of solid squares named after every mapped theme icon.
        const QString folder = m_themes.path() + QStringLiteral("/lumisera-test/48x48/apps");
        QVERIFY(QDir().mkpath(folder));
        QFile index(m_themes.path() + QStringLiteral("/lumisera-test/index.theme"));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=lumisera-test\nDirectories=48x48/apps\n\n"
                    "[48x48/apps]\nSize=48\nType=Fixed\n");
        index.close();
        for (const QString &symbol : documentedSymbols) {
            const QString theme = Symbols::themeName(symbol);
            QImage square(48, 48, QImage::Format_ARGB32);
            square.fill(colourFor(theme));
            QVERIFY(square.save(folder + QLatin1Char('/') + theme + QStringLiteral(".png")));
        }
        QIcon::setThemeSearchPaths({m_themes.path()});
        QIcon::setFallbackSearchPaths({});
        QIcon::setFallbackThemeName(QStringLiteral("lumisera-none"));
    }

    // A known symbol shows the theme's icon, else its bundled picture; an unknown one nothing.
    void iconOfASymbol_data()
    {
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<bool>("known");
        for (const QString &symbol : documentedSymbols)
            QTest::newRow(qPrintable(symbol)) << symbol << true;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("unknown") << QStringLiteral("star.circle") << false;
        QTest::newRow("a file path") << QStringLiteral("../pictures/tipIcon") << false;
        QTest::newRow("theme name, not symbol") << QStringLiteral("preferences-system") << false;
    }
    void iconOfASymbol()
    {
        QFETCH(QString, symbol);
        QFETCH(bool, known);
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        QIcon::setThemeName(QStringLiteral("lumisera-none"));
        const QIcon icon = Symbols::icon(symbol);
        QCOMPARE(icon.isNull(), !known);
        QCOMPARE(Symbols::themeName(symbol).isEmpty(), !known);
        if (!known)
            return;
        const QImage bundled(QStringLiteral(":/symbols/%1.png").arg(symbol));
        QVERIFY(!bundled.isNull());
        QCOMPARE(at48(icon), bundled.convertToFormat(QImage::Format_ARGB32_Premultiplied));

        QIcon::setThemeName(QStringLiteral("lumisera-test"));
        QCOMPARE(at48(Symbols::icon(symbol)).pixel(24, 24), colourFor(Symbols::themeName(symbol)).rgba());
    }

    void everyBundledPictureIsATableEntry()
    {
        QStringList files = QDir(QStringLiteral(":/symbols")).entryList(QDir::Files);
        files.replaceInStrings(QStringLiteral(".png"), QString());
        QStringList documented = documentedSymbols;
        documented.sort();
        QCOMPARE(files, documented);
    }

private:
    QTemporaryDir m_themes;
};

LUMISERA_TEST_MAIN(TestSymbols)
#include "TestSymbols.moc"
