#pragma once

#include "security/KeyringService.h"

#include <QHash>
#include <QMutex>
#include <atomic>
#include <chrono>
#include <memory>
#include <optional>

// A desktop keyring that holds items in memory and answers as told: at once, after a delay,
// never, or "no backend" (as QtKeychain does without a Secret Service); "locked" (an error) or
// "dismissed" (no such item, as libsecret answers when its unlock prompt is dismissed). A delayed
// change takes effect when it answers, as a keyring does once the person unlocks it.
class FakeKeyring : public KeyringService, public std::enable_shared_from_this<FakeKeyring>
{
public:
    using Delay = std::optional<std::chrono::milliseconds>; // nothing: never answers

    void start(Operation operation, const QString &account, const QByteArray &secret, QObject *context,
               Done done) override;

    enum class Refusal { none, locked, dismissed };

    void setNoBackend(bool noBackend);
    void setRefusal(Refusal refusal);
    void setDelays(Delay reads, Delay changes);
    void put(const QString &account, const QByteArray &secret);
    std::optional<QByteArray> item(const QString &account) const;
    // Delayed answers still to come: a test waits for them instead of for a time.
    int pendingAnswers() const { return m_pending.load(); }
    // Jobs asked for so far, answered or not.
    int jobsStarted() const { return m_started.load(); }

private:
    CredentialResult apply(Operation operation, const QString &account, const QByteArray &secret);

    mutable QMutex m_mutex;
    QHash<QString, QByteArray> m_items;
    bool m_noBackend = false;
    Refusal m_refusal = Refusal::none;
    Delay m_readDelay = std::chrono::milliseconds(0);
    Delay m_changeDelay = std::chrono::milliseconds(0);
    std::atomic_int m_pending{0};
    std::atomic_int m_started{0};
};
