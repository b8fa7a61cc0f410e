#pragma once

#include <QString>

class Database;

// New questions reach a learner's bank in two ways, both merged here by the same code:
//  - an upgrade file: an SQLite file with the bank's tables, holding new rows only, and a
//    one-row tab_sj naming the upgrade (sjbs) and the product it is meant for (cpbs); it carries
//    no lock. Every row of it is copied; a row whose key the bank has already fails the whole.
//  - the delivered bank beside the program, when a newer release brings rows the learner's bank
//    lacks: only those rows are copied, the learner's own rows and state stay as they are.
// The file is attached read-only and nothing in it runs: only real tables with the bank's
// columns are read, by name, and a file holding views, triggers or virtual tables is refused.
// The copy, the recount of the counters of every chapter level and knowledge point that
// received questions, and the register row are one transaction.
namespace BankUpgrade {

// Longest text or picture a merged cell may hold. Larger cells fail the merge.
constexpr int kMaxCellBytes = 16 * 1024 * 1024;

// What an upgrade file names in its tab_sj.
struct Mark {
    QString sjbs;
    QString cpbs;
};

// Rows a merge copied (or would copy), per kind.
struct Added {
    int chapters = 0;  // tab_kmmc
    int questions = 0; // tab_answ
    int contents = 0;  // tab_exer
    int cases = 0;     // tab_title
    int points = 0;    // tab_rule
    int catalogue = 0; // tab_fgmc
    int marks = 0;     // tab_sj
    bool any() const {
        return chapters + questions + contents + cases + points + catalogue + marks > 0;
    }
};

enum class Rows {
    All,    // an upgrade file: every row is new, a key the bank has fails the merge
    NewOnly // the delivered bank: rows whose key the bank lacks
};

// True when the database open on `file` (read-only) can be an upgrade file: intact
// (quick_check), without the bank's lock, without views, triggers or virtual tables, with a
// tab_sj table. Never throws.
bool isUpgradeFile(Database& file);

// The first row of tab_sj of an upgrade file (empty texts when it has none).
Mark readMark(Database& file);

// Copies the rows of the file into the bank (see above) and, for Rows::All, registers mark in
// tab_sj; for Rows::NewOnly, the file's tab_sj rows the bank lacks are copied. Throws DbError
// and leaves the bank as it was when any step fails. The file is attached only for the merge.
Added merge(Database& bank, const QString& file, Rows rows, const Mark& mark = {});

// Merges the delivered bank's new rows into the learner's bank when it has any: a backup into
// backupFolder first (no backup, no merge), then one transaction. Only a template that shares a
// product with the learner's bank is read. Returns what was added; never throws (a template that
// cannot be read merges nothing and the bank stays as it is).
Added mergeTemplate(Database& bank, const QString& templateFile, const QString& backupFolder);

} // namespace BankUpgrade
