#pragma once

#include <QString>
#include <stdexcept>

// Base of every error the file layers throw. Callers catch it, log "Caught error " followed by
// description(), and answer with their fallback.
class DriveError : public std::runtime_error
{
public:
    explicit DriveError(const QString &description);

    QString description() const;
};
