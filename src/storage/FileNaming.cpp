#include "storage/FileNaming.h"

#include "security/TwoPairSubstitutionObfuscator.h"

#include <QFile>
#include <QUuid>

namespace {

// Longest file name, in bytes, that Linux file systems accept.
constexpr qsizetype maxNameBytes = 255;

QString lastComponent(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

QString FileNaming::pinFileName()
{
    return QStringLiteral("@.pin");
}

QString FileNaming::generatedFileName(const QString &extension, const QString &prefix)
{
    QString name = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    name.remove(QLatin1Char('-'));
    name.remove(QLatin1Char('_'));
    name.replace(QLatin1Char('F'), QLatin1Char('f'));
    name.replace(QLatin1Char('A'), QLatin1Char('a'));
    name.replace(QStringLiteral("EE"), QStringLiteral("eE"));
    name.prepend(prefix);
    const QString ext = extension.trimmed();
    if (!ext.isEmpty())
        name += QLatin1Char('.') + ext;
    return name;
}

QString FileNaming::uniqueNameCandidate(const QString &name, int attempt)
{
    // Only the final extension is split off: "a.jpg.jpg" stays "a.jpg.jpg", not "a.jpg".
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    QString base = dot < 0 ? name : name.left(dot);
    const QString extension = dot < 0 ? QString() : name.mid(dot);
    for (int counter = 1; counter <= attempt; ++counter)
        base += QLatin1Char('(') + QString::number(counter) + QLatin1Char(')');
    return base + extension;
}

bool FileNaming::isHiddenFromListing(const QString &name)
{
    const QString trimmed = name.trimmed();
    return trimmed.startsWith(QLatin1Char('.')) || trimmed.compare(pinFileName(), Qt::CaseInsensitive) == 0;
}

bool FileNaming::isAcceptableFolderName(const QString &name)
{
    if (name.trimmed().isEmpty() || isHiddenFromListing(name))
        return false;
    if (name.contains(QLatin1Char('/')) || name.contains(QChar(u'\0')))
        return false;
    return adjustedFolderName(name).toUtf8().size() <= maxNameBytes;
}

QString FileNaming::adjustedFolderName(const QString &name)
{
    QString adjusted = name;
    adjusted.replace(QLatin1Char('-'), QLatin1Char('_'));
    return adjusted;
}

QString FileNaming::storedFileName(const QString &clearName)
{
    return scrambledName(clearName).trimmed();
}

QString FileNaming::forLog(const QString &clearPath)
{
    QStringList parts = clearPath.split(QLatin1Char('/'));
    for (QString &part : parts)
        part = storedFileName(part);
    return parts.join(QLatin1Char('/'));
}

QString FileNaming::scrambledName(const QString &clearName)
{
    return TwoPairSubstitutionObfuscator::shared().encode(clearName);
}

QString FileNaming::ShownName::fullName() const
{
    return ext.trimmed().isEmpty() ? name : name + QLatin1Char('.') + ext;
}

FileNaming::ShownName FileNaming::shownName(const QString &onDiskName, SyncConflictName::Detail detail)
{
    // The whole scrambled component, extension included, is one string; a sync client's text in
    // it was never scrambled.
    const std::optional<SyncConflictName> conflict = SyncConflictName::parse(onDiskName);
    const QString decoded = lastComponent(
        TwoPairSubstitutionObfuscator::shared().decode(conflict ? conflict->storedName : onDiskName));
    // The extension follows the last dot, unless that dot starts the name; every ".ext" goes from
    // the name, so that "a.jpg.jpg" shows as "a.jpg" (keepsItsName() refuses to store such names).
    const qsizetype dot = decoded.lastIndexOf(QLatin1Char('.'));
    ShownName shown{decoded, dot > 0 ? decoded.mid(dot + 1).trimmed() : QString()};
    if (!shown.ext.isEmpty())
        shown.name.remove(QLatin1Char('.') + shown.ext);
    if (conflict)
        shown.name += QStringLiteral(" (") + conflict->label(detail) + QLatin1Char(')');
    return shown;
}

bool FileNaming::keepsItsName(const QString &clearName)
{
    const QString stored = storedFileName(clearName);
    // As the listing reads it back from the file system.
    const QString listed = QFile::decodeName(QFile::encodeName(stored));
    return !stored.isEmpty() && !stored.contains(QLatin1Char('/')) &&
           shownName(listed).fullName() == clearName;
}

bool FileNaming::isStorableFileName(const QString &clearName)
{
    return !isHiddenFromListing(clearName) && !storedFileName(clearName).startsWith(QLatin1Char('.')) &&
           keepsItsName(clearName);
}
