#pragma once

#include "UniqueFd.h"

#include <QByteArray>
#include <QString>

// Crash-safe writing: a file's bytes go into a hidden sibling ".lumisera-partial-<random>" in the
// target's folder, which takes the target's name only when complete (commit()). A sibling that is
// not committed is removed when the object goes.
//
// While it is being written the sibling holds an exclusive flock(), so removeLeftovers() - run
// when a folder is opened - removes only siblings whose writer is gone (a crash, a kill), never one
// that another thread or process is still writing. Listings that skip hidden files never show them.
class PartialFile
{
public:
    static inline const QString namePrefix = QStringLiteral(".lumisera-partial-");

    // Creates the sibling (mode 0600) next to targetPath. Throws FileSystemError.
    explicit PartialFile(const QString &targetPath);
    ~PartialFile();
    PartialFile(const PartialFile &) = delete;
    PartialFile &operator=(const PartialFile &) = delete;

    QString path() const { return m_path; }
    QString targetPath() const { return m_targetPath; }
    int fd() const { return m_fd.get(); }

    // Appends all of data to the sibling. Throws FileSystemError.
    void write(const QByteArray &data);
    // Flushes the sibling to disk and renames it to the target, replacing what is there.
    // Throws FileSystemError (the sibling is then removed when the object goes).
    void commit();

    static bool isPartialName(const QString &fileName);
    // Removes the partial siblings in folderPath whose writer is gone; answers how many.
    static int removeLeftovers(const QString &folderPath);

private:
    QString m_targetPath;
    QString m_path;
    UniqueFd m_fd;
    bool m_committed = false;
};
