#include "store/database.h"

#include <QDate>
#include <QFileInfo>
#include <QUrl>
#include <sqlite3.h>

namespace {

QString lastError(sqlite3* db) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("no database open");
}

sqlite3_value* arg(sqlite3_value** argv, int i) {
    return argv[i];
}

QString textArg(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? QString::fromUtf8(p) : QString();
}

void sqlLen(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(arg(argv, 0)) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int64(ctx, textArg(arg(argv, 0)).size());
}

// CINT(s): the whole number a text denotes, rounded; a text that is no number is an error.
void sqlCint(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* v = arg(argv, 0);
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER:
        sqlite3_result_int64(ctx, sqlite3_value_int64(v));
        return;
    case SQLITE_FLOAT:
        sqlite3_result_int64(ctx, qRound64(sqlite3_value_double(v)));
        return;
    default: {
        bool ok = false;
        const double d = textArg(v).trimmed().toDouble(&ok);
        if (!ok) {
            sqlite3_result_error(ctx, "CINT: not a number", -1);
            return;
        }
        sqlite3_result_int64(ctx, qRound64(d));
    }
    }
}

void registerFunctions(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "len", 1, flags, nullptr, sqlLen, nullptr, nullptr);
    sqlite3_create_function(db, "cint", 1, flags, nullptr, sqlCint, nullptr, nullptr);
}

} // namespace

// ---------------------------------------------------------------------------------------------

Statement::Statement(sqlite3* db, const QString& sql) : db_(db) {
    if (!db)
        throw DbError("no database open");
    const QByteArray u = sql.toUtf8();
    if (sqlite3_prepare_v2(db, u.constData(), int(u.size()), &stmt_, nullptr) != SQLITE_OK) {
        const QString msg = lastError(db);
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throw DbError((msg + QStringLiteral(" in: ") + sql).toStdString());
    }
    if (!stmt_)
        throw DbError(("empty statement: " + sql).toStdString());
}

Statement::Statement(Database& lender, sqlite3_stmt* stmt, const QString& sql)
    : db_(lender.db_), stmt_(stmt), lender_(&lender), sql_(sql) {}

Statement::~Statement() {
    if (lender_)
        lender_->giveBack(sql_, stmt_);
    else
        sqlite3_finalize(stmt_);
}

void Statement::bind(const QString& name, const QVariant& value) {
    QByteArray key = name.toUtf8();
    if (!key.startsWith(':'))
        key.prepend(':');
    const int i = sqlite3_bind_parameter_index(stmt_, key.constData());
    if (i == 0)
        throw DbError(("unknown parameter " + key).toStdString());
    int rc = SQLITE_OK;
    if (value.isNull() || !value.isValid()) {
        rc = sqlite3_bind_null(stmt_, i);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            rc = sqlite3_bind_int64(stmt_, i, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(stmt_, i, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray b = value.toByteArray();
            rc = sqlite3_bind_blob64(stmt_, i, b.constData(), sqlite3_uint64(b.size()),
                                     SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QDate: {
            const QByteArray t = value.toDate().toString(Qt::ISODate).toUtf8();
            rc = sqlite3_bind_text(stmt_, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray t = value.toString().toUtf8();
            rc = sqlite3_bind_text(stmt_, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK)
        throw DbError(lastError(db_).toStdString());
}

void Statement::bindAll(const Params& params) {
    for (auto it = params.begin(); it != params.end(); ++it)
        bind(it.key(), it.value());
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw DbError(lastError(db_).toStdString());
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const {
    return sqlite3_column_count(stmt_);
}

QString Statement::columnName(int i) const {
    return QString::fromUtf8(sqlite3_column_name(stmt_, i));
}

QString Statement::originTable(int i) const {
    const char* t = sqlite3_column_table_name(stmt_, i);
    return t ? QString::fromUtf8(t) : QString();
}

QString Statement::originColumn(int i) const {
    const char* c = sqlite3_column_origin_name(stmt_, i);
    return c ? QString::fromUtf8(c) : QString();
}

QVariant Statement::value(int i) const {
    switch (sqlite3_column_type(stmt_, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(stmt_, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt_, i));
    case SQLITE_TEXT:
        return QVariant(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i)),
                              sqlite3_column_bytes(stmt_, i)));
    case SQLITE_BLOB: {
        const void* p = sqlite3_column_blob(stmt_, i);
        return QVariant(QByteArray(static_cast<const char*>(p), sqlite3_column_bytes(stmt_, i)));
    }
    default:
        return QVariant();
    }
}

// ---------------------------------------------------------------------------------------------

Database::~Database() {
    close();
}

void Database::open(const QString& path, bool create) {
    openWith(path, SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0));
}

void Database::openReadOnly(const QString& path) {
    openWith(path, SQLITE_OPEN_READONLY);
}

void Database::openWith(const QString& path, int flags) {
    close();
    sqlite3* db = nullptr;
    // URIs are understood so that ATTACH can open a file read-only; the program's own paths are
    // absolute and never read as one.
    const int rc =
        sqlite3_open_v2(path.toUtf8().constData(), &db, flags | SQLITE_OPEN_URI, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = lastError(db);
        sqlite3_close(db);
        throw DbError(("cannot open " + path + ": " + msg).toStdString());
    }
    db_ = db;
    path_ = path;
    sqlite3_busy_timeout(db_, 2000);
    sqlite3_extended_result_codes(db_, 1);
    registerFunctions(db_);
    try {
        // Reading the schema here makes a file that is not SQLite fail now, not at first use.
        exec(QStringLiteral("PRAGMA foreign_keys=OFF"));
        scalar(QStringLiteral("select count(*) from sqlite_master"));
    } catch (...) {
        close();
        throw;
    }
}

void Database::close() {
    clearCache();
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
    path_.clear();
}

Statement Database::cached(const QString& sql) {
    if (!db_)
        throw DbError("no database open");
    auto it = cache_.find(sql);
    if (it == cache_.end()) {
        // A program runs a bounded set of texts; a runaway of distinct ones starts afresh.
        if (cache_.size() >= 256)
            clearCache();
        sqlite3_stmt* stmt = nullptr;
        const QByteArray u = sql.toUtf8();
        if (sqlite3_prepare_v3(db_, u.constData(), int(u.size()), SQLITE_PREPARE_PERSISTENT, &stmt,
                               nullptr) != SQLITE_OK) {
            const QString msg = lastError(db_);
            sqlite3_finalize(stmt);
            throw DbError((msg + QStringLiteral(" in: ") + sql).toStdString());
        }
        if (!stmt)
            throw DbError(("empty statement: " + sql).toStdString());
        it = cache_.insert(sql, Cached{stmt, false});
    }
    if (it->lent) // the same text run again while a row of it is still being read
        return Statement(db_, sql);
    it->lent = true;
    return Statement(*this, it->stmt, sql);
}

void Database::giveBack(const QString& sql, sqlite3_stmt* stmt) {
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    const auto it = cache_.find(sql);
    if (it != cache_.end() && it->stmt == stmt) {
        it->lent = false;
        return;
    }
    sqlite3_finalize(stmt); // the cache was cleared meanwhile
}

void Database::clearCache() {
    for (auto it = cache_.begin(); it != cache_.end();) {
        if (it->lent) {
            ++it; // finalized when given back
            continue;
        }
        sqlite3_finalize(it->stmt);
        it = cache_.erase(it);
    }
    // Lent statements no longer belong to the cache.
    cache_.clear();
}

void Database::exec(const QString& sql, const Params& params) {
    Statement st = cached(sql);
    st.bindAll(params);
    while (st.step()) {
    }
}

QVariant Database::scalar(const QString& sql, const Params& params) {
    Statement st = cached(sql);
    st.bindAll(params);
    if (st.step() && st.columnCount() > 0)
        return st.value(0);
    return {};
}

qint64 Database::lastInsertRowId() const {
    return db_ ? sqlite3_last_insert_rowid(db_) : 0;
}
int Database::changes() const {
    return db_ ? sqlite3_changes(db_) : 0;
}

void Database::beginTransaction() {
    exec(QStringLiteral("BEGIN IMMEDIATE"));
}
void Database::commit() {
    exec(QStringLiteral("COMMIT"));
}
void Database::rollback() {
    if (inTransaction())
        exec(QStringLiteral("ROLLBACK"));
}
bool Database::inTransaction() const {
    return db_ && !sqlite3_get_autocommit(db_);
}

QStringList Database::tableNames() const {
    QStringList names;
    Statement st(db_, QStringLiteral("select name from sqlite_master where type='table' and "
                                     "name not like 'sqlite_%' order by name"));
    while (st.step())
        names << st.value(0).toString();
    return names;
}

bool Database::hasTable(const QString& name) const {
    return tableNames().contains(name, Qt::CaseInsensitive);
}

void Database::dropTable(const QString& name) {
    exec(QStringLiteral("DROP TABLE IF EXISTS ") + quoteName(name));
}

QStringList Database::columnNames(const QString& table) const {
    QStringList names;
    Statement st(db_, QStringLiteral("select name from pragma_table_info(:t)"));
    st.bind(QStringLiteral("t"), table);
    while (st.step())
        names << st.value(0).toString();
    return names;
}

void Database::backupTo(const QString& file) const {
    if (!db_)
        throw DbError("backup of a closed database");
    Database dest;
    dest.open(file, true);
    sqlite3_backup* backup = sqlite3_backup_init(dest.db_, "main", db_, "main");
    if (!backup)
        throw DbError(("backup: " + lastError(dest.db_)).toStdString());
    const int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        throw DbError(("backup: " + lastError(dest.db_)).toStdString());
    dest.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
}

void Database::attach(const QString& file, const QString& alias) {
    exec(QStringLiteral("ATTACH DATABASE :file AS ") + quoteName(alias),
         {{QStringLiteral("file"), file}});
}

void Database::attachReadOnly(const QString& file, const QString& alias) {
    // As a URI the file can be opened read-only; every character that means something in a URI
    // is escaped, so any path names the file it names.
    const QByteArray path = QUrl::toPercentEncoding(QFileInfo(file).absoluteFilePath(), "/");
    exec(QStringLiteral("ATTACH DATABASE :file AS ") + quoteName(alias),
         {{QStringLiteral("file"),
           QStringLiteral("file:") + QString::fromLatin1(path) + QStringLiteral("?mode=ro")}});
}

int Database::setLengthLimit(int bytes) {
    if (!db_)
        throw DbError("no database open");
    return sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, bytes);
}

void Database::detach(const QString& alias) {
    exec(QStringLiteral("DETACH DATABASE ") + quoteName(alias));
}

QString Database::quoteName(const QString& name) {
    QString n = name;
    n.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

QString Database::quoteText(const QString& text) {
    QString t = text;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

// ---------------------------------------------------------------------------------------------

Transaction::Transaction(Database& db) : db_(db) {
    if (db_.inTransaction()) {
        static int serial = 0;
        savepoint_ = QStringLiteral("tw_sp%1").arg(++serial);
        db_.exec(QStringLiteral("SAVEPOINT ") + savepoint_);
    } else {
        db_.beginTransaction();
    }
}

Transaction::~Transaction() {
    if (!done_) {
        try {
            rollback();
        } catch (...) {
        }
    }
}

void Transaction::commit() {
    if (nested())
        db_.exec(QStringLiteral("RELEASE ") + savepoint_);
    else
        db_.commit();
    done_ = true;
}

void Transaction::rollback() {
    done_ = true;
    if (nested()) {
        // The outer transaction may already be gone (SQLite ends it on some errors).
        if (db_.inTransaction()) {
            db_.exec(QStringLiteral("ROLLBACK TO ") + savepoint_);
            db_.exec(QStringLiteral("RELEASE ") + savepoint_);
        }
    } else {
        db_.rollback();
    }
}
