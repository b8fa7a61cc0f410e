#include "store/schema.h"

#include "store/database.h"

namespace {

// The delivered bank this bank was last compared with (version 3), so that a start with the same
// delivered bank compares nothing.
const char* const kTemplateTable = "CREATE TABLE tab_mb (A1 TEXT)";

// Text columns compare without regard to case, as the bank's statements expect; dates are ISO
// text; rich text is RTF in a BLOB.
const char* const kTables[] = {
    R"(CREATE TABLE tab_kmmc (
        C1 TEXT NOT NULL COLLATE NOCASE UNIQUE, C1_1 TEXT COLLATE NOCASE, C2 TEXT COLLATE NOCASE,
        C3 INTEGER DEFAULT 0, C4 INTEGER DEFAULT 0, D1 INTEGER DEFAULT 0, D2 INTEGER DEFAULT 0,
        C6 TEXT COLLATE NOCASE DEFAULT '0', C7 TEXT COLLATE NOCASE, jx BLOB, bh INTEGER))",
    R"(CREATE TABLE tab_answ (
        A1 TEXT(20) NOT NULL COLLATE NOCASE PRIMARY KEY, A2 TEXT(100) COLLATE NOCASE,
        A2_1 INTEGER, A10 TEXT(6) COLLATE NOCASE, A13 INTEGER, A14 TEXT COLLATE NOCASE,
        k3 TEXT(12) COLLATE NOCASE, k4 TEXT(12) COLLATE NOCASE, k5 TEXT(12) COLLATE NOCASE,
        k6 TEXT(12) COLLATE NOCASE, k7 TEXT(12) COLLATE NOCASE, k8 TEXT(12) COLLATE NOCASE,
        k9 TEXT(12) COLLATE NOCASE, k10 TEXT(12) COLLATE NOCASE, k11 TEXT(12) COLLATE NOCASE,
        k12 TEXT(12) COLLATE NOCASE, E1 TEXT, E2 TEXT(100) COLLATE NOCASE,
        E2_1 TEXT(100) COLLATE NOCASE, E3 INTEGER DEFAULT 0, E4 INTEGER DEFAULT 0,
        f1 INTEGER DEFAULT 0, xx INTEGER, csbs TEXT(2) COLLATE NOCASE, ecount INTEGER DEFAULT 0))",
    R"(CREATE TABLE tab_exer (
        A1 TEXT(20) NOT NULL COLLATE NOCASE PRIMARY KEY, A15 BLOB, jx BLOB))",
    R"(CREATE TABLE tab_title (A1 TEXT NOT NULL COLLATE NOCASE PRIMARY KEY, A15 BLOB))",
    R"(CREATE TABLE tab_fgmc (
        id TEXT NOT NULL COLLATE NOCASE UNIQUE, bh INTEGER, n TEXT COLLATE NOCASE,
        q INTEGER DEFAULT 0, q1 INTEGER DEFAULT 0, q2 INTEGER DEFAULT 0, q4 INTEGER DEFAULT 0))",
    R"(CREATE TABLE tab_rule (
        id TEXT COLLATE NOCASE, ftid TEXT(12) NOT NULL COLLATE NOCASE UNIQUE,
        sn TEXT COLLATE NOCASE, n BLOB, q INTEGER DEFAULT 0, q1 INTEGER DEFAULT 0,
        q2 INTEGER DEFAULT 0, q4 INTEGER DEFAULT 0))",
    R"(CREATE TABLE tab_cj (
        A1 TEXT COLLATE NOCASE, A3 TEXT COLLATE NOCASE, A3_1 INTEGER, A6 REAL, D1 TEXT,
        D2 TEXT COLLATE NOCASE))",
    R"(CREATE TABLE tab_rz (
        A1 TEXT NOT NULL UNIQUE, A2 INTEGER, A3 INTEGER, A4 TEXT COLLATE NOCASE, B1 INTEGER,
        B2 INTEGER, D1 TEXT COLLATE NOCASE))",
    R"(CREATE TABLE tab_plan (
        PlanMark INTEGER, PlanAmount INTEGER, PlanTime INTEGER, ExamDate TEXT,
        LeastMark INTEGER, ExamTime INTEGER))",
    R"(CREATE TABLE tab_sj (sjbs TEXT COLLATE NOCASE, cpbs TEXT COLLATE NOCASE))",
    R"(CREATE TABLE tab_key (salt BLOB NOT NULL, iterations INTEGER NOT NULL,
        verifier BLOB NOT NULL))",
    kTemplateTable,
    "CREATE INDEX ix_answ_a10 ON tab_answ (A10)",
    "CREATE INDEX ix_answ_a13 ON tab_answ (A13, A10)",
    "CREATE INDEX ix_rule_id ON tab_rule (id)",
    "CREATE INDEX ix_cj_a3_1 ON tab_cj (A3_1)",
};

// The questions of one knowledge point are found through its slots k3..k12, one index each
// (version 2).
void createPointSlotIndexes(Database& db) {
    for (int slot = 3; slot <= 12; ++slot)
        db.exec(
            QStringLiteral("CREATE INDEX IF NOT EXISTS ix_answ_k%1 ON tab_answ (k%1)").arg(slot));
}

QString typeTableStatement(int kind) {
    return QStringLiteral("CREATE TABLE tab_tx%1 (A1 INTEGER, B1 TEXT COLLATE NOCASE, B2 INTEGER, "
                          "B3 REAL, time REAL)")
        .arg(kind);
}

} // namespace

namespace Schema {

void create(Database& db) {
    Transaction tx(db);
    for (const char* sql : kTables)
        db.exec(QString::fromUtf8(sql));
    for (int kind = 1; kind <= 5; ++kind)
        db.exec(typeTableStatement(kind));
    createPointSlotIndexes(db);
    db.exec(QStringLiteral("PRAGMA user_version=%1").arg(kVersion));
    tx.commit();
}

void upgrade(Database& db) {
    const int version = db.scalar(QStringLiteral("PRAGMA user_version")).toInt();
    if (version > kVersion)
        throw DbError("the bank was written by a newer program");
    if (version == kVersion)
        return;
    Transaction tx(db);
    // Version 0 is a bank written before versions were kept: the same tables as version 1.
    if (version < 2)
        createPointSlotIndexes(db);
    if (version < 3 && !db.hasTable(QStringLiteral("tab_mb")))
        db.exec(QString::fromLatin1(kTemplateTable));
    db.exec(QStringLiteral("PRAGMA user_version=%1").arg(kVersion));
    tx.commit();
}

bool needsUpgrade(Database& db) {
    return db.scalar(QStringLiteral("PRAGMA user_version")).toInt() < kVersion;
}

bool hasBankTables(const Database& db) {
    const QStringList names = db.tableNames();
    for (const char* t : {"tab_kmmc", "tab_answ", "tab_exer", "tab_title", "tab_fgmc", "tab_rule",
                          "tab_cj", "tab_rz", "tab_plan", "tab_sj", "tab_key", "tab_tx1"}) {
        if (!names.contains(QString::fromLatin1(t), Qt::CaseInsensitive))
            return false;
    }
    return true;
}

QString paperTableStatement(const QString& name) {
    return QStringLiteral("CREATE TABLE ") + name +
           QStringLiteral(
               " (A1 TEXT(20) NOT NULL COLLATE NOCASE PRIMARY KEY,A2 TEXT(100) COLLATE NOCASE,"
               "A2_1 SMALLINT,K3 TEXT(12) COLLATE NOCASE,K4 TEXT(12) COLLATE NOCASE,"
               "K5 TEXT(12) COLLATE NOCASE,K6 TEXT(12) COLLATE NOCASE,K7 TEXT(12) COLLATE NOCASE,"
               "K8 TEXT(12) COLLATE NOCASE,K9 TEXT(12) COLLATE NOCASE,K10 TEXT(12) COLLATE NOCASE,"
               "K11 TEXT(12) COLLATE NOCASE,K12 TEXT(12) COLLATE NOCASE,A10 TEXT(6) COLLATE NOCASE,"
               "A13 SMALLINT,A14 TEXT COLLATE NOCASE,E1 TEXT,E2 TEXT(100) COLLATE NOCASE,"
               "E2_1 TEXT(100) COLLATE NOCASE,E3 SMALLINT,E4 SMALLINT,jx BLOB,"
               "csbs TEXT(2) COLLATE NOCASE,F1 SMALLINT)");
}

} // namespace Schema
