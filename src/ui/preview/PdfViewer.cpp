#include "ui/preview/PdfViewer.h"

#include "core/Logging.h"
#include "storage/DecryptedData.h"
#include "storage/StoragePool.h"
#include "ui/preview/CentredPage.h"
#include "ui/preview/PdfDocumentView.h"
#include "ui/preview/PreviewBar.h"
#include "ui/share/PreparingFileProgress.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

PdfViewer::PdfViewer(StoredItemPtr item, VaultSessionPtr session, QWidget *parent)
    : Screen(parent), m_item(std::move(item)), m_session(std::move(session)), m_pages(new QStackedWidget),
      m_failure(new QLabel)
{
    setObjectName(QStringLiteral("pdfViewer"));
    setTitle(m_item->fullName());
    setDismissesOnBackground(true);
    setDismissesOnLock(true);

    auto *bar = new PreviewBar(m_item->fullName(), {});
    connect(bar, &PreviewBar::closeClicked, this, &Screen::dismissRequested);
    connect(bar, &PreviewBar::shareClicked, this, [this] { Q_EMIT shareRequested({m_item}); });

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
    return m_pages->currentWidget() == m_failure->parentWidget() ? m_failure->text() : QString();
}

void PdfViewer::showEvent(QShowEvent *event)
{
    Screen::showEvent(event);
    if (!m_loading)
        load();
}

void PdfViewer::load()
{
    m_loading = true;
    // What comes back after the viewer went is overwritten with the future that holds it.
    StoragePool::runInSession(
        m_session, this,
        [url = m_item->url(), session = m_session] { return DecryptedData::read(url, *session); },
        [this](DecryptedData decrypted) { display(std::move(decrypted)); });
}

void PdfViewer::display(DecryptedData decrypted)
{
    if (!decrypted.ok())
        return showFailure(decrypted.error);
    QString whyNot;
    PdfDocumentView *view = PdfDocumentView::make(decrypted.data, &whyNot);
    if (!view)
        return showFailure(whyNot);
    m_pages->addWidget(view);
    m_pages->setCurrentWidget(view);
    const bool focused = focusProxy() && focusProxy()->hasFocus();
    setFocusProxy(view);
    if (focused)
        view->setFocus();
}

void PdfViewer::showFailure(const QString &description)
{
    logError(QStringLiteral("Caught error ") + description, QStringLiteral(__FILE__), QStringLiteral("body"));
    m_failure->setText(description);
    m_pages->setCurrentWidget(m_failure->parentWidget());
}

void PdfViewer::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        Q_EMIT dismissRequested();
        return;
    }
    Screen::keyPressEvent(event);
}
