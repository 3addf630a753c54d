#pragma once

#include "security/VaultSession.h"
#include "storage/PreviewContent.h"
#include "storage/PreviewCopy.h"
#include "storage/StoredItem.h"

#include <QObject>
#include <memory>

class ShareFolder;

// The rules of the document preview: the decrypted copy's life, which page shows it, and handing
// it to another application. The copy goes with the state, except one handed out; a copy that is
// ready only after the state went goes then. Nothing here needs a window.
class DocumentPreviewState : public QObject
{
    Q_OBJECT
public:
    enum class Page { preparing, text, player, details, failure };
    Q_ENUM(Page)

    DocumentPreviewState(StoredItemPtr item, VaultSessionPtr session, bool canPlayMedia,
                         QObject *parent = nullptr);
    ~DocumentPreviewState() override;

    // Decrypts the copy on the storage pool, once.
    void start();
    bool isStarted() const { return m_started; }
    Page page() const { return m_page; }
    const QString &name() const { return m_name; }
    const PreviewCopy &copy() const { return m_copy; }
    const PreviewContent &content() const { return m_content; }
    QString copyPath() const;

    // Hands the file to the desktop's default application; openFinished() tells how that went.
    void openWithDefaultApplication();
    bool isOpening() const { return m_opening; }

    static Page pageFor(const PreviewCopy &copy, PreviewContent::Kind kind, bool canPlayMedia);
    static QString failureText() { return tr("Failed to decrypt item for quick look"); }

Q_SIGNALS:
    void pageChanged();
    void openingChanged(bool opening);
    // Empty when the application took the file; else why not.
    void openFinished(const QString &status);

private:
    struct Prepared
    {
        PreviewCopy copy;
        PreviewContent content;
    };
    static Prepared prepare(const StoredItem &item, const VaultSession &session);
    // The copy of name goes with its last holder.
    static void letGo(const QString &name, const PreviewCopy &copy);
    void show(const Prepared &prepared);
    void setOpening(bool opening);

    const StoredItemPtr m_item;
    const VaultSessionPtr m_session;
    const QString m_name;
    const bool m_canPlayMedia;
    PreviewCopy m_copy;
    PreviewContent m_content;
    std::shared_ptr<ShareFolder> m_handedOut;
    Page m_page = Page::preparing;
    bool m_started = false;
    bool m_pending = false;
    bool m_opening = false;
};
