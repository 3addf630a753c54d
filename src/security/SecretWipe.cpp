#include "security/SecretWipe.h"

#include <openssl/crypto.h>

void wipeSecret(QByteArray &bytes)
{
    if (bytes.isDetached())
        OPENSSL_cleanse(bytes.data(), size_t(bytes.size()));
    bytes = QByteArray();
}

void wipeSecret(QString &text)
{
    if (text.isDetached())
        OPENSSL_cleanse(text.data(), size_t(text.size()) * sizeof(QChar));
    text = QString();
}
