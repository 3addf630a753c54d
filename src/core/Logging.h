#pragma once

#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcJourney)

// The logged file name of a source path: its last component with ".cpp" taken out.
QString logFileName(const QString &sourcePath);

// "<file>:<function> <message>" at error level; callers pass __FILE__ and their own label.
void logError(const QString &message, const QString &file, const QString &function);
// "<time>: <message>" at info level, the time in the user's locale with seconds.
void logInfo(const QString &message);
// logError as if from Logging/"errorMsg(_:)", whoever calls it.
void errorMsg(const QString &message);
// Logs "Production arrested fatal: <message>" and returns: callers go on with their fallback.
void fatalErrorMsg(const QString &message);
