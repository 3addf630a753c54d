#pragma once

#include "security/VaultSession.h"
#include "storage/StoredItem.h"
#include "ui/common/Screen.h"

#include <QList>

class PdfPreviewState;
class QLabel;
class QStackedWidget;

// A PDF of the vault, decrypted into memory with the session's key and shown from there: no
// decrypted byte is written to disk. Its bar closes it and shares the file. PdfPreviewState
// decides; this draws. Goes when the application goes to the background or the vault locks.
class PdfViewer : public Screen
{
    Q_OBJECT
public:
    PdfViewer(StoredItemPtr item, VaultSessionPtr session, QWidget *parent = nullptr);

    const StoredItemPtr &item() const { return m_item; }
    // Why the PDF is not shown; empty while it is prepared and once it is shown.
    QString failure() const;

Q_SIGNALS:
    void shareRequested(const QList<StoredItemPtr> &items);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void display();

    const StoredItemPtr m_item;
    PdfPreviewState *m_state;
    QStackedWidget *m_pages;
    QLabel *m_failure;
};
