#include "ui/preview/DocumentPreviewer.h"

#include "media/MediaBackend.h"
#include "storage/PreviewCopyRegistry.h"
#include "storage/ShareFolder.h"
#include "storage/StoragePool.h"
#include "ui/common/UrlOpener.h"
#include "ui/media/MediaModule.h"
#include "ui/preview/CentredPage.h"
#include "ui/preview/DocumentInfoView.h"
#include "ui/preview/PreviewBar.h"
#include "ui/preview/TextPreview.h"
#include "ui/share/PreparingFileProgress.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <unistd.h>

namespace {

// A copy of its own for another application, in folder: a second name of the same file, where
// the file system allows it, so that the plain bytes are not written twice.
QString handedOutCopy(ShareFolder &folder, const QString &source, const QString &name)
{
    const QString directory = folder.path();
    if (directory.isEmpty())
        return {};
    const QString target = directory + u'/' + name;
    if (QFileInfo::exists(target))
        return target;
    if (::link(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) == 0)
        return target;
    return QFile::copy(source, target) ? target : QString();
}

} // namespace

DocumentPreviewer::DocumentPreviewer(StoredItemPtr item, VaultSessionPtr session, QWidget *parent)
    : Screen(parent), m_item(std::move(item)), m_session(std::move(session)), m_name(m_item->fullName()),
      m_pages(new QStackedWidget)
{
    setObjectName(QStringLiteral("documentPreviewer"));
    setTitle(tr("Preview"));
    setDismissesOnBackground(true);
    setDismissesOnLock(true);

    auto *bar = new PreviewBar(title(), m_name);
    connect(bar, &PreviewBar::closeClicked, this, &Screen::dismissRequested);
    connect(bar, &PreviewBar::shareClicked, this, [this] { Q_EMIT shareRequested({m_item}); });
    m_pages->addWidget(new CentredPage(new PreparingFileProgress));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_pages, 1);
    setFocusProxy(bar->closeButton());
    PreviewCopyRegistry::shared().hold(m_name);
}

DocumentPreviewer::~DocumentPreviewer()
{
    // A player keeps the file open until it goes.
    delete m_content;
    if (!m_pending)
        letGo(m_name, m_qlItem);
}

void DocumentPreviewer::showEvent(QShowEvent *event)
{
    Screen::showEvent(event);
    if (!m_started)
        load();
}

void DocumentPreviewer::load()
{
    m_started = true;
    m_pending = true;
    m_showLoading = true;
    Q_EMIT showLoadingChanged();
    // Not StoragePool::runThen: a copy made for a previewer that is gone must still go.
    StoragePool::run([item = m_item, session = m_session] { return prepare(*item, *session); })
        .then(QCoreApplication::instance(),
              [this, alive = QPointer(this), name = m_name, session = m_session](const Prepared &prepared) {
                  if (!alive || !session->isOpen())
                      return letGo(name, prepared.qlItem);
                  m_pending = false;
                  display(prepared);
              });
}

DocumentPreviewer::Prepared DocumentPreviewer::prepare(const StoredItem &item, const VaultSession &session)
{
    Prepared prepared{PreviewCopy::make(item, session), {}};
    if (prepared.qlItem.previewItemURL)
        prepared.content = PreviewContent::read(prepared.qlItem.previewItemURL->toLocalFile());
    return prepared;
}

void DocumentPreviewer::display(const Prepared &prepared)
{
    m_qlItem = prepared.qlItem;
    if (m_qlItem.previewItemURL) {
        m_content = makeView(prepared.content);
    } else {
        auto *failure = new QLabel(tr("Failed to decrypt item for quick look"));
        failure->setObjectName(QStringLiteral("failureLabel"));
        m_content = new CentredPage(failure, CentredPage::Width::whole);
    }
    m_pages->addWidget(m_content);
    m_pages->setCurrentWidget(m_content);
    const bool focused = focusProxy() && focusProxy()->hasFocus();
    if (m_content->focusPolicy() != Qt::NoFocus || m_content->focusProxy()) {
        setFocusProxy(m_content);
        if (focused)
            m_content->setFocus();
    }
    m_showLoading = false;
    Q_EMIT showLoadingChanged();
}

QWidget *DocumentPreviewer::makeView(const PreviewContent &content)
{
    switch (content.kind) {
    case PreviewContent::Kind::text:
    case PreviewContent::Kind::code:
    case PreviewContent::Kind::markdown:
        return new TextPreview(content);
    case PreviewContent::Kind::media:
        if (MediaBackend *backend = MediaModule::backend())
            return backend->mediaPlayer(m_qlItem.previewItemURL->toLocalFile());
        return makeInfo(content);
    case PreviewContent::Kind::other:
        break;
    }
    return makeInfo(content);
}

QWidget *DocumentPreviewer::makeInfo(const PreviewContent &content)
{
    m_info = new DocumentInfoView(m_name, content);
    connect(m_info, &DocumentInfoView::openRequested, this, &DocumentPreviewer::openWithDefaultApplication);
    return m_info;
}

// The other application may read the file long after this previewer closed and the vault locked,
// so it gets a copy of its own in a share folder, which stays until Lumisera quits (the start-up
// clears what a crash left).
void DocumentPreviewer::openWithDefaultApplication()
{
    if (!m_qlItem.previewItemURL)
        return;
    if (!m_handedOut)
        m_handedOut = std::make_shared<ShareFolder>();
    m_info->setBusy(true);
    m_info->setStatus({});
    const auto copyOut = [folder = m_handedOut, source = m_qlItem.previewItemURL->toLocalFile(),
                          name = m_name] { return handedOutCopy(*folder, source, name); };
    StoragePool::runInSession(m_session, this, copyOut, [this](const QString &copy) {
        if (!m_info)
            return;
        m_info->setBusy(false);
        if (!copy.isEmpty() && UrlOpener::open(QUrl::fromLocalFile(copy))) {
            m_handedOut->handOut({copy});
            return;
        }
        m_info->setStatus(tr("No application could open this file."));
    });
}

void DocumentPreviewer::letGo(const QString &name, const PreviewCopy &qlItem)
{
    PreviewCopyRegistry::shared().letGo(name, qlItem.previewItemURL ? qlItem.previewItemURL->toLocalFile()
                                                                    : QString());
}

void DocumentPreviewer::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        Q_EMIT dismissRequested();
        return;
    }
    Screen::keyPressEvent(event);
}
