#include "ui/preview/DocumentPreviewer.h"

#include "media/MediaBackend.h"
#include "ui/media/MediaModule.h"
#include "ui/preview/CentredPage.h"
#include "ui/preview/DocumentInfoView.h"
#include "ui/preview/DocumentPreviewState.h"
#include "ui/preview/PreviewBar.h"
#include "ui/preview/TextPreview.h"
#include "ui/share/PreparingFileProgress.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

DocumentPreviewer::DocumentPreviewer(StoredItemPtr item, VaultSessionPtr session, QWidget *parent)
    : Screen(parent), m_item(std::move(item)),
      m_state(new DocumentPreviewState(m_item, std::move(session), MediaModule::backend() != nullptr, this)),
      m_pages(new QStackedWidget)
{
    setObjectName(QStringLiteral("documentPreviewer"));
    setTitle(tr("Preview"));
    setDismissesOnBackground(true);
    setDismissesOnLock(true);

    auto *bar = new PreviewBar(title(), m_state->name());
    connect(bar, &PreviewBar::closeClicked, this, &Screen::dismissRequested);
    connect(bar, &PreviewBar::shareClicked, this, [this] { Q_EMIT shareRequested({m_item}); });
    connect(m_state, &DocumentPreviewState::pageChanged, this, &DocumentPreviewer::display);
    m_pages->addWidget(new CentredPage(new PreparingFileProgress));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_pages, 1);
    setFocusProxy(bar->closeButton());
}

DocumentPreviewer::~DocumentPreviewer()
{
    // A player keeps the file open until it goes, and the copy goes with the state after it.
    delete m_content;
}

bool DocumentPreviewer::showLoading() const
{
    return m_state->isStarted() && m_state->page() == DocumentPreviewState::Page::preparing;
}

const PreviewCopy &DocumentPreviewer::qlItem() const
{
    return m_state->copy();
}

void DocumentPreviewer::showEvent(QShowEvent *event)
{
    Screen::showEvent(event);
    if (!m_state->isStarted()) {
        m_state->start();
        Q_EMIT showLoadingChanged();
    }
}

void DocumentPreviewer::display()
{
    m_content = makeView();
    m_pages->addWidget(m_content);
    m_pages->setCurrentWidget(m_content);
    const bool focused = focusProxy() && focusProxy()->hasFocus();
    if (m_content->focusPolicy() != Qt::NoFocus || m_content->focusProxy()) {
        setFocusProxy(m_content);
        if (focused)
            m_content->setFocus();
    }
    Q_EMIT showLoadingChanged();
}

QWidget *DocumentPreviewer::makeView()
{
    switch (m_state->page()) {
    case DocumentPreviewState::Page::text:
        return new TextPreview(m_state->content());
    case DocumentPreviewState::Page::player:
        if (MediaBackend *backend = MediaModule::backend())
            return backend->mediaPlayer(m_state->copyPath());
        return makeInfo();
    case DocumentPreviewState::Page::details:
        return makeInfo();
    case DocumentPreviewState::Page::preparing:
    case DocumentPreviewState::Page::failure:
        break;
    }
    auto *failure = new QLabel(DocumentPreviewState::failureText());
    failure->setObjectName(QStringLiteral("failureLabel"));
    return new CentredPage(failure, CentredPage::Width::whole);
}

QWidget *DocumentPreviewer::makeInfo()
{
    m_info = new DocumentInfoView(m_state->name(), m_state->content());
    connect(m_info, &DocumentInfoView::openRequested, m_state, [this] {
        m_info->setStatus({});
        m_state->openWithDefaultApplication();
    });
    connect(m_state, &DocumentPreviewState::openingChanged, m_info, &DocumentInfoView::setBusy);
    connect(m_state, &DocumentPreviewState::openFinished, m_info, &DocumentInfoView::setStatus);
    return m_info;
}

void DocumentPreviewer::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        Q_EMIT dismissRequested();
        return;
    }
    Screen::keyPressEvent(event);
}
