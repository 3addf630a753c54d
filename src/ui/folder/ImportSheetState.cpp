#include "ui/folder/ImportSheetState.h"

#include <QLocale>

namespace {
QString dataSize(qint64 bytes)
{
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}
} // namespace

QString ImportSheetState::statusText() const
{
    return m_phase == Phase::preparing ? tr("Preparing...") : tr("Importing...");
}

QString ImportSheetState::progressText() const
{
    if (m_phase == Phase::preparing)
        return {};
    return tr("%1 of %n files · %2 of %3", nullptr, m_filesTotal)
        .arg(m_filesDone)
        .arg(dataSize(m_bytesDone), dataSize(m_bytesTotal));
}

ImportSheetState::Button ImportSheetState::button() const
{
    switch (m_phase) {
    case Phase::importing:
        return Button::cancel;
    case Phase::failures:
        return Button::ok;
    case Phase::preparing:
    case Phase::over:
        break;
    }
    return Button::close;
}

bool ImportSheetState::choose(const QStringList &paths, bool collectionLives)
{
    if (m_phase != Phase::preparing)
        return false;
    if (paths.isEmpty() || !collectionLives) {
        end(0);
        return false;
    }
    m_phase = Phase::importing;
    m_filesTotal = int(paths.size());
    Q_EMIT changed();
    return true;
}

void ImportSheetState::setProgress(int filesDone, int filesTotal, qint64 bytesDone, qint64 bytesTotal)
{
    m_filesDone = filesDone;
    m_filesTotal = filesTotal;
    m_bytesDone = bytesDone;
    m_bytesTotal = bytesTotal;
    Q_EMIT changed();
}

void ImportSheetState::cancel()
{
    m_cancelled = true;
    Q_EMIT changed();
}

void ImportSheetState::closeWithoutImport()
{
    if (m_phase == Phase::preparing)
        end(0);
}

void ImportSheetState::finish(int importedCount, const QList<ImportJob::Failure> &failures)
{
    if (m_phase != Phase::importing)
        return;
    for (const ImportJob::Failure &failure : failures)
        m_failureLines.append(tr("%1: %2").arg(failure.name, failure.reason));
    if (failures.isEmpty())
        return end(importedCount);
    m_phase = Phase::failures;
    Q_EMIT finished(importedCount);
    Q_EMIT changed();
}

void ImportSheetState::end(int importedCount)
{
    m_phase = Phase::over;
    Q_EMIT changed();
    Q_EMIT finished(importedCount);
    Q_EMIT closeRequested();
}
