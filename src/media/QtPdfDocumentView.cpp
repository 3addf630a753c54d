#include "media/QtPdfDocumentView.h"

#include <cstring>

namespace {
constexpr int spacing = 12;
constexpr int margin = 12;
} // namespace

QtPdfDocumentView *QtPdfDocumentView::open(const QByteArray &pdf, QString *whyNot)
{
    auto *view = new QtPdfDocumentView(pdf);
    // A buffer of bytes is there at once: the document is ready, or failed, before load() returns.
    const QPdfDocument::Error error = view->m_document.error();
    if (view->m_document.status() == QPdfDocument::Status::Ready)
        return view;
    delete view;
    if (whyNot)
        *whyNot = reason(error);
    return nullptr;
}

QtPdfDocumentView::QtPdfDocumentView(const QByteArray &pdf) : m_bytes(pdf)
{
    setObjectName(QStringLiteral("pdfView"));
    m_buffer.setBuffer(&m_bytes);
    m_buffer.open(QIODevice::ReadOnly);
    m_document.load(&m_buffer);
    setPageMode(PageMode::MultiPage);
    setZoomMode(ZoomMode::FitToWidth);
    setPageSpacing(spacing);
    setDocumentMargins({margin, margin, margin, margin});
    setDocument(&m_document);
}

QtPdfDocumentView::~QtPdfDocumentView()
{
    // Nothing may read the bytes once they are overwritten: not the view, not its renderer.
    setDocument(nullptr);
    m_document.close();
    m_buffer.close();
    m_buffer.setBuffer(nullptr);
    // Still shared means someone else holds them, and overwriting would spoil their copy.
    if (m_bytes.isDetached())
        explicit_bzero(m_bytes.data(), size_t(m_bytes.size()));
    m_bytes = QByteArray();
}

QString QtPdfDocumentView::reason(QPdfDocument::Error error)
{
    switch (error) {
    case QPdfDocument::Error::IncorrectPassword:
        return tr("The document is protected by a password.");
    case QPdfDocument::Error::UnsupportedSecurityScheme:
        return tr("The document is protected in a way that is not supported.");
    case QPdfDocument::Error::InvalidFileFormat:
        return tr("The file is not a PDF document.");
    default:
        return tr("The document could not be opened.");
    }
}
