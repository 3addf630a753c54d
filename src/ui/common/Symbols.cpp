#include "Symbols.h"

QIcon Symbols::icon(const QString &symbolName)
{
    return QIcon::fromTheme(themeName(symbolName));
}

QString Symbols::themeName(const QString &)
{
    return QString();
}
