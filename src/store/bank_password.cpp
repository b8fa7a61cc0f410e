#include "store/bank_password.h"

#include "store/database.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>

namespace {
constexpr int kIterations = 2000; // the lock is checked at every start; keep it quick
constexpr int kKeyLength = 32;
} // namespace

namespace BankPassword {

QString bankPassword() {
    return QStringLiteral("q7mtr2wkz0pavn5hyc3e");
}

QByteArray derive(const QString& password, const QByteArray& salt, int iterations) {
    // PBKDF2-HMAC-SHA256 with one output block (32 bytes).
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, password.toUtf8());
    mac.addData(salt);
    mac.addData(QByteArray("\x00\x00\x00\x01", 4));
    QByteArray u = mac.result();
    QByteArray out = u;
    for (int i = 1; i < iterations; ++i) {
        mac.reset();
        mac.addData(u);
        u = mac.result();
        for (int j = 0; j < out.size(); ++j)
            out[j] = char(out[j] ^ u[j]);
    }
    return out.left(kKeyLength);
}

void store(Database& db, const QString& password) {
    QByteArray salt(16, Qt::Uninitialized);
    QRandomGenerator::system()->generate(salt.begin(), salt.end());
    Transaction tx(db);
    db.exec(QStringLiteral("delete from tab_key"));
    db.exec(QStringLiteral("insert into tab_key (salt, iterations, verifier) values (:s, :i, :v)"),
            {{QStringLiteral("s"), salt},
             {QStringLiteral("i"), kIterations},
             {QStringLiteral("v"), derive(password, salt, kIterations)}});
    tx.commit();
}

bool verify(const Database& db, const QString& password) {
    Statement st(db.handle(), QStringLiteral("select salt, iterations, verifier from tab_key"));
    if (!st.step())
        return false;
    const QByteArray salt = st.value(0).toByteArray();
    const int iterations = st.value(1).toInt();
    const QByteArray verifier = st.value(2).toByteArray();
    if (salt.isEmpty() || iterations < 1 || iterations > 1000000 || verifier.isEmpty())
        return false;
    const QByteArray mine = derive(password, salt, iterations);
    // Compare without an early exit.
    if (mine.size() != verifier.size())
        return false;
    char diff = 0;
    for (int i = 0; i < mine.size(); ++i)
        diff = char(diff | (mine[i] ^ verifier[i]));
    return diff == 0;
}

} // namespace BankPassword
