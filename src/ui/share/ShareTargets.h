#pragma once

#include "storage/StoredItemProvider.h"

#include <QList>
#include <QWidget>

#include <functional>
#include <memory>

class QCommandLinkButton;
class QLabel;

// What the shared items can go to: a folder, a new e-mail, or the application that opens each kind.
// A target decrypts every item only when it is chosen, on the storage pool; busyChanged() tells the
// dialog to show its progress meanwhile. Copies given to another application are marked in the
// share's folder, so that they outlive the dialog.
class ShareTargets : public QWidget
{
    Q_OBJECT
public:
    enum class Activity { saveToFolder, sendByEmail, openWithDefaultApplication };
    Q_ENUM(Activity)

    explicit ShareTargets(QList<std::shared_ptr<StoredItemProvider>> activityItems,
                          QWidget *parent = nullptr);
    ~ShareTargets() override;

    // The seam for tests: when set, it answers in place of the folder dialog; empty is cancelled.
    static inline std::function<QString()> chooseFolder;

    bool isBusy() const { return m_busy; }
    QCommandLinkButton *button(Activity activity) const;

Q_SIGNALS:
    void busyChanged(bool busy);
    // A target finished; done when every item got there.
    void completed(ShareTargets::Activity activity, bool done);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitButtons(int width);
    QCommandLinkButton *makeButton(Activity activity, const QString &themeIcon, const QString &text,
                                   const QString &description);
    void choose(Activity activity);
    void openFolderDialog();
    void perform(Activity activity, const QString &folder);
    void finish(Activity activity, const QString &folder, const QList<StoredItemProvider::Copy> &copies);
    // Hands the copies over; answers the ones the target took, and why the others were not.
    QStringList sendByEmail(const QStringList &paths, QStringList &errors);
    QStringList openWithDefaultApplication(const QStringList &paths, QStringList &errors);
    static QString summary(Activity activity, const QStringList &taken, const QString &folder);
    void setBusy(bool busy);
    void report(const QString &text, const QStringList &errors);

    const QList<std::shared_ptr<StoredItemProvider>> m_activityItems;
    QList<QCommandLinkButton *> m_buttons;
    QLabel *m_status;
    bool m_busy = false;
};
