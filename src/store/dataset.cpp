#include "store/dataset.h"

#include <QRegularExpression>
#include <sqlite3.h>

#include <algorithm>

namespace {

const QString kRowidAlias = QStringLiteral("__rowid__");

bool isNumber(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Double:
    case QMetaType::ULongLong:
    case QMetaType::UInt:
        return true;
    default:
        return false;
    }
}

// Orders two cell values: nulls first, numbers numerically, texts without regard to case.
int compareValues(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return int(!a.isNull()) - int(!b.isNull());
    if (isNumber(a) && isNumber(b)) {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return QString::compare(a.toString(), b.toString(), Qt::CaseInsensitive);
}

// The SQL with the row id put in front of the selected columns, or empty where that cannot give a
// row id (several tables, grouping, set operations).
QString withRowid(const QString& sql) {
    static const QRegularExpression head(QStringLiteral("^\\s*select\\s+(?!distinct\\b|all\\b)"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression grouping(
        QStringLiteral("\\b(group\\s+by|union|intersect|except)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = head.match(sql);
    if (!m.hasMatch() || grouping.match(sql).hasMatch())
        return {};
    return sql.left(m.capturedEnd()) + QStringLiteral("_rowid_ AS ") + kRowidAlias +
           QStringLiteral(", ") + sql.mid(m.capturedEnd());
}

void bindKnown(Statement& st, const Params& params) {
    for (auto it = params.begin(); it != params.end(); ++it) {
        const QByteArray key = ':' + it.key().toUtf8();
        if (sqlite3_bind_parameter_index(st.handle(), key.constData()) > 0)
            st.bind(it.key(), it.value());
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------

QVariant RowRef::value(const QString& field) const {
    const int f = ds_.fieldIndexOrThrow(field);
    return ds_.rows_[raw_][f];
}
QString RowRef::text(const QString& field) const {
    return value(field).toString();
}
qint64 RowRef::whole(const QString& field) const {
    const QVariant v = value(field);
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    return ok ? n : qint64(v.toDouble());
}
bool RowRef::isNull(const QString& field) const {
    return value(field).isNull();
}

// ---------------------------------------------------------------------------------------------

Dataset::Dataset(Database* db, QObject* parent) : QObject(parent), db_(db) {}

void Dataset::setSql(const QString& sql) {
    sql_ = sql;
    tableName_.clear();
}

void Dataset::setParam(const QString& name, const QVariant& value) {
    QString key = name;
    if (key.startsWith(QLatin1Char(':')))
        key.remove(0, 1);
    params_[key] = value;
}

void Dataset::setTableName(const QString& table) {
    tableName_ = table;
    sql_.clear();
}

void Dataset::setOrderBy(const QString& columns) {
    orderBy_ = columns;
}

void Dataset::open() {
    if (active())
        return;
    load();
    state_ = State::Browse;
    rebuildView();
    moveTo(view_.isEmpty() ? -1 : 0);
    Q_EMIT rowsReset();
}

void Dataset::close() {
    if (!active())
        return;
    state_ = State::Inactive;
    fields_.clear();
    index_.clear();
    rows_.clear();
    rowids_.clear();
    view_.clear();
    writeTable_.clear();
    pos_ = -1;
    eof_ = bof_ = true;
    Q_EMIT rowsReset();
}

void Dataset::load() {
    if (!db_ || !db_->isOpen())
        throw DbError("no database open");
    storedColumns_.clear(); // the fields may differ from the last load
    QString sql;
    QString rowidSql;
    if (!tableName_.isEmpty()) {
        sql = QStringLiteral("select * from ") + Database::quoteName(tableName_);
        if (!orderBy_.isEmpty())
            sql += QStringLiteral(" order by ") + orderBy_;
        rowidSql = withRowid(sql);
    } else {
        sql = sql_;
        rowidSql = withRowid(sql);
    }

    std::unique_ptr<Statement> st;
    bool hasRowid = false;
    if (!rowidSql.isEmpty()) {
        try {
            st = std::make_unique<Statement>(db_->handle(), rowidSql);
            hasRowid = true;
        } catch (const DbError&) {
            st.reset();
        }
    }
    if (!st)
        st = std::make_unique<Statement>(db_->handle(), sql);
    bindKnown(*st, params_);

    fields_.clear();
    index_.clear();
    const int first = hasRowid ? 1 : 0;
    QString table;
    bool singleTable = hasRowid;
    for (int i = first; i < st->columnCount(); ++i) {
        Field f{st->columnName(i), st->originColumn(i)};
        const QString t = st->originTable(i);
        if (t.isEmpty() || (!table.isEmpty() && t.compare(table, Qt::CaseInsensitive) != 0))
            singleTable = false;
        if (table.isEmpty())
            table = t;
        index_.insert(f.name.toLower(), int(fields_.size()));
        fields_.push_back(f);
    }
    writeTable_ = singleTable ? table : QString();

    rows_.clear();
    rowids_.clear();
    const int n = st->columnCount();
    while (st->step()) {
        QVector<QVariant> row;
        row.reserve(n - first);
        for (int i = first; i < n; ++i)
            row.push_back(st->value(i));
        rows_.push_back(std::move(row));
        rowids_.push_back(hasRowid ? st->value(0).toLongLong() : 0);
    }
}

void Dataset::requery() {
    if (!active()) {
        open();
        return;
    }
    if (state_ != State::Browse)
        post();
    const int raw = currentRaw();
    const qint64 rowid = (raw >= 0 && editable()) ? rowids_[raw] : -1;
    const int oldPos = pos_;
    load();
    rebuildView();
    int newPos = -1;
    if (rowid >= 0) {
        for (int i = 0; i < view_.size(); ++i) {
            if (rowids_[view_[i]] == rowid) {
                newPos = i;
                break;
            }
        }
    }
    if (newPos < 0 && !view_.isEmpty())
        newPos = std::clamp(oldPos, 0, int(view_.size()) - 1);
    moveTo(newPos);
    Q_EMIT rowsReset();
}

void Dataset::rebuildView() {
    view_.clear();
    view_.reserve(rows_.size());
    for (int i = 0; i < rows_.size(); ++i) {
        if (filtered_ && predicate_ && !predicate_(RowRef(*this, i)))
            continue;
        view_.push_back(i);
    }
    if (!sortField_.isEmpty()) {
        const int f = fieldIndex(sortField_);
        if (f >= 0) {
            std::stable_sort(view_.begin(), view_.end(), [&](int a, int b) {
                const int c = compareValues(rows_[a][f], rows_[b][f]);
                return sortOrder_ == Qt::AscendingOrder ? c < 0 : c > 0;
            });
        }
    }
}

int Dataset::currentRaw() const {
    return (pos_ >= 0 && pos_ < view_.size()) ? view_[pos_] : -1;
}

int Dataset::recNo() const {
    return currentRaw() >= 0 ? pos_ + 1 : 0;
}

void Dataset::moveTo(int viewPos) {
    pos_ = viewPos;
    eof_ = bof_ = view_.isEmpty();
    Q_EMIT dataChanged(QString());
}

void Dataset::ensureBrowseForMove() {
    if (!active())
        throw DbError("dataset is closed");
    if (state_ == State::Edit || state_ == State::Insert)
        post();
}

bool Dataset::setRecNo(int n) {
    ensureBrowseForMove();
    if (n < 1 || n > view_.size())
        return false;
    moveTo(n - 1);
    return true;
}

void Dataset::first() {
    ensureBrowseForMove();
    moveTo(view_.isEmpty() ? -1 : 0);
    bof_ = true;
}

void Dataset::last() {
    ensureBrowseForMove();
    moveTo(view_.isEmpty() ? -1 : int(view_.size()) - 1);
    eof_ = true;
}

void Dataset::next() {
    ensureBrowseForMove();
    if (pos_ + 1 < view_.size()) {
        moveTo(pos_ + 1);
    } else {
        eof_ = true;
        bof_ = view_.isEmpty();
    }
}

void Dataset::prior() {
    ensureBrowseForMove();
    if (pos_ > 0) {
        moveTo(pos_ - 1);
    } else {
        bof_ = true;
        eof_ = view_.isEmpty();
    }
}

QStringList Dataset::fieldNames() const {
    QStringList names;
    for (const Field& f : fields_)
        names << f.name;
    return names;
}

int Dataset::fieldIndex(const QString& field) const {
    return index_.value(field.toLower(), -1);
}

int Dataset::fieldIndexOrThrow(const QString& field) const {
    const int f = fieldIndex(field);
    if (f < 0)
        throw DbError(("unknown field " + field).toStdString());
    return f;
}

bool Dataset::hasField(const QString& field) const {
    return fieldIndex(field) >= 0;
}

QVariant Dataset::value(const QString& field) const {
    const int f = fieldIndexOrThrow(field);
    if (state_ == State::Edit || state_ == State::Insert)
        return editBuffer_[f];
    const int raw = currentRaw();
    if (raw < 0)
        return {};
    return rows_[raw][f];
}

QString Dataset::text(const QString& field) const {
    const QVariant v = value(field);
    if (v.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(v.toByteArray());
    return v.toString();
}

qint64 Dataset::whole(const QString& field) const {
    const QVariant v = value(field);
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    if (ok)
        return n;
    const double d = v.toString().trimmed().toDouble(&ok);
    return ok ? qint64(d) : 0;
}

double Dataset::real(const QString& field) const {
    bool ok = false;
    const double d = value(field).toDouble(&ok);
    return ok ? d : 0.0;
}

QDate Dataset::date(const QString& field) const {
    const QVariant v = value(field);
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

bool Dataset::isNull(const QString& field) const {
    return value(field).isNull();
}

QByteArray Dataset::bytes(const QString& field) const {
    const QVariant v = value(field);
    if (v.typeId() == QMetaType::QString)
        return v.toString().toUtf8();
    return v.toByteArray();
}

QVariant Dataset::valueAt(int viewRow, const QString& field) const {
    const int f = fieldIndexOrThrow(field);
    if (viewRow < 0 || viewRow >= view_.size())
        return {};
    return rows_[view_[viewRow]][f];
}

QString Dataset::textAt(int viewRow, const QString& field) const {
    const QVariant v = valueAt(viewRow, field);
    if (v.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(v.toByteArray());
    return v.toString();
}

void Dataset::setFilter(Predicate predicate) {
    predicate_ = std::move(predicate);
    if (active() && filtered_) {
        ensureBrowseForMove();
        rebuildView();
        moveTo(view_.isEmpty() ? -1 : 0);
        Q_EMIT rowsReset();
    }
}

void Dataset::clearFilter() {
    setFilter(nullptr);
}

void Dataset::setFiltered(bool on) {
    if (filtered_ == on)
        return;
    filtered_ = on;
    if (active()) {
        ensureBrowseForMove();
        rebuildView();
        moveTo(view_.isEmpty() ? -1 : 0);
        Q_EMIT rowsReset();
    }
}

bool Dataset::locate(const QString& field, const QVariant& value, Qt::CaseSensitivity cs) {
    ensureBrowseForMove();
    const int f = fieldIndexOrThrow(field);
    const int i = find(f, value, cs);
    if (i < 0)
        return false;
    moveTo(i);
    return true;
}

int Dataset::find(int f, const QVariant& value, Qt::CaseSensitivity cs) const {
    const QString wanted = value.toString();
    const bool wantNull = value.isNull();
    for (int i = 0; i < view_.size(); ++i) {
        const QVariant& v = rows_[view_[i]][f];
        if (v.isNull() != wantNull)
            continue;
        if (wantNull)
            return i;
        // Text columns hold QStrings: compare them in place instead of copying each.
        const bool same =
            v.typeId() == QMetaType::QString
                ? QString::compare(*static_cast<const QString*>(v.constData()), wanted, cs) == 0
                : QString::compare(v.toString(), wanted, cs) == 0;
        if (same)
            return i;
    }
    return -1;
}

QVector<int> Dataset::findPrefixesOf(const QString& field, const QString& text,
                                     Qt::CaseSensitivity cs) const {
    const int f = fieldIndexOrThrow(field);
    QVector<int> found(text.size() + 1, -1);
    for (int i = 0; i < view_.size(); ++i) {
        const QVariant& v = rows_[view_[i]][f];
        if (v.isNull())
            continue;
        const QString own = v.toString();
        const qsizetype n = own.size();
        if (n == 0 || n > text.size() || found[n] >= 0)
            continue;
        if (QStringView(text).left(n).compare(own, cs) == 0)
            found[n] = i + 1;
    }
    return found;
}

void Dataset::sort(const QString& field, Qt::SortOrder order) {
    ensureBrowseForMove();
    sortField_ = field;
    sortOrder_ = order;
    const int raw = currentRaw();
    rebuildView();
    const int p = int(view_.indexOf(raw));
    moveTo(p >= 0 ? p : (view_.isEmpty() ? -1 : 0));
    Q_EMIT rowsReset();
}

void Dataset::edit() {
    if (!active())
        throw DbError("dataset is closed");
    if (state_ != State::Browse)
        return;
    if (!editable())
        throw DbError("dataset is read-only");
    const int raw = currentRaw();
    if (raw < 0)
        throw DbError("no current row to edit");
    // Edits start from what the file holds now: another cursor may have changed the row.
    refreshRawFromFile(raw);
    editBuffer_ = rows_[raw];
    touched_ = QVector<bool>(fields_.size(), false);
    state_ = State::Edit;
}

void Dataset::setValue(const QString& field, const QVariant& value) {
    const int f = fieldIndexOrThrow(field);
    if (state_ != State::Edit && state_ != State::Insert)
        throw DbError("dataset is not in edit mode");
    if (fields_[f].column.isEmpty())
        throw DbError(("field " + field + " is read-only").toStdString());
    editBuffer_[f] =
        value.typeId() == QMetaType::QDate ? QVariant(value.toDate().toString(Qt::ISODate)) : value;
    touched_[f] = true;
    Q_EMIT dataChanged(fields_[f].name);
}

void Dataset::post() {
    if (state_ == State::Browse || state_ == State::Inactive)
        return;
    QStringList columns;
    Params params;
    for (int f = 0; f < fields_.size(); ++f) {
        if (!touched_[f])
            continue;
        const QString p = QStringLiteral("v%1").arg(f);
        columns << fields_[f].column;
        params.insert(p, editBuffer_[f]);
    }
    if (state_ == State::Edit) {
        const int raw = currentRaw();
        if (!columns.isEmpty()) {
            QStringList sets;
            int i = 0;
            for (int f = 0; f < fields_.size(); ++f) {
                if (touched_[f])
                    sets << Database::quoteName(columns[i++]) + QStringLiteral("=:v") +
                                QString::number(f);
            }
            params.insert(QStringLiteral("rid"), rowids_[raw]);
            const QString update = QStringLiteral("update ") + Database::quoteName(writeTable_) +
                                   QStringLiteral(" set ") + sets.join(QLatin1Char(',')) +
                                   QStringLiteral(" where _rowid_=:rid");
            const QString columns = storedColumns();
            if (writeTableHasTriggers_) {
                db_->exec(update, params);
                refreshRawFromFile(raw);
            } else {
                // The row comes back as stored (column affinity) from the update itself. What an
                // AFTER trigger writes would not, hence the select for tables that have one.
                Statement st = db_->cached(update + QStringLiteral(" returning ") + columns);
                st.bindAll(params);
                if (st.step())
                    takeStoredRow(raw, st);
                while (st.step()) {
                }
            }
        } else {
            refreshRawFromFile(raw);
        }
        state_ = State::Browse;
        Q_EMIT rowChanged(pos_);
    } else {
        QStringList names, values;
        int i = 0;
        for (int f = 0; f < fields_.size(); ++f) {
            if (touched_[f]) {
                names << Database::quoteName(columns[i++]);
                values << QStringLiteral(":v") + QString::number(f);
            }
        }
        const QString sql =
            names.isEmpty() ? QStringLiteral("insert into ") + Database::quoteName(writeTable_) +
                                  QStringLiteral(" default values")
                            : QStringLiteral("insert into ") + Database::quoteName(writeTable_) +
                                  QStringLiteral(" (") + names.join(QLatin1Char(',')) +
                                  QStringLiteral(") values (") + values.join(QLatin1Char(',')) +
                                  QStringLiteral(")");
        db_->exec(sql, params);
        rows_.push_back(editBuffer_);
        rowids_.push_back(db_->lastInsertRowId());
        view_.push_back(int(rows_.size()) - 1);
        state_ = State::Browse;
        pos_ = int(view_.size()) - 1;
        refreshRawFromFile(int(rows_.size()) - 1);
        eof_ = bof_ = false;
        Q_EMIT rowsReset();
        Q_EMIT dataChanged(QString());
    }
}

QString Dataset::storedColumns() {
    if (storedColumns_.isEmpty()) {
        QStringList cols;
        storedFields_.clear();
        for (int f = 0; f < fields_.size(); ++f) {
            if (!fields_[f].column.isEmpty()) {
                cols << Database::quoteName(fields_[f].column);
                storedFields_ << f;
            }
        }
        storedColumns_ = cols.isEmpty() ? QStringLiteral("_rowid_") : cols.join(QLatin1Char(','));
        writeTableHasTriggers_ =
            db_->scalar(QStringLiteral("select count(*) from sqlite_master where type='trigger' "
                                       "and tbl_name=:t collate nocase"),
                        {{QStringLiteral("t"), writeTable_}})
                .toInt() > 0;
    }
    return storedColumns_;
}

void Dataset::takeStoredRow(int raw, const Statement& st) {
    for (int i = 0; i < storedFields_.size(); ++i)
        rows_[raw][storedFields_[i]] = st.value(i);
}

void Dataset::refreshRawFromFile(int raw) {
    Statement st =
        db_->cached(QStringLiteral("select ") + storedColumns() + QStringLiteral(" from ") +
                    Database::quoteName(writeTable_) + QStringLiteral(" where _rowid_=:rid"));
    st.bind(QStringLiteral("rid"), rowids_[raw]);
    if (st.step())
        takeStoredRow(raw, st);
}

void Dataset::cancel() {
    if (state_ == State::Edit || state_ == State::Insert) {
        state_ = State::Browse;
        editBuffer_.clear();
        Q_EMIT dataChanged(QString());
    }
}

void Dataset::append() {
    if (!active())
        throw DbError("dataset is closed");
    if (!editable())
        throw DbError("dataset is read-only");
    if (state_ != State::Browse)
        post();
    editBuffer_ = QVector<QVariant>(fields_.size());
    touched_ = QVector<bool>(fields_.size(), false);
    state_ = State::Insert;
}

void Dataset::remove() {
    if (!active())
        throw DbError("dataset is closed");
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (state_ == State::Edit)
        cancel();
    if (!editable())
        throw DbError("dataset is read-only");
    const int raw = currentRaw();
    if (raw < 0)
        throw DbError("no current row to delete");
    db_->exec(QStringLiteral("delete from ") + Database::quoteName(writeTable_) +
                  QStringLiteral(" where _rowid_=:rid"),
              {{QStringLiteral("rid"), rowids_[raw]}});
    rows_.removeAt(raw);
    rowids_.removeAt(raw);
    view_.removeAt(pos_);
    for (int& r : view_) {
        if (r > raw)
            --r;
    }
    const int p = std::min(pos_, int(view_.size()) - 1);
    moveTo(p);
    Q_EMIT rowsReset();
}

Dataset* Dataset::clone(QObject* parent) const {
    auto* c = new Dataset(db_, parent);
    c->sql_ = sql_;
    c->params_ = params_;
    c->tableName_ = tableName_;
    c->orderBy_ = orderBy_;
    c->predicate_ = predicate_;
    c->filtered_ = filtered_;
    c->sortField_ = sortField_;
    c->sortOrder_ = sortOrder_;
    if (active()) {
        c->open();
        c->setRecNo(recNo());
    }
    return c;
}
