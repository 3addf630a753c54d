#include "ui/common/Symbols.h"

#include <QFileInfo>
#include <QHash>
#include <QImageReader>

namespace {

// Names from the freedesktop icon naming list where one fits; for the rest, names common themes use.
// Where a theme has none, the bundled picture of the same symbol is shown.
const QHash<QString, QString> &table()
{
    static const QHash<QString, QString> names{
        {QStringLiteral("arrow.clockwise"), QStringLiteral("view-refresh")},
        {QStringLiteral("arrowshape.turn.up.right"), QStringLiteral("go-jump")},
        {QStringLiteral("arrowtriangle.left.fill"), QStringLiteral("go-previous")},
        {QStringLiteral("arrowtriangle.right.fill"), QStringLiteral("go-next")},
        {QStringLiteral("camera"), QStringLiteral("camera-photo")},
        {QStringLiteral("checkmark.circle.fill"), QStringLiteral("emblem-ok")},
        {QStringLiteral("cup.and.heat.waves"), QStringLiteral("emblem-favorite")},
        {QStringLiteral("ellipsis"), QStringLiteral("view-more")},
        {QStringLiteral("faceid"), QStringLiteral("auth-face")},
        {QStringLiteral("filemenu.and.selection"), QStringLiteral("open-menu")},
        {QStringLiteral("folder.badge.gearshape"), QStringLiteral("document-properties")},
        {QStringLiteral("folder.badge.minus"), QStringLiteral("edit-delete")},
        {QStringLiteral("folder.badge.plus"), QStringLiteral("folder-new")},
        {QStringLiteral("gear"), QStringLiteral("preferences-system")},
        {QStringLiteral("info.circle"), QStringLiteral("help-about")},
        {QStringLiteral("lock.trianglebadge.exclamationmark"), QStringLiteral("system-lock-screen")},
        {QStringLiteral("opticid"), QStringLiteral("auth-eye")},
        {QStringLiteral("photo"), QStringLiteral("image-x-generic")},
        {QStringLiteral("photo.stack"), QStringLiteral("insert-image")},
        {QStringLiteral("square.and.arrow.down"), QStringLiteral("document-open")},
        {QStringLiteral("square.and.arrow.up"), QStringLiteral("document-send")},
        {QStringLiteral("touchid"), QStringLiteral("auth-fingerprint")},
        {QStringLiteral("trash"), QStringLiteral("user-trash")},
        {QStringLiteral("trophy"), QStringLiteral("emblem-favorite")},
        {QStringLiteral("x.circle"), QStringLiteral("image-missing")},
        {QStringLiteral("xmark.circle.fill"), QStringLiteral("window-close")},
    };
    return names;
}

} // namespace

QIcon Symbols::icon(const QString &symbolName)
{
    const QString theme = themeName(symbolName);
    if (theme.isEmpty())
        return QIcon();
    return QIcon::fromTheme(theme, bundledIcon(symbolName));
}

QIcon Symbols::bundledIcon(const QString &symbolName)
{
    if (themeName(symbolName).isEmpty())
        return QIcon();
    return QIcon(bundledPicture(QStringLiteral(":/symbols/%1.png").arg(symbolName)));
}

QPixmap Symbols::bundledPicture(const QString &resourcePath)
{
    QImageReader reader(resourcePath, QFileInfo(resourcePath).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QString Symbols::themeName(const QString &symbolName)
{
    return table().value(symbolName);
}
