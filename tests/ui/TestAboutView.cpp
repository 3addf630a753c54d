#include "WidgetTestMain.h"
#include "core/BuildInfo.h"
#include "ui/about/AboutBrowser.h"
#include "ui/about/AboutView.h"
#include "ui/about/DonationPage.h"
#include "ui/about/WebViewDelegate.h"
#include "ui/common/UrlOpener.h"

#include <QAbstractButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QtTest>

namespace {

QString rawPage()
{
    QFile file(QStringLiteral(":/about/about.html"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Scrolls the link into view and gives a point within it.
QPoint pointOfLink(QTextBrowser *browser, const QString &href)
{
    QTextCursor cursor(browser->document());
    while (cursor.movePosition(QTextCursor::NextCharacter)) {
        if (cursor.charFormat().anchorHref() != href)
            continue;
        cursor.movePosition(QTextCursor::NextCharacter); // off the link's edge
        browser->setTextCursor(cursor);
        browser->ensureCursorVisible();
        return browser->cursorRect(cursor).center();
    }
    return QPoint(-1, -1);
}

} // namespace

using namespace Qt::StringLiterals;

class TestAboutView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        UrlOpener::setOpener([this](const QUrl &url) {
            m_opened.append(url);
            return m_openerAnswer;
        });
    }

    void init()
    {
        m_opened.clear();
        m_openerAnswer = true;
    }

    void thePageShowsTheBuildAndItsIcon()
    {
        const int markers = int(rawPage().count(QStringLiteral("$$build$$")));
        QVERIFY(markers > 0);
        AboutView view;
        // HTML folds runs of spaces, such as the one in a single-digit day of __DATE__.
        const QString shown = view.browser()->toPlainText().simplified();
        QVERIFY(!shown.contains(QStringLiteral("$$build$$")));
        QCOMPARE(int(shown.count(BuildInfo::buildString().simplified())), markers);
        // The credit the quote service asks for.
        QVERIFY(rawPage().contains(QStringLiteral("href=\"https://zenquotes.io/\"")));
        const QVariant icon = view.browser()->loadResource(
            QTextDocument::ImageResource,
            AboutBrowser::pageUrl().resolved(QUrl(QStringLiteral("../icons/128/com.morvenda.Lumisera.png"))));
        QVERIFY(!icon.toByteArray().isEmpty());
    }

    void closeAsksToDismiss()
    {
        AboutView view;
        QVERIFY(view.dismissesOnBackground());
        QVERIFY(!view.browser()->accessibleName().isEmpty());
        QSignalSpy dismissed(&view, &Screen::dismissRequested);
        view.findChild<QAbstractButton *>(QStringLiteral("closeButton"))->click();
        QCOMPARE(dismissed.count(), 1);
    }

    // Every link of the page: an outside one goes to the browser, an anchor scrolls the page.
    void clickingALink_data()
    {
        QTest::addColumn<QString>("href");
        QStringList links;
        static const QRegularExpression pattern(QStringLiteral("href=\"([^\"]+)\""));
        for (const QRegularExpressionMatch &match : pattern.globalMatch(rawPage()))
            links.append(match.captured(1));
        links.removeDuplicates();
        for (const QString &link : std::as_const(links))
            QTest::newRow(qPrintable(link)) << link;
    }
    void clickingALink()
    {
        QFETCH(QString, href);
        AboutView view;
        view.resize(420, 320);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTextBrowser *browser = view.browser();
        const QPoint point = pointOfLink(browser, href);
        QVERIFY(point.x() >= 0);
        const QUrl sourceBefore = browser->source();
        const int scrolledBefore = browser->verticalScrollBar()->value();
        const QString textBefore = browser->toPlainText();

        QTest::mouseClick(browser->viewport(), Qt::LeftButton, Qt::NoModifier, point);

        if (href.startsWith(QLatin1Char('#'))) {
            QVERIFY(m_opened.isEmpty());
            QCOMPARE(browser->source(), AboutBrowser::pageUrl().resolved(QUrl(href)));
        } else {
            QCOMPARE(m_opened, QList<QUrl>{QUrl(href)});
            QCOMPARE(browser->source(), sourceBefore);
            QCOMPARE(browser->verticalScrollBar()->value(), scrolledBefore);
        }
        QCOMPARE(browser->toPlainText(), textBefore);
    }

    // The page's own resources open in it; any other address, listed or not, goes to the browser
    // (the page cannot show remote content).
    void navigationPolicy_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<bool>("staysInside");
        QTest::newRow("a listed site") << QUrl(u"https://zenquotes.io/keys"_s) << false;
        QTest::newRow("a site not on the list") << QUrl(u"https://example.org/page"_s) << false;
        QTest::newRow("mail") << QUrl(u"mailto:hello@example.org"_s) << false;
        QTest::newRow("an anchor of the page")
            << AboutBrowser::pageUrl().resolved(QUrl(u"#credits"_s)) << true;
        QTest::newRow("another page of the resources") << QUrl(u"qrc:/about/other.html"_s) << true;
    }
    void navigationPolicy()
    {
        QFETCH(QUrl, url);
        QFETCH(bool, staysInside);
        QCOMPARE(WebViewDelegate::allowsNavigation(url), staysInside);
        QCOMPARE(m_opened, staysInside ? QList<QUrl>() : QList<QUrl>{url});
    }

    void donationOpensInTheBrowser_data()
    {
        QTest::addColumn<bool>("browserAnswers");
        QTest::newRow("browser opens") << true;
        QTest::newRow("no browser") << false;
    }
    void donationOpensInTheBrowser()
    {
        QFETCH(bool, browserAnswers);
        m_openerAnswer = browserAnswers;
        QCOMPARE(DonationPage::open(), browserAnswers);
        QCOMPARE(m_opened, QList<QUrl>{DonationPage::address()});
    }

private:
    QList<QUrl> m_opened;
    bool m_openerAnswer = true;
};

LUMISERA_WIDGET_TEST_MAIN(TestAboutView)
#include "TestAboutView.moc"
