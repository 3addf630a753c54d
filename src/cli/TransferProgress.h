#pragma once

#include <QString>
#include <functional>

// Runs a long file transfer and, when standard error is a terminal, shows how far it got: the
// bytes this process has read so far against the size of the input.
class TransferProgress
{
public:
    // Files smaller than this finish too fast to need a progress line.
    static constexpr qint64 minimumBytes = qint64(16) * 1024 * 1024;

    // Runs work (on another thread when a progress line is shown) and answers its result.
    static bool run(const QString &label, qint64 inputBytes, const std::function<bool()> &work);

private:
    static qint64 bytesReadSoFar();
};
