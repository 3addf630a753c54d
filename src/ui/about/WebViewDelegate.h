#pragma once

#include <QStringList>
#include <QUrl>

// The about page's navigation policy: an address on one of the outside sites leaves for the
// system browser, and so does any other address that is not part of the page itself (the page
// cannot show remote content); pages of the application's own resources open inside.
class WebViewDelegate
{
public:
    WebViewDelegate() = delete;

    // Each entry is "scheme://host"; an address containing one of them is outside.
    static const QStringList &externalSites();
    // True when the page may follow url itself; false when url went to the system browser.
    static bool allowsNavigation(const QUrl &url);
};
