#include "cli/PasscodePrompt.h"

#include "core/InterruptCleanup.h"

#include <QByteArray>

#include <memory>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Turns echo off on a terminal and back on when it goes, whatever path is taken.
class EchoOff
{
public:
    explicit EchoOff(int fd) : m_fd(fd)
    {
        if (tcgetattr(m_fd, &m_saved) != 0)
            return;
        termios silent = m_saved;
        silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        silent.c_lflag |= ECHONL;
        // Armed before echo goes: Ctrl-C at the prompt puts the terminal back before the
        // process ends by the signal.
        m_restore = std::make_unique<InterruptCleanup>(m_fd, m_saved);
        m_active = tcsetattr(m_fd, TCSAFLUSH, &silent) == 0;
    }
    ~EchoOff()
    {
        if (m_active)
            tcsetattr(m_fd, TCSAFLUSH, &m_saved);
    }
    EchoOff(const EchoOff &) = delete;
    EchoOff &operator=(const EchoOff &) = delete;

private:
    int m_fd;
    termios m_saved{};
    bool m_active = false;
    std::unique_ptr<InterruptCleanup> m_restore;
};

// A FILE over /dev/tty, closed on every path.
class Terminal
{
public:
    Terminal() : m_file(std::fopen("/dev/tty", "r+e")) {}
    ~Terminal()
    {
        if (m_file)
            std::fclose(m_file);
    }
    Terminal(const Terminal &) = delete;
    Terminal &operator=(const Terminal &) = delete;
    FILE *file() const { return m_file; }

private:
    FILE *m_file;
};

} // namespace

PasscodePrompt::PasscodePrompt(bool fromStdin, FILE *input) : m_fromStdin(fromStdin), m_input(input) {}

std::optional<QString> PasscodePrompt::ask(const QString &prompt)
{
    if (m_fromStdin)
        return readLine(m_input);
    return askTerminal(prompt);
}

std::optional<QString> PasscodePrompt::readLine(FILE *stream)
{
    QByteArray line;
    int c = 0;
    bool any = false;
    while ((c = std::fgetc(stream)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        line.append(static_cast<char>(c));
    }
    if (!any)
        return std::nullopt;
    if (line.endsWith('\r'))
        line.chop(1);
    QString text = QString::fromUtf8(line);
    line.fill('\0');
    return text;
}

std::optional<QString> PasscodePrompt::askTerminal(const QString &prompt)
{
    Terminal terminal;
    if (!terminal.file())
        return std::nullopt;
    std::fputs(prompt.toLocal8Bit().constData(), terminal.file());
    std::fflush(terminal.file());
    EchoOff echoOff(fileno(terminal.file()));
    return readLine(terminal.file());
}
