#include "FuzzSupport.h"
#include "security/FileEncryptor.h"

#include <cstdint>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The passcode of the tests; corpus/FuzzFileEncryptor holds files encrypted with it.
const QString Passcode = QStringLiteral("passcode1");
constexpr qsizetype BlockSize = 16;

// In-memory files, so that the streaming calls run at fuzzing speed and leave nothing on disk.
struct MemoryFile
{
    int fd = ::memfd_create("lumisera-fuzz", MFD_CLOEXEC);
    QString path() const { return QStringLiteral("/proc/self/fd/%1").arg(fd); }

    void clear() const { FUZZ_REQUIRE(::ftruncate(fd, 0) == 0 && ::lseek(fd, 0, SEEK_SET) == 0); }
    void replace(const QByteArray &bytes) const
    {
        clear();
        for (qsizetype done = 0; done < bytes.size();) {
            const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
            FUZZ_REQUIRE(written > 0);
            done += written;
        }
    }
    QByteArray contents() const
    {
        struct stat status
        {
        };
        FUZZ_REQUIRE(::fstat(fd, &status) == 0);
        QByteArray bytes(qsizetype(status.st_size), Qt::Uninitialized);
        FUZZ_REQUIRE(::pread(fd, bytes.data(), size_t(bytes.size()), 0) == ssize_t(bytes.size()));
        return bytes;
    }
};

// Streams input through processFile(); nothing when it fails.
std::optional<QByteArray> streamed(const QByteArray &input, CryptOperation operation)
{
    static const MemoryFile in, out;
    FUZZ_REQUIRE(in.fd >= 0 && out.fd >= 0);
    in.replace(input);
    out.clear();
    if (!FileEncryptor::processFile(in.path(), out.fd, Passcode, operation))
        return std::nullopt;
    return out.contents();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    silenceProductLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // Arbitrary bytes as a vault file: whole blocks with valid padding decrypt, the rest fail.
    const std::optional<QByteArray> plain = FileEncryptor::decrypt(bytes, Passcode);
    if (bytes.isEmpty() || bytes.size() % BlockSize != 0)
        FUZZ_REQUIRE(!plain);
    if (plain) {
        FUZZ_REQUIRE(plain->size() < bytes.size() && plain->size() >= bytes.size() - BlockSize);
        // The padding was valid, so the same plaintext encrypts to exactly these bytes.
        FUZZ_REQUIRE(FileEncryptor::encrypt(*plain, Passcode) == bytes);
    }
    FUZZ_REQUIRE(streamed(bytes, CryptOperation::decrypt) == plain);

    // The input as plaintext comes back through either path.
    const std::optional<QByteArray> cipher = FileEncryptor::encrypt(bytes, Passcode);
    FUZZ_REQUIRE(cipher && cipher->size() == (bytes.size() / BlockSize + 1) * BlockSize);
    FUZZ_REQUIRE(FileEncryptor::decrypt(*cipher, Passcode) == bytes);
    FUZZ_REQUIRE(streamed(bytes, CryptOperation::encrypt) == cipher);
    FUZZ_REQUIRE(streamed(*cipher, CryptOperation::decrypt) == bytes);
    return 0;
}
