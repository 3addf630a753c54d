#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

// Lumisera speaks the desktop's language where it has a translation for it, English otherwise.
class Translations
{
public:
    Translations() = delete;

    // Where the compiled translations are: ":/i18n/lumisera_<language>.qm".
    static const QString directory;

    // Installs Lumisera's own and Qt's translations for the desktop's languages (LANGUAGE, then
    // LC_ALL, LC_MESSAGES and LANG on Linux), as children of `app`; answers the language chosen,
    // empty for English.
    static QString install(QCoreApplication &app);

    // The first of `uiLanguages` ("de-DE", "fr", …) that is English or one of `available`, as
    // named in `available` ("de"); empty for English or when none fits. English counts because a
    // desktop that lists it before German asks for English.
    static QString choose(const QStringList &uiLanguages, const QStringList &available);

    // The languages compiled in, e.g. {"de", "fr"}.
    static QStringList available();
};
