#include "../cli/VaultProcess.h"
#include "TestHome.h"
#include "i18n/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

struct Entry
{
    QString context;
    QString source;
    QString type; // "unfinished", "vanished", "obsolete" or empty when done
    QStringList forms;
    bool numerus = false;
};

QList<Entry> readCatalogue(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<Entry> entries;
    QString context;
    Entry entry;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == "message"_L1) {
            entries.append(entry);
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == "name"_L1)
            context = xml.readElementText();
        else if (xml.name() == "message"_L1)
            entry = Entry{context, {}, {}, {}, xml.attributes().value("numerus"_L1) == "yes"_L1};
        else if (xml.name() == "source"_L1)
            entry.source = xml.readElementText();
        else if (xml.name() == "translation"_L1) {
            entry.type = xml.attributes().value("type"_L1).toString();
            if (!entry.numerus)
                entry.forms = {xml.readElementText()};
        } else if (xml.name() == "numerusform"_L1)
            entry.forms.append(xml.readElementText());
    }
    return entries;
}

// "%1".."%99" and "%n" in the order of their numbers, each once.
QStringList placeholders(const QString &text)
{
    static const QRegularExpression pattern(u"%(\\d{1,2}|n)"_s);
    QStringList found;
    for (const QRegularExpressionMatch &match : pattern.globalMatch(text)) {
        if (!found.contains(match.captured()))
            found.append(match.captured());
    }
    found.sort();
    return found;
}

// A keyboard accelerator is one "&" before a character that is not "&" or a blank.
int acceleratorCount(const QString &text)
{
    static const QRegularExpression pattern(u"&(?![&\\s]|[a-z]+;)"_s);
    return int(text.count(pattern));
}

QString describe(const Entry &entry)
{
    return u"%1 \"%2\"%3"_s.arg(entry.context, entry.source,
                                entry.type.isEmpty() ? QString() : u" (%1)"_s.arg(entry.type));
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void catalogueCoversTheSources_data();
    void catalogueCoversTheSources();
    void compiledTranslationTranslates_data();
    void compiledTranslationTranslates();
    void choosesTheDesktopLanguage_data();
    void choosesTheDesktopLanguage();
    void installsOwnAndQtTranslations();
    void commandSpeaksTheDesktopLanguage_data();
    void commandSpeaksTheDesktopLanguage();
    void desktopEntrySpeaksEachLanguage_data();
    void desktopEntrySpeaksEachLanguage();
};

void TestTranslations::catalogueCoversTheSources_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("German") << u"de"_s;
    QTest::newRow("French") << u"fr"_s;
}

// lupdate over today's sources into a scratch copy of the committed catalogue: every text the
// sources use must be there and translated, and nothing the sources dropped may linger.
void TestTranslations::catalogueCoversTheSources()
{
    QFETCH(QString, language);
    const QString committed = QStringLiteral(LUMISERA_TRANSLATIONS_DIR "/lumisera_") + language + u".ts"_s;
    QVERIFY2(QFile::exists(committed), qPrintable(committed));
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    const QString copy = scratch.filePath(u"lumisera_"_s + language + u".ts"_s);
    QVERIFY(QFile::copy(committed, copy));
    QVERIFY(QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner));

    QProcess lupdate;
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    lupdate.start(QStringLiteral(LUMISERA_LUPDATE), {u"-locations"_s, u"none"_s, u"-recursive"_s,
                                                     QStringLiteral(LUMISERA_SOURCE_DIR), u"-ts"_s, copy});
    QVERIFY(lupdate.waitForFinished(120000));
    const QString report = QString::fromLocal8Bit(lupdate.readAll());
    QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0, qPrintable(report));
    QVERIFY2(!report.contains(u"cannot be called without context"_s), qPrintable(report));

    const QList<Entry> entries = readCatalogue(copy);
    QVERIFY2(entries.size() > 300, qPrintable(report));
    QStringList problems;
    for (const Entry &entry : entries) {
        if (!entry.type.isEmpty()) {
            problems.append(describe(entry));
            continue;
        }
        if (entry.forms.isEmpty() || entry.forms.contains(QString()))
            problems.append(describe(entry) + u": empty translation"_s);
        else if (entry.numerus && entry.forms.size() != 2)
            problems.append(describe(entry) + u": %1 plural forms, not 2"_s.arg(entry.forms.size()));
        for (const QString &form : entry.forms) {
            if (placeholders(form) != placeholders(entry.source))
                problems.append(describe(entry) + u": placeholders differ in \""_s + form + u'"');
            if (acceleratorCount(form) != acceleratorCount(entry.source))
                problems.append(describe(entry) + u": keyboard accelerator differs in \""_s + form + u'"');
        }
    }
    QVERIFY2(problems.isEmpty(),
             qPrintable(u"%1 entries to do in lumisera_%2.ts:\n"_s.arg(problems.size()).arg(language) +
                        problems.join(u'\n')));
}

void TestTranslations::compiledTranslationTranslates_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    QTest::newRow("de unlock") << u"de"_s << u"ContentView"_s << u"Tap to Unlock"_s << -1
                               << u"Zum Entsperren tippen"_s;
    QTest::newRow("de one item") << u"de"_s << u"ShareActivity"_s << u"%n items"_s << 1 << u"1 Objekt"_s;
    QTest::newRow("de items") << u"de"_s << u"ShareActivity"_s << u"%n items"_s << 3 << u"3 Objekte"_s;
    QTest::newRow("de accelerator") << u"de"_s << u"UserFormTextField"_s << u"&Paste"_s << -1
                                    << u"&Einfügen"_s;
    QTest::newRow("de command") << u"de"_s << u"VaultCommands"_s << u"wrong passcode"_s << -1
                                << u"falscher Zugangscode"_s;
    // Lumisera's own quote of a first start, and a background picture's name.
    QTest::newRow("de built-in quote")
        << u"de"_s << u"DailyMessage"_s << u"Unknown Author"_s << -1 << u"Unbekannter Autor"_s;
    QTest::newRow("de picture") << u"de"_s << u"BackgroundImageMenu"_s << u"Water's Edge"_s << -1
                                << u"Am Wasser"_s;
    QTest::newRow("fr unlock") << u"fr"_s << u"ContentView"_s << u"Tap to Unlock"_s << -1
                               << u"Touchez pour déverrouiller"_s;
    // French counts zero as singular.
    QTest::newRow("fr no item") << u"fr"_s << u"ShareActivity"_s << u"%n items"_s << 0 << u"0 élément"_s;
    QTest::newRow("fr items") << u"fr"_s << u"ShareActivity"_s << u"%n items"_s << 2 << u"2 éléments"_s;
    QTest::newRow("fr command") << u"fr"_s << u"VaultCommands"_s << u"wrong passcode"_s << -1
                                << u"code d’accès incorrect"_s;
}

// The .qm files compiled into the programs load and answer for known texts.
void TestTranslations::compiledTranslationTranslates()
{
    QFETCH(QString, language);
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(int, count);
    QFETCH(QString, expected);
    QVERIFY(Translations::available().contains(language));
    QTranslator translator;
    QVERIFY(translator.load(u"lumisera_"_s + language, Translations::directory));
    QVERIFY(QCoreApplication::installTranslator(&translator));
    const QByteArray contextBytes = context.toUtf8();
    const QByteArray sourceBytes = source.toUtf8();
    const QString translated =
        QCoreApplication::translate(contextBytes.constData(), sourceBytes.constData(), nullptr, count);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(translated, expected);
}

void TestTranslations::choosesTheDesktopLanguage_data()
{
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::addColumn<QString>("expected");
    const QStringList none;
    QTest::newRow("German") << QStringList{u"de"_s} << u"de"_s;
    QTest::newRow("German of Austria") << QStringList{u"de-AT"_s, u"de"_s} << u"de"_s;
    QTest::newRow("French of Canada, POSIX spelling") << QStringList{u"fr_CA"_s} << u"fr"_s;
    QTest::newRow("English first") << QStringList{u"en-GB"_s, u"de"_s} << QString();
    QTest::newRow("unknown, then French") << QStringList{u"pt-BR"_s, u"fr"_s} << u"fr"_s;
    QTest::newRow("unknown only") << QStringList{u"ja"_s} << QString();
    QTest::newRow("C locale") << QStringList{u"C"_s} << QString();
    QTest::newRow("nothing") << none << QString();
}

void TestTranslations::choosesTheDesktopLanguage()
{
    QFETCH(QStringList, uiLanguages);
    QFETCH(QString, expected);
    QCOMPARE(Translations::choose(uiLanguages, {u"de"_s, u"fr"_s}), expected);
}

// main() sets LANGUAGE=de before anything reads the system locale.
void TestTranslations::installsOwnAndQtTranslations()
{
    QCOMPARE(Translations::install(*QCoreApplication::instance()), u"de"_s);
    QCOMPARE(QCoreApplication::translate("ContentView", "Tap to Open"), u"Zum Öffnen tippen"_s);
    // Qt's own buttons, from qtbase_de.qm (package qt6-translations-l10n).
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"Abbrechen"_s);
}

void TestTranslations::commandSpeaksTheDesktopLanguage_data()
{
    QTest::addColumn<QString>("languageVariable");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("German") << u"de"_s << u"Aufruf: lumisera-vault"_s;
    QTest::newRow("French") << u"fr_FR"_s << u"Utilisation\u00a0: lumisera-vault"_s;
    QTest::newRow("English before German") << u"en:de"_s << u"Usage: lumisera-vault"_s;
    QTest::newRow("unknown, then German") << u"eo:de"_s << u"Aufruf: lumisera-vault"_s;
}

// `LANGUAGE=de lumisera-vault --help` answers in German.
void TestTranslations::commandSpeaksTheDesktopLanguage()
{
    QFETCH(QString, languageVariable);
    QFETCH(QString, firstLine);
    QProcessEnvironment environment = withoutSessionBus();
    environment.insert(u"LANGUAGE"_s, languageVariable);
    environment.insert(u"LANG"_s, u"C.UTF-8"_s);
    environment.remove(u"LC_ALL"_s);
    environment.remove(u"LC_MESSAGES"_s);
    const VaultOutcome outcome = runVault({u"--help"_s}, QString(), QDir::currentPath(), environment);
    QCOMPARE(outcome.status, 0);
    QVERIFY2(outcome.out.startsWith(firstLine), qPrintable(outcome.out));
}

void TestTranslations::desktopEntrySpeaksEachLanguage_data()
{
    QTest::addColumn<QString>("key");
    for (const QString &language : {u"de"_s, u"fr"_s}) {
        for (const QString &key : {u"Name"_s, u"GenericName"_s, u"Comment"_s, u"Keywords"_s}) {
            const QString localized = key + u'[' + language + u']';
            QTest::newRow(qPrintable(localized)) << localized;
        }
    }
}

// What the desktop's menu and software centre show, in the person's language.
void TestTranslations::desktopEntrySpeaksEachLanguage()
{
    QFETCH(QString, key);
    QFile entry(QStringLiteral(LUMISERA_DESKTOP_ENTRY));
    QVERIFY(entry.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(entry.readAll()).split(u'\n');
    const QString prefix = key + u'=';
    const auto line = std::find_if(lines.cbegin(), lines.cend(), [&prefix](const QString &candidate) {
        return candidate.startsWith(prefix);
    });
    QVERIFY2(line != lines.cend(), qPrintable(key));
    QVERIFY(line->size() > prefix.size());
}

int main(int argc, char **argv)
{
    TestHome home;
    // Read once by Qt, at the system locale's first use.
    qputenv("LANGUAGE", "de");
    QCoreApplication app(argc, argv);
    TestTranslations tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "TestTranslations.moc"
