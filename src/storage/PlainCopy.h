#pragma once

#include "core/InterruptCleanup.h"
#include "core/UniqueFd.h"

#include <QString>
#include <memory>

// A decrypted copy on its way into a folder. Its bytes go into an unnamed file there (or, where the
// file system has none, a hidden sibling that goes unless placed), and it gets a visible name only
// when complete: the given one, else the first free of name(1).ext, name(2).ext, ... . A file that
// is there already is never replaced, not even one that appears while the copy is written.
class PlainCopy
{
public:
    static inline const QString hiddenPrefix = QStringLiteral(".lumisera-copy-");

    // Creates the file (mode 0600) in folder. Throws FileSystemError.
    explicit PlainCopy(const QString &folder);
    ~PlainCopy();
    PlainCopy(const PlainCopy &) = delete;
    PlainCopy &operator=(const PlainCopy &) = delete;

    int fd() const { return m_fd.get(); }
    // Flushes the bytes and names them after name (a single path component); answers the copy's
    // path. Throws FileSystemError, and then leaves nothing.
    QString place(const QString &name);
    // The same under name only: false, leaving nothing, when a file has that name.
    bool placeExactly(const QString &name);

    // attempt 0 is name itself, then name(1).ext, name(2).ext, ...; only the last extension is
    // split off, and a leading dot starts no extension.
    static QString candidate(const QString &name, int attempt);

private:
    void flush(const QString &name);
    bool placeAs(const QString &target);
    void finish();

    QString m_folder;
    UniqueFd m_fd;
    QString m_hidden; // empty for an unnamed file, and once placed
    std::unique_ptr<InterruptCleanup> m_cleanup;
};
