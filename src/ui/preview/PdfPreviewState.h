#pragma once

#include "security/VaultSession.h"
#include "storage/DecryptedData.h"
#include "storage/StoredItem.h"

#include <QObject>

// The rules of the PDF viewer: the file is decrypted into memory with the session's key, never to
// disk, and a file that does not decrypt or does not open says why. Nothing here needs a window.
class PdfPreviewState : public QObject
{
    Q_OBJECT
public:
    enum class Page { preparing, document, failure };
    Q_ENUM(Page)

    PdfPreviewState(StoredItemPtr item, VaultSessionPtr session, QObject *parent = nullptr);

    // Decrypts on the storage pool, once; an answer after the lock is dropped.
    void start();
    bool isStarted() const { return m_started; }
    Page page() const { return m_page; }
    // Why the PDF is not shown; empty unless the page is the failure.
    const QString &failure() const { return m_failure; }
    // The plain bytes, once the page is the document: whoever takes them wipes them.
    DecryptedData takeDocument() { return std::move(m_document); }
    // The bytes decrypted but are not a document the viewer can show.
    void fail(const QString &description);

Q_SIGNALS:
    void pageChanged();

private:
    void show(DecryptedData decrypted);

    const StoredItemPtr m_item;
    const VaultSessionPtr m_session;
    DecryptedData m_document;
    QString m_failure;
    Page m_page = Page::preparing;
    bool m_started = false;
};
