#include "core/BuildInfo.h"

QString BuildInfo::buildString()
{
    return QStringLiteral(__DATE__ " " __TIME__);
}
