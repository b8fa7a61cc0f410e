#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <stdexcept>

struct sqlite3;
struct sqlite3_stmt;

// An engine failure. Windows catch it in the handler where it arises and report it in their own
// words; the message here is the engine's and is never shown as it stands.
class DbError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Named parameters of a statement: the key is the name without its colon ("A1" for ":A1").
// A QDate binds as ISO text, a QByteArray as a BLOB, a null QVariant as NULL.
using Params = QVariantMap;

class Database;

// One prepared statement. Rows are read with step() and the column accessors.
class Statement {
  public:
    Statement(sqlite3* db, const QString& sql);
    // A statement lent by the connection's cache; it goes back, reset, when this is destroyed.
    Statement(Database& lender, sqlite3_stmt* stmt, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(const QString& name, const QVariant& value);
    void bindAll(const Params& params);
    bool step(); // true while a row is available
    void reset();

    int columnCount() const;
    QString columnName(int i) const;
    QString originTable(int i) const; // empty for expressions
    QString originColumn(int i) const;
    QVariant value(int i) const;

    sqlite3_stmt* handle() const { return stmt_; }

  private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    Database* lender_ = nullptr;
    QString sql_; // the cache's key of a lent statement
};

// RAII over one SQLite connection. Besides SQLite's own SQL, the connection knows len(s) and
// CINT(s) (a text to a whole number). LEFT and RIGHT are join keywords in SQLite: the first n
// characters of s are substr(s,1,n), the last n substr(s,-n).
class Database {
  public:
    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing file (never creates one) or, with create, a new or existing file.
    void open(const QString& path, bool create = false);
    // Opens an existing file for reading only: nothing is ever written to it.
    void openReadOnly(const QString& path);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    QString path() const { return path_; }
    sqlite3* handle() const { return db_; }

    // exec and scalar keep their statements prepared, one per SQL text, for the next call: the
    // program runs the same few statements for every answer.
    void exec(const QString& sql, const Params& params = {});
    // First column of the first row, or a null QVariant when there is no row.
    QVariant scalar(const QString& sql, const Params& params = {});
    qint64 lastInsertRowId() const;
    int changes() const;

    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const;

    QStringList tableNames() const;
    bool hasTable(const QString& name) const; // without regard to case
    void dropTable(const QString& name);      // quietly nothing when it does not exist
    QStringList columnNames(const QString& table) const;

    // Copies the whole database, as it stands in this connection, into file (replaced) through
    // SQLite's online backup. The copy is a self-contained file with a rollback journal.
    void backupTo(const QString& file) const;

    void attach(const QString& file, const QString& alias);
    // Attaches file for reading only: the connection can never write to it, whatever the SQL.
    void attachReadOnly(const QString& file, const QString& alias);
    void detach(const QString& alias);

    // The longest text or BLOB (in bytes) the connection reads or writes; a longer value makes
    // the statement fail. Returns the limit before.
    int setLengthLimit(int bytes);

    // Quotes a name the program chose (table or column) for SQL text.
    static QString quoteName(const QString& name);
    // Quotes a text value as an SQL string literal, inner quotes doubled.
    static QString quoteText(const QString& text);

    // A prepared statement for sql from the cache (or prepared now and kept).
    Statement cached(const QString& sql);

  private:
    friend class Statement;
    void openWith(const QString& path, int flags);
    void giveBack(const QString& sql, sqlite3_stmt* stmt);
    void clearCache();

    sqlite3* db_ = nullptr;
    QString path_;
    struct Cached {
        sqlite3_stmt* stmt = nullptr;
        bool lent = false;
    };
    QHash<QString, Cached> cache_;
};

// Rolls back in its destructor unless committed. Inside a transaction already open on the
// connection it is a savepoint: its commit releases the savepoint, its rollback undoes only what
// was done since it began, and the outer transaction decides about the rest.
class Transaction {
  public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();
    void rollback();
    bool nested() const { return !savepoint_.isEmpty(); }

  private:
    Database& db_;
    QString savepoint_; // empty for the outermost transaction
    bool done_ = false;
};
