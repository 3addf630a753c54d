#include "ui/preview/MarkdownBrowser.h"

#include "ui/common/UrlOpener.h"

#include <QTextDocument>

#include <QStringList>

namespace {
const QStringList outsideSchemes{QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("mailto")};
} // namespace

MarkdownBrowser::MarkdownBrowser(const QString &markdown, QWidget *parent) : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("markdownView"));
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &MarkdownBrowser::follow);
    setMarkdown(markdown);
    document()->setDocumentMargin(16);
}

QVariant MarkdownBrowser::loadResource(int, const QUrl &)
{
    // A picture named by the document could be any file of the user's, or a tracker on the web.
    return {};
}

void MarkdownBrowser::follow(const QUrl &link)
{
    if (link.isRelative() && link.path().isEmpty() && link.hasFragment())
        scrollToAnchor(link.fragment());
    else if (outsideSchemes.contains(link.scheme()))
        UrlOpener::open(link);
}
