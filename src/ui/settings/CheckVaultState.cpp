#include "ui/settings/CheckVaultState.h"

#include "storage/StoragePool.h"

#include <QCoreApplication>
#include <QLocale>
#include <QPointer>

CheckVaultState::CheckVaultState(QObject *parent)
    : QObject(parent), m_cancel(std::make_shared<std::atomic_bool>(false))
{}

CheckVaultState::~CheckVaultState()
{
    m_cancel->store(true);
}

void CheckVaultState::setPhase(Phase phase)
{
    if (m_phase == phase)
        return;
    m_phase = phase;
    Q_EMIT phaseChanged(phase);
}

void CheckVaultState::setProgress(qint64 files, qint64 bytes)
{
    if (m_phase != Phase::running)
        return;
    m_files = files;
    m_bytes = bytes;
    Q_EMIT progressChanged();
}

void CheckVaultState::start(const VaultSessionPtr &session)
{
    if (m_phase == Phase::running)
        return;
    const std::optional<QString> key = session ? session->key() : std::nullopt;
    if (!key) {
        setPhase(Phase::locked);
        return;
    }
    m_cancel->store(false);
    m_files = 0;
    m_bytes = 0;
    m_report = {};
    setPhase(Phase::running);
    const QPointer<CheckVaultState> self(this);
    const std::shared_ptr<std::atomic_bool> cancelled = m_cancel;
    const auto work = [key = *key, cancelled, self, session]() {
        // The lock stops the walk as Cancel does.
        const auto progress = [self, cancelled, session](qint64 files, qint64 bytes) {
            if (!session->isOpen())
                cancelled->store(true);
            // Through the application object: this state may be gone on the main thread meanwhile.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [self, files, bytes] {
                    if (self)
                        self->setProgress(files, bytes);
                },
                Qt::QueuedConnection);
        };
        return VaultCheck::run({StorageLocation::local, StorageLocation::cloud}, key, cancelled.get(),
                               progress);
    };
    StoragePool::runInSession(
        session, self, work, [this](const VaultCheck::Report &report) { finished(report); },
        [this] {
            m_report.cancelled = true;
            setPhase(Phase::cancelled);
        });
}

void CheckVaultState::cancel()
{
    if (m_phase != Phase::running)
        return;
    m_cancel->store(true);
    Q_EMIT progressChanged();
}

void CheckVaultState::finished(const VaultCheck::Report &report)
{
    m_report = report;
    m_files = report.files;
    m_bytes = report.bytes;
    Q_EMIT progressChanged();
    setPhase(report.cancelled ? Phase::cancelled : Phase::done);
}

QString CheckVaultState::statusText() const
{
    const QString size = QLocale().formattedDataSize(m_bytes);
    switch (m_phase) {
    case Phase::idle:
        return QString();
    case Phase::locked:
        return tr("Unlock the vault to check it.");
    case Phase::running:
        if (m_cancel->load())
            return tr("Stopping…");
        return tr("Checking… Files: %1 (%2)").arg(m_files).arg(size);
    case Phase::cancelled:
        return tr("Stopped. Files checked: %1 (%2). What was found so far:").arg(m_files).arg(size);
    case Phase::done:
        if (m_report.isClean())
            return tr("Nothing is wrong. Files checked: %1 (%2).").arg(m_files).arg(size);
        return tr("Problems found: %1. Files checked: %2 (%3).")
            .arg(m_report.findings.size())
            .arg(m_files)
            .arg(size);
    }
    return QString();
}

QStringList CheckVaultState::reportLines(const VaultCheck::Report &report)
{
    QStringList lines;
    for (const VaultCheck::Kind kind : VaultCheck::kinds()) {
        const int count = report.count(kind);
        if (count == 0)
            continue;
        lines.append(VaultCheck::kindText(kind) + QStringLiteral(": ") + QString::number(count));
        for (const VaultCheck::Finding &finding : report.findings) {
            if (finding.kind == kind)
                lines.append(QStringLiteral("    ") +
                             (finding.tree == StorageLocation::cloud ? tr("Cloud") : tr("Local")) +
                             QStringLiteral(": ") + finding.name);
        }
    }
    return lines;
}
