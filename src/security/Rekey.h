#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

// Moving a vault file from one passcode to another without a plain copy anywhere: the bytes go
// through a decrypting and an encrypting cipher in one stream, 1 MiB at a time. The format is
// FileEncryptor's: AES-128-CBC, all-zero IV, PKCS#7, no header.
namespace Rekey {

// How many of a file's last bytes tell its padding (the last two cipher blocks) and, compared
// with a recorded copy, whether a file is the one that was written.
constexpr qsizetype tailLength = 32;

struct Failure
{
    int readError = 0;
    int writeError = 0;
    bool undecryptable = false; // the old passcode does not open the input
    bool stopped = false;       // the handler asked to stop
};

// Told the bytes read so far after each chunk; false stops the stream and fails the call.
using ChunkHandler = std::function<bool(qint64 bytesRead)>;

// Streams the input (open for reading, from its start) into the output, decrypted with
// oldPasscode and encrypted with newPasscode. Both descriptors stay open for the caller; the
// output holds garbage on failure and is the caller's to remove. `tail` receives the output's last
// tailLength bytes.
bool reencrypt(int inputFd, int outputFd, const QString &oldPasscode, const QString &newPasscode,
               Failure &failure, QByteArray &tail, const ChunkHandler &handler = {});

} // namespace Rekey
