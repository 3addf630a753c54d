#include "ui/preview/PdfPreviewState.h"

#include "core/Logging.h"
#include "storage/StoragePool.h"

PdfPreviewState::PdfPreviewState(StoredItemPtr item, VaultSessionPtr session, QObject *parent)
    : QObject(parent), m_item(std::move(item)), m_session(std::move(session))
{}

void PdfPreviewState::start()
{
    if (m_started)
        return;
    m_started = true;
    StoragePool::runInSession(
        m_session, this,
        [url = m_item->url(), session = m_session] { return DecryptedData::read(url, *session); },
        [this](DecryptedData decrypted) { show(std::move(decrypted)); });
}

void PdfPreviewState::show(DecryptedData decrypted)
{
    if (!decrypted.ok())
        return fail(decrypted.error);
    m_document = std::move(decrypted);
    m_page = Page::document;
    Q_EMIT pageChanged();
}

void PdfPreviewState::fail(const QString &description)
{
    logError(QStringLiteral("Caught error ") + description, QStringLiteral(__FILE__), QStringLiteral("body"));
    DecryptedData wiped = std::move(m_document);
    m_failure = description;
    m_page = Page::failure;
    Q_EMIT pageChanged();
}
