#pragma once
// Passwords are kept as salted PBKDF2-HMAC-SHA256 hashes; an empty password
// stays empty so that "no password" keeps its meaning.

#include <QString>

namespace Passwords {

// "pbkdf2-sha256$<iterations>$<salt base64>$<hash base64>", or empty for empty.
QString hash(const QString& password);
bool isHash(const QString& stored);
// Exact, case-sensitive check in constant time. A stored value that is not a
// hash (an older file) is compared as plain text.
bool verify(const QString& stored, const QString& typed);

} // namespace Passwords
