#include "bank_writer.h"

#include "richtext/rtf_codec.h"
#include "store/bank_password.h"
#include "store/database.h"
#include "store/schema.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <functional>

namespace {

const QSet<int> kSubjective{22, 72, 73, 74};

const QHash<QString, QStringList>& allowedKeys() {
    static const QHash<QString, QStringList> keys{
        {"chapter", {"code", "name", "heading", "order", "chart", "guide"}},
        {"type", {"kind", "code", "name", "count", "points", "minutes"}},
        {"catalogue", {"id", "order", "name"}},
        {"point", {"id", "heading", "text"}},
        {"case", {"id", "text"}},
        {"question", {"id", "chapter", "type", "options", "key", "points", "text", "explanation"}},
        {"plan", {"mark", "amount", "minutes", "examdate", "leastmark", "examminutes"}},
        {"upgrade", {"sjbs", "cpbs"}},
    };
    return keys;
}

const QHash<QString, QStringList>& requiredKeys() {
    static const QHash<QString, QStringList> keys{
        {"chapter", {"code", "name", "heading", "order"}},
        {"type", {"kind", "code", "name", "count", "points", "minutes"}},
        {"catalogue", {"id", "order", "name"}},
        {"point", {"id", "heading", "text"}},
        {"case", {"id", "text"}},
        {"question", {"id", "chapter", "type", "key", "text", "explanation"}},
        {"plan", {"mark", "amount", "minutes", "examdate", "leastmark", "examminutes"}},
        {"upgrade", {"sjbs", "cpbs"}},
    };
    return keys;
}

[[noreturn]] void fail(const SourceRecord& r, const QString& key, const QString& what) {
    throw SourceError((r.where(key) + QStringLiteral(": ") + what).toStdString());
}

qint64 wholeField(const SourceRecord& r, const QString& key) {
    bool ok = false;
    const qint64 n = r.value(key).toLongLong(&ok);
    if (!ok)
        fail(r, key, QStringLiteral("'%1' is not a whole number").arg(r.value(key)));
    return n;
}

double realField(const SourceRecord& r, const QString& key) {
    bool ok = false;
    const double d = r.value(key).toDouble(&ok);
    if (!ok)
        fail(r, key, QStringLiteral("'%1' is not a number").arg(r.value(key)));
    return d;
}

void checkKeys(const SourceRecord& r) {
    if (!allowedKeys().contains(r.kind))
        fail(r, {}, QStringLiteral("unknown record kind '@%1'").arg(r.kind));
    const QStringList& allowed = allowedKeys()[r.kind];
    for (auto it = r.fields.begin(); it != r.fields.end(); ++it) {
        if (!allowed.contains(it.key()))
            fail(r, it.key(), QStringLiteral("unknown field '%1' in @%2").arg(it.key(), r.kind));
    }
    for (const QString& k : requiredKeys()[r.kind]) {
        if (r.value(k).trimmed().isEmpty())
            fail(r, {}, QStringLiteral("@%1 lacks '%2'").arg(r.kind, k));
    }
}

// Checks a key against its type and option count. Returns an empty text when it fits.
QString keyFault(int type, int options, const QString& key) {
    if (kSubjective.contains(type))
        return key == QLatin1String("1") ? QString()
                                         : QStringLiteral("a subjective question's key is \"1\"");
    if (type == 11 || type == 14) {
        if (options < 2 || options > 6)
            return QStringLiteral("a choice question needs 'options' between 2 and 6");
        const QString letters = QStringLiteral("ABCDEF").left(options);
        for (int i = 0; i < key.size(); ++i) {
            if (!letters.contains(key[i]))
                return QStringLiteral("key letter '%1' is not among the %2 options")
                    .arg(key[i])
                    .arg(options);
            if (i > 0 && key[i] <= key[i - 1])
                return QStringLiteral("key letters must be distinct and in the order A to F");
        }
        if (type == 11 && key.size() != 1)
            return QStringLiteral("a single-choice key is one letter");
        if (type == 14 && key.size() < 2)
            return QStringLiteral("a multiple-choice key has at least two letters");
        return {};
    }
    return key.isEmpty() ? QStringLiteral("empty key") : QString();
}

} // namespace

QByteArray sourceTextToRtf(const QString& text) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextCharFormat plain;
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0)
            cursor.insertBlock();
        const QStringList parts = lines[i].split(QStringLiteral("**"));
        for (int p = 0; p < parts.size(); ++p)
            cursor.insertText(parts[p], p % 2 ? bold : plain);
    }
    return Rtf::write(doc);
}

namespace {

// Rows of the bank an upgrade is meant for: the upgrade's records may refer to them but never
// repeat them. Ids are kept in upper case, as the bank compares them without regard to case.
struct BankRows {
    QSet<QString> chapters, catalogue, points, cases, questions;
    QSet<int> typeCodes;
    QHash<QString, int> lastOrder; // highest xx per chapter
};

enum class Target { Bank, Upgrade };

QStringList column(Database& db, const QString& sql) {
    QStringList values;
    Statement st = db.cached(sql);
    while (st.step())
        values << st.value(0).toString();
    return values;
}

QSet<QString> upperColumn(Database& db, const QString& sql) {
    QSet<QString> values;
    for (const QString& v : column(db, sql))
        values.insert(v.toUpper());
    return values;
}

BankRows readBankRows(Database& bank) {
    BankRows rows;
    rows.chapters = upperColumn(bank, QStringLiteral("select C1 from tab_kmmc"));
    rows.catalogue = upperColumn(bank, QStringLiteral("select id from tab_fgmc"));
    rows.points = upperColumn(bank, QStringLiteral("select ftid from tab_rule"));
    rows.cases = upperColumn(bank, QStringLiteral("select A1 from tab_title"));
    rows.questions =
        upperColumn(bank, QStringLiteral("select A1 from tab_answ union select A1 from tab_exer"));
    for (int kind = 1; kind <= 5; ++kind) {
        Statement st = bank.cached(QStringLiteral("select A1 from tab_tx%1").arg(kind));
        while (st.step())
            rows.typeCodes.insert(st.value(0).toInt());
    }
    Statement st = bank.cached(QStringLiteral("select A10, max(xx) from tab_answ group by A10"));
    while (st.step()) {
        const QString chapter = st.value(0).toString().toUpper();
        rows.lastOrder[chapter] = std::max(rows.lastOrder.value(chapter), st.value(1).toInt());
    }
    return rows;
}

// Checks the records before anything is written: kinds and keys, ids given once (and, for an
// upgrade, not yet in the bank), every reference finding its row in the source or the bank, and
// every question's key fitting its type. Answers the first @upgrade record.
const SourceRecord* checkRecords(const QVector<SourceRecord>& records, Target target,
                                 const BankRows& bank) {
    QHash<QString, const SourceRecord*> chapters, catalogue, points, cases, questions;
    QSet<QString> typeKeys; // "kind/code"
    QSet<int> typeCodes = bank.typeCodes;
    const SourceRecord* plan = nullptr;
    const SourceRecord* upgrade = nullptr;
    int rows = 0; // records that become rows of the bank's content

    const auto unique = [](QHash<QString, const SourceRecord*>& seen, const QSet<QString>& inBank,
                           const SourceRecord& r, const QString& key) {
        const QString id = r.value(key).toUpper();
        if (const SourceRecord* other = seen.value(id))
            fail(r, key,
                 QStringLiteral("'%1' is given twice (first at %2)")
                     .arg(r.value(key), other->where()));
        if (inBank.contains(id))
            fail(r, key,
                 QStringLiteral("@%1 '%2' is already in the bank (an upgrade brings new rows only)")
                     .arg(r.kind, r.value(key)));
        seen.insert(id, &r);
    };
    const auto known = [](const QHash<QString, const SourceRecord*>& source,
                          const QSet<QString>& inBank, const QString& id) {
        return source.contains(id.toUpper()) || inBank.contains(id.toUpper());
    };

    // First pass: keys, ids and the things others refer to.
    for (const SourceRecord& r : records) {
        checkKeys(r);
        if (target == Target::Upgrade &&
            (r.kind == QLatin1String("plan") || r.kind == QLatin1String("type")))
            fail(r, {},
                 QStringLiteral("@%1 belongs to the bank and cannot come in an upgrade; an upgrade "
                                "brings chapters, catalogue entries, knowledge points, cases and "
                                "questions")
                     .arg(r.kind));
        if (r.kind == QLatin1String("chapter")) {
            const int len = int(r.value("code").size());
            if (len != 1 && len != 2 && len != 4 && len != 6)
                fail(r, "code", QStringLiteral("a chapter code has 1, 2, 4 or 6 characters"));
            unique(chapters, bank.chapters, r, "code");
        } else if (r.kind == QLatin1String("type")) {
            const qint64 kind = wholeField(r, "kind");
            if (kind < 1 || kind > 5)
                fail(r, "kind", QStringLiteral("exam kinds are 1 to 5"));
            const QString k = QStringLiteral("%1/%2").arg(kind).arg(wholeField(r, "code"));
            if (typeKeys.contains(k))
                fail(r, "code",
                     QStringLiteral("type %1 is given twice for kind %2")
                         .arg(r.value("code"))
                         .arg(kind));
            typeKeys.insert(k);
            typeCodes.insert(int(wholeField(r, "code")));
        } else if (r.kind == QLatin1String("catalogue")) {
            const int len = int(r.value("id").size());
            if (len != 2 && len != 6)
                fail(r, "id", QStringLiteral("a catalogue id has 2 or 6 characters"));
            unique(catalogue, bank.catalogue, r, "id");
        } else if (r.kind == QLatin1String("point")) {
            if (r.value("id").size() > 12 || r.value("id").size() < 7)
                fail(r, "id", QStringLiteral("a knowledge-point id has 7 to 12 characters"));
            unique(points, bank.points, r, "id");
        } else if (r.kind == QLatin1String("case")) {
            if (r.value("id").size() != 16)
                fail(r, "id", QStringLiteral("a case id has 16 characters"));
            unique(cases, bank.cases, r, "id");
        } else if (r.kind == QLatin1String("question")) {
            unique(questions, bank.questions, r, "id");
        } else if (r.kind == QLatin1String("plan")) {
            if (plan)
                fail(r, {}, QStringLiteral("only one @plan (first at %1)").arg(plan->where()));
            plan = &r;
        } else if (r.kind == QLatin1String("upgrade")) {
            if (upgrade && target == Target::Upgrade)
                fail(r, {},
                     QStringLiteral("an upgrade has one @upgrade (first at %1)")
                         .arg(upgrade->where()));
            if (!upgrade)
                upgrade = &r;
            continue;
        }
        ++rows;
    }
    if (target == Target::Bank && !plan)
        throw SourceError("the source has no @plan");
    if (!upgrade)
        throw SourceError("the source has no @upgrade");
    if (target == Target::Upgrade && rows == 0)
        throw SourceError("the upgrade brings no rows besides its @upgrade");

    // Second pass: references.
    for (const SourceRecord* r : chapters) {
        const QString code = r->value("code");
        if (code.size() > 1) {
            const QString parent = code.left(code.size() == 2 ? 1 : code.size() - 2);
            if (!known(chapters, bank.chapters, parent))
                fail(*r, "code", QStringLiteral("parent node '%1' does not exist").arg(parent));
        }
    }
    for (const SourceRecord* r : catalogue) {
        const QString id = r->value("id");
        if (id.size() == 6 && !known(catalogue, bank.catalogue, id.left(2)))
            fail(*r, "id", QStringLiteral("catalogue entry '%1' does not exist").arg(id.left(2)));
    }
    for (const SourceRecord* r : points) {
        const QString chapter = r->value("id").left(6);
        if (!known(catalogue, bank.catalogue, chapter))
            fail(*r, "id", QStringLiteral("catalogue chapter '%1' does not exist").arg(chapter));
    }
    for (const SourceRecord& r : records) {
        if (r.kind != QLatin1String("question"))
            continue;
        const QString id = r.value("id");
        if (id.contains(QLatin1Char('-'))) {
            if (id.size() > 20 || id.indexOf(QLatin1Char('-')) != 16)
                fail(r, "id",
                     QStringLiteral("a case question's id is the 16-character case id, "
                                    "\"-\" and its number (at most 20 characters)"));
            if (!known(cases, bank.cases, id.left(16)))
                fail(r, "id", QStringLiteral("case '%1' does not exist").arg(id.left(16)));
        } else if (id.size() != 12) {
            fail(r, "id", QStringLiteral("a question id has 12 characters"));
        }
        const QString chapter = r.value("chapter");
        if (chapter.size() != 6 || !known(chapters, bank.chapters, chapter))
            fail(r, "chapter", QStringLiteral("'%1' is not a 6-character chapter").arg(chapter));
        const int type = int(wholeField(r, "type"));
        if (!typeCodes.contains(type))
            fail(r, "type", QStringLiteral("question type %1 does not exist").arg(type));
        const int options = r.has("options") ? int(wholeField(r, "options")) : 0;
        const QString fault = keyFault(type, options, r.value("key"));
        if (!fault.isEmpty())
            fail(r, "key", fault);
        const QStringList ids = r.value("points").split(QLatin1Char(','), Qt::SkipEmptyParts);
        if (ids.size() > 10)
            fail(r, "points", QStringLiteral("at most ten knowledge points"));
        for (const QString& p : ids) {
            if (!known(points, bank.points, p.trimmed()))
                fail(r, "points", QStringLiteral("knowledge point '%1' does not exist").arg(p));
        }
    }
    return upgrade;
}

// Writes the checked records. A question's xx continues after lastOrder of its chapter.
void writeRows(const QVector<SourceRecord>& records, Database& db, QHash<QString, int> order) {
    for (const SourceRecord& r : records) {
        if (r.kind == QLatin1String("chapter")) {
            db.exec(
                "insert into tab_kmmc (C1, C1_1, C2, C3, C4, D1, D2, C6, C7, jx, bh) values "
                "(:c1, :h, :n, 0, 0, 0, 0, '0', :c7, :jx, :bh)",
                {{"c1", r.value("code")},
                 {"h", r.value("heading")},
                 {"n", r.value("name")},
                 {"c7", r.has("chart") ? QVariant(r.value("chart")) : QVariant()},
                 {"jx", r.has("guide") ? QVariant(sourceTextToRtf(r.value("guide"))) : QVariant()},
                 {"bh", wholeField(r, "order")}});
        } else if (r.kind == QLatin1String("type")) {
            db.exec(QStringLiteral("insert into tab_tx%1 (A1, B1, B2, B3, time) values (:a, :b, "
                                   ":c, :d, :t)")
                        .arg(wholeField(r, "kind")),
                    {{"a", wholeField(r, "code")},
                     {"b", r.value("name")},
                     {"c", wholeField(r, "count")},
                     {"d", realField(r, "points")},
                     {"t", realField(r, "minutes")}});
        } else if (r.kind == QLatin1String("catalogue")) {
            db.exec("insert into tab_fgmc (id, bh, n, q, q1, q2, q4) values (:i, :b, :n, 0, 0, "
                    "0, 0)",
                    {{"i", r.value("id")}, {"b", wholeField(r, "order")}, {"n", r.value("name")}});
        } else if (r.kind == QLatin1String("point")) {
            db.exec("insert into tab_rule (id, ftid, sn, n, q, q1, q2, q4) values (:i, :f, :s, "
                    ":n, 0, 0, 0, 0)",
                    {{"i", r.value("id").left(6)},
                     {"f", r.value("id")},
                     {"s", r.value("heading")},
                     {"n", sourceTextToRtf(r.value("text"))}});
        } else if (r.kind == QLatin1String("case")) {
            db.exec("insert into tab_title (A1, A15) values (:a, :t)",
                    {{"a", r.value("id")}, {"t", sourceTextToRtf(r.value("text"))}});
        } else if (r.kind == QLatin1String("plan")) {
            db.exec("insert into tab_plan (PlanMark, PlanAmount, PlanTime, ExamDate, LeastMark, "
                    "ExamTime) values (:m, :a, :t, :d, :l, :e)",
                    {{"m", wholeField(r, "mark")},
                     {"a", wholeField(r, "amount")},
                     {"t", wholeField(r, "minutes")},
                     {"d", r.value("examdate")},
                     {"l", wholeField(r, "leastmark")},
                     {"e", wholeField(r, "examminutes") * 60}});
        } else if (r.kind == QLatin1String("upgrade")) {
            db.exec("insert into tab_sj (sjbs, cpbs) values (:s, :c)",
                    {{"s", r.value("sjbs")}, {"c", r.value("cpbs")}});
        }
    }

    for (const SourceRecord& r : records) {
        if (r.kind != QLatin1String("question"))
            continue;
        const QString chapter = r.value("chapter");
        QStringList ids = r.value("points").split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (QString& p : ids)
            p = p.trimmed();
        Params p{{"a1", r.value("id")},
                 {"a2", r.value("key")},
                 {"a21", r.has("options") ? QVariant(wholeField(r, "options")) : QVariant(0)},
                 {"a10", chapter},
                 {"a13", wholeField(r, "type")},
                 {"xx", ++order[chapter.toUpper()]}};
        for (int k = 0; k < 10; ++k)
            p.insert(QStringLiteral("k%1").arg(k + 3),
                     k < ids.size() ? QVariant(ids[k]) : QVariant());
        db.exec("insert into tab_answ (A1, A2, A2_1, A10, A13, k3, k4, k5, k6, k7, k8, k9, k10, "
                "k11, k12, E3, E4, f1, xx, ecount) values (:a1, :a2, :a21, :a10, :a13, :k3, :k4, "
                ":k5, :k6, :k7, :k8, :k9, :k10, :k11, :k12, 0, 0, 0, :xx, 0)",
                p);
        db.exec("insert into tab_exer (A1, A15, jx) values (:a1, :t, :j)",
                {{"a1", r.value("id")},
                 {"t", sourceTextToRtf(r.value("text"))},
                 {"j", sourceTextToRtf(r.value("explanation"))}});
    }
}

// Counters follow from the rows the file holds: in an upgrade file, those of its own questions.
void countRows(Database& db) {
    db.exec("update tab_kmmc set C3=(select count(*) from tab_answ where "
            "substr(A10,1,length(tab_kmmc.C1))=tab_kmmc.C1)");
    db.exec("update tab_rule set q=(select count(*) from tab_answ where tab_rule.ftid in "
            "(k3,k4,k5,k6,k7,k8,k9,k10,k11,k12))");
    db.exec("update tab_fgmc set q=(select count(*) from tab_answ a where exists (select 1 from "
            "tab_rule r where r.ftid in (a.k3,a.k4,a.k5,a.k6,a.k7,a.k8,a.k9,a.k10,a.k11,a.k12) "
            "and substr(r.ftid,1,length(tab_fgmc.id))=tab_fgmc.id))");
}

// Writes a new database file beside outFile through fill and moves it to outFile only when it
// is complete (after beforeReplace, when given); a failure leaves no file behind.
void writeBesideAndMove(const QString& outFile, const std::function<void(Database&)>& fill,
                        const std::function<void()>& beforeReplace = {}) {
    QDir().mkpath(QFileInfo(outFile).absolutePath());
    const QString temp = outFile + QStringLiteral(".part");
    QFile::remove(temp);
    {
        Database db;
        db.open(temp, true);
        try {
            fill(db);
            db.exec("VACUUM");
            db.exec("PRAGMA journal_mode=DELETE"); // one self-contained file to deliver
        } catch (...) {
            db.close();
            QFile::remove(temp);
            throw;
        }
    }
    if (beforeReplace)
        beforeReplace();
    QFile::remove(outFile);
    // A log or index left by a program that had the old file open belongs to that file only.
    QFile::remove(outFile + QStringLiteral("-wal"));
    QFile::remove(outFile + QStringLiteral("-shm"));
    if (!QFile::rename(temp, outFile))
        throw SourceError(("cannot write " + outFile).toStdString());
}

bool sameFile(const QString& existing, const QString& other) {
    const QString a = QFileInfo(existing).canonicalFilePath();
    return !a.isEmpty() && a == QFileInfo(other).canonicalFilePath();
}

} // namespace

void writeBank(const QVector<SourceRecord>& records, Database& db) {
    const BankRows none;
    checkRecords(records, Target::Bank, none);
    Transaction tx(db);
    writeRows(records, db, none.lastOrder);
    countRows(db);
    tx.commit();
}

void writeUpgrade(const QVector<SourceRecord>& records, Database& bank, Database& db) {
    BankRows rows;
    try {
        if (!Schema::hasBankTables(bank))
            throw SourceError((bank.path() + " is not a bank").toStdString());
        rows = readBankRows(bank);
    } catch (const DbError& e) {
        throw SourceError((bank.path() + " is not a bank: " + e.what()).toStdString());
    }
    const SourceRecord& upgrade = *checkRecords(records, Target::Upgrade, rows);
    const QString product = upgrade.value("cpbs");
    if (bank.scalar("select count(*) from tab_sj where cpbs=:c", {{"c", product}}).toInt() == 0) {
        const QStringList products =
            column(bank, QStringLiteral("select distinct cpbs from tab_sj order by cpbs"));
        fail(upgrade, "cpbs",
             products.isEmpty() ? QStringLiteral("the bank names no product to upgrade")
                                : QStringLiteral("the bank is of product '%1', not '%2'")
                                      .arg(products.join(QStringLiteral("', '")), product));
    }
    if (bank.scalar("select count(*) from tab_sj where sjbs=:s", {{"s", upgrade.value("sjbs")}})
            .toInt() > 0)
        fail(upgrade, "sjbs",
             QStringLiteral("upgrade '%1' is already in the bank").arg(upgrade.value("sjbs")));
    Transaction tx(db);
    writeRows(records, db, rows.lastOrder);
    countRows(db);
    tx.commit();
}

void buildBankFile(const QString& sourceFolder, const QString& outFile) {
    const QVector<SourceRecord> records = readSourceFolder(sourceFolder);
    writeBesideAndMove(
        outFile,
        [&](Database& db) {
            Schema::create(db);
            BankPassword::store(db, BankPassword::bankPassword());
            writeBank(records, db);
        },
        [&] { keepAsideIfItHoldsProgress(outFile, QDateTime::currentDateTime()); });
}

void buildUpgradeFile(const QString& bankFile, const QString& sourceFolder,
                      const QString& outFile) {
    if (!QFileInfo(bankFile).isFile())
        throw SourceError(("no bank file " + bankFile).toStdString());
    if (sameFile(bankFile, outFile) || sameFile(bankFile, outFile + QStringLiteral(".part")))
        throw SourceError(("the upgrade file would replace the bank " + bankFile).toStdString());
    const QVector<SourceRecord> records = readSourceFolder(sourceFolder);
    Database bank;
    try {
        bank.openReadOnly(bankFile);
    } catch (const DbError& e) {
        throw SourceError(e.what());
    }
    writeBesideAndMove(outFile, [&](Database& db) {
        Schema::create(db);
        // The learner's bank keeps its own lock; an upgrade carries only rows.
        db.dropTable(QStringLiteral("tab_key"));
        writeUpgrade(records, bank, db);
    });
}

QString keepAsideIfItHoldsProgress(const QString& bankFile, const QDateTime& now) {
    if (!QFileInfo::exists(bankFile))
        return {};
    try {
        Database db;
        db.open(bankFile);
        const bool progress =
            db.hasTable(QStringLiteral("tab_rz")) && db.hasTable(QStringLiteral("tab_answ")) &&
            (db.scalar(QStringLiteral("select count(*) from tab_rz")).toInt() > 0 ||
             db.scalar(QStringLiteral("select count(*) from tab_answ where E3>0")).toInt() > 0);
        if (!progress)
            return {};
        try {
            // One self-contained file when nobody else has it open; else its log moves along.
            db.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
            db.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        } catch (const DbError&) {
        }
    } catch (const DbError&) {
        return {}; // not a bank this builder can read: nothing of a learner's in it
    }
    const QString aside =
        bankFile + QStringLiteral(".progress-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!QFile::rename(bankFile, aside))
        throw SourceError(("cannot keep " + bankFile + " aside").toStdString());
    for (const char* suffix : {"-wal", "-shm"}) {
        const QString companion = bankFile + QLatin1String(suffix);
        if (QFileInfo::exists(companion))
            QFile::rename(companion, aside + QLatin1String(suffix));
    }
    return aside;
}
