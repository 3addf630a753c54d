#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The platform symbols the screens name ("x.circle", "gear", "touchid", …) as icons: the
// desktop's icon theme where it has a match, else a picture bundled with the application.
class Symbols
{
public:
    Symbols() = delete;

    static QIcon icon(const QString &symbolName);
    // Only the bundled picture: no look-up in the icon theme, which costs the first frame of the
    // window several milliseconds. Screens shown at start-up use it, then icon() once painted.
    static QIcon bundledIcon(const QString &symbolName);
    // A picture bundled with the application, read as the format its name ends with. Left to
    // guess (even when told the format), Qt first loads every installed image plugin to ask
    // whether it can read the file.
    static QPixmap bundledPicture(const QString &resourcePath);
    // The freedesktop icon name a symbol maps to; empty for an unknown symbol.
    static QString themeName(const QString &symbolName);
};
