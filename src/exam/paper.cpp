#include "exam/paper.h"

#include "platform/clock.h"
#include "store/data_module.h"
#include "store/schema.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTime>

#include <algorithm>
#include <random>

namespace Paper {

namespace {

const QString kPrefix = QStringLiteral("tab_exam");

QVector<ExamKind> makeKinds() {
    using S = QStringList;
    return {
        {1,
         QStringLiteral("咨询师·项目决策分析与评价"),
         S{QStringLiteral("4")},
         {{11, {{QStringLiteral("4"), 60}}},
          {14, {{QStringLiteral("4"), 35}}},
          {22, {{QStringLiteral("4"), 0}}}}},
        {2,
         QStringLiteral("咨询师·现代咨询方法与实务"),
         S{QStringLiteral("5")},
         {{11, {{QStringLiteral("5"), 0}}},
          {14, {{QStringLiteral("5"), 0}}},
          {22, {{QStringLiteral("5"), 5}}}}},
        {3,
         QStringLiteral("国家司法考试模拟试卷三"),
         S{QStringLiteral("05"), QStringLiteral("08"), QStringLiteral("07")},
         {{61,
           {{QStringLiteral("05"), 23}, {QStringLiteral("08"), 10}, {QStringLiteral("07"), 17}}},
          {62, {{QStringLiteral("05"), 14}, {QStringLiteral("08"), 6}, {QStringLiteral("07"), 10}}},
          {65, {{QStringLiteral("05"), 8}, {QStringLiteral("08"), 4}, {QStringLiteral("07"), 8}}}}},
        {4,
         QStringLiteral("国家司法考试模拟试卷四"),
         S{QStringLiteral("10"), QStringLiteral("11"), QStringLiteral("05"), QStringLiteral("08"),
           QStringLiteral("07"), QStringLiteral("04")},
         {{70,
           {{QStringLiteral("10"), 2},
            {QStringLiteral("11"), 2},
            {QStringLiteral("05"), 2},
            {QStringLiteral("08"), 1},
            {QStringLiteral("07"), 2},
            {QStringLiteral("04"), 1}}}}},
        {5,
         QStringLiteral("造价工程师·案例分析"),
         S{QStringLiteral("05")},
         {{64, {{QStringLiteral("05"), 6}}}}},
    };
}

// A chapter prefix as a LIKE pattern: the prefix's own % _ and \ match only themselves.
QString prefixPattern(const QString& prefix) {
    QString p = prefix;
    p.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('%'), QStringLiteral("\\%"))
        .replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return p + QLatin1Char('%');
}

// Not voided: f1 is not 1 (a question without f1 counts as a bank question).
const QString kNotVoided = QStringLiteral("ifnull(f1,0)<>1");

bool kindHasQuestions(TDM1& dm, const ExamKind& k) {
    QStringList terms;
    Params params;
    for (int i = 0; i < k.chapterGroup.size(); ++i) {
        const QString name = QStringLiteral("p%1").arg(i);
        terms << QStringLiteral("A10 like :%1 escape '\\'").arg(name);
        params.insert(name, prefixPattern(k.chapterGroup[i]));
    }
    const QString sql = QStringLiteral("select 1 from tab_answ where (") +
                        terms.join(QStringLiteral(" or ")) + QStringLiteral(") and ") + kNotVoided +
                        QStringLiteral(" limit 1");
    return dm.ADOCn1.scalar(sql, params).isValid();
}

} // namespace

const TypeDraws* ExamKind::drawsFor(int typeCode) const {
    for (const TypeDraws& t : composition) {
        if (t.typeCode == typeCode)
            return &t;
    }
    return nullptr;
}

const ExamKind& Kind(int kind) {
    static const QVector<ExamKind> kinds = makeKinds();
    if (kind < 1 || kind > kinds.size())
        throw std::out_of_range("exam kind outside 1..5");
    return kinds[kind - 1];
}

QString Title(const QDate& day, const QString& kindTitle, int number) {
    return day.toString(QStringLiteral("yyyy年MM月dd日")) + kindTitle + QLatin1Char('[') +
           QString::number(number) + QLatin1Char(']');
}

bool IsPaperTableName(const QString& name) {
    static const QRegularExpression re(QStringLiteral("^tab_exam([1-9][0-9]{0,8})$"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re.match(name.trimmed()).hasMatch();
}

int PaperNumber(const QString& name) {
    if (!IsPaperTableName(name))
        return 0;
    return name.trimmed().mid(kPrefix.size()).toInt();
}

QString CheckedName(const QString& name) {
    if (!IsPaperTableName(name))
        throw BadPaperName("not a paper table's name");
    return name.trimmed();
}

NextPaper PlanNext(TDM1& dm) {
    NextPaper next;
    Statement st = dm.ADOCn1.cached(
        QStringLiteral("select A1, A3_1 from tab_cj order by A3_1 desc, rowid desc limit 1"));
    if (!st.step())
        return next;
    next.number = int(st.value(1).toLongLong()) + 1;
    const QString newest = st.value(0).toString();
    st.reset();

    const auto registered = [&dm](const QString& table) {
        return dm.ADOCn1
            .scalar(QStringLiteral("select 1 from tab_cj where A1=:A1 limit 1"),
                    {{QStringLiteral("A1"), table}})
            .isValid();
    };
    int m = PaperNumber(newest) + 1;
    if (PaperNumber(newest) == 0) {
        // The newest row names no paper table: after the highest number any row names.
        Statement all = dm.ADOCn1.cached(QStringLiteral("select A1 from tab_cj"));
        m = 1;
        while (all.step())
            m = std::max(m, PaperNumber(all.value(0).toString()) + 1);
        all.reset();
    }
    while (registered(kPrefix + QString::number(m)))
        ++m;
    next.table = kPrefix + QString::number(m);
    return next;
}

Random TimeOfDayRandom() {
    const QTime t = Clock::now().toUTC().time();
    auto engine = std::make_shared<std::mt19937>(unsigned(t.msecsSinceStartOfDay()));
    return [engine](int n) { return std::uniform_int_distribution<int>(0, n - 1)(*engine); };
}

QStringList DrawQuestions(TDM1& dm, int typeCode, int count, const QString& prefix,
                          const Random& random) {
    if (count <= 0)
        return {};
    Statement st = dm.ADOCn1.cached(QStringLiteral("select A1 from tab_answ where A13=:t and "
                                                   "A10 like :p escape '\\' and ") +
                                    kNotVoided + QStringLiteral(" order by E3, rowid"));
    st.bind(QStringLiteral("t"), typeCode);
    st.bind(QStringLiteral("p"), prefixPattern(prefix));
    QStringList eligible;
    while (st.step())
        eligible << st.value(0).toString();
    st.reset();
    const int n = int(eligible.size());
    const int k = std::min(count, n);
    // Drawing positions without repeats: each step takes a uniform one of those still left.
    QStringList drawn;
    for (int i = 0; i < k; ++i) {
        const int r = i + random(n - i);
        eligible.swapItemsAt(i, r);
        drawn.prepend(eligible[i]);
    }
    return drawn;
}

void InsertQuestions(TDM1& dm, const QString& table, const QStringList& ids) {
    if (ids.isEmpty())
        return;
    const QString sql =
        QStringLiteral("insert into ") + CheckedName(table) +
        QStringLiteral("(a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,E3,E4,"
                       "JX,CSBS,F1) select a.a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,"
                       "a14,e1,e2,e2_1,e3,e4,b.jx,a.csbs,a.f1 from tab_answ a,tab_exer b where "
                       "a.a1=b.a1 and a.a1=:A1");
    for (const QString& id : ids)
        dm.ADOCn1.exec(sql, {{QStringLiteral("A1"), id}});
}

void UseTypeTable(TDM1& dm, int kind) {
    const QString name = QStringLiteral("tab_tx%1").arg(kind <= 0 ? 1 : kind);
    Dataset* tx = dm.Cn1Table_tx;
    if (tx->tableName().compare(name, Qt::CaseInsensitive) != 0) {
        tx->close();
        tx->setTableName(name);
    }
    if (!tx->active())
        tx->open();
}

Built BuildPaper(TDM1& dm, int kind, const QDate& today, const Random& random,
                 const std::function<void(const QString&)>& progress) {
    const auto say = [&progress](const QString& text) {
        if (progress)
            progress(text);
    };
    const ExamKind& k = Kind(kind);
    say(QStringLiteral("正在初始化数据..."));
    Built built;
    Transaction tx(dm.ADOCn1);
    try {
        const NextPaper next = PlanNext(dm);
        built.table = next.table;
        built.number = next.number;
        built.title = Title(today, k.title, next.number);
        say(QStringLiteral("正在建立数据表..."));
        // A table of the name without a register row is what an earlier failure left.
        dm.ADOCn1.dropTable(built.table);
        dm.ADOCn1.exec(Schema::paperTableStatement(built.table));
        dm.ADOCn1.exec(QStringLiteral("insert into tab_cj (A1, A3, A3_1, D1) values "
                                      "(:A1, :A3, :A3_1, :D1)"),
                       {{QStringLiteral("A1"), built.table},
                        {QStringLiteral("A3"), built.title},
                        {QStringLiteral("A3_1"), built.number},
                        {QStringLiteral("D1"), today.toString(Qt::ISODate)}});
    } catch (const BuildError&) {
        throw;
    } catch (const std::exception& e) {
        throw TableError(e.what());
    }

    say(QStringLiteral("正在整理数据..."));
    if (!kindHasQuestions(dm, k))
        throw NoQuestions();
    try {
        UseTypeTable(dm, kind);
        Dataset* types = dm.Cn1Table_tx;
        for (int r = 1; r <= types->recordCount(); ++r) {
            types->setRecNo(r);
            if (types->whole(QStringLiteral("B2")) <= 0)
                continue;
            const TypeDraws* draws = k.drawsFor(int(types->whole(QStringLiteral("A1"))));
            if (!draws)
                continue;
            for (const Draw& d : draws->draws)
                InsertQuestions(dm, built.table,
                                DrawQuestions(dm, draws->typeCode, d.count, d.prefix, random));
        }
        built.questions = int(
            dm.ADOCn1.scalar(QStringLiteral("select count(*) from ") + built.table).toLongLong());
    } catch (const std::exception& e) {
        throw DrawError(e.what());
    }
    tx.commit();
    return built;
}

void DropPaper(TDM1& dm, const QString& table) {
    if (!IsPaperTableName(table))
        return; // nothing the program made: never dropped
    try {
        Transaction tx(dm.ADOCn1);
        dm.ADOCn1.dropTable(table.trimmed());
        dm.ADOCn1.exec(QStringLiteral("delete from tab_cj where A1=:A1"),
                       {{QStringLiteral("A1"), table.trimmed()}});
        tx.commit();
    } catch (const std::exception&) {
        // Removing a paper never stops its caller.
    }
    if (dm.Cn1Table_cj->active()) {
        try {
            dm.Cn1Table_cj->requery();
        } catch (const std::exception&) {
            dm.Cn1Table_cj->close();
        }
    }
}

int Unanswered(TDM1& dm, const QString& table) {
    return int(dm.ADOCn1
                   .scalar(QStringLiteral("select count(*) from ") + CheckedName(table) +
                           QStringLiteral(" where E2_1 = '' or E2_1 is null"))
                   .toLongLong());
}

double Score(TDM1& dm, const QString& table, int kind) {
    const QString p = CheckedName(table);
    const QString t = QStringLiteral("tab_tx%1").arg(kind <= 0 ? 1 : kind);
    // Text columns compare without regard to letter case.
    const QVariant sum = dm.ADOCn1.scalar(
        QStringLiteral("select sum(%2.B3) as ZFS from %1,%2 where %1.A13 = %2.A1 and "
                       "%1.A2 = %1.E2_1 and %1.E2_1 <> ''")
            .arg(p, t));
    return sum.isNull() ? 0.0 : sum.toDouble();
}

namespace {

qint64 planValue(TDM1& dm, const char* column) {
    return dm.ADOCn1
        .scalar(QStringLiteral("select %1 from tab_plan order by rowid limit 1")
                    .arg(QString::fromLatin1(column)))
        .toLongLong();
}

} // namespace

int LeastMark(TDM1& dm) {
    return int(planValue(dm, "LeastMark"));
}

int ExamTime(TDM1& dm) {
    return int(planValue(dm, "ExamTime"));
}

int FullMarks(TDM1& dm) {
    Dataset* tx = dm.Cn1Table_tx;
    if (!tx->active())
        tx->open();
    int sum = 0;
    for (int r = 0; r < tx->recordCount(); ++r) {
        const auto whole = [&](const char* f) {
            return int(tx->valueAt(r, QString::fromLatin1(f)).toDouble());
        };
        sum += whole("B2") * whole("B3");
    }
    return sum;
}

QString ScoreText(double score) {
    return QLocale::c().toString(score, 'g', QLocale::FloatingPointShortest);
}

} // namespace Paper
