#pragma once

#include <QHash>
#include <QString>

// Scrambles vault file names by a fixed substitution of character pairs. Only pairs of two
// alphabet characters are replaced; anything else (white space, accents, emoji…) passes
// through. The alphabet keeps scrambled names valid file names for every sync client, and it
// must never change: names already on disk are read back with it. Read-only after creation,
// so usable from any thread.
class TwoPairSubstitutionObfuscator
{
public:
    static const TwoPairSubstitutionObfuscator &shared();

    // Characters are grapheme clusters; an odd-length name is padded with one space first.
    QString encode(const QString &name) const;
    // As encode, then white space is trimmed from both ends (dropping that padding).
    QString decode(const QString &name) const;

    static const QString &alphabet();

private:
    TwoPairSubstitutionObfuscator();
    static QString substitute(const QString &name, const QHash<QString, QString> &table);

    QHash<QString, QString> m_substitutionKey;
    QHash<QString, QString> m_reverseKey;
};
