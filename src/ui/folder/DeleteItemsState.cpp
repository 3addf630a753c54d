#include "ui/folder/DeleteItemsState.h"

DeleteItemsState::DeleteItemsState(const QStringList &names, QObject *parent)
    : QObject(parent), m_names(names)
{}

bool DeleteItemsState::start()
{
    if (m_deleting)
        return false;
    m_deleting = true;
    return true;
}

QList<FolderOperations::Failure> DeleteItemsState::folderGone() const
{
    QList<FolderOperations::Failure> failures;
    for (const QString &name : m_names)
        failures.append({name, tr("The folder is gone.")});
    return failures;
}

QString DeleteItemsState::failureText(const QList<FolderOperations::Failure> &failures) const
{
    if (failures.isEmpty())
        return {};
    QStringList lines;
    for (const FolderOperations::Failure &failure : failures)
        lines.append(tr("%1: %2").arg(failure.name, failure.reason));
    const QString summary =
        failures.size() == m_names.size()
            ? tr("No file could be deleted.")
            : tr("%1 of %n files could not be deleted; the others are gone.", nullptr, int(m_names.size()))
                  .arg(failures.size());
    return summary + QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
}
