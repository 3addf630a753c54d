#pragma once

#include <QTextBrowser>

// A Markdown document, read-only. It loads nothing from outside (no pictures, no other files);
// a web or mail link goes to the desktop's browser when clicked, an anchor scrolls the document.
class MarkdownBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    explicit MarkdownBrowser(const QString &markdown, QWidget *parent = nullptr);

    QVariant loadResource(int type, const QUrl &name) override;

private:
    void follow(const QUrl &link);
};
