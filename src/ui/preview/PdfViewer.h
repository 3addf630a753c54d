#pragma once

#include "security/VaultSession.h"
#include "storage/StoredItem.h"
#include "ui/common/Screen.h"

#include <QList>

class QLabel;
class QStackedWidget;
struct DecryptedData;

// A PDF of the vault, decrypted into memory with the session's key and shown from there: no
// decrypted byte is written to disk. Its bar closes it and shares the file. Goes when the
// application goes to the background or the vault locks.
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
    void load();
    void display(DecryptedData decrypted);
    void showFailure(const QString &description);

    const StoredItemPtr m_item;
    const VaultSessionPtr m_session;
    QStackedWidget *m_pages;
    QLabel *m_failure;
    bool m_loading = false;
};
