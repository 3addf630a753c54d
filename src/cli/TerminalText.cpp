#include "cli/TerminalText.h"

#include <unistd.h>

namespace {

bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator;
}

} // namespace

QString TerminalText::escaped(const QString &text, QChar replacement)
{
    QString result = text;
    for (QChar &c : result) {
        if (isControl(c))
            c = replacement;
    }
    return result;
}

QString TerminalText::oneLine(const QString &text)
{
    QString result;
    result.reserve(text.size());
    bool gap = false;
    for (const QChar c : text) {
        if (isControl(c)) {
            gap = true;
            continue;
        }
        if (gap && !result.isEmpty())
            result += QLatin1Char(' ');
        gap = false;
        result += c;
    }
    return result.trimmed();
}

bool TerminalText::isTerminal(int fd)
{
    return ::isatty(fd) == 1;
}
