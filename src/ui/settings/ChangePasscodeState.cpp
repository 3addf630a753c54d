#include "ui/settings/ChangePasscodeState.h"

#include "security/FileEncryptor.h"
#include "security/KeyChainHelper.h"
#include "security/PasscodeCheck.h"
#include "security/PasscodeRule.h"
#include "security/SecretWipe.h"
#include "storage/StoragePool.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QTimer>

namespace {

// Progress written by the worker, read by the main thread's timer.
struct SharedProgress
{
    QMutex mutex;
    PasscodeChange::Progress progress;
};

} // namespace

struct ChangePasscodeState::Outcome
{
    bool ran = false;
    PasscodeChange::Result result;
    QString message;
    bool needsNewPasscode = false;
};

ChangePasscodeState::ChangePasscodeState(bool resuming, QObject *parent)
    : QObject(parent), m_resuming(resuming), m_cancelled(std::make_shared<std::atomic_bool>(false))
{}

ChangePasscodeState::~ChangePasscodeState()
{
    // Closed by the lock or the person: the change stops at the next file, resumable.
    m_cancelled->store(true);
    wipeSecret(m_current);
    wipeSecret(m_new);
    wipeSecret(m_repeated);
}

void ChangePasscodeState::setCurrent(const QString &text)
{
    if (m_current == text)
        return;
    m_current = text;
    Q_EMIT entriesChanged();
}

void ChangePasscodeState::setNewPasscode(const QString &text)
{
    if (m_new == text)
        return;
    m_new = text;
    Q_EMIT entriesChanged();
}

void ChangePasscodeState::setRepeated(const QString &text)
{
    if (m_repeated == text)
        return;
    m_repeated = text;
    Q_EMIT entriesChanged();
}

bool ChangePasscodeState::canStart() const
{
    if (m_running || m_current.isEmpty())
        return false;
    if (m_resuming)
        return !m_needsNewPasscode || !m_new.isEmpty();
    return PasscodeRule::accepts(m_new, m_repeated) &&
           FileEncryptor::aesKey(m_new) != FileEncryptor::aesKey(m_current);
}

void ChangePasscodeState::setMessage(const QString &message)
{
    if (m_message == message)
        return;
    m_message = message;
    Q_EMIT messageChanged();
}

void ChangePasscodeState::setRunning(bool running)
{
    if (m_running == running)
        return;
    m_running = running;
    Q_EMIT runningChanged();
    Q_EMIT entriesChanged();
}

void ChangePasscodeState::start()
{
    if (!canStart())
        return;
    setMessage(QString());
    setRunning(true);
    m_cancelled->store(false);
    const auto shared = std::make_shared<SharedProgress>();
    auto *poll = new QTimer(this);
    poll->setInterval(200);
    connect(poll, &QTimer::timeout, this, [this, shared] {
        const QMutexLocker locker(&shared->mutex);
        m_progress = shared->progress;
        Q_EMIT progressChanged();
    });
    poll->start();
    connect(this, &ChangePasscodeState::runningChanged, poll, [this, poll] {
        if (!m_running)
            poll->deleteLater();
    });
    const auto work = [current = m_current, next = m_new, resuming = m_resuming, cancelled = m_cancelled,
                       shared, generation = KeyChainHelper::shared().lockGeneration()] {
        KeyChainHelper &keys = KeyChainHelper::shared();
        Outcome outcome;
        const PasscodeCheck check = PasscodeCheck::againstLookup(current, keys.lookUp());
        if (!check.matches()) {
            outcome.message =
                check.isUnavailable() ? check.problem : tr("The current passcode is not correct.");
            return outcome;
        }
        QString error;
        std::unique_ptr<PasscodeChange> change;
        if (resuming) {
            std::optional<PasscodeChangeJournal> journal = PasscodeChangeJournal::open(error);
            if (!journal) {
                outcome.message = error;
                return outcome;
            }
            // The current passcode is the new one when the change stopped after storing it.
            std::optional<QString> target = journal->verifies(current) ? current
                                            : next.isEmpty()           ? keys.pendingPasscode()
                                                                       : std::optional<QString>(next);
            if (!target || !journal->verifies(*target)) {
                outcome.needsNewPasscode = true;
                outcome.message = next.isEmpty()
                                      ? tr("Enter the new passcode this change was started with.")
                                      : tr("That is not the new passcode this change was started with.");
                return outcome;
            }
            change = std::make_unique<PasscodeChange>(std::move(*journal), current, *target, keys);
            wipeSecret(*target);
        } else {
            change = PasscodeChange::start(current, next, keys, error);
            if (!change) {
                outcome.message = error;
                return outcome;
            }
        }
        const VaultSessionPtr session = VaultSession::open(current, generation);
        change->setSession(session);
        PasscodeChange *running = change.get();
        change->setProgressHandler([&](const PasscodeChange::Progress &progress) {
            if (cancelled->load())
                running->cancel();
            if (keys.lockGeneration() != generation)
                session->end();
            const QMutexLocker locker(&shared->mutex);
            shared->progress = progress;
        });
        outcome.ran = true;
        outcome.result = change->run();
        return outcome;
    };
    StoragePool::runThen(
        this, work, [this](const Outcome &outcome) { finish(outcome); },
        [this] {
            finish({false, {}, tr("The passcode change stopped unexpectedly; it can be resumed."), false});
        });
}

void ChangePasscodeState::cancel()
{
    m_cancelled->store(true);
}

void ChangePasscodeState::finish(const Outcome &outcome)
{
    if (outcome.needsNewPasscode)
        m_needsNewPasscode = true;
    if (outcome.ran && outcome.result.outcome == PasscodeChange::Outcome::finished) {
        m_progress.filesDone = m_progress.filesTotal;
        m_progress.bytesDone = m_progress.bytesTotal;
        setRunning(false);
        Q_EMIT finished(outcome.result.damaged);
        return;
    }
    setMessage(outcome.ran ? outcome.result.error : outcome.message);
    if (outcome.ran && PasscodeChangeJournal::exists())
        m_resuming = true;
    setRunning(false);
}

QString ChangePasscodeState::describe(const PasscodeChange::Progress &progress, qint64 elapsedMs)
{
    const auto mebibytes = [](qint64 bytes) {
        return QString::number(double(bytes) / (1024 * 1024), 'f', 1);
    };
    QString text = tr("%1 of %2 files, %3 of %4 MiB")
                       .arg(progress.filesDone)
                       .arg(progress.filesTotal)
                       .arg(mebibytes(progress.bytesDone), mebibytes(progress.bytesTotal));
    if (progress.bytesDone > 0 && elapsedMs > 1000) {
        const qint64 left =
            (progress.bytesTotal - progress.bytesDone) * elapsedMs / progress.bytesDone / 1000;
        text += tr(", about %n s left", nullptr, int(left));
    }
    return text;
}
