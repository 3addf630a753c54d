#pragma once

#include "core/InterruptCleanup.h"
#include "core/UniqueFd.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <memory>

class TreeFolder;

// Crash-safe writing: a file's bytes go into an unnamed file in the target's folder (O_TMPFILE),
// which gets a hidden name and then the target's only when complete (commit()); an interrupted
// write leaves nothing. Where the file system has no unnamed files, the bytes go into a hidden
// sibling ".lumisera-partial-<random>" instead, removed when the object goes uncommitted and
// holding an exclusive flock() while it is written, so that removeLeftovers() - run when a folder
// is opened - removes only siblings whose writer is gone (a crash, a kill) and that nothing
// touched for ten minutes; a program that installed InterruptCleanup's handlers also removes it
// when interrupted. Listings that skip hidden files never show them.
class PartialFile
{
public:
    static inline const QString namePrefix = QStringLiteral(".lumisera-partial-");

    // Creates the sibling (mode 0600) next to targetPath. Throws FileSystemError.
    explicit PartialFile(const QString &targetPath);
    // The same for a file to be called name in folder; every later call goes from the folder's
    // descriptor, so that nothing is written through a link put in the folder's path meanwhile.
    PartialFile(const TreeFolder &folder, const QString &name);
    ~PartialFile();
    PartialFile(const PartialFile &) = delete;
    PartialFile &operator=(const PartialFile &) = delete;

    // The hidden sibling's path; empty while the file is unnamed.
    QString path() const { return m_path; }
    QString targetPath() const { return m_folderPath + u'/' + m_name; }
    int fd() const { return m_fd.get(); }

    // Appends all of data to the sibling. Throws FileSystemError.
    void write(const QByteArray &data);
    // Flushes the sibling to disk and renames it to the target, replacing what is there.
    // Throws FileSystemError (the sibling is then removed when the object goes).
    void commit();
    // Flushes the file and gives it the name `name` in its folder without ever replacing a file
    // there: false, with nothing changed, when the name is taken (by another writer, say), so that
    // the caller can try the next one. Throws FileSystemError.
    bool commitAs(const QString &name);

    // A partial sibling's name, or the name the kernel reports for one not linked yet.
    static bool isPartialName(const QString &fileName);
    // How long a partial sibling must have gone unwritten before it counts as left over.
    static constexpr std::chrono::minutes leftoverAge{10};
    // Removes the partial siblings in folderPath whose writer is gone (unlocked, and untouched for
    // minimumAge); answers how many.
    static int removeLeftovers(const QString &folderPath, std::chrono::seconds minimumAge = leftoverAge);
    static int removeLeftovers(const TreeFolder &folder, std::chrono::seconds minimumAge = leftoverAge);

private:
    void create();
    void flush();
    void giveName();
    void committed();

    UniqueFd m_folder;
    QString m_folderPath;
    QString m_name;
    QString m_path;
    QString m_hiddenName;
    UniqueFd m_fd;
    bool m_committed = false;
    bool m_synced = false;
    std::unique_ptr<InterruptCleanup> m_cleanup; // of m_path
};
