#pragma once

#include <QTextBrowser>

// The about page: the bundled HTML with the build filled in. Links follow the page's navigation
// policy instead of QTextBrowser's own.
class AboutBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    static const QUrl &pageUrl();

    explicit AboutBrowser(QWidget *parent = nullptr);

    QVariant loadResource(int type, const QUrl &name) override;

private:
    void follow(const QUrl &link);
};
