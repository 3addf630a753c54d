#include "security/FileEncryptor.h"

#include "core/Logging.h"
#include "core/UniqueFd.h"

#include <QFile>
#include <QScopeGuard>
#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <limits>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int KeyLength = 16;
constexpr int BlockSize = 16;
constexpr qsizetype ChunkSize = 1024 * 1024;
const QString ProcessFileLabel = QStringLiteral("processFile(inputURL:outputURL:key:operation:)");

// Key bytes that are wiped when they go out of scope.
class KeyBytes
{
public:
    explicit KeyBytes(const QString &passcode) : m_bytes(FileEncryptor::aesKey(passcode)) {}
    ~KeyBytes() { OPENSSL_cleanse(m_bytes.data(), size_t(m_bytes.size())); }
    KeyBytes(const KeyBytes &) = delete;
    KeyBytes &operator=(const KeyBytes &) = delete;
    const unsigned char *data() const { return reinterpret_cast<const unsigned char *>(m_bytes.constData()); }
    qsizetype size() const { return m_bytes.size(); }

private:
    QByteArray m_bytes;
};

struct CipherContextDeleter
{
    void operator()(EVP_CIPHER_CTX *context) const { EVP_CIPHER_CTX_free(context); }
};
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, CipherContextDeleter>;

CipherContext makeContext(const KeyBytes &key, CryptOperation operation, const unsigned char *iv = nullptr)
{
    static const unsigned char zeroIv[BlockSize] = {};
    CipherContext context(EVP_CIPHER_CTX_new());
    if (!context || key.size() != KeyLength)
        return {};
    const int encrypting = operation == CryptOperation::encrypt ? 1 : 0;
    if (EVP_CipherInit_ex2(context.get(), EVP_aes_128_cbc(), key.data(), iv ? iv : zeroIv, encrypting,
                           nullptr) != 1)
        return {};
    return context;
}

std::optional<QByteArray> transform(const QByteArray &data, const QString &passcode, CryptOperation operation)
{
    const KeyBytes key(passcode);
    CipherContext context = makeContext(key, operation);
    if (!context)
        return std::nullopt;
    QByteArray output(data.size() + BlockSize, Qt::Uninitialized);
    auto *out = reinterpret_cast<unsigned char *>(output.data());
    const auto *in = reinterpret_cast<const unsigned char *>(data.constData());
    qsizetype written = 0;
    // EVP counts in int: feed large inputs in pieces.
    constexpr qsizetype piece = std::numeric_limits<int>::max() / 2;
    for (qsizetype offset = 0; offset < data.size(); offset += piece) {
        const int length = int(std::min(piece, data.size() - offset));
        int produced = 0;
        if (EVP_CipherUpdate(context.get(), out + written, &produced, in + offset, length) != 1)
            return std::nullopt;
        written += produced;
    }
    int produced = 0;
    if (EVP_CipherFinal_ex(context.get(), out + written, &produced) != 1)
        return std::nullopt;
    output.truncate(written + produced);
    return output;
}

ssize_t readSome(int fd, unsigned char *buffer, qsizetype capacity)
{
    for (;;) {
        const ssize_t done = ::read(fd, buffer, size_t(capacity));
        if (done >= 0 || errno != EINTR)
            return done;
    }
}

void logProcessError(const QString &message)
{
    logError(message, QStringLiteral(__FILE__), ProcessFileLabel);
}

QString systemError(const QString &message)
{
    return message + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

// Opens the output without truncating it first, so that a path naming the input itself is
// caught before a single byte of the input is lost.
UniqueFd openOutput(const QString &outputPath, const struct stat &input)
{
    UniqueFd output(::open(QFile::encodeName(outputPath).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
    struct stat status
    {
    };
    if (!output.isValid() || ::fstat(output.get(), &status) != 0)
        return UniqueFd(-1);
    if (status.st_dev == input.st_dev && status.st_ino == input.st_ino)
        return UniqueFd(-1);
    if (S_ISREG(status.st_mode) && ::ftruncate(output.get(), 0) != 0)
        return UniqueFd(-1);
    return output;
}

bool streamThrough(EVP_CIPHER_CTX *context, int input, UniqueFd &output, FileEncryptor::IoFailure &failure,
                   const FileEncryptor::ProgressHandler &progress)
{
    qint64 read = 0;
    const auto inBuffer = std::make_unique_for_overwrite<unsigned char[]>(size_t(ChunkSize));
    const auto outBuffer = std::make_unique_for_overwrite<unsigned char[]>(size_t(ChunkSize + BlockSize));
    for (;;) {
        const ssize_t length = readSome(input, inBuffer.get(), ChunkSize);
        if (length < 0) {
            failure.readError = errno;
            logProcessError(systemError(QStringLiteral("Error reading the input file")));
            return false;
        }
        if (length == 0)
            break;
        int produced = 0;
        if (EVP_CipherUpdate(context, outBuffer.get(), &produced, inBuffer.get(), int(length)) != 1) {
            logProcessError(QStringLiteral("CCCryptorUpdate failed"));
            return false;
        }
        if (!output.writeAll(outBuffer.get(), produced)) {
            failure.writeError = errno;
            logProcessError(systemError(QStringLiteral("Error writing the output file")));
            return false;
        }
        read += length;
        if (progress && !progress(read)) {
            failure.stopped = true;
            return false;
        }
    }
    int produced = 0;
    if (EVP_CipherFinal_ex(context, outBuffer.get(), &produced) != 1) {
        logProcessError(QStringLiteral("CCCryptorFinal failed"));
        return false;
    }
    if (!output.writeAll(outBuffer.get(), produced)) {
        failure.writeError = errno;
        logProcessError(systemError(QStringLiteral("Error writing the output file")));
        return false;
    }
    return true;
}

// Streams the input through the cipher into the output that openOutput() gives for it. An owned
// output is closed (a failed close is a lost write); a borrowed one stays open for its owner.
// The input, open for reading, when it is a regular file. A FIFO without a writer would hold the
// caller for good and a device may never end: neither is waited for nor read.
UniqueFd openInput(const QByteArray &inputPath, FileEncryptor::IoFailure &io)
{
    UniqueFd input(::open(inputPath.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status
    {
    };
    if (!input.isValid() || ::fstat(input.get(), &status) != 0) {
        io.readError = errno;
        return UniqueFd();
    }
    if (!S_ISREG(status.st_mode)) {
        io.readError = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
        return UniqueFd();
    }
    ::fcntl(input.get(), F_SETFL, ::fcntl(input.get(), F_GETFL) & ~O_NONBLOCK);
    return input;
}

bool processOpened(int input, const QString &key, CryptOperation operation,
                   const std::function<UniqueFd(const struct stat &)> &openOutput, bool borrowed,
                   FileEncryptor::IoFailure &io, const FileEncryptor::ProgressHandler &progress = {})
{
    const KeyBytes keyBytes(key);
    struct stat inputStatus
    {
    };
    if (keyBytes.size() != KeyLength || input < 0 || ::fstat(input, &inputStatus) != 0 ||
        !S_ISREG(inputStatus.st_mode)) {
        logProcessError(QStringLiteral("Invalid file paths or key"));
        return false;
    }
    UniqueFd output = openOutput(inputStatus);
    const auto handBack = qScopeGuard([&output, borrowed] {
        if (borrowed)
            output.release();
    });
    if (!output.isValid()) {
        logProcessError(QStringLiteral("Invalid file paths or key"));
        return false;
    }
    const CipherContext context = makeContext(keyBytes, operation);
    if (!context) {
        logProcessError(QStringLiteral("Failed to create CCCryptor"));
        return false;
    }
    ::posix_fadvise(input, 0, 0, POSIX_FADV_SEQUENTIAL);
    if (!streamThrough(context.get(), input, output, io, progress))
        return false;
    if (!borrowed && !output.close()) {
        logProcessError(systemError(QStringLiteral("Error writing the output file")));
        return false;
    }
    return true;
}

} // namespace

namespace FileEncryptor {

QByteArray aesKey(const QString &passcode)
{
    QByteArray bytes = passcode.toUtf8();
    QByteArray key = bytes.left(KeyLength).leftJustified(KeyLength, '\0');
    OPENSSL_cleanse(bytes.data(), size_t(bytes.size()));
    return key;
}

std::optional<QByteArray> encrypt(const QByteArray &data, const QString &key)
{
    std::optional<QByteArray> result = transform(data, key, CryptOperation::encrypt);
    if (!result)
        logError(QStringLiteral("encrypt failed!"), QStringLiteral(__FILE__),
                 QStringLiteral("encrypt(data:withKey:)"));
    return result;
}

std::optional<QByteArray> decrypt(const QByteArray &data, const QString &key)
{
    std::optional<QByteArray> result = transform(data, key, CryptOperation::decrypt);
    if (!result)
        logError(QStringLiteral("decrypt failed!"), QStringLiteral(__FILE__),
                 QStringLiteral("decrypt(data:withKey:)"));
    return result;
}

std::optional<int> paddingLength(qint64 fileSize, QByteArrayView tail, const QString &key)
{
    if (fileSize <= 0 || fileSize % BlockSize != 0 ||
        tail.size() != std::min<qint64>(fileSize, 2 * BlockSize))
        return std::nullopt;
    std::optional<QByteArray> last = decryptBlocks(
        tail.size() > BlockSize ? tail.first(BlockSize) : QByteArrayView(), tail.last(BlockSize), key);
    if (!last || last->size() != BlockSize)
        return std::nullopt;
    const int padding = static_cast<unsigned char>(last->back());
    const bool valid = padding >= 1 && padding <= BlockSize &&
                       std::all_of(last->cend() - padding, last->cend(), [padding](char byte) {
                           return static_cast<unsigned char>(byte) == padding;
                       });
    OPENSSL_cleanse(last->data(), size_t(last->size()));
    return valid ? std::optional<int>(padding) : std::nullopt;
}

std::optional<QByteArray> decryptBlocks(QByteArrayView previousBlock, QByteArrayView data, const QString &key)
{
    if (!previousBlock.isEmpty() && previousBlock.size() != BlockSize)
        return std::nullopt;
    const KeyBytes keyBytes(key);
    CipherContext context = makeContext(
        keyBytes, CryptOperation::decrypt,
        previousBlock.isEmpty() ? nullptr : reinterpret_cast<const unsigned char *>(previousBlock.data()));
    if (!context || EVP_CIPHER_CTX_set_padding(context.get(), 0) != 1)
        return std::nullopt;
    const int length =
        int(std::min<qsizetype>(data.size(), std::numeric_limits<int>::max() / 2)) / BlockSize * BlockSize;
    QByteArray output(length + BlockSize, Qt::Uninitialized);
    auto *out = reinterpret_cast<unsigned char *>(output.data());
    int written = 0;
    int produced = 0;
    if (EVP_CipherUpdate(context.get(), out, &written, reinterpret_cast<const unsigned char *>(data.data()),
                         length) != 1 ||
        EVP_CipherFinal_ex(context.get(), out + written, &produced) != 1) {
        OPENSSL_cleanse(output.data(), size_t(output.size()));
        return std::nullopt;
    }
    output.truncate(written + produced);
    return output;
}

bool processFile(const QString &inputPath, const QString &outputPath, const QString &key,
                 CryptOperation operation)
{
    return processFile(QFile::encodeName(inputPath), outputPath, key, operation);
}

bool processFile(const QString &inputPath, int outputFd, const QString &key, CryptOperation operation,
                 IoFailure *failure, const ProgressHandler &progress)
{
    return processFile(QFile::encodeName(inputPath), outputFd, key, operation, failure, progress);
}

bool processFile(const QByteArray &inputPath, const QString &outputPath, const QString &key,
                 CryptOperation operation)
{
    IoFailure io;
    const UniqueFd input = openInput(inputPath, io);
    if (!input.isValid()) {
        logProcessError(QStringLiteral("Invalid file paths or key"));
        return false;
    }
    return processOpened(
        input.get(), key, operation,
        [&outputPath](const struct stat &status) { return openOutput(outputPath, status); }, false, io);
}

bool processFile(const QByteArray &inputPath, int outputFd, const QString &key, CryptOperation operation,
                 IoFailure *failure, const ProgressHandler &progress)
{
    IoFailure ignored;
    IoFailure &io = failure ? *failure : ignored;
    const UniqueFd input = openInput(inputPath, io);
    if (!input.isValid()) {
        logProcessError(QStringLiteral("Invalid file paths or key"));
        return false;
    }
    return processFile(input.get(), outputFd, key, operation, &io, progress);
}

bool processFile(int inputFd, int outputFd, const QString &key, CryptOperation operation, IoFailure *failure,
                 const ProgressHandler &progress)
{
    IoFailure ignored;
    return processOpened(
        inputFd, key, operation, [outputFd](const struct stat &) { return UniqueFd(outputFd); }, true,
        failure ? *failure : ignored, progress);
}

} // namespace FileEncryptor
