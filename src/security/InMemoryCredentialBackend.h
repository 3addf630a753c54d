#pragma once

#include "security/CredentialBackend.h"

#include <QHash>
#include <QMutex>

// Keeps items in memory only. Tests use it instead of the desktop keyring; setFailing() makes
// every later call (or every later write) fail with the given code, to exercise the failure
// paths of its users.
class InMemoryCredentialBackend : public CredentialBackend
{
public:
    CredentialResult read(const QString &account) override;
    CredentialResult write(const QString &account, const QByteArray &secret) override;
    CredentialResult remove(const QString &account) override;

    static constexpr int InjectedFailure = -1;
    void setFailing(bool failing, int code = InjectedFailure, bool writesOnly = false);

private:
    QMutex m_mutex;
    QHash<QString, QByteArray> m_items;
    bool m_failing = false;
    int m_code = InjectedFailure;
    bool m_writesOnly = false;
};
