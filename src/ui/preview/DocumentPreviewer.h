#pragma once

#include "security/VaultSession.h"
#include "storage/PreviewContent.h"
#include "storage/PreviewCopy.h"
#include "storage/StoredItem.h"
#include "ui/common/Screen.h"

#include <QList>
#include <QPointer>
#include <memory>

class DocumentInfoView;
class QLabel;
class QStackedWidget;
class ShareFolder;

// "Preview": a document of the vault, decrypted into the private temporary directory and shown
// in the window: text and source code read-only, Markdown rendered, audio and video played;
// other files offered to the desktop's default application. The copy goes when the previewer
// does, except one handed to another application (see openWithDefaultApplication). Goes when
// the application goes to the background or the vault locks.
class DocumentPreviewer : public Screen
{
    Q_OBJECT
    Q_PROPERTY(bool showLoading READ showLoading NOTIFY showLoadingChanged)
public:
    DocumentPreviewer(StoredItemPtr item, VaultSessionPtr session, QWidget *parent = nullptr);
    ~DocumentPreviewer() override;

    const StoredItemPtr &item() const { return m_item; }
    bool showLoading() const { return m_showLoading; }
    const PreviewCopy &qlItem() const { return m_qlItem; }
    // What is shown once the copy is ready: a text view, a player, the file's details or the
    // failure; nothing before.
    QWidget *contentView() const { return m_content; }

Q_SIGNALS:
    void shareRequested(const QList<StoredItemPtr> &items);
    void showLoadingChanged();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct Prepared
    {
        PreviewCopy qlItem;
        PreviewContent content;
    };
    static Prepared prepare(const StoredItem &item, const VaultSession &session);
    // The copy of name goes with its last previewer.
    static void letGo(const QString &name, const PreviewCopy &qlItem);

    void load();
    void display(const Prepared &prepared);
    QWidget *makeView(const PreviewContent &content);
    QWidget *makeInfo(const PreviewContent &content);
    void openWithDefaultApplication();

    const StoredItemPtr m_item;
    const VaultSessionPtr m_session;
    const QString m_name;
    QStackedWidget *m_pages;
    QPointer<QWidget> m_content;
    QPointer<DocumentInfoView> m_info;
    PreviewCopy m_qlItem;
    std::shared_ptr<ShareFolder> m_handedOut;
    bool m_showLoading = false;
    bool m_started = false;
    bool m_pending = false;
};
