#include "ui/common/UrlOpener.h"

#include <QDesktopServices>

namespace {

UrlOpener::Opener &replacement()
{
    static UrlOpener::Opener opener;
    return opener;
}

} // namespace

bool UrlOpener::open(const QUrl &url)
{
    if (const Opener &opener = replacement())
        return opener(url);
    return QDesktopServices::openUrl(url);
}

void UrlOpener::setOpener(Opener opener)
{
    replacement() = std::move(opener);
}
