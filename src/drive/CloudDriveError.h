#pragma once

#include "drive/DriveError.h"

// The drive's own failures. Failures of the file calls themselves are FileSystemError.
class CloudDriveError : public DriveError
{
public:
    enum class Kind {
        foundationError,                 // a coordination failure; nothing raises it on Linux
        couldNotAccessUbiquityContainer, // signed in, but the named container does not exist
        queriedWhileNotConnected,        // any operation after the cloud container went away
        rootDirectoryURLIsNotDirectory,  // the root is not an absolute folder path, or is a file
        notSignedIntoCloud,              // a cloud drive was asked for without a cloud container
        invalidMetadata,                 // declared for callers; nothing raises it
        invalidFileType,                 // wrong kind or missing item, or a refused name
    };

    // detail: the item concerned (a refused name, a path). Kept apart from the description, which
    // goes to the journal: no name or path reaches the log.
    explicit CloudDriveError(Kind kind, const QString &detail = {});

    Kind kind() const { return m_kind; }
    QString detail() const { return m_detail; }
    static QString describe(Kind kind);

private:
    Kind m_kind;
    QString m_detail;
};
