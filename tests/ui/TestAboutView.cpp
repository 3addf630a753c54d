#include "AboutBrowser.h"
#include "AboutView.h"
#include "BuildInfo.h"
#include "DonationPage.h"
#include "UrlOpener.h"
#include "WebViewDelegate.h"
#include "WidgetTestMain.h"

#include <QAbstractButton>
#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

namespace {

QString rawPage()
{
    QFile file(QStringLiteral(":/about/about.html"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QStringList linksOfPage()
{
    QStringList links;
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]+)\""));
    for (const QRegularExpressionMatch &match : href.globalMatch(rawPage()))
        links.append(match.captured(1));
    return links;
}

// Scrolls the link into view and gives the point in the middle of its text.
QPoint pointOfLink(QTextBrowser *browser, const QString &href)
{
    QTextDocument *document = browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(document);
            cursor.setPosition(fragment.position() + fragment.length() / 2);
            browser->setTextCursor(cursor);
            browser->ensureCursorVisible();
            return browser->cursorRect(cursor).center();
        }
    }
    return QPoint(-1, -1);
}

} // namespace

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

    void theBuildReplacesEveryMarker()
    {
        const int markers = int(rawPage().count(QStringLiteral("$$build$$")));
        QVERIFY(markers > 0);
        AboutView view;
        // HTML folds runs of spaces, such as the one in a single-digit day of __DATE__.
        const QString shown = view.browser()->toPlainText().simplified();
        QVERIFY(!shown.contains(QStringLiteral("$$build$$")));
        QCOMPARE(int(shown.count(BuildInfo::buildString().simplified())), markers);
    }

    void theScreenCarriesTheAutomaticDismissal()
    {
        AboutView view;
        QCOMPARE(view.title(), QStringLiteral("About"));
        QVERIFY(view.dismissesOnBackground());
    }

    void closeAsksToDismiss()
    {
        AboutView view;
        auto *close = view.findChild<QAbstractButton *>(QStringLiteral("closeButton"));
        QVERIFY(close);
        QCOMPARE(close->text(), QStringLiteral("Close"));
        QVERIFY(!close->icon().isNull());
        QSignalSpy dismissed(&view, &Screen::dismissRequested);
        close->click();
        QCOMPARE(dismissed.count(), 1);
        QVERIFY(m_opened.isEmpty());
    }

    void everyControlHasAnAccessibleName()
    {
        AboutView view;
        const QList<QWidget *> widgets = view.findChildren<QWidget *>();
        int controls = 0;
        for (QWidget *widget : widgets) {
            if (!qobject_cast<QAbstractButton *>(widget) && !qobject_cast<QTextBrowser *>(widget))
                continue;
            ++controls;
            QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(widget->objectName()));
        }
        QCOMPARE(controls, 2);
    }

    void thePageCreditsTheQuoteService()
    {
        const QStringList links = linksOfPage();
        const bool credited = std::any_of(links.cbegin(), links.cend(), [](const QString &link) {
            return QUrl(link).host() == QStringLiteral("zenquotes.io");
        });
        QVERIFY(credited);
        QVERIFY(rawPage().contains(QStringLiteral("provided by")));
    }

    void theIconOfThePageLoads()
    {
        AboutView view;
        const QVariant icon = view.browser()->loadResource(
            QTextDocument::ImageResource,
            AboutBrowser::pageUrl().resolved(QUrl(QStringLiteral("../icons/128/com.morvenda.Lumisera.png"))));
        QVERIFY(!icon.toByteArray().isEmpty());
    }

    void anOutsideLinkOpensTheBrowserAndThePageStays_data()
    {
        QTest::addColumn<QString>("href");
        for (const QString &link : linksOfPage()) {
            if (!QUrl(link).isRelative())
                QTest::newRow(qPrintable(link)) << link;
        }
    }

    void anOutsideLinkOpensTheBrowserAndThePageStays()
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

        QCOMPARE(m_opened, QList<QUrl>{QUrl(href)});
        QCOMPARE(browser->source(), sourceBefore);
        QCOMPARE(browser->verticalScrollBar()->value(), scrolledBefore);
        QCOMPARE(browser->toPlainText(), textBefore);
    }

    void anAnchorOpensInsideThePage_data()
    {
        QTest::addColumn<QString>("href");
        for (const QString &link : linksOfPage()) {
            if (link.startsWith(QLatin1Char('#')))
                QTest::newRow(qPrintable(link)) << link;
        }
    }

    void anAnchorOpensInsideThePage()
    {
        QFETCH(QString, href);
        AboutView view;
        view.resize(420, 320);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTextBrowser *browser = view.browser();
        const QPoint point = pointOfLink(browser, href);
        QVERIFY(point.x() >= 0);

        QTest::mouseClick(browser->viewport(), Qt::LeftButton, Qt::NoModifier, point);

        QVERIFY(m_opened.isEmpty());
        QCOMPARE(browser->source().adjusted(QUrl::RemoveFragment), AboutBrowser::pageUrl());
        QCOMPARE(browser->source().fragment(), href.mid(1));
        QVERIFY(!browser->toPlainText().contains(QStringLiteral("$$build$$")));
    }

    void navigationPolicy_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<bool>("inside");
        QTest::newRow("no address") << QUrl() << true;
        QTest::newRow("anchor of the page") << QUrl(QStringLiteral("qrc:/about/about.html#credits")) << true;
        QTest::newRow("a page of the quote service")
            << QUrl(QStringLiteral("https://zenquotes.io/api/today")) << false;
        QTest::newRow("a page of the maker") << QUrl(QStringLiteral("https://morvenda.com/privacy")) << false;
        QTest::newRow("another site") << QUrl(QStringLiteral("https://example.org/")) << true;
        QTest::newRow("another scheme") << QUrl(QStringLiteral("ftp://morvenda.com/")) << true;
    }

    void navigationPolicy()
    {
        QFETCH(QUrl, url);
        QFETCH(bool, inside);
        QCOMPARE(WebViewDelegate::allowsNavigation(url), inside);
        QCOMPARE(m_opened, inside ? QList<QUrl>() : QList<QUrl>{url});
    }

    void everySiteOfTheListIsAWebAddress()
    {
        QVERIFY(!WebViewDelegate::externalSites().isEmpty());
        for (const QString &site : WebViewDelegate::externalSites()) {
            const QUrl url(site);
            QVERIFY2(url.scheme() == QStringLiteral("https") && !url.host().isEmpty() && url.path().isEmpty(),
                     qPrintable(site));
        }
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
        QCOMPARE(DonationPage::address().scheme(), QStringLiteral("https"));
    }

private:
    QList<QUrl> m_opened;
    bool m_openerAnswer = true;
};

LUMISERA_WIDGET_TEST_MAIN(TestAboutView)
#include "TestAboutView.moc"
