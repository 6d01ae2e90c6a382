#include "passwords.h"

#include <QByteArray>
#include <QStringList>

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

namespace Passwords {
namespace {
const QString kTag = QStringLiteral("pbkdf2-sha256");
constexpr int kIterations = 120000;
constexpr int kHashLen = 32;

QByteArray derive(const QByteArray& pw, const QByteArray& salt, int iterations)
{
    QByteArray out(kHashLen, '\0');
    PKCS5_PBKDF2_HMAC(pw.constData(), pw.size(), reinterpret_cast<const unsigned char*>(salt.constData()),
                      salt.size(), iterations, EVP_sha256(), kHashLen, reinterpret_cast<unsigned char*>(out.data()));
    return out;
}

bool sameBytes(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    return CRYPTO_memcmp(a.constData(), b.constData(), size_t(a.size())) == 0;
}
} // namespace

QString hash(const QString& password)
{
    if (password.isEmpty())
        return QString();
    QByteArray salt(16, '\0');
    RAND_bytes(reinterpret_cast<unsigned char*>(salt.data()), salt.size());
    const QByteArray h = derive(password.toUtf8(), salt, kIterations);
    return kTag + QLatin1Char('$') + QString::number(kIterations) + QLatin1Char('$')
           + QString::fromLatin1(salt.toBase64()) + QLatin1Char('$') + QString::fromLatin1(h.toBase64());
}

bool isHash(const QString& stored)
{
    const QStringList p = stored.split(QLatin1Char('$'));
    return p.size() == 4 && p[0] == kTag && p[1].toInt() > 0;
}

bool verify(const QString& stored, const QString& typed)
{
    if (!isHash(stored))
        return sameBytes(stored.toUtf8(), typed.toUtf8());
    const QStringList p = stored.split(QLatin1Char('$'));
    const QByteArray salt = QByteArray::fromBase64(p[2].toLatin1());
    const QByteArray expected = QByteArray::fromBase64(p[3].toLatin1());
    return sameBytes(derive(typed.toUtf8(), salt, p[1].toInt()), expected);
}

} // namespace Passwords
