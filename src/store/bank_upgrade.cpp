#include "store/bank_upgrade.h"

#include "store/database.h"
#include "store/learner_bank.h"
#include "store/schema.h"

#include "platform/clock.h"

#include <QFileInfo>
#include <QSet>
#include <QVarLengthArray>

#include <algorithm>

#include <sqlite3.h>

namespace BankUpgrade {

namespace {

const QString kAlias = QStringLiteral("sj_file");

// The tables a merge copies, in the order they are copied, with the key a new row is told by.
struct Copied {
    const char* table;
    const char* key;
    bool optional; // older upgrade files carry no case texts
    int Added::*count;
};
const Copied kCopied[] = {
    {"tab_kmmc", "C1", false, &Added::chapters},  {"tab_exer", "A1", false, &Added::contents},
    {"tab_answ", "A1", false, &Added::questions}, {"tab_title", "A1", true, &Added::cases},
    {"tab_rule", "ftid", false, &Added::points},  {"tab_fgmc", "id", false, &Added::catalogue},
};

// Statements naming the attached file are run unprepared-for-keeps: the alias means another file
// at the next merge.
void run(Database& db, const QString& sql, const Params& params = {}) {
    Statement st(db.handle(), sql);
    st.bindAll(params);
    while (st.step()) {
    }
}

QVariant value(Database& db, const QString& sql, const Params& params = {}) {
    Statement st(db.handle(), sql);
    st.bindAll(params);
    return st.step() ? st.value(0) : QVariant();
}

QStringList column(Database& db, const QString& sql, const Params& params = {}) {
    Statement st(db.handle(), sql);
    st.bindAll(params);
    QStringList values;
    while (st.step())
        values << st.value(0).toString();
    return values;
}

QString fileTable(const char* table) {
    return Database::quoteName(kAlias) + QLatin1Char('.') + QString::fromLatin1(table);
}

// The file attached read-only under kAlias for as long as this lives, with nothing in its schema
// trusted; the connection's settings come back as they were.
class AttachedFile {
  public:
    AttachedFile(Database& db, const QString& file) : db_(db) {
        trusted_ = value(db_, QStringLiteral("PRAGMA trusted_schema")).toInt();
        run(db_, QStringLiteral("PRAGMA trusted_schema=OFF"));
        db_.attachReadOnly(file, kAlias);
    }
    ~AttachedFile() {
        try {
            db_.detach(kAlias);
        } catch (const DbError&) {
        }
        try {
            run(db_, QStringLiteral("PRAGMA trusted_schema=%1").arg(trusted_));
        } catch (const DbError&) {
        }
    }
    AttachedFile(const AttachedFile&) = delete;
    AttachedFile& operator=(const AttachedFile&) = delete;

  private:
    Database& db_;
    int trusted_ = 1;
};

// The bank's columns of table, quoted and joined, each prefixed with prefix.
QString columnList(const QStringList& columns, const QString& prefix) {
    QStringList quoted;
    for (const QString& c : columns)
        quoted << prefix + Database::quoteName(c);
    return quoted.join(QLatin1Char(','));
}

QStringList bankColumns(Database& db, const char* table) {
    return column(db, QStringLiteral("select name from pragma_table_info(:t,'main')"),
                  {{QStringLiteral("t"), QString::fromLatin1(table)}});
}

// Nothing of the file's may run and only real tables with every column of the bank's are read.
// Answers whether the file has the table (only optional tables may be missing).
bool checkTable(Database& db, const Copied& c) {
    const QString name = QString::fromLatin1(c.table);
    Statement st(db.handle(), QStringLiteral("select type, coalesce(sql,'') from ") +
                                  fileTable("sqlite_master") +
                                  QStringLiteral(" where name=:n collate nocase"));
    st.bind(QStringLiteral("n"), name);
    if (!st.step()) {
        if (c.optional)
            return false;
        throw DbError(("the upgrade file has no table " + name).toStdString());
    }
    if (st.value(0).toString() != QLatin1String("table") ||
        st.value(1).toString().trimmed().startsWith(QLatin1String("create virtual"),
                                                    Qt::CaseInsensitive))
        throw DbError(("in the upgrade file " + name + " is no plain table").toStdString());
    const QStringList have = column(db, QStringLiteral("select name from pragma_table_info(:t,:s)"),
                                    {{QStringLiteral("t"), name}, {QStringLiteral("s"), kAlias}});
    for (const QString& wanted : bankColumns(db, c.table)) {
        if (!have.contains(wanted, Qt::CaseInsensitive))
            throw DbError(("the upgrade file's " + name + " lacks " + wanted).toStdString());
    }
    return true;
}

void checkFile(Database& db) {
    const int active =
        value(db, QStringLiteral("select count(*) from ") + fileTable("sqlite_master") +
                      QStringLiteral(" where type in ('view','trigger')"))
            .toInt();
    if (active > 0)
        throw DbError("the upgrade file holds views or triggers");
    if (!checkTable(db, {"tab_sj", "sjbs", false, &Added::marks}))
        throw DbError("the upgrade file has no tab_sj");
}

QString newRowsOnly(const Copied& c) {
    const QString key = QString::fromLatin1(c.key);
    return QStringLiteral(" where u.%1 is not null and not exists (select 1 from main.%2 m where "
                          "m.%1=u.%1)")
        .arg(key, QString::fromLatin1(c.table));
}

qint64 maxRowid(Database& db, const char* table) {
    return value(db, QStringLiteral("select coalesce(max(rowid),0) from main.") +
                         QString::fromLatin1(table))
        .toLongLong();
}

QSet<QString> textsOf(Database& db, const QString& sql, qint64 after) {
    QSet<QString> texts;
    for (const QString& t : column(db, sql, {{QStringLiteral("r"), after}}))
        texts.insert(t);
    return texts;
}

// Sets the question counters of the chapter levels and knowledge points that received
// questions (or are new) from the rows as they now stand, counted as the bank builder counts
// them: C3 the questions under a node, a point's q the questions naming it in any slot, a
// catalogue entry's q the questions naming at least one existing point inside it. Only rows with
// a rowid above the ones given are new. The counts come from one pass over the questions.
void recount(Database& db, qint64 questionsBefore, qint64 chaptersBefore, qint64 pointsBefore,
             qint64 catalogueBefore) {
    QStringList slots;
    for (int k = 3; k <= 12; ++k)
        slots << QStringLiteral("k%1").arg(k);

    // What received questions: every level of a new question's chapter, every point it names,
    // the entries above those points; and whatever is new itself.
    QSet<QString> chapters;
    for (const QString& code :
         textsOf(db, QStringLiteral("select distinct upper(A10) from main.tab_answ where rowid>:r"),
                 questionsBefore)) {
        for (int n = 1; n <= code.size(); ++n)
            chapters.insert(code.left(n));
    }
    chapters.unite(textsOf(db, QStringLiteral("select upper(C1) from main.tab_kmmc where rowid>:r"),
                           chaptersBefore));
    QStringList named;
    for (const QString& k : slots)
        named << QStringLiteral("select upper(%1) from main.tab_answ where rowid>:r and %1<>''")
                     .arg(k);
    QSet<QString> points = textsOf(db, named.join(QStringLiteral(" union ")), questionsBefore);
    points.unite(textsOf(db, QStringLiteral("select upper(ftid) from main.tab_rule where rowid>:r"),
                         pointsBefore));
    QSet<QString> entries = textsOf(
        db, QStringLiteral("select upper(id) from main.tab_fgmc where rowid>:r"), catalogueBefore);
    const QStringList allEntries =
        column(db, QStringLiteral("select upper(id) from main.tab_fgmc where id<>''"));
    for (const QString& e : allEntries) {
        for (const QString& p : std::as_const(points)) {
            if (p.startsWith(e)) {
                entries.insert(e);
                break;
            }
        }
    }

    // Counted by index: the levels, points and entries to count, and the entries each existing
    // point lies in. The pass looks texts up as the engine hands them over, without copies.
    const QList<QString> levelList(chapters.begin(), chapters.end());
    const QList<QString> pointList(points.begin(), points.end());
    const QList<QString> entryList(entries.begin(), entries.end());
    QHash<QByteArray, int> levelIndex, pointIndex;
    for (int i = 0; i < levelList.size(); ++i)
        levelIndex.insert(levelList[i].toUtf8(), i);
    for (int i = 0; i < pointList.size(); ++i)
        pointIndex.insert(pointList[i].toUtf8(), i);
    QHash<QByteArray, QList<int>> entriesOfPoint;
    for (const QString& p : column(db, QStringLiteral("select upper(ftid) from main.tab_rule"))) {
        QList<int> in;
        for (int e = 0; e < entryList.size(); ++e)
            if (p.startsWith(entryList[e]))
                in << e;
        if (!in.isEmpty())
            entriesOfPoint.insert(p.toUtf8(), in);
    }

    QList<qint64> levelCount(levelList.size()), pointCount(pointList.size()),
        entryCount(entryList.size());
    Statement st(db.handle(), QStringLiteral("select upper(A10), upper(%1) from main.tab_answ")
                                  .arg(slots.join(QStringLiteral("), upper("))));
    sqlite3_stmt* row = st.handle();
    const auto text = [row](int i) {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(row, i));
        return t ? QByteArray::fromRawData(t, sqlite3_column_bytes(row, i)) : QByteArray();
    };
    QVarLengthArray<QByteArray, 10> seenPoints;
    QVarLengthArray<int, 16> seenEntries;
    while (st.step()) {
        const QByteArray code = text(0);
        for (int n = 1; n <= code.size(); ++n) {
            const auto level = levelIndex.constFind(QByteArray::fromRawData(code.constData(), n));
            if (level != levelIndex.cend())
                ++levelCount[*level];
        }
        seenPoints.clear();
        seenEntries.clear();
        for (int i = 1; i <= slots.size(); ++i) {
            const QByteArray p = text(i);
            if (p.isEmpty() ||
                std::find(seenPoints.begin(), seenPoints.end(), p) != seenPoints.end())
                continue;
            seenPoints.append(p);
            const auto point = pointIndex.constFind(p);
            if (point != pointIndex.cend())
                ++pointCount[*point];
            const auto in = entriesOfPoint.constFind(p);
            if (in == entriesOfPoint.cend())
                continue;
            for (const int e : *in) {
                if (std::find(seenEntries.begin(), seenEntries.end(), e) == seenEntries.end()) {
                    seenEntries.append(e);
                    ++entryCount[e];
                }
            }
        }
    }

    const auto store = [&db](const QString& sql, const QList<QString>& keys,
                             const QList<qint64>& counts) {
        Statement update(db.handle(), sql);
        for (int i = 0; i < keys.size(); ++i) {
            update.reset();
            update.bindAll({{QStringLiteral("n"), counts[i]}, {QStringLiteral("k"), keys[i]}});
            while (update.step()) {
            }
        }
    };
    store(QStringLiteral("update main.tab_kmmc set C3=:n where C1=:k"), levelList, levelCount);
    store(QStringLiteral("update main.tab_rule set q=:n where ftid=:k"), pointList, pointCount);
    store(QStringLiteral("update main.tab_fgmc set q=:n where id=:k"), entryList, entryCount);
}

// Sets the connection's durability, page cache and length limit for the merge and restores them.
class MergeSettings {
  public:
    explicit MergeSettings(Database& db) : db_(db) {
        synchronous_ = value(db_, QStringLiteral("PRAGMA main.synchronous")).toInt();
        run(db_, QStringLiteral("PRAGMA main.synchronous=FULL"));
        // Thousands of new rows touch pages all over the question indexes: with room for them
        // the merge neither spills to the log early nor reads the same pages again.
        cache_ = value(db_, QStringLiteral("PRAGMA main.cache_size")).toInt();
        run(db_, QStringLiteral("PRAGMA main.cache_size=-131072"));
        length_ = db_.setLengthLimit(kMaxCellBytes);
    }
    ~MergeSettings() {
        db_.setLengthLimit(length_);
        try {
            run(db_, QStringLiteral("PRAGMA main.cache_size=%1").arg(cache_));
            run(db_, QStringLiteral("PRAGMA main.synchronous=%1").arg(synchronous_));
        } catch (const DbError&) {
        }
    }
    MergeSettings(const MergeSettings&) = delete;
    MergeSettings& operator=(const MergeSettings&) = delete;

  private:
    Database& db_;
    int synchronous_ = 1;
    int cache_ = -2000;
    int length_ = 0;
};

} // namespace

bool isUpgradeFile(Database& file) {
    try {
        if (value(file, QStringLiteral("PRAGMA quick_check(1)")).toString() != QLatin1String("ok"))
            return false;
        Statement st(file.handle(),
                     QStringLiteral("select type, name, coalesce(sql,'') from sqlite_master"));
        bool register_ = false;
        while (st.step()) {
            const QString type = st.value(0).toString();
            const QString name = st.value(1).toString();
            if (type == QLatin1String("view") || type == QLatin1String("trigger"))
                return false;
            if (st.value(2).toString().trimmed().startsWith(QLatin1String("create virtual"),
                                                            Qt::CaseInsensitive))
                return false;
            if (type != QLatin1String("table"))
                continue;
            if (name.compare(QLatin1String("tab_key"), Qt::CaseInsensitive) == 0)
                return false; // a locked file: the bank itself, or one made from it
            if (name.compare(QLatin1String("tab_sj"), Qt::CaseInsensitive) == 0)
                register_ = true;
        }
        return register_;
    } catch (const DbError&) {
        return false;
    }
}

Mark readMark(Database& file) {
    Statement st(file.handle(), QStringLiteral("select sjbs, cpbs from tab_sj limit 1"));
    if (!st.step())
        return {};
    return {st.value(0).toString(), st.value(1).toString()};
}

namespace {

// The file's tab_sj rows the bank has not registered.
const QString kNewMarks = QStringLiteral(" u where not exists (select 1 from main.tab_sj m where "
                                         "m.sjbs is u.sjbs and m.cpbs is u.cpbs)");

// The tables of the attached file that are copied, once the file and each of them has passed.
QList<const Copied*> checkedTables(Database& bank) {
    checkFile(bank);
    QList<const Copied*> present;
    for (const Copied& c : kCopied) {
        if (checkTable(bank, c))
            present << &c;
    }
    return present;
}

Added mergeAttached(Database& bank, Rows rows, const Mark& mark) {
    const QList<const Copied*> present = checkedTables(bank);
    MergeSettings settings(bank);
    Added added;
    Transaction tx(bank);
    const qint64 questions = maxRowid(bank, "tab_answ");
    const qint64 chapters = maxRowid(bank, "tab_kmmc");
    const qint64 points = maxRowid(bank, "tab_rule");
    const qint64 catalogue = maxRowid(bank, "tab_fgmc");
    for (const Copied* c : present) {
        const QStringList columns = bankColumns(bank, c->table);
        QString sql = QStringLiteral("insert into main.%1 (%2) select %3 from %4 u")
                          .arg(QString::fromLatin1(c->table), columnList(columns, {}),
                               columnList(columns, QStringLiteral("u.")), fileTable(c->table));
        if (rows == Rows::NewOnly)
            sql += newRowsOnly(*c);
        run(bank, sql);
        added.*(c->count) = bank.changes();
    }
    recount(bank, questions, chapters, points, catalogue);
    if (rows == Rows::All) {
        run(bank, QStringLiteral("insert into main.tab_sj (sjbs,cpbs) values (:s,:c)"),
            {{QStringLiteral("s"), mark.sjbs}, {QStringLiteral("c"), mark.cpbs}});
        added.marks = 1;
    } else {
        run(bank,
            QStringLiteral("insert into main.tab_sj (sjbs,cpbs) select u.sjbs, u.cpbs from ") +
                fileTable("tab_sj") + kNewMarks);
        added.marks = bank.changes();
    }
    tx.commit();
    return added;
}

// The rows Rows::NewOnly would copy from the attached file, without writing anything.
Added pendingAttached(Database& bank) {
    Added waiting;
    for (const Copied* c : checkedTables(bank)) {
        waiting.*(c->count) =
            value(bank, QStringLiteral("select count(*) from %1 u").arg(fileTable(c->table)) +
                            newRowsOnly(*c))
                .toInt();
    }
    waiting.marks =
        value(bank, QStringLiteral("select count(*) from ") + fileTable("tab_sj") + kNewMarks)
            .toInt();
    return waiting;
}

// The delivered bank as it lies on the disk: a rebuilt or reinstalled one differs.
QString templateStamp(const QString& templateFile) {
    const QFileInfo info(templateFile);
    return QStringLiteral("%1:%2").arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch());
}

void rememberTemplate(Database& bank, const QString& stamp) {
    Transaction tx(bank);
    run(bank, QStringLiteral("delete from main.tab_mb"));
    run(bank, QStringLiteral("insert into main.tab_mb (A1) values (:s)"),
        {{QStringLiteral("s"), stamp}});
    tx.commit();
}

} // namespace

Added merge(Database& bank, const QString& file, Rows rows, const Mark& mark) {
    AttachedFile attached(bank, file);
    return mergeAttached(bank, rows, mark);
}

Added mergeTemplate(Database& bank, const QString& templateFile, const QString& backupFolder) {
    if (!QFileInfo(templateFile).isFile() ||
        QFileInfo(templateFile).canonicalFilePath() == QFileInfo(bank.path()).canonicalFilePath())
        return {};
    try {
        const QString stamp = templateStamp(templateFile);
        const bool remembers = bank.hasTable(QStringLiteral("tab_mb"));
        if (remembers &&
            value(bank, QStringLiteral("select A1 from main.tab_mb")).toString() == stamp)
            return {};
        Added added;
        {
            AttachedFile attached(bank, templateFile);
            // Another product's bank is never merged.
            const bool shared =
                value(bank, QStringLiteral("select count(*) from ") + fileTable("tab_sj") +
                                QStringLiteral(" u join main.tab_sj m on m.cpbs=u.cpbs"))
                    .toInt() > 0;
            if (!shared)
                return {};
            if (pendingAttached(bank).any()) {
                if (LearnerBank::backup(bank, backupFolder, Clock::now()).isEmpty())
                    return {};
                added = mergeAttached(bank, Rows::NewOnly, {});
            }
        }
        if (remembers)
            rememberTemplate(bank, stamp);
        return added;
    } catch (const DbError&) {
        return {};
    }
}

} // namespace BankUpgrade
