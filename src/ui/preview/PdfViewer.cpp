#include "ui/preview/PdfViewer.h"

#include "ui/preview/CentredPage.h"
#include "ui/preview/PdfDocumentView.h"
#include "ui/preview/PdfPreviewState.h"
#include "ui/preview/PreviewBar.h"
#include "ui/share/PreparingFileProgress.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

PdfViewer::PdfViewer(StoredItemPtr item, VaultSessionPtr session, QWidget *parent)
    : Screen(parent), m_item(std::move(item)), m_state(new PdfPreviewState(m_item, std::move(session), this)),
      m_pages(new QStackedWidget), m_failure(new QLabel)
{
    setObjectName(QStringLiteral("pdfViewer"));
    setTitle(m_item->fullName());
    setDismissesOnBackground(true);
    setDismissesOnLock(true);

    auto *bar = new PreviewBar(m_item->fullName(), {});
    connect(bar, &PreviewBar::closeClicked, this, &Screen::dismissRequested);
    connect(bar, &PreviewBar::shareClicked, this, [this] { Q_EMIT shareRequested({m_item}); });
    connect(m_state, &PdfPreviewState::pageChanged, this, &PdfViewer::display);

    m_failure->setObjectName(QStringLiteral("failureLabel"));
    m_failure->setTextFormat(Qt::PlainText);
    m_failure->setWordWrap(true);
    m_failure->setAlignment(Qt::AlignCenter);
    m_failure->setForegroundRole(QPalette::PlaceholderText);
    m_pages->addWidget(new CentredPage(new PreparingFileProgress));
    m_pages->addWidget(new CentredPage(m_failure, CentredPage::Width::whole));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_pages, 1);
    setFocusProxy(bar->closeButton());
}

QString PdfViewer::failure() const
{
    return m_state->failure();
}

void PdfViewer::showEvent(QShowEvent *event)
{
    Screen::showEvent(event);
    m_state->start();
}

void PdfViewer::display()
{
    if (m_state->page() == PdfPreviewState::Page::document) {
        DecryptedData decrypted = m_state->takeDocument();
        QString whyNot;
        if (PdfDocumentView *view = PdfDocumentView::make(decrypted.data, &whyNot)) {
            m_pages->addWidget(view);
            m_pages->setCurrentWidget(view);
            const bool focused = focusProxy() && focusProxy()->hasFocus();
            setFocusProxy(view);
            if (focused)
                view->setFocus();
            return;
        }
        return m_state->fail(whyNot);
    }
    if (m_state->page() == PdfPreviewState::Page::failure) {
        m_failure->setText(m_state->failure());
        m_pages->setCurrentWidget(m_failure->parentWidget());
    }
}

void PdfViewer::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        Q_EMIT dismissRequested();
        return;
    }
    Screen::keyPressEvent(event);
}
