#include "ui/about/WebViewDelegate.h"

#include "ui/common/UrlOpener.h"

const QStringList &WebViewDelegate::externalSites()
{
    // The credit for the background pictures (the tool that draws them), the quote service,
    // and the maker's own site: every outside address the about page links to.
    static const QStringList sites{
        QStringLiteral("https://imagemagick.org"),
        QStringLiteral("https://zenquotes.io"),
        QStringLiteral("https://morvenda.com"),
    };
    return sites;
}

bool WebViewDelegate::allowsNavigation(const QUrl &url)
{
    if (url.isEmpty())
        return true;
    const QString address = url.toString();
    for (const QString &site : externalSites()) {
        if (address.contains(site)) {
            UrlOpener::open(url);
            return false;
        }
    }
    if (url.scheme() == QLatin1String("qrc") || url.isRelative())
        return true;
    UrlOpener::open(url);
    return false;
}
