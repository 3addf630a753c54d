// Streams one file through FileEncryptor::processFile, for bench/encryptor.sh to time against
// `openssl enc`. Usage: encryptor-bench encrypt|decrypt <input> <output> <passcode>
#include "security/FileEncryptor.h"

#include <QString>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc != 5 || (std::strcmp(argv[1], "encrypt") != 0 && std::strcmp(argv[1], "decrypt") != 0)) {
        std::fprintf(stderr, "usage: %s encrypt|decrypt <input> <output> <passcode>\n", argv[0]);
        return 2;
    }
    const CryptOperation operation =
        std::strcmp(argv[1], "encrypt") == 0 ? CryptOperation::encrypt : CryptOperation::decrypt;
    const bool done =
        FileEncryptor::processFile(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                                   QString::fromLocal8Bit(argv[4]), operation);
    return done ? 0 : 1;
}
