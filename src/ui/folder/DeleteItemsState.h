#pragma once

#include "storage/FolderOperations.h"

#include <QList>
#include <QObject>
#include <QStringList>

// The rules of deleting files: one deletion at a time, every file that can go goes, and the ones
// that could not are named with why, in one alert, before the outcome is told.
class DeleteItemsState : public QObject
{
    Q_OBJECT
public:
    // names: the files to delete, as the person sees them.
    explicit DeleteItemsState(const QStringList &names, QObject *parent = nullptr);

    bool isDeleting() const { return m_deleting; }
    // Whether the deletion is to start now: not a second time.
    bool start();
    // Every file, failed because its folder went before anything was deleted.
    QList<FolderOperations::Failure> folderGone() const;
    // The alert's text for these failures; empty when there were none.
    QString failureText(const QList<FolderOperations::Failure> &failures) const;

private:
    const QStringList m_names;
    bool m_deleting = false;
};
