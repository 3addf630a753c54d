#pragma once

#include "UniqueFd.h"

#include <QByteArray>
#include <QString>
#include <chrono>

// Crash-safe writing: a file's bytes go into a hidden sibling ".lumisera-partial-<random>" in the
// target's folder, which takes the target's name only when complete (commit()). A sibling that is
// not committed is removed when the object goes.
//
// The sibling holds an exclusive flock() from the moment it has a name (it is made unnamed, locked,
// then linked, where the file system allows), so removeLeftovers() - run when a folder is opened -
// removes only siblings whose writer is gone (a crash, a kill) and that nothing touched for ten
// minutes, never one that another thread or process is still writing. Listings that skip hidden
// files never show them.
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

    // A partial sibling's name, or the name the kernel reports for one not linked yet.
    static bool isPartialName(const QString &fileName);
    // How long a partial sibling must have gone unwritten before it counts as left over.
    static constexpr std::chrono::minutes leftoverAge{10};
    // Removes the partial siblings in folderPath whose writer is gone (unlocked, and untouched for
    // minimumAge); answers how many.
    static int removeLeftovers(const QString &folderPath, std::chrono::seconds minimumAge = leftoverAge);

private:
    static UniqueFd createLocked(const QString &folder, const QString &path);

    QString m_targetPath;
    QString m_path;
    UniqueFd m_fd;
    bool m_committed = false;
};
