#include "store/learner_bank.h"

#include "store/bank_password.h"
#include "store/database.h"
#include "store/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace LearnerBank {

namespace {

QString& overrideFolder() {
    static QString folder;
    return folder;
}

const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss");

QString withSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString partName(const QString& file) {
    return file + QStringLiteral(".part");
}

// Copies a bank file through SQLite, so that a template or backup still carrying a write-ahead
// log is copied with it, into a temporary name; checks the copy and renames it to target.
bool copyChecked(const QString& source, const QString& target) {
    const QString part = partName(target);
    QFile::remove(part);
    try {
        Database src;
        src.openReadOnly(source);
        src.backupTo(part);
    } catch (const DbError&) {
        QFile::remove(part);
        return false;
    }
    if (!isUsableBank(part)) {
        QFile::remove(part);
        return false;
    }
    QFile::remove(target);
    if (!QFile::rename(part, target)) {
        QFile::remove(part);
        return false;
    }
    return true;
}

} // namespace

QString dataFolder() {
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    return withSlash(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)) +
           QStringLiteral("data/");
}

QString setDataFolder(const QString& folder) {
    QString previous = overrideFolder();
    overrideFolder() = folder.isEmpty() ? QString() : withSlash(QDir::fromNativeSeparators(folder));
    return previous;
}

QString fileName() {
    return QStringLiteral("QK730415.db");
}

QString bankFile() {
    return dataFolder() + fileName();
}

QString backupFolder() {
    return dataFolder() + QStringLiteral("backups/");
}

bool isUsableBank(const QString& file) {
    if (!QFileInfo(file).isFile())
        return false;
    try {
        Database db;
        db.openReadOnly(file);
        return Schema::hasBankTables(db) &&
               BankPassword::verify(db, BankPassword::bankPassword()) &&
               db.scalar(QStringLiteral("PRAGMA quick_check")).toString() == QLatin1String("ok");
    } catch (const DbError&) {
        return false;
    }
}

QString keptProgress(const QString& templateFile) {
    const QFileInfo info(templateFile);
    QStringList kept = info.dir().entryList({info.fileName() + QStringLiteral(".progress-*")},
                                            QDir::Files, QDir::Name | QDir::Reversed);
    for (const QString& name : kept) {
        const QString file = info.dir().filePath(name);
        if (isUsableBank(file))
            return file;
    }
    return {};
}

Prepared prepare(const QString& templateFile, const QString& bank) {
    if (QFileInfo::exists(bank))
        return Prepared::Existing;
    // Progress kept beside the program from the time the learner's answers lived there comes
    // before the plain template.
    QString source = keptProgress(templateFile);
    if (source.isEmpty()) {
        if (!isUsableBank(templateFile))
            return Prepared::NoTemplate;
        source = templateFile;
    }
    if (!QDir().mkpath(QFileInfo(bank).absolutePath()))
        return Prepared::Failed;
    return copyChecked(source, bank) ? Prepared::Created : Prepared::Failed;
}

QStringList backups(const QString& folder) {
    QStringList found;
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList({QStringLiteral("QK730415-*.db")}, QDir::Files, QDir::Name)) {
        if (backupTime(name).isValid())
            found << dir.filePath(name);
    }
    // The stamp sorts by time; newest first.
    std::reverse(found.begin(), found.end());
    return found;
}

QDateTime backupTime(const QString& file) {
    const QString name = QFileInfo(file).fileName();
    if (!name.startsWith(QLatin1String("QK730415-")) || !name.endsWith(QLatin1String(".db")))
        return {};
    return QDateTime::fromString(name.mid(9, kStampFormat.size()), kStampFormat);
}

bool hasBackupOf(const QString& folder, const QDate& day) {
    const QStringList all = backups(folder);
    return std::any_of(all.begin(), all.end(),
                       [&](const QString& f) { return backupTime(f).date() == day; });
}

QString backup(const Database& db, const QString& folder, const QDateTime& now, int keep) {
    try {
        if (!QDir().mkpath(folder))
            return {};
        QString file = withSlash(folder) + QStringLiteral("QK730415-") +
                       now.toString(kStampFormat) + QStringLiteral(".db");
        const QString part = partName(file);
        QFile::remove(part);
        db.backupTo(part);
        QFile::remove(file);
        if (!QFile::rename(part, file)) {
            QFile::remove(part);
            return {};
        }
        const QStringList all = backups(folder);
        for (int i = keep; i < all.size(); ++i)
            QFile::remove(all[i]);
        return file;
    } catch (...) {
        return {};
    }
}

QString newestUsableBackup(const QString& folder) {
    for (const QString& file : backups(folder)) {
        if (isUsableBank(file))
            return file;
    }
    return {};
}

bool restore(const QString& backupFile, const QString& bank, const QDateTime& now,
             QString* keptAside) {
    if (!isUsableBank(backupFile))
        return false;
    QString aside;
    if (QFileInfo::exists(bank)) {
        aside = bank + QStringLiteral(".damaged-") + now.toString(kStampFormat);
        QFile::remove(aside);
        if (!QFile::rename(bank, aside))
            return false;
        // A write-ahead log belongs to the damaged file, never to the restored one.
        for (const char* suffix : {"-wal", "-shm"}) {
            const QString extra = bank + QLatin1String(suffix);
            if (QFileInfo::exists(extra)) {
                QFile::remove(aside + QLatin1String(suffix));
                QFile::rename(extra, aside + QLatin1String(suffix));
            }
        }
    }
    if (!copyChecked(backupFile, bank)) {
        if (!aside.isEmpty()) {
            QFile::rename(aside, bank);
            for (const char* suffix : {"-wal", "-shm"})
                QFile::rename(aside + QLatin1String(suffix), bank + QLatin1String(suffix));
        }
        return false;
    }
    if (keptAside)
        *keptAside = aside;
    return true;
}

} // namespace LearnerBank
