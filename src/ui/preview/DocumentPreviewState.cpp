#include "ui/preview/DocumentPreviewState.h"

#include "storage/PreviewCopyRegistry.h"
#include "storage/ShareFolder.h"
#include "storage/StoragePool.h"
#include "ui/common/UrlOpener.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

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

DocumentPreviewState::DocumentPreviewState(StoredItemPtr item, VaultSessionPtr session, bool canPlayMedia,
                                           QObject *parent)
    : QObject(parent), m_item(std::move(item)), m_session(std::move(session)), m_name(m_item->fullName()),
      m_canPlayMedia(canPlayMedia)
{
    PreviewCopyRegistry::shared().hold(m_name);
}

DocumentPreviewState::~DocumentPreviewState()
{
    if (!m_pending)
        letGo(m_name, m_copy);
}

QString DocumentPreviewState::copyPath() const
{
    return m_copy.previewItemURL ? m_copy.previewItemURL->toLocalFile() : QString();
}

DocumentPreviewState::Page DocumentPreviewState::pageFor(const PreviewCopy &copy, PreviewContent::Kind kind,
                                                         bool canPlayMedia)
{
    if (!copy.previewItemURL)
        return Page::failure;
    switch (kind) {
    case PreviewContent::Kind::text:
    case PreviewContent::Kind::code:
    case PreviewContent::Kind::markdown:
        return Page::text;
    case PreviewContent::Kind::media:
        return canPlayMedia ? Page::player : Page::details;
    case PreviewContent::Kind::other:
        break;
    }
    return Page::details;
}

void DocumentPreviewState::start()
{
    if (m_started)
        return;
    m_started = true;
    m_pending = true;
    // Not StoragePool::runThen: a copy made for a preview that is gone must still go.
    StoragePool::run([item = m_item, session = m_session] { return prepare(*item, *session); })
        .then(QCoreApplication::instance(),
              [this, alive = QPointer(this), name = m_name, session = m_session](const Prepared &prepared) {
                  if (!alive || !session->isOpen())
                      return letGo(name, prepared.copy);
                  m_pending = false;
                  show(prepared);
              });
}

DocumentPreviewState::Prepared DocumentPreviewState::prepare(const StoredItem &item,
                                                             const VaultSession &session)
{
    Prepared prepared{PreviewCopy::make(item, session), {}};
    if (prepared.copy.previewItemURL)
        prepared.content = PreviewContent::read(prepared.copy.previewItemURL->toLocalFile());
    return prepared;
}

void DocumentPreviewState::show(const Prepared &prepared)
{
    m_copy = prepared.copy;
    m_content = prepared.content;
    m_page = pageFor(m_copy, m_content.kind, m_canPlayMedia);
    Q_EMIT pageChanged();
}

// The other application may read the file long after the preview closed and the vault locked,
// so it gets a copy of its own in a share folder, which stays until Lumisera quits (the start-up
// clears what a crash left).
void DocumentPreviewState::openWithDefaultApplication()
{
    if (!m_copy.previewItemURL || m_opening)
        return;
    if (!m_handedOut)
        m_handedOut = std::make_shared<ShareFolder>();
    setOpening(true);
    const auto copyOut = [folder = m_handedOut, source = copyPath(), name = m_name] {
        return handedOutCopy(*folder, source, name);
    };
    StoragePool::runInSession(m_session, this, copyOut, [this](const QString &copy) {
        setOpening(false);
        if (!copy.isEmpty() && UrlOpener::open(QUrl::fromLocalFile(copy))) {
            m_handedOut->handOut({copy});
            Q_EMIT openFinished({});
            return;
        }
        Q_EMIT openFinished(tr("No application could open this file."));
    });
}

void DocumentPreviewState::setOpening(bool opening)
{
    if (m_opening == opening)
        return;
    m_opening = opening;
    Q_EMIT openingChanged(opening);
}

void DocumentPreviewState::letGo(const QString &name, const PreviewCopy &copy)
{
    PreviewCopyRegistry::shared().letGo(name,
                                        copy.previewItemURL ? copy.previewItemURL->toLocalFile() : QString());
}
