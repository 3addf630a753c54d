#pragma once

#include <QMetaType>
#include <QString>

// A "/"-separated path below a drive root, without a leading "/". The empty path is the root.
class RootRelativePath
{
public:
    RootRelativePath() = default;
    explicit RootRelativePath(const QString &path) : m_path(path) {}

    static RootRelativePath root() { return RootRelativePath(); }

    const QString &path() const { return m_path; }
    // path + "/" + component; the component alone below the root. Slashes at either end of the
    // component are dropped.
    RootRelativePath appending(const QString &component) const;

    // The absolute path of the item below rootDirectory, as a file or as a folder (trailing "/").
    // Throws CloudDriveError: rootDirectoryURLIsNotDirectory unless rootDirectory is absolute and
    // ends with "/"; invalidFileType when a component is "." or ".." or holds NUL, since such a
    // path would leave the root.
    QString fileURL(const QString &rootDirectory) const;
    QString directoryURL(const QString &rootDirectory) const;

    bool operator==(const RootRelativePath &other) const = default;

private:
    QString m_path;
};

size_t qHash(const RootRelativePath &path, size_t seed = 0);

Q_DECLARE_METATYPE(RootRelativePath)
