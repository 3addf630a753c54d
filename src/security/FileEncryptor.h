#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <optional>

// The cipher of every vault file: AES-128-CBC with PKCS#7 padding and an all-zero IV, no header.
// The bytes are those of `openssl enc -aes-128-cbc -K <key as hex> -iv 0…0`, so a file can be
// read back by hand. There is no integrity check: a wrong passcode or damaged data usually fails
// at the padding, but may also decrypt to garbage.
enum class CryptOperation : int { encrypt = 0, decrypt = 1 };

namespace FileEncryptor {

// The passcode's UTF-8 bytes, cut or zero-padded to 16.
QByteArray aesKey(const QString &passcode);

// One-shot transforms of data held in memory; key is the passcode. Nothing on failure.
std::optional<QByteArray> encrypt(const QByteArray &data, const QString &key);
std::optional<QByteArray> decrypt(const QByteArray &data, const QString &key);
// The length of the padding that ends a stored file of fileSize bytes under key, read from tail,
// its last min(fileSize, 32) bytes (CBC: the last block and the one that chains it); nothing when
// the length is no cipher text's or the padding is invalid (a wrong key passes once in 256).
std::optional<int> paddingLength(qint64 fileSize, QByteArrayView tail, const QString &key);
// The plain bytes of whole cipher blocks from anywhere in a file: CBC needs only previousBlock,
// the cipher block before them, empty for the file's first block (the zero IV). The padding is
// neither checked nor removed, so a wrong key gives garbage, not nothing. Nothing when the
// cipher cannot be set up.
std::optional<QByteArray> decryptBlocks(QByteArrayView previousBlock, QByteArrayView data,
                                        const QString &key);

// Streams inputPath through the cipher into outputPath (created with mode 0600, or truncated),
// 1 MiB at a time. A read or write error fails the call. Every descriptor and cipher context
// is released on every path, but a partly written output is left in place: the caller decides
// what to do with it (usually it writes to a temporary sibling and removes that).
// Refuses to work when both paths name the same file.
bool processFile(const QString &inputPath, const QString &outputPath, const QString &key,
                 CryptOperation operation);
// What failed a processFile() call when a file call did: the errno of the read of the input or of
// the write of the output (the other stays 0), for the caller to tell the user why.
struct IoFailure
{
    int readError = 0;
    int writeError = 0;
    bool stopped = false; // the progress handler asked to stop
};
// Told the input bytes read so far after each chunk; answering false stops the stream there and
// fails the call, so that a long import can be abandoned without waiting for its end.
using ProgressHandler = std::function<bool(qint64 bytesRead)>;
// The same into an open descriptor (an unnamed file, say), which stays open for the caller.
bool processFile(const QString &inputPath, int outputFd, const QString &key, CryptOperation operation,
                 IoFailure *failure = nullptr, const ProgressHandler &progress = {});
// Both again with the input path's exact bytes, for a vault file whose name is not UTF-8.
// Whatever the path, only a regular file is read: a FIFO, a device or a folder is refused at once,
// without waiting for a writer.
bool processFile(const QByteArray &inputPath, const QString &outputPath, const QString &key,
                 CryptOperation operation);
bool processFile(const QByteArray &inputPath, int outputFd, const QString &key, CryptOperation operation,
                 IoFailure *failure = nullptr, const ProgressHandler &progress = {});
// From an input the caller opened (a vault file opened without following links, say) into an
// open output; both stay open for the caller.
bool processFile(int inputFd, int outputFd, const QString &key, CryptOperation operation,
                 IoFailure *failure = nullptr, const ProgressHandler &progress = {});

} // namespace FileEncryptor
