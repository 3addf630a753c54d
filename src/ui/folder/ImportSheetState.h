#pragma once

#include "storage/ImportJob.h"

#include <QObject>
#include <QStringList>

// The import sheet's rules: "Preparing..." until files are chosen, "Importing..." with the count
// and the bytes while the job runs (Escape would drop the outcome, so only Cancel ends it), then
// either closing by itself or the list of files that did not go in with "OK".
class ImportSheetState : public QObject
{
    Q_OBJECT
    Q_PROPERTY(Phase phase READ phase NOTIFY changed)
    Q_PROPERTY(QString statusText READ statusText NOTIFY changed)
    Q_PROPERTY(QString progressText READ progressText NOTIFY changed)
public:
    enum class Phase { preparing, importing, failures, over };
    Q_ENUM(Phase)
    // The one button the sheet offers.
    enum class Button { close, cancel, ok };
    Q_ENUM(Button)

    using QObject::QObject;

    Phase phase() const { return m_phase; }
    QString statusText() const;
    // "3 of 10 files · 12.4 kB of 40.0 kB"; empty before the import starts.
    QString progressText() const;
    int filesDone() const { return m_filesDone; }
    int filesTotal() const { return m_filesTotal; }
    Button button() const;
    bool isCancelEnabled() const { return m_phase == Phase::importing && !m_cancelled; }
    bool dismissesInteractively() const { return m_phase != Phase::importing; }
    // "name: reason" for each file that did not go in.
    QStringList failureLines() const { return m_failureLines; }

public Q_SLOTS:
    // The files came (none: the dialog was cancelled). Whether a job is to import them: an
    // import under way takes no second list, and nothing chosen ends the sheet.
    bool choose(const QStringList &paths, bool collectionLives);
    void setProgress(int filesDone, int filesTotal, qint64 bytesDone, qint64 bytesTotal);
    void cancel();
    // "Close" before anything was chosen.
    void closeWithoutImport();
    void finish(int importedCount, const QList<ImportJob::Failure> &failures);

Q_SIGNALS:
    void changed();
    // Once, when the import is over, before any list of failures (0 when nothing was chosen).
    void finished(int importedCount);
    void closeRequested();

private:
    void end(int importedCount);

    Phase m_phase = Phase::preparing;
    bool m_cancelled = false;
    int m_filesDone = 0;
    int m_filesTotal = 0;
    qint64 m_bytesDone = 0;
    qint64 m_bytesTotal = 0;
    QStringList m_failureLines;
};
