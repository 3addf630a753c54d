#pragma once

#include "security/VaultSession.h"
#include "storage/StoredItem.h"
#include "ui/common/Screen.h"

#include <QList>
#include <memory>

class ShareTargets;
class PasscodeGate;
class PreparingFileProgress;
class QLabel;
class QPushButton;
class QStackedWidget;
class ShareFolder;
class StoredItemProvider;
class UserFormTextField;

// "Share Items": asks for the application passcode again (checked against the session the folder
// is shown in), then offers the targets the items can go to (ShareTargets). Nothing is decrypted
// before a target asks, and a wrong passcode decrypts nothing. The share's private folder goes with the
// dialog, but for the copies handed to another application, which stay until Lumisera quits. Closes on
// background and on lock.
class ShareDialog : public Screen
{
    Q_OBJECT
public:
    ShareDialog(const QList<StoredItemPtr> &selectedItems, VaultSessionPtr session,
                QWidget *parent = nullptr);
    ~ShareDialog() override;

    bool isUnlocked() const { return m_unlocked; }
    // Nothing until unlocked.
    ShareTargets *activities() const { return m_activities; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *makePasscodePage();
    QWidget *makeSharePage();
    void submit();
    void unlock();
    void showShare();
    void showProgress(bool show);

    const QList<StoredItemPtr> m_selectedItems;
    const VaultSessionPtr m_session;
    QList<std::shared_ptr<StoredItemProvider>> m_shareSheetItems;
    UserFormTextField *m_pin;
    PasscodeGate *m_gate;
    QPushButton *m_shareButton = nullptr;
    QLabel *m_storeProblem = nullptr;
    QStackedWidget *m_pages;
    QStackedWidget *m_shareStack = nullptr;
    PreparingFileProgress *m_progress = nullptr;
    ShareTargets *m_activities = nullptr;
    bool m_unlocked = false;
};
