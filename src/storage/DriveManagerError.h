#pragma once

#include "drive/DriveError.h"

// Failures of the encrypting layer; caught and logged inside the operation that raised them.
class DriveManagerError : public DriveError
{
public:
    enum class Kind { noKey, encryptFailed, decryptFailed, tempFolderFailed, tempReadFailed, locked };

    explicit DriveManagerError(Kind kind);

    Kind kind() const { return m_kind; }
    bool operator==(const DriveManagerError &other) const { return m_kind == other.m_kind; }

private:
    Kind m_kind;
};
