#pragma once

#include <QString>

class Database;

namespace Schema {

// The schema version this program writes and understands (PRAGMA user_version).
constexpr int kVersion = 3;

// Creates every table and index of the bank in an empty database, in one transaction.
void create(Database& db);

// Brings an older bank up to kVersion step by step in one transaction. Throws on a bank newer
// than the program.
void upgrade(Database& db);
// True when upgrade would change the bank.
bool needsUpgrade(Database& db);

// True when the file holds the tables every window relies on.
bool hasBankTables(const Database& db);

// The statement that creates one exam paper's table.
QString paperTableStatement(const QString& name);

} // namespace Schema
