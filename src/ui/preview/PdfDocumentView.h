#pragma once

#include <QByteArray>
#include <QWidget>

// A PDF shown from decrypted bytes held in memory, through the media module: nothing of it is
// written to disk.
class PdfDocumentView : public QWidget
{
    Q_OBJECT
public:
    // Takes the bytes: data is empty on return, and overwritten unless the view holds them now.
    // Nothing, with the reason, when the media module is missing or the bytes are not a PDF.
    static PdfDocumentView *make(QByteArray &data, QString *whyNot);

private:
    explicit PdfDocumentView(QWidget *document);
};
