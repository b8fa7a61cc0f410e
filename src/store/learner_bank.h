#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class Database;

// The learner's own bank: the one file that holds every answer, note, log row and paper. It lives
// in the user's data folder, apart from the delivered bank beside the program, which is only the
// template the learner's bank is first copied from (a rebuild or a reinstall may replace that one
// at any time). Beside the learner's bank lies backups/ with the newest copies of it.
namespace LearnerBank {

// The folder of the learner's bank, ending in "/": the one set by setDataFolder, else
// <user data folder>/data/ (QStandardPaths::AppDataLocation, which honours XDG_DATA_HOME).
QString dataFolder();
// Tests point the program at a folder of their own; an empty text goes back to the user's.
// Returns the folder set before (empty when it was the user's).
QString setDataFolder(const QString& folder);

QString fileName(); // "QK730415.db"
QString bankFile(); // dataFolder() + fileName()
QString backupFolder();

// True when file is a bank this program opens: SQLite, the bank's tables, the bank's lock and an
// intact file. Only reads.
bool isUsableBank(const QString& file);

enum class Prepared {
    Existing,   // the learner's bank was there already
    Created,    // copied from the template just now
    NoTemplate, // neither exists, or the template is no bank this program opens
    Failed,     // the copy could not be written
};
// Makes sure the learner's bank exists. The template is copied to a temporary name beside the
// bank, checked and only then renamed, so a start that is killed midway leaves no half bank.
// When the template's folder holds progress kept aside by the bank builder
// ("<template>.progress-<stamp>", see keptProgress), the newest usable one is copied instead.
Prepared prepare(const QString& templateFile, const QString& bank);

// The newest "<template>.progress-<stamp>" beside templateFile that is a usable bank, or "".
QString keptProgress(const QString& templateFile);

// Writes a backup of the open database into folder as QK730415-<yyyyMMdd-HHmmss>.db (through a
// temporary name, so a half backup never carries a backup's name) and keeps the newest `keep`.
// Returns the file written, or an empty text when the backup failed; never throws and never
// touches the database.
QString backup(const Database& db, const QString& folder, const QDateTime& now, int keep = 7);
// The backups in folder, newest first.
QStringList backups(const QString& folder);
// True when folder holds a backup taken on day.
bool hasBackupOf(const QString& folder, const QDate& day);
// The newest backup that isUsableBank, or an empty text.
QString newestUsableBackup(const QString& folder);
// The moment a backup was taken, read from its name (invalid for other names).
QDateTime backupTime(const QString& file);

// Puts a backup in place of the bank: the bank (when there is one) is kept aside under
// "<bank>.damaged-<yyyyMMdd-HHmmss>", the backup is copied to a temporary name, checked and
// renamed to the bank. Returns false and leaves the bank where it was when any step fails.
bool restore(const QString& backupFile, const QString& bank, const QDateTime& now,
             QString* keptAside = nullptr);

} // namespace LearnerBank
