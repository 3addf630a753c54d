#include "ui/preview/PdfDocumentView.h"

#include "media/MediaBackend.h"
#include "security/SecretWipe.h"
#include "ui/common/AccessibleRole.h"
#include "ui/media/MediaModule.h"

#include <QVBoxLayout>

PdfDocumentView *PdfDocumentView::make(QByteArray &data, QString *whyNot)
{
    MediaBackend *backend = MediaModule::backend(whyNot);
    QWidget *document = backend ? backend->pdfView(data, whyNot) : nullptr;
    // Shared with the document now, the bytes are only let go here; otherwise overwritten.
    wipeSecret(data);
    return document ? new PdfDocumentView(document) : nullptr;
}

PdfDocumentView::PdfDocumentView(QWidget *document)
{
    setObjectName(QStringLiteral("pdfDocumentView"));
    // Pages a screen reader can read as a document, not an unnamed area.
    AccessibleRole::give(document, QAccessible::Document);
    document->setAccessibleName(tr("PDF document"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(document);
    setFocusProxy(document);
}
