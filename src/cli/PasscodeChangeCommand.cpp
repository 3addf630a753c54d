#include "cli/PasscodeChangeCommand.h"

#include "cli/CommandLine.h"
#include "cli/PasscodePrompt.h"
#include "security/FileEncryptor.h"
#include "security/KeyChainHelper.h"
#include "security/PasscodeCheck.h"
#include "security/PasscodeRule.h"
#include "security/SecretWipe.h"
#include "storage/PasscodeChange.h"

#include <QElapsedTimer>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

std::atomic<PasscodeChange *> running{nullptr};
std::atomic_bool interrupted{false};

void stopRunning(int)
{
    interrupted.store(true);
    if (PasscodeChange *change = running.load())
        change->cancel();
}

// While it lives, Ctrl-C, SIGTERM and SIGHUP stop the change at the next file instead of
// ending the process; one that comes before the change runs stops it before its first file.
class StopOnInterrupt
{
public:
    StopOnInterrupt()
    {
        interrupted.store(false);
        struct sigaction action
        {
        };
        action.sa_handler = stopRunning;
        sigemptyset(&action.sa_mask);
        for (int index = 0; index < 3; ++index)
            ::sigaction(signals[index], &action, &m_previous[index]);
    }
    ~StopOnInterrupt()
    {
        for (int index = 0; index < 3; ++index)
            ::sigaction(signals[index], &m_previous[index], nullptr);
        running.store(nullptr);
    }
    void watch(PasscodeChange &change)
    {
        running.store(&change);
        if (interrupted.load())
            change.cancel();
    }
    StopOnInterrupt(const StopOnInterrupt &) = delete;
    StopOnInterrupt &operator=(const StopOnInterrupt &) = delete;

private:
    static constexpr int signals[3] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction m_previous[3];
};

QString mebibytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024 * 1024), 'f', 1);
}

// A line on the terminal at most five times a second: files, bytes, and the time left at the
// pace so far.
class ProgressLine
{
public:
    ProgressLine() : m_shown(isatty(STDERR_FILENO) == 1) { m_started.start(); }
    ~ProgressLine()
    {
        if (m_drawn) {
            std::fprintf(stderr, "\r\033[K");
            std::fflush(stderr);
        }
    }
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;

    void show(const PasscodeChange::Progress &progress)
    {
        if (!m_shown || (m_drawn && m_last.isValid() && m_last.elapsed() < 200))
            return;
        m_last.start();
        m_drawn = true;
        QString line = PasscodeChangeCommand::tr("%1 of %2 files, %3 of %4 MiB")
                           .arg(progress.filesDone)
                           .arg(progress.filesTotal)
                           .arg(mebibytes(progress.bytesDone), mebibytes(progress.bytesTotal));
        const qint64 elapsed = m_started.elapsed();
        if (progress.bytesDone > 0 && elapsed > 1000) {
            const qint64 left =
                (progress.bytesTotal - progress.bytesDone) * elapsed / progress.bytesDone / 1000;
            line += PasscodeChangeCommand::tr(", about %n s left", nullptr, int(left));
        }
        std::fprintf(stderr, "\r\033[K%s", line.toLocal8Bit().constData());
        std::fflush(stderr);
    }

private:
    bool m_shown;
    bool m_drawn = false;
    QElapsedTimer m_started;
    QElapsedTimer m_last;
};

} // namespace

PasscodeChangeCommand::PasscodeChangeCommand(PasscodePrompt &prompt, QTextStream &out, QTextStream &err)
    : m_prompt(prompt), m_out(out), m_err(err)
{}

QString PasscodeChangeCommand::unfinishedText()
{
    return tr("a passcode change is unfinished; finish it with lumisera-vault passcode change --resume");
}

int PasscodeChangeCommand::fail(const QString &line)
{
    m_err << "lumisera-vault: " << line << "\n";
    m_err.flush();
    return CommandLine::Failure;
}

int PasscodeChangeCommand::run(bool resume)
{
    const bool unfinished = PasscodeChangeJournal::exists();
    if (unfinished && !resume)
        return fail(unfinishedText());
    if (!unfinished && resume)
        return fail(tr("no passcode change is unfinished"));
    KeyChainHelper &keys = KeyChainHelper::shared();
    const KeyChainHelper::Lookup stored = keys.lookUp();
    if (stored.state == KeyChainHelper::PasscodeState::unavailable)
        return fail(stored.problem);
    if (stored.state == KeyChainHelper::PasscodeState::notSet)
        return fail(tr("no passcode is set; set one with lumisera-vault init"));
    std::optional<QString> current = m_prompt.ask(tr("Current passcode: "));
    if (!current)
        return fail(tr("no passcode given"));
    const auto wipeCurrent = qScopeGuard([&current] { wipeSecret(*current); });
    if (!PasscodeCheck::againstLookup(*current, stored).matches())
        return fail(tr("wrong passcode"));

    std::unique_ptr<PasscodeChange> change;
    QString error;
    StopOnInterrupt interrupt;
    if (resume) {
        std::optional<PasscodeChangeJournal> journal = PasscodeChangeJournal::open(error);
        if (!journal)
            return fail(error);
        // Stopped after the stored passcode switched: the current one is the new one.
        std::optional<QString> next = journal->verifies(*current) ? current : keys.pendingPasscode();
        if (!next || !journal->verifies(*next)) {
            next = m_prompt.ask(tr("New passcode: "));
            if (!next || !journal->verifies(*next))
                return fail(tr("that is not the new passcode this change was started with"));
        }
        change = std::make_unique<PasscodeChange>(std::move(*journal), *current, *next, keys);
        wipeSecret(*next);
    } else {
        std::optional<QString> first = m_prompt.ask(tr("New passcode: "));
        std::optional<QString> second = first ? m_prompt.ask(tr("Repeat new passcode: ")) : std::nullopt;
        const auto wipeNew = qScopeGuard([&first, &second] {
            if (first)
                wipeSecret(*first);
            if (second)
                wipeSecret(*second);
        });
        if (!first || !second)
            return fail(tr("no new passcode given"));
        const QString refusal = PasscodeRule::refusal(*first, *second);
        if (!refusal.isEmpty())
            return fail(tr("new passcode refused: ") + refusal);
        // Only the first 16 bytes make the key: a passcode that shares them changes nothing.
        if (FileEncryptor::aesKey(*first) == FileEncryptor::aesKey(*current))
            return fail(tr("the new passcode must differ from the current one in its first 16 characters"));
        change = PasscodeChange::start(*current, *first, keys, error);
        if (!change)
            return fail(error);
    }

    PasscodeChange::Result result;
    {
        ProgressLine line;
        change->setProgressHandler(
            [&line](const PasscodeChange::Progress &progress) { line.show(progress); });
        interrupt.watch(*change);
        result = change->run();
    }
    for (const QString &name : std::as_const(result.damaged))
        m_err << "lumisera-vault: "
              << tr("left as it was (the current passcode does not open it): %1").arg(name) << "\n";
    m_err.flush();
    if (result.outcome != PasscodeChange::Outcome::finished) {
        if (result.outcome == PasscodeChange::Outcome::failed)
            return fail(result.error + tr("; resume with lumisera-vault passcode change --resume"));
        return fail(result.error + tr(" (lumisera-vault passcode change --resume)"));
    }
    m_out << tr("The passcode was changed.") << "\n";
    m_out.flush();
    return CommandLine::Success;
}
