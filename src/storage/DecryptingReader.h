#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The plain bytes of a stored file at any offset, decrypting only the cipher blocks that hold
// them (CBC: a block needs only the one before it), so that a preview deep inside a large file
// costs a few KiB of reading. Small reads are served from a window of readAhead bytes, as a
// parser reading box headers makes many. The file's plain length comes from its last block's padding; a file
// whose length or padding is wrong for the passcode gives nothing. Reads with pread(): the
// descriptor's offset is left alone, and it stays open for the caller. Decrypted bytes are
// wiped once handed out; the caller wipes its own.
class DecryptingReader
{
public:
    static constexpr qint64 readAhead = 4096;

    DecryptingReader(int fd, const QString &passcode);
    ~DecryptingReader();
    DecryptingReader(const DecryptingReader &) = delete;
    DecryptingReader &operator=(const DecryptingReader &) = delete;

    // Nothing when the file cannot be read, or its length or last block is wrong for the passcode.
    std::optional<qint64> plainSize();
    // length bytes from offset; nothing past the plain end or on a read error.
    std::optional<QByteArray> read(qint64 offset, qint64 length);
    // Cipher bytes read so far.
    qint64 bytesRead() const { return m_bytesRead; }

private:
    std::optional<QByteArray> readCipher(qint64 offset, qint64 length);
    // Decrypts the whole blocks holding [offset, offset + length) into the window.
    bool fill(qint64 offset, qint64 length);

    const int m_fd;
    const QString m_passcode;
    std::optional<qint64> m_plainSize;
    bool m_sizeKnown = false;
    qint64 m_bytesRead = 0;
    QByteArray m_window; // plain bytes from m_windowStart, a block boundary
    qint64 m_windowStart = 0;
};
