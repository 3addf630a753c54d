#include "ui/about/AboutBrowser.h"

#include "core/BuildInfo.h"
#include "ui/about/WebViewDelegate.h"

#include <QStringDecoder>
#include <QTextDocument>

const QUrl &AboutBrowser::pageUrl()
{
    static const QUrl url(QStringLiteral("qrc:/about/about.html"));
    return url;
}

AboutBrowser::AboutBrowser(QWidget *parent) : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("aboutPage"));
    setAccessibleName(tr("About Lumisera"));
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &AboutBrowser::follow);
    setSource(pageUrl());
}

QVariant AboutBrowser::loadResource(int type, const QUrl &name)
{
    const QVariant loaded = QTextBrowser::loadResource(type, name);
    if (type != QTextDocument::HtmlResource)
        return loaded;
    if (!loaded.isValid())
        return tr("<p>The about page is missing from this installation of Lumisera.</p>");
    const QByteArray bytes = loaded.toByteArray();
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    // Bytes that are not UTF-8 are shown as they are, build marker and all.
    if (decoder.hasError())
        return loaded;
    return text.replace(QStringLiteral("$$build$$"), BuildInfo::buildString().toHtmlEscaped());
}

void AboutBrowser::follow(const QUrl &link)
{
    const QUrl target = source().resolved(link);
    if (WebViewDelegate::allowsNavigation(target))
        setSource(target);
}
