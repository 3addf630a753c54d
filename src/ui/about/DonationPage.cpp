#include "ui/about/DonationPage.h"

#include "ui/common/UrlOpener.h"

QUrl DonationPage::address()
{
    return QUrl(QStringLiteral("https://morvenda.com/donate"));
}

bool DonationPage::open()
{
    return UrlOpener::open(address());
}
