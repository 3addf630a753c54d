#include "security/TwoPairSubstitutionObfuscator.h"

#include <QStringList>
#include <QTextBoundaryFinder>

namespace {

QStringList graphemes(const QString &text)
{
    QStringList result;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (finder.toNextBoundary() != -1) {
        const qsizetype end = finder.position();
        result.append(text.mid(start, end - start));
        start = end;
    }
    return result;
}

} // namespace

const QString &TwoPairSubstitutionObfuscator::alphabet()
{
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_");
    return letters;
}

const TwoPairSubstitutionObfuscator &TwoPairSubstitutionObfuscator::shared()
{
    static const TwoPairSubstitutionObfuscator instance;
    return instance;
}

TwoPairSubstitutionObfuscator::TwoPairSubstitutionObfuscator()
{
    const QString &letters = alphabet();
    QStringList pairs;
    pairs.reserve(letters.size() * letters.size());
    for (const QChar first : letters) {
        for (const QChar second : letters)
            pairs.append(QString(first) + second);
    }
    const qsizetype last = pairs.size() - 1;
    for (qsizetype k = 0; k <= last; ++k)
        m_substitutionKey.insert(pairs.at(k), pairs.at(last - k));
    for (auto it = m_substitutionKey.cbegin(); it != m_substitutionKey.cend(); ++it)
        m_reverseKey.insert(it.value(), it.key());
}

QString TwoPairSubstitutionObfuscator::substitute(const QString &name, const QHash<QString, QString> &table)
{
    QStringList characters = graphemes(name);
    if (characters.size() % 2 != 0)
        characters.append(QStringLiteral(" "));
    QString result;
    result.reserve(name.size() + 1);
    for (qsizetype i = 0; i < characters.size(); i += 2) {
        const QString pair = characters.at(i) + characters.at(i + 1);
        result += table.value(pair, pair);
    }
    return result;
}

QString TwoPairSubstitutionObfuscator::encode(const QString &name) const
{
    return substitute(name, m_substitutionKey);
}

QString TwoPairSubstitutionObfuscator::decode(const QString &name) const
{
    return substitute(name, m_reverseKey).trimmed();
}
