#pragma once

#include "security/VaultSession.h"
#include "storage/VaultCheck.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

// The rules of the "Check Vault" sheet: runs VaultCheck over both trees on the storage pool under
// the vault session, tells how far it got, and holds the report as lines to show. Cancel stops the
// walk between entries; the lock stops it as well (the sheet closes with the lock).
class CheckVaultState : public QObject
{
    Q_OBJECT
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(qint64 filesChecked READ filesChecked NOTIFY progressChanged)
public:
    enum class Phase {
        idle,      // not started
        locked,    // no open session: nothing to check with
        running,   // the walk is on its way
        cancelled, // stopped by Cancel before the end; the report holds what was found so far
        done,      // the whole report
    };
    Q_ENUM(Phase)

    explicit CheckVaultState(QObject *parent = nullptr);
    ~CheckVaultState() override;

    Phase phase() const { return m_phase; }
    qint64 filesChecked() const { return m_files; }
    qint64 bytesChecked() const { return m_bytes; }
    const VaultCheck::Report &report() const { return m_report; }

    // Starts the check under session; without an open one the phase becomes locked.
    void start(const VaultSessionPtr &session);
    // Stops a running check; the phase becomes cancelled when the walk has stopped.
    void cancel();
    bool isRunning() const { return m_phase == Phase::running; }
    bool canCancel() const { return m_phase == Phase::running && !m_cancel->load(); }

    // The sentence over the report (how far, or what came out).
    QString statusText() const;
    // The report: each kind found with its count, then the affected names.
    static QStringList reportLines(const VaultCheck::Report &report);
    QStringList reportLines() const { return reportLines(m_report); }

Q_SIGNALS:
    void phaseChanged(CheckVaultState::Phase phase);
    void progressChanged();

private:
    void setPhase(Phase phase);
    void setProgress(qint64 files, qint64 bytes);
    void finished(const VaultCheck::Report &report);

    Phase m_phase = Phase::idle;
    qint64 m_files = 0;
    qint64 m_bytes = 0;
    VaultCheck::Report m_report;
    // Shared with the walk, which may outlive this object by a few entries.
    std::shared_ptr<std::atomic_bool> m_cancel;
};
