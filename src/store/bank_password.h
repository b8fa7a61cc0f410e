#pragma once

#include <QByteArray>
#include <QString>

class Database;

// The bank is locked with a password: SQLite has no password of its own, so the bank holds a
// salted PBKDF2-HMAC-SHA256 verifier of it (table tab_key). Like the lock it stands in for, it
// keeps out the wrong program, not a determined reader.
namespace BankPassword {

// The password of the delivered bank.
QString bankPassword();

QByteArray derive(const QString& password, const QByteArray& salt, int iterations);

// Writes a fresh verifier for password (replacing any earlier one).
void store(Database& db, const QString& password);

// True when the bank holds a verifier and password matches it.
bool verify(const Database& db, const QString& password);

} // namespace BankPassword
