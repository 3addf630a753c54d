#include "core/Logging.h"

#include <QLocale>
#include <QTime>

Q_LOGGING_CATEGORY(lcJourney, "com.morvenda.Journey")

namespace {
const QString SourceExtension = QStringLiteral(".cpp");

QString mediumTimeFormat()
{
    QString format = QLocale::system().timeFormat(QLocale::ShortFormat);
    if (!format.contains(u's')) {
        const qsizetype minutes = format.lastIndexOf(QStringLiteral("mm"));
        if (minutes >= 0)
            format.insert(minutes + 2, QStringLiteral(":ss"));
    }
    return format;
}
} // namespace

QString logFileName(const QString &sourcePath)
{
    const qsizetype slash = sourcePath.lastIndexOf(u'/');
    QString component = slash >= 0 ? sourcePath.mid(slash + 1) : sourcePath;
    if (component.isEmpty())
        return sourcePath;
    return component.remove(SourceExtension);
}

void logError(const QString &message, const QString &file, const QString &function)
{
    qCCritical(lcJourney, "%s:%s %s", qUtf8Printable(logFileName(file)), qUtf8Printable(function),
               qUtf8Printable(message));
}

void logInfo(const QString &message)
{
    static const QString format = mediumTimeFormat();
    const QString time = QLocale::system().toString(QTime::currentTime(), format);
    qCInfo(lcJourney, "%s: %s", qUtf8Printable(time), qUtf8Printable(message));
}

void errorMsg(const QString &message)
{
    logError(message, QStringLiteral("Logging"), QStringLiteral("errorMsg(_:)"));
}

void fatalErrorMsg(const QString &message)
{
    logError(QStringLiteral("Production arrested fatal: ") + message, QStringLiteral("Logging"),
             QStringLiteral("fatalErrorMsg(_:)"));
}
