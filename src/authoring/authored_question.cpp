#include "authoring/authored_question.h"

#include "practice/question_model.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "store/database.h"
#include "store/dataset.h"

#include <QSet>

#include <algorithm>

namespace Authoring {

using namespace Question;

namespace {

const QStringList kSubjectiveNames = {QStringLiteral("简答"),     QStringLiteral("主观"),
                                      QStringLiteral("论述"),     QStringLiteral("案例分析"),
                                      QStringLiteral("名词解释"), QStringLiteral("查找错误"),
                                      QStringLiteral("综合"),     QStringLiteral("计算")};

QString slotName(int slot) {
    return QStringLiteral("k%1").arg(slot);
}
constexpr int kFirstSlot = 3;
constexpr int kLastSlot = 12;

// ":p0,:p1,..." for values, with the values into params.
QString boundList(const QStringList& values, const QString& prefix, Params& params) {
    QStringList names;
    for (int i = 0; i < values.size(); ++i) {
        const QString name = prefix + QString::number(i);
        names << QLatin1Char(':') + name;
        params.insert(name, values[i]);
    }
    return names.join(QLatin1Char(','));
}

// The distinct first n characters of ids, in order.
QStringList prefixes(const QStringList& ids, int n) {
    QStringList out;
    for (const QString& id : ids) {
        const QString p = id.left(n);
        if (!out.contains(p, Qt::CaseInsensitive))
            out << p;
    }
    return out;
}

QStringList without(const QStringList& from, const QStringList& these) {
    QStringList out;
    for (const QString& s : from)
        if (!these.contains(s, Qt::CaseInsensitive))
            out << s;
    return out;
}

// Adds delta to the question number q of the catalogue entries ids (never below 0).
void moveCatalogue(Database& db, const QStringList& ids, int delta) {
    if (ids.isEmpty())
        return;
    Params params;
    const QString list = boundList(ids, QStringLiteral("e"), params);
    db.exec(QStringLiteral("update tab_fgmc set q=max(coalesce(q,0)+%1,0) where id in (%2)")
                .arg(delta)
                .arg(list),
            params);
}

void requirePoints(Database& db, const QStringList& ids) {
    for (const QString& id : ids) {
        if (db.scalar(QStringLiteral("select count(*) from tab_rule where ftid=:id"),
                      {{QStringLiteral("id"), id}})
                .toInt() == 0)
            throw MissingPoint(id);
    }
}

QVariant richOrNull(const QByteArray& rtf) {
    return rtf.isEmpty() ? QVariant() : QVariant(rtf);
}

void requireSize(const QByteArray& rtf) {
    if (rtf.size() > kMaxRichTextBytes)
        throw std::length_error("rich text too large");
}

} // namespace

QVector<Ttx> LoadTypeList(TDM1& dm) {
    if (App::PaperKind == 0)
        App::PaperKind = 1;
    Dataset* t = dm.Cn1Table_tx;
    t->close();
    t->setTableName(QStringLiteral("tab_tx%1").arg(App::PaperKind));
    t->setOrderBy(QStringLiteral("A1"));
    t->open();
    QVector<Ttx> types;
    for (t->first(); !t->eof(); t->next())
        types.push_back({t->text(QStringLiteral("A1")), t->text(QStringLiteral("B1")).trimmed()});
    t->first();
    return types;
}

int FindType(const QVector<Ttx>& types, const QString& name) {
    const QString wanted = name.trimmed();
    if (wanted.isEmpty())
        return -1;
    for (int i = 0; i < types.size(); ++i)
        if (types[i].name.compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool IsSubjectiveType(const Ttx& type) {
    const QString name = type.name.trimmed();
    if (kSubjectiveNames.contains(name))
        return true;
    if (name.endsWith(QStringLiteral("题")) && kSubjectiveNames.contains(name.chopped(1)))
        return true;
    bool isNumber = false;
    const int code = type.code.toInt(&isNumber);
    return isNumber && IsSubjective(code);
}

QString SerialText(int serial) {
    return serial >= 1000 ? QString::number(serial)
                          : QStringLiteral("%1").arg(serial, 5, 10, QLatin1Char('0'));
}

QString NewQuestionId(const QString& chapter, const QString& typeCode, int options, int serial) {
    return QStringLiteral("US") + chapter + typeCode + QString::number(options) +
           SerialText(serial);
}

int LargestSerial(Database& db) {
    // The id's primary-key index (without regard to case, as the bank compares ids) finds the
    // questions beginning with U.
    return db
        .scalar(QStringLiteral("select max(cast(substr(A1,-4) as integer)) from tab_answ "
                               "where A1 >= 'U' and A1 < 'V'"))
        .toInt();
}

AnswerCheck CheckAnswer(const QString& typed, int options, int typeCode, bool subjective) {
    AnswerCheck check;
    check.answer = typed.trimmed();
    if (check.answer.isEmpty()) {
        check.refusal = QStringLiteral("请填写试题答案！");
        return check;
    }
    const int page = TypePage(typeCode);
    if (subjective || (page != PageSingle && page != PageMultiple))
        return check;

    const int shown = std::clamp(options, kMinOptions, kMaxOptions);
    const QChar last = QChar(u'A' + shown - 1);
    QString letters = check.answer.toUpper();
    for (const QChar c : letters) {
        if (c < QLatin1Char('A') || c > last) {
            check.refusal = shown == 1
                                ? QStringLiteral("试题答案只能是字母A！")
                                : QStringLiteral("试题答案只能由A到%1的字母组成！").arg(last);
            return check;
        }
    }
    if (QSet<QChar>(letters.begin(), letters.end()).size() != letters.size()) {
        check.refusal = QStringLiteral("试题答案中的字母不能重复！");
        return check;
    }
    if (page == PageSingle && letters.size() > 1) {
        check.refusal = QStringLiteral("单选题的答案只能是一个字母！");
        return check;
    }
    // A key is compared with the answer character for character, and answers list their
    // letters from A to F.
    std::sort(letters.begin(), letters.end());
    check.answer = letters;
    return check;
}

QVector<PointLine> LookUpPoints(Database& db, const QStringList& ids) {
    QVector<PointLine> lines;
    for (const QString& id : ids) {
        PointLine line;
        line.id = id;
        Statement st = db.cached(
            QStringLiteral("select r.sn, f.n from tab_rule r left join tab_fgmc f on f.id = r.id "
                           "where r.ftid = :id"));
        st.bind(QStringLiteral("id"), id);
        if (st.step()) {
            line.found = true;
            QString heading = st.value(0).toString();
            while (!heading.isEmpty() && heading.back().isSpace())
                heading.chop(1);
            line.heading = heading;
            line.name = st.value(1).toString();
        }
        lines.push_back(line);
    }
    return lines;
}

QString InsertQuestion(Database& db, const NewQuestion& q, int serial) {
    if (q.points.size() > kMaxPoints)
        throw std::invalid_argument("too many knowledge points");
    requireSize(q.text);
    requireSize(q.explanation);
    const QString id = NewQuestionId(q.chapter, q.typeCode, q.options, serial);

    Transaction tx(db);
    requirePoints(db, q.points);

    Params row{{QStringLiteral("a1"), id},
               {QStringLiteral("a2"), q.answer},
               {QStringLiteral("a21"), q.options},
               {QStringLiteral("a10"), q.chapter},
               {QStringLiteral("a13"), q.typeCode.toInt()}};
    QString columns = QStringLiteral("A1,A2,A2_1,A10,A13");
    QString values = QStringLiteral(":a1,:a2,:a21,:a10,:a13");
    for (int i = 0; i < q.points.size(); ++i) {
        const QString slot = slotName(kFirstSlot + i);
        columns += QLatin1Char(',') + slot;
        values += QStringLiteral(",:") + slot;
        row.insert(slot, q.points[i]);
    }
    db.exec(QStringLiteral("insert into tab_answ (%1,f1) values (%2,2)").arg(columns, values), row);

    if (q.explanation.isEmpty())
        db.exec(QStringLiteral("insert into tab_exer (A1,A15) values (:a1,:a15)"),
                {{QStringLiteral("a1"), id}, {QStringLiteral("a15"), q.text}});
    else
        db.exec(QStringLiteral("insert into tab_exer (A1,A15,jx) values (:a1,:a15,:jx)"),
                {{QStringLiteral("a1"), id},
                 {QStringLiteral("a15"), q.text},
                 {QStringLiteral("jx"), q.explanation}});

    // The chapter and its ancestors: the codes of 4, 2 and 1 characters.
    db.exec(QStringLiteral("update tab_kmmc set C3=coalesce(C3,0)+1 where C1 in (:c6,:c4,:c2,:c1)"),
            {{QStringLiteral("c6"), q.chapter},
             {QStringLiteral("c4"), q.chapter.left(4)},
             {QStringLiteral("c2"), q.chapter.left(2)},
             {QStringLiteral("c1"), q.chapter.left(1)}});

    if (!q.points.isEmpty()) {
        Params params;
        const QString list = boundList(q.points, QStringLiteral("p"), params);
        db.exec(
            QStringLiteral("update tab_rule set q=coalesce(q,0)+1 where ftid in (%1)").arg(list),
            params);
        moveCatalogue(db, prefixes(q.points, 6), +1);
        moveCatalogue(db, prefixes(q.points, 2), +1);
    }
    tx.commit();
    return id;
}

QStringList PointsOf(const Dataset& question) {
    QStringList ids;
    for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
        const QString id = question.text(slotName(slot)).trimmed();
        if (!id.isEmpty())
            ids << id;
    }
    return ids;
}

bool IsCaseQuestion(const QString& questionId) {
    return questionId.contains(QLatin1Char('-'));
}

QString CaseIdOf(const QString& questionId) {
    return questionId.left(16);
}

void SaveEdit(Database& db, Dataset& question, Dataset& content, Dataset* caseRow,
              const QuestionEdit& e) {
    if (e.points.size() > kMaxPoints)
        throw std::invalid_argument("too many knowledge points");
    requireSize(e.text);
    requireSize(e.explanation);
    requireSize(e.caseText);
    const QString id = question.text(QStringLiteral("A1"));
    const QStringList before = PointsOf(question);

    Transaction tx(db);
    try {
        requirePoints(db, e.points);

        if (content.isEmpty()) {
            content.append();
            content.setValue(QStringLiteral("A1"), id);
        } else {
            content.edit();
        }
        content.setValue(QStringLiteral("A15"), richOrNull(e.text));
        content.setValue(QStringLiteral("jx"), richOrNull(e.explanation));
        content.post();

        question.edit();
        question.setValue(QStringLiteral("A2_1"), e.options);
        question.setValue(QStringLiteral("A2"), e.answer);
        question.setValue(QStringLiteral("A13"), e.typeCode);
        for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
            const int i = slot - kFirstSlot;
            question.setValue(slotName(slot), i < e.points.size() ? e.points[i] : QString(""));
        }
        question.setValue(QStringLiteral("ecount"), question.whole(QStringLiteral("ecount")) + 1);
        question.post();

        if (caseRow) {
            if (caseRow->isEmpty()) {
                caseRow->append();
                caseRow->setValue(QStringLiteral("A1"), CaseIdOf(id));
            } else {
                caseRow->edit();
            }
            caseRow->setValue(QStringLiteral("A15"), richOrNull(e.caseText));
            caseRow->post();
        }

        // Every knowledge point the question had or has now counts its questions afresh.
        QStringList recount = before;
        for (const QString& p : e.points)
            if (!recount.contains(p, Qt::CaseInsensitive))
                recount << p;
        QStringList slots;
        for (int slot = kFirstSlot; slot <= kLastSlot; ++slot)
            slots << slotName(slot) + QStringLiteral("=:id");
        const QString count = QStringLiteral("update tab_rule set q=(select count(*) from tab_answ "
                                             "where %1) where ftid=:id")
                                  .arg(slots.join(QStringLiteral(" or ")));
        for (const QString& p : recount)
            db.exec(count, {{QStringLiteral("id"), p}});

        // A catalogue entry counts the questions with at least one of its knowledge points.
        for (const int n : {6, 2}) {
            const QStringList was = prefixes(before, n);
            const QStringList is = prefixes(e.points, n);
            moveCatalogue(db, without(is, was), +1);
            moveCatalogue(db, without(was, is), -1);
        }
        tx.commit();
    } catch (...) {
        for (Dataset* ds : {&question, &content, caseRow}) {
            if (ds && ds->state() != Dataset::State::Browse && ds->active())
                ds->cancel();
        }
        tx.rollback();
        // What was posted before the failure is undone in the file; the rows show the file.
        for (Dataset* ds : {&question, &content, caseRow}) {
            if (ds && ds->active())
                ds->requery();
        }
        throw;
    }
}

} // namespace Authoring
