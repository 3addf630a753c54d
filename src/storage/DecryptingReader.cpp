#include "storage/DecryptingReader.h"

#include "security/FileEncryptor.h"
#include "security/SecretWipe.h"

#include <QScopeGuard>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr qint64 blockSize = 16;
} // namespace

DecryptingReader::DecryptingReader(int fd, const QString &passcode) : m_fd(fd), m_passcode(passcode) {}

DecryptingReader::~DecryptingReader()
{
    wipeSecret(m_window);
}

std::optional<QByteArray> DecryptingReader::readCipher(qint64 offset, qint64 length)
{
    QByteArray bytes(qsizetype(length), Qt::Uninitialized);
    qint64 done = 0;
    while (done < length) {
        const ssize_t got = ::pread(m_fd, bytes.data() + done, size_t(length - done), off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return std::nullopt; // an error, or the file shrank under us
        done += got;
    }
    m_bytesRead += done;
    return bytes;
}

std::optional<qint64> DecryptingReader::plainSize()
{
    if (m_sizeKnown)
        return m_plainSize;
    m_sizeKnown = true;
    struct stat status = {};
    if (::fstat(m_fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < blockSize ||
        status.st_size % blockSize != 0)
        return std::nullopt;
    const qint64 cipherSize = status.st_size;
    const qint64 tail = cipherSize >= 2 * blockSize ? 2 * blockSize : blockSize;
    const std::optional<QByteArray> cipher = readCipher(cipherSize - tail, tail);
    if (!cipher)
        return std::nullopt;
    const std::optional<int> padding = FileEncryptor::paddingLength(cipherSize, *cipher, m_passcode);
    if (padding)
        m_plainSize = cipherSize - *padding;
    return m_plainSize;
}

bool DecryptingReader::fill(qint64 offset, qint64 length)
{
    wipeSecret(m_window);
    m_window.clear();
    const qint64 cipherEnd = (*m_plainSize / blockSize + 1) * blockSize;
    const qint64 firstBlock = offset / blockSize;
    const qint64 end = qMin(cipherEnd, qMax(offset + length, firstBlock * blockSize + readAhead));
    const qint64 endBlock = (end + blockSize - 1) / blockSize;
    // The block before the first one chains it; the file's first block chains to the zero IV.
    const qint64 from = firstBlock > 0 ? (firstBlock - 1) * blockSize : 0;
    const std::optional<QByteArray> cipher = readCipher(from, endBlock * blockSize - from);
    if (!cipher)
        return false;
    const QByteArrayView all(*cipher);
    std::optional<QByteArray> plain =
        firstBlock > 0 ? FileEncryptor::decryptBlocks(all.first(blockSize), all.sliced(blockSize), m_passcode)
                       : FileEncryptor::decryptBlocks({}, all, m_passcode);
    if (!plain)
        return false;
    m_window = std::move(*plain);
    m_windowStart = firstBlock * blockSize;
    return true;
}

std::optional<QByteArray> DecryptingReader::read(qint64 offset, qint64 length)
{
    const std::optional<qint64> size = plainSize();
    if (!size || offset < 0 || length < 0 || length > *size || offset > *size - length)
        return std::nullopt;
    if (length == 0)
        return QByteArray();
    const bool inWindow = offset >= m_windowStart && offset + length <= m_windowStart + m_window.size();
    if (!inWindow && !fill(offset, length))
        return std::nullopt;
    return m_window.mid(qsizetype(offset - m_windowStart), qsizetype(length));
}
