#include "Symbols.h"
#include "TestHome.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Every symbol name the screens show.
const QStringList &documentedSymbols()
{
    static const QStringList names{
        QStringLiteral("x.circle"),
        QStringLiteral("photo"),
        QStringLiteral("photo.stack"),
        QStringLiteral("lock.trianglebadge.exclamationmark"),
        QStringLiteral("touchid"),
        QStringLiteral("faceid"),
        QStringLiteral("opticid"),
        QStringLiteral("gear"),
        QStringLiteral("info.circle"),
        QStringLiteral("cup.and.heat.waves"),
        QStringLiteral("trophy"),
        QStringLiteral("xmark.circle.fill"),
        QStringLiteral("ellipsis"),
        QStringLiteral("arrowtriangle.left.fill"),
        QStringLiteral("arrowtriangle.right.fill"),
        QStringLiteral("arrowshape.turn.up.right"),
        QStringLiteral("square.and.arrow.up"),
        QStringLiteral("square.and.arrow.down"),
        QStringLiteral("filemenu.and.selection"),
        QStringLiteral("arrow.clockwise"),
        QStringLiteral("folder.badge.plus"),
        QStringLiteral("folder.badge.minus"),
        QStringLiteral("folder.badge.gearshape"),
        QStringLiteral("checkmark.circle.fill"),
        QStringLiteral("trash"),
        QStringLiteral("camera"),
    };
    return names;
}

// A colour of its own for each theme icon name, so that a wrong mapping shows.
QColor colourFor(const QString &themeName)
{
    const size_t hash = qHash(themeName);
    return QColor::fromHsv(int(hash % 360), 200, 120 + int((hash / 360) % 120));
}

QImage at48(const QIcon &icon)
{
    return icon.pixmap(QSize(48, 48)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QStringList g_messages;

void recordMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    g_messages.append(message);
}

} // namespace

class TestSymbols : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_emptyThemes.isValid());
        QVERIFY(m_testThemes.isValid());
        // A theme of solid squares named after every mapped theme icon.
        const QString folder = m_testThemes.path() + QStringLiteral("/lumisera-test/48x48/apps");
        QVERIFY(QDir().mkpath(folder));
        QFile index(m_testThemes.path() + QStringLiteral("/lumisera-test/index.theme"));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=lumisera-test\nDirectories=48x48/apps\n\n"
                    "[48x48/apps]\nSize=48\nType=Fixed\n");
        index.close();
        for (const QString &symbol : documentedSymbols()) {
            const QString theme = Symbols::themeName(symbol);
            QImage square(48, 48, QImage::Format_ARGB32);
            square.fill(colourFor(theme));
            QVERIFY(square.save(folder + QLatin1Char('/') + theme + QStringLiteral(".png")));
        }
    }

    void init()
    {
        // No theme with anything in it, and no unthemed fallback either.
        QIcon::setThemeSearchPaths({m_emptyThemes.path()});
        QIcon::setFallbackSearchPaths({});
        QIcon::setFallbackThemeName(QStringLiteral("lumisera-none"));
        QIcon::setThemeName(QStringLiteral("lumisera-none"));
    }

    void withoutAThemeTheBundledPictureShows_data()
    {
        QTest::addColumn<QString>("symbol");
        for (const QString &symbol : documentedSymbols())
            QTest::newRow(qPrintable(symbol)) << symbol;
    }

    void withoutAThemeTheBundledPictureShows()
    {
        QFETCH(QString, symbol);
        const QIcon icon = Symbols::icon(symbol);
        QVERIFY(!icon.isNull());
        const QImage bundled(QStringLiteral(":/symbols/%1.png").arg(symbol));
        QVERIFY(!bundled.isNull());
        QCOMPARE(at48(icon), bundled.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }

    void aThemeIconWinsOverTheBundledPicture_data() { withoutAThemeTheBundledPictureShows_data(); }

    void aThemeIconWinsOverTheBundledPicture()
    {
        QFETCH(QString, symbol);
        QIcon::setThemeSearchPaths({m_testThemes.path()});
        QIcon::setThemeName(QStringLiteral("lumisera-test"));
        const QString theme = Symbols::themeName(symbol);
        QVERIFY(!theme.isEmpty());
        QCOMPARE(at48(Symbols::icon(symbol)).pixel(24, 24), colourFor(theme).rgba());
    }

    void everyBundledPictureIsATableEntry()
    {
        const QStringList files = QDir(QStringLiteral(":/symbols")).entryList(QDir::Files);
        QCOMPARE(files.size(), documentedSymbols().size());
        for (const QString &file : files) {
            const QString symbol = QFileInfo(file).completeBaseName();
            QVERIFY2(!Symbols::themeName(symbol).isEmpty(), qPrintable(file));
        }
    }

    void anUnknownSymbolIsNullAndQuiet_data()
    {
        QTest::addColumn<QString>("symbol");
        QTest::newRow("empty") << QString();
        QTest::newRow("unknown") << QStringLiteral("star.circle");
        QTest::newRow("a file path") << QStringLiteral("../pictures/tipIcon");
        QTest::newRow("theme name, not symbol") << QStringLiteral("preferences-system");
    }

    void anUnknownSymbolIsNullAndQuiet()
    {
        QFETCH(QString, symbol);
        g_messages.clear();
        const QtMessageHandler previous = qInstallMessageHandler(recordMessage);
        const QIcon icon = Symbols::icon(symbol);
        const QString theme = Symbols::themeName(symbol);
        qInstallMessageHandler(previous);
        QVERIFY(icon.isNull());
        QVERIFY(theme.isEmpty());
        QCOMPARE(g_messages, QStringList());
    }

private:
    QTemporaryDir m_emptyThemes;
    QTemporaryDir m_testThemes;
};

LUMISERA_TEST_MAIN(TestSymbols)
#include "TestSymbols.moc"
