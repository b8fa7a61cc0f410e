#pragma once

#include "store/database.h"

#include <QDate>
#include <QHash>
#include <QObject>
#include <QVector>

#include <functional>

class Dataset;

// One row of a dataset as a filter predicate sees it.
class RowRef {
  public:
    RowRef(const Dataset& ds, int raw) : ds_(ds), raw_(raw) {}
    QVariant value(const QString& field) const;
    QString text(const QString& field) const;
    qint64 whole(const QString& field) const;
    bool isNull(const QString& field) const;

  private:
    const Dataset& ds_;
    int raw_;
};

// The client-side cursor over the rows of a select or of a table: the program's recordsets.
//
// A dataset loads all rows when opened. Rows of a single-table select (and of a table) keep their
// rowid, so edits, appends and deletes write through to the file at once; rows of joins and
// aggregates are read-only. Record numbers are 1-based and counted in the filtered view.
// Field names are looked up without regard to case, as the bank's statements expect.
class Dataset : public QObject {
    Q_OBJECT

  public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Predicate = std::function<bool(const RowRef&)>;

    explicit Dataset(Database* db, QObject* parent = nullptr);

    Database* database() const { return db_; }

    // Query mode: any select text, optionally with :name parameters.
    void setSql(const QString& sql);
    QString sql() const { return sql_; }
    void setParam(const QString& name, const QVariant& value);
    void clearParams() { params_.clear(); }

    // Table mode: all rows of one table, in the order of orderBy (a column list) or the table's
    // own.
    void setTableName(const QString& table);
    QString tableName() const { return tableName_; }
    void setOrderBy(const QString& columns);

    void open();
    void close();
    bool active() const { return state_ != State::Inactive; }
    State state() const { return state_; }
    void requery(); // reloads, staying on the same row where it still exists

    int recordCount() const { return view_.size(); }
    bool isEmpty() const { return view_.isEmpty(); }
    int recNo() const; // 0 when there is no current row
    bool setRecNo(int n);
    void first();
    void next();
    void prior();
    void last();
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }

    QStringList fieldNames() const;
    bool hasField(const QString& field) const;
    QVariant value(const QString& field) const;
    QString text(const QString& field) const; // null reads as ""
    qint64 whole(const QString& field) const; // null or non-number reads as 0
    double real(const QString& field) const;
    QDate date(const QString& field) const;
    bool isNull(const QString& field) const;
    QByteArray bytes(const QString& field) const;
    // A field of any row of the view (0-based), without moving the cursor: for grids. The stored
    // value, not an edit in progress; null outside the view.
    QVariant valueAt(int viewRow, const QString& field) const;
    QString textAt(int viewRow, const QString& field) const;

    void setFilter(Predicate predicate);
    void clearFilter();
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }

    bool locate(const QString& field, const QVariant& value,
                Qt::CaseSensitivity cs = Qt::CaseSensitive);

    // For each length n of text (1..size), the record number of the first row whose field is
    // the first n characters of text, or -1: one pass instead of a locate per prefix.
    QVector<int> findPrefixesOf(const QString& field, const QString& text,
                                Qt::CaseSensitivity cs = Qt::CaseSensitive) const;

    void sort(const QString& field, Qt::SortOrder order = Qt::AscendingOrder);

    void edit();
    void setValue(const QString& field, const QVariant& value);
    void post();
    void cancel();
    void append();
    void remove(); // deletes the current row

    bool editable() const { return !writeTable_.isEmpty(); }

    // A second cursor over the same rows, opened on its own (changes made through one are seen by
    // the other after its requery).
    Dataset* clone(QObject* parent = nullptr) const;

  Q_SIGNALS:
    // The current row changed (field is empty) or one of its fields was set (field named).
    void dataChanged(const QString& field);
    // The row set changed as a whole: opened, closed, requeried, filtered, sorted.
    void rowsReset();
    // One row of the view changed its values (0-based view position).
    void rowChanged(int viewRow);

  private:
    friend class RowRef;
    int fieldIndex(const QString& field) const; // -1 when unknown
    int fieldIndexOrThrow(const QString& field) const;
    int find(int field, const QVariant& value, Qt::CaseSensitivity cs) const; // view position
    int currentRaw() const;
    void load();
    void rebuildView();
    void moveTo(int viewPos);
    void ensureBrowseForMove();
    void refreshRawFromFile(int raw);
    QString storedColumns();
    void takeStoredRow(int raw, const Statement& st);

    Database* db_;
    QString sql_;
    Params params_;
    QString tableName_;
    QString orderBy_;

    struct Field {
        QString name;
        QString column; // the table's column it comes from
    };
    QVector<Field> fields_;
    QHash<QString, int> index_; // lower-case name -> field
    QString writeTable_;        // table edits go to, empty when read-only
    QString storedColumns_;     // the table columns of the fields, made at first use per load
    QVector<int> storedFields_; // the fields they fill
    bool writeTableHasTriggers_ = false;
    QVector<QVector<QVariant>> rows_;
    QVector<qint64> rowids_;
    QVector<int> view_; // raw row per view position
    int pos_ = -1;      // view position of the current row
    bool eof_ = true;
    bool bof_ = true;

    Predicate predicate_;
    bool filtered_ = false;
    QString sortField_;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;

    State state_ = State::Inactive;
    QVector<QVariant> editBuffer_;
    QVector<bool> touched_;
};

// Puts a dataset's current row into edit and cancels the edit when it is left without post, so a
// throw between edit and post never leaves a half-changed row for the next move to post.
class RowEditGuard {
  public:
    explicit RowEditGuard(Dataset& ds) : ds_(ds) { ds_.edit(); }
    ~RowEditGuard() { cancel(); }
    RowEditGuard(const RowEditGuard&) = delete;
    RowEditGuard& operator=(const RowEditGuard&) = delete;
    void post() {
        ds_.post();
        done_ = true;
    }
    void cancel() {
        if (!done_)
            ds_.cancel(); // nothing when the row is not being edited
        done_ = true;
    }

  private:
    Dataset& ds_;
    bool done_ = false;
};
