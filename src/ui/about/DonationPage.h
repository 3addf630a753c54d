#pragma once

#include <QUrl>

// The donation page. Lumisera embeds no web engine, so the maker's donation page opens in the
// system browser, which also gives it back, forward and its own address bar.
class DonationPage
{
public:
    DonationPage() = delete;

    static QUrl address();
    // True when the browser was asked to show the page.
    static bool open();
};
