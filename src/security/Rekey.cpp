#include "security/Rekey.h"

#include "core/UniqueFd.h"
#include "security/FileEncryptor.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

constexpr int BlockSize = 16;
constexpr qsizetype ChunkSize = 1024 * 1024;

struct CipherContextDeleter
{
    void operator()(EVP_CIPHER_CTX *context) const { EVP_CIPHER_CTX_free(context); }
};
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, CipherContextDeleter>;

// The key bytes for a passcode, wiped when they go.
class WipedKey
{
public:
    explicit WipedKey(const QString &passcode) : m_bytes(FileEncryptor::aesKey(passcode)) {}
    ~WipedKey() { OPENSSL_cleanse(m_bytes.data(), size_t(m_bytes.size())); }
    WipedKey(const WipedKey &) = delete;
    WipedKey &operator=(const WipedKey &) = delete;
    const unsigned char *data() const { return reinterpret_cast<const unsigned char *>(m_bytes.constData()); }

private:
    QByteArray m_bytes;
};

CipherContext makeContext(const QString &passcode, const unsigned char *iv, bool encrypting)
{
    const WipedKey key(passcode);
    CipherContext context(EVP_CIPHER_CTX_new());
    if (!context || EVP_CipherInit_ex2(context.get(), EVP_aes_128_cbc(), key.data(), iv, encrypting ? 1 : 0,
                                       nullptr) != 1)
        return {};
    return context;
}

ssize_t readSome(int fd, unsigned char *buffer, qsizetype capacity)
{
    for (;;) {
        const ssize_t done = ::read(fd, buffer, size_t(capacity));
        if (done >= 0 || errno != EINTR)
            return done;
    }
}

bool writeOut(int fd, const unsigned char *data, int length, Rekey::Failure &failure)
{
    UniqueFd borrowed(fd);
    const bool written = borrowed.writeAll(data, length);
    if (!written)
        failure.writeError = errno;
    borrowed.release();
    return written;
}

} // namespace

namespace Rekey {

bool reencrypt(int inputFd, int outputFd, const QString &oldPasscode, const QString &newPasscode,
               Failure &failure, QByteArray &tail, const ChunkHandler &handler)
{
    static const unsigned char zeroIv[BlockSize] = {};
    const CipherContext decrypting = makeContext(oldPasscode, zeroIv, false);
    const CipherContext encrypting = makeContext(newPasscode, zeroIv, true);
    if (!decrypting || !encrypting)
        return false;
    ::posix_fadvise(inputFd, 0, 0, POSIX_FADV_SEQUENTIAL);
    const auto in = std::make_unique_for_overwrite<unsigned char[]>(size_t(ChunkSize));
    const auto plain = std::make_unique_for_overwrite<unsigned char[]>(size_t(ChunkSize + BlockSize));
    const auto out = std::make_unique_for_overwrite<unsigned char[]>(size_t(ChunkSize + 2 * BlockSize));
    const auto wipe = [&plain] { OPENSSL_cleanse(plain.get(), size_t(ChunkSize + BlockSize)); };
    qint64 read = 0;
    tail.clear();
    for (;;) {
        const ssize_t length = readSome(inputFd, in.get(), ChunkSize);
        if (length < 0) {
            failure.readError = errno;
            wipe();
            return false;
        }
        int plainLength = 0;
        int outLength = 0;
        if (length == 0) {
            if (EVP_CipherFinal_ex(decrypting.get(), plain.get(), &plainLength) != 1) {
                failure.undecryptable = true;
                wipe();
                return false;
            }
        } else if (EVP_CipherUpdate(decrypting.get(), plain.get(), &plainLength, in.get(), int(length)) !=
                   1) {
            wipe();
            return false;
        }
        if (plainLength > 0 &&
            EVP_CipherUpdate(encrypting.get(), out.get(), &outLength, plain.get(), plainLength) != 1) {
            wipe();
            return false;
        }
        int finalLength = 0;
        if (length == 0 && EVP_CipherFinal_ex(encrypting.get(), out.get() + outLength, &finalLength) != 1) {
            wipe();
            return false;
        }
        const int produced = outLength + finalLength;
        if (!writeOut(outputFd, out.get(), produced, failure)) {
            wipe();
            return false;
        }
        const int kept = int(std::min<qsizetype>(produced, tailLength));
        tail.append(reinterpret_cast<const char *>(out.get()) + produced - kept, kept);
        tail = tail.right(tailLength);
        if (length == 0)
            break;
        read += length;
        if (handler && !handler(read)) {
            failure.stopped = true;
            wipe();
            return false;
        }
    }
    wipe();
    return true;
}

} // namespace Rekey
