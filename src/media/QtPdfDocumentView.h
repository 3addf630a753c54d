#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QPdfDocument>
#include <QPdfView>

// A PDF read from memory through a buffer, never from a file: pages one under the other, fitted to
// the width.
class QtPdfDocumentView final : public QPdfView
{
    Q_OBJECT
public:
    // Nothing, with the reason, when the bytes are not a PDF the document can open.
    static QtPdfDocumentView *open(const QByteArray &pdf, QString *whyNot);
    ~QtPdfDocumentView() override;

private:
    explicit QtPdfDocumentView(const QByteArray &pdf);
    static QString reason(QPdfDocument::Error error);

    QByteArray m_bytes;
    QBuffer m_buffer;
    QPdfDocument m_document;
};
