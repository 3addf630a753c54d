#pragma once

#include <QWidget>

struct PreviewContent;

// Text, source code or Markdown, read-only; a note above it when only the first part is shown.
class TextPreview : public QWidget
{
    Q_OBJECT
public:
    explicit TextPreview(const PreviewContent &content, QWidget *parent = nullptr);

private:
    static QWidget *makeText(const PreviewContent &content);
};
