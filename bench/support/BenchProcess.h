#pragma once

#include "security/VaultSession.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <functional>

// What the benchmarks that drive the event loop share.
namespace BenchProcess {

// A field of /proc/self/status in KiB ("VmRSS:", "VmHWM:"); -1 when it cannot be read.
qint64 statusKiB(const char *field);
// Runs the event loop for about ms.
void processFor(int ms);
// Runs the event loop until done answers true, or timeoutMs pass; done's last answer.
bool processUntil(const std::function<bool()> &done, int timeoutMs, int stepMs = 2);
// The vault as after the passcode was typed: the passcode stored in memory only (no keyring takes
// part) and held as the loaded key; the journal's lines are kept quiet. False when it cannot be
// stored.
VaultSessionPtr unlockVault(const QString &passcode);
// A JPEG of a gradient with a few shapes, different for every seed.
QByteArray picture(int width, int height, int seed);

} // namespace BenchProcess
