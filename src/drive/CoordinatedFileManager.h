#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Whether a folder listing shows names that begin with ".".
enum class HiddenFiles { include, skip };

// One entry of a folder listing, with its kind as the directory read gives it (a link is
// neither a file nor a folder, as lstat() would say).
struct DirectoryEntry
{
    enum class Kind { file, directory, other };
    QString path; // U+FFFD in place of bytes that are not UTF-8
    Kind kind = Kind::other;
    QByteArray nativePath; // the path's exact bytes (see NativePath)
};

// Answer of CoordinatedFileManager::fileExists(); both false when nothing is there.
struct ItemExistence
{
    bool exists = false;
    bool isDirectory = false;
};

// The single file operations under the drive. Linux has no file coordinator, so each one is the
// plain call on the requested path; there is no block to store and no access to grant, so an
// error of the call or of the caller's block is the operation's error, unchanged.
// Paths are absolute; failures throw FileSystemError.
class CoordinatedFileManager
{
public:
    using AccessBlock = std::function<void(const QString &path)>;

    CoordinatedFileManager() = delete;

    // Follows symbolic links, like every call here except removeItem().
    static ItemExistence fileExists(const QString &path);
    static void createDirectory(const QString &path, bool withIntermediateDirectories);
    // Removes a file, or a folder with everything in it; a link itself, not its target.
    static void removeItem(const QString &path);
    // Copies a file or a folder tree; fails when something is at the target already.
    static void copyItem(const QString &from, const QString &to);
    // Absolute paths of the entries of a folder, not descending into subfolders.
    static QStringList contentsOfDirectory(const QString &path, HiddenFiles hiddenFiles);
    // The same with each entry's kind, taken from the directory read itself: no stat per entry
    // where the file system reports types.
    static QList<DirectoryEntry> entriesOfDirectory(const QString &path, HiddenFiles hiddenFiles);
    static QByteArray contentsOfFile(const QString &path);
    // Replaces the file with data; the file appears complete or not at all (see PartialFile).
    static void write(const QByteArray &data, const QString &path);
    // Run the caller's block on the path; its exception is the operation's error.
    static void updateFile(const QString &path, const AccessBlock &block);
    static void readFile(const QString &path, const AccessBlock &block);
};
