#include "security/PasscodeRule.h"

#include <QList>
#include <QTextBoundaryFinder>

namespace {

qsizetype characterCount(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() != -1)
        ++count;
    return count;
}

bool hasLetterAndNumber(const QString &text)
{
    bool letter = false;
    bool number = false;
    for (const char32_t c : text.toUcs4()) {
        letter = letter || QChar::isLetter(c);
        number = number || QChar::isNumber(c);
    }
    return letter && number;
}

bool isAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x7f)
            return false;
    }
    return true;
}

} // namespace

QString PasscodeRule::refusal(const QString &passcode, const QString &repeated)
{
    const QString first = passcode.trimmed();
    const QString second = repeated.trimmed();
    if (first.isEmpty() || second.isEmpty())
        return tr("the passcode is empty");
    if (first != second)
        return tr("the two entries differ");
    if (characterCount(first) < minimumLength)
        return tr("the passcode has fewer than %1 characters").arg(minimumLength);
    if (!hasLetterAndNumber(first))
        return tr("the passcode needs at least one letter and one number");
    if (!isAscii(first))
        return tr("the passcode may only hold ASCII characters");
    return QString();
}
