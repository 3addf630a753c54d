#include "drive/DriveError.h"

DriveError::DriveError(const QString &description) : std::runtime_error(description.toStdString()) {}

QString DriveError::description() const
{
    return QString::fromStdString(what());
}
