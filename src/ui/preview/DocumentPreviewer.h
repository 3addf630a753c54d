#pragma once

#include "security/VaultSession.h"
#include "storage/StoredItem.h"
#include "ui/common/Screen.h"

#include <QList>
#include <QPointer>

class DocumentInfoView;
class DocumentPreviewState;
class QStackedWidget;
struct PreviewCopy;

// "Preview": a document of the vault, decrypted into the private temporary directory and shown
// in the window: text and source code read-only, Markdown rendered, audio and video played;
// other files offered to the desktop's default application. DocumentPreviewState decides; this
// draws. Goes when the application goes to the background or the vault locks.
class DocumentPreviewer : public Screen
{
    Q_OBJECT
    Q_PROPERTY(bool showLoading READ showLoading NOTIFY showLoadingChanged)
public:
    DocumentPreviewer(StoredItemPtr item, VaultSessionPtr session, QWidget *parent = nullptr);
    ~DocumentPreviewer() override;

    const StoredItemPtr &item() const { return m_item; }
    bool showLoading() const;
    const PreviewCopy &qlItem() const;
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
    void display();
    QWidget *makeView();
    QWidget *makeInfo();

    const StoredItemPtr m_item;
    DocumentPreviewState *m_state;
    QStackedWidget *m_pages;
    QPointer<QWidget> m_content;
    QPointer<DocumentInfoView> m_info;
};
