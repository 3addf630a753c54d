#include "ui/preview/PDFKitView.h"

#include "media/MediaBackend.h"
#include "security/SecretWipe.h"
#include "ui/common/AccessibleRole.h"
#include "ui/media/MediaModule.h"

#include <QVBoxLayout>

PDFKitView *PDFKitView::make(QByteArray &data, QString *whyNot)
{
    MediaBackend *backend = MediaModule::backend(whyNot);
    QWidget *document = backend ? backend->pdfView(data, whyNot) : nullptr;
    // Shared with the document now, the bytes are only let go here; otherwise overwritten.
    wipeSecret(data);
    return document ? new PDFKitView(document) : nullptr;
}

PDFKitView::PDFKitView(QWidget *document)
{
    setObjectName(QStringLiteral("pdfKitView"));
    // Pages a screen reader can read as a document, not an unnamed area.
    AccessibleRole::give(document, QAccessible::Document);
    document->setAccessibleName(tr("PDF document"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(document);
    setFocusProxy(document);
}
