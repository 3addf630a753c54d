#pragma once

#include <QString>
#include <optional>

#include <cstdio>

// Asks for secrets: on the terminal without echo, or line by line from standard input.
class PasscodePrompt
{
public:
    // fromStdin: read lines of `input` instead of asking on the terminal.
    explicit PasscodePrompt(bool fromStdin, FILE *input = stdin);

    // One secret, without its line end. Nothing when there is no line (end of input, no
    // terminal) or the terminal cannot be read.
    std::optional<QString> ask(const QString &prompt);

private:
    std::optional<QString> readLine(FILE *stream);
    std::optional<QString> askTerminal(const QString &prompt);

    bool m_fromStdin;
    FILE *m_input;
};
