#pragma once

#include "core/UniqueFd.h"

#include <QString>

// Plaintext the command line holds for a moment on its way to standard output, in the private
// temporary folder. It has no name: a killed command (kill -9 too) leaves nothing behind. Where
// the file system has no unnamed files, it is named "get-…" and unlinked at once, holding a lock
// meanwhile; removeLeftovers() removes such names that a command killed in that moment left.
class ScratchFile
{
public:
    ScratchFile() = delete;

    static inline const QString namePrefix = QStringLiteral("get-");

    // Open for reading and writing; invalid (errno set) when the folder cannot be had.
    static UniqueFd create();
    // Removes the leftovers of earlier commands; answers how many went.
    static int removeLeftovers();
};
