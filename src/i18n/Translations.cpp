#include "i18n/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

const QString Translations::directory = QStringLiteral(":/i18n");

namespace {

const QString filePrefix = QStringLiteral("lumisera_");

QString languageOf(const QString &uiLanguage)
{
    return uiLanguage.section(u'-', 0, 0).section(u'_', 0, 0).toLower();
}

// A translator that failed to load is thrown away, so that a missing qtbase file costs nothing.
void installFile(QCoreApplication &app, const QString &file, const QString &folder)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(file, folder))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

QString Translations::choose(const QStringList &uiLanguages, const QStringList &available)
{
    for (const QString &uiLanguage : uiLanguages) {
        const QString full = uiLanguage.toLower().replace(u'-', u'_');
        for (const QString &candidate : available) {
            if (candidate.toLower() == full)
                return candidate;
        }
        const QString language = languageOf(uiLanguage);
        if (language == QLatin1String("en") || language == QLatin1String("c"))
            return QString();
        for (const QString &candidate : available) {
            if (languageOf(candidate) == language)
                return candidate;
        }
    }
    return QString();
}

QStringList Translations::available()
{
    QStringList languages;
    const QStringList files = QDir(directory).entryList({filePrefix + QStringLiteral("*.qm")}, QDir::Files);
    for (const QString &file : files)
        languages.append(file.mid(filePrefix.size()).chopped(3));
    return languages;
}

QString Translations::install(QCoreApplication &app)
{
    const QString language = choose(QLocale::system().uiLanguages(), available());
    if (language.isEmpty())
        return language;
    installFile(app, QStringLiteral("qtbase_") + language,
                QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    installFile(app, filePrefix + language, directory);
    return language;
}
