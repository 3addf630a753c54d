#pragma once

#include "storage/StoredItemProvider.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>

// The rules of sharing: each item is decrypted only when a target is chosen, on the storage pool,
// one target at a time; the copies go to a folder, a new e-mail or the application that opens each
// kind, and the copies given to another application are marked in the share's folder so that they
// outlive the dialog. Nothing here needs a window.
class ShareActivity : public QObject
{
    Q_OBJECT
public:
    enum class Activity { saveToFolder, sendByEmail, openWithDefaultApplication };
    Q_ENUM(Activity)

    explicit ShareActivity(QList<std::shared_ptr<StoredItemProvider>> activityItems,
                           QObject *parent = nullptr);
    ~ShareActivity() override;

    bool isBusy() const { return m_busy; }
    // folder: where saveToFolder saves; ignored by the others. Refused while busy.
    bool perform(Activity activity, const QString &folder = {});

    // What the status line says once the activity handed over taken (paths of the copies).
    static QString summary(Activity activity, const QStringList &taken, const QString &folder);

Q_SIGNALS:
    void busyChanged(bool busy);
    // summary says what went where; errors, one line each, what did not.
    void finished(ShareActivity::Activity activity, const QString &summary, const QStringList &errors);

private:
    void finish(Activity activity, const QString &folder, const QList<StoredItemProvider::Copy> &copies);
    // Hands the copies over; answers the ones the target took, and why the others were not.
    static QStringList sendByEmail(const QStringList &paths, QStringList &errors);
    static QStringList openWithDefaultApplication(const QStringList &paths, QStringList &errors);
    void setBusy(bool busy);

    const QList<std::shared_ptr<StoredItemProvider>> m_activityItems;
    bool m_busy = false;
};
