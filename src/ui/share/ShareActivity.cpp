#include "ui/share/ShareActivity.h"

#include "storage/ShareFolder.h"
#include "storage/StoragePool.h"
#include "ui/common/UrlOpener.h"
#include "ui/share/ProgramStarter.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {
const QString emailProgram = QStringLiteral("xdg-email");
} // namespace

ShareActivity::ShareActivity(QList<std::shared_ptr<StoredItemProvider>> activityItems, QObject *parent)
    : QObject(parent), m_activityItems(std::move(activityItems))
{}

ShareActivity::~ShareActivity()
{
    // A decryption still running for a closed dialog is of no use to anyone.
    for (const std::shared_ptr<StoredItemProvider> &provider : m_activityItems)
        provider->cancel();
}

bool ShareActivity::perform(Activity activity, const QString &folder)
{
    if (m_busy || (activity == Activity::saveToFolder && folder.isEmpty()))
        return false;
    setBusy(true);
    const QString into = activity == Activity::saveToFolder ? folder : QString();
    const auto decrypt = [items = m_activityItems, into] {
        QList<StoredItemProvider::Copy> copies;
        for (const std::shared_ptr<StoredItemProvider> &provider : items)
            copies.append(into.isEmpty() ? provider->item() : provider->saveInto(into));
        return copies;
    };
    StoragePool::runThen(
        this, decrypt,
        [this, activity, into](const QList<StoredItemProvider::Copy> &copies) {
            setBusy(false);
            finish(activity, into, copies);
        },
        [this] { setBusy(false); });
    return true;
}

void ShareActivity::finish(Activity activity, const QString &folder,
                           const QList<StoredItemProvider::Copy> &copies)
{
    QStringList paths, errors;
    for (const StoredItemProvider::Copy &copy : copies) {
        if (copy.isValid())
            paths.append(copy.path);
        else
            errors.append(copy.error);
    }
    QStringList taken = paths;
    if (activity == Activity::sendByEmail)
        taken = sendByEmail(paths, errors);
    else if (activity == Activity::openWithDefaultApplication)
        taken = openWithDefaultApplication(paths, errors);
    // All the items share one folder.
    if (activity != Activity::saveToFolder && !m_activityItems.isEmpty())
        m_activityItems.first()->tempFolder()->handOut(taken);
    Q_EMIT finished(activity, summary(activity, taken, folder), errors);
}

QStringList ShareActivity::sendByEmail(const QStringList &paths, QStringList &errors)
{
    if (paths.isEmpty())
        return {};
    QStringList arguments{QStringLiteral("--subject"), StoredItemProvider::subject()};
    for (const QString &path : paths)
        arguments << QStringLiteral("--attach") << path;
    if (ProgramStarter::startDetached(emailProgram, arguments))
        return paths;
    errors.append(tr("%1 could not be started; it comes with the xdg-utils package.").arg(emailProgram));
    return {};
}

QStringList ShareActivity::openWithDefaultApplication(const QStringList &paths, QStringList &errors)
{
    QStringList opened;
    for (const QString &path : paths) {
        if (UrlOpener::open(QUrl::fromLocalFile(path)))
            opened.append(path);
        else
            errors.append(tr("No application opened %1.").arg(QFileInfo(path).fileName()));
    }
    return opened;
}

QString ShareActivity::summary(Activity activity, const QStringList &taken, const QString &folder)
{
    if (taken.isEmpty())
        return {};
    const QString what =
        taken.size() == 1 ? QFileInfo(taken.first()).fileName() : tr("%n items", nullptr, int(taken.size()));
    switch (activity) {
    case Activity::saveToFolder:
        return tr("Saved %1 in %2.").arg(what, QDir::toNativeSeparators(folder));
    case Activity::sendByEmail:
        return tr("Attached %1 to a new e-mail.").arg(what);
    case Activity::openWithDefaultApplication:
        return tr("Opened %1.").arg(what);
    }
    return {};
}

void ShareActivity::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    Q_EMIT busyChanged(busy);
}
