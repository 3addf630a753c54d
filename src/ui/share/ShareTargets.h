#pragma once

#include "storage/StoredItemProvider.h"
#include "ui/share/ShareActivity.h"

#include <QList>
#include <QWidget>

#include <functional>
#include <memory>

class QCommandLinkButton;
class QLabel;

// What the shared items can go to: a folder, a new e-mail, or the application that opens each kind.
// ShareActivity does the work; busyChanged() tells the dialog to show its progress meanwhile.
class ShareTargets : public QWidget
{
    Q_OBJECT
public:
    using Activity = ShareActivity::Activity;

    explicit ShareTargets(QList<std::shared_ptr<StoredItemProvider>> activityItems,
                          QWidget *parent = nullptr);

    // The seam for tests: when set, it answers in place of the folder dialog; empty is cancelled.
    static inline std::function<QString()> chooseFolder;

    bool isBusy() const { return m_activity->isBusy(); }
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
    void setBusy(bool busy);
    void report(Activity activity, const QString &text, const QStringList &errors);

    ShareActivity *m_activity;
    QList<QCommandLinkButton *> m_buttons;
    QLabel *m_status;
};
