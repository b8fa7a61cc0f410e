// The bookkeeping of study statistics: every counted answer goes to today's log row, the chapter
// tree and the knowledge-point tables, in that order; a finished practice adds its time.
#include "store/data_module.h"

#include "store/time_text.h"

#include "platform/clock.h"

#include <optional>

namespace {

constexpr int kYes = 2;

QString todayText() {
    return Clock::today().toString(Qt::ISODate);
}

// The ids of a list text of the form ('id1','id2',...). Quotes inside an id are doubled.
QStringList parseIdList(const QString& list) {
    QStringList ids;
    const int n = int(list.size());
    for (int i = 0; i < n; ++i) {
        if (list[i] != QLatin1Char('\''))
            continue;
        QString id;
        ++i;
        for (; i < n; ++i) {
            if (list[i] == QLatin1Char('\'')) {
                if (i + 1 < n && list[i + 1] == QLatin1Char('\'')) {
                    id += QLatin1Char('\'');
                    ++i;
                    continue;
                }
                break;
            }
            id += list[i];
        }
        ids << id;
    }
    return ids;
}

// "update <table> set <col>=<col>+1 where <key> in (...)" with every id bound. Each matching row
// is raised once however often its id is listed.
void raiseIn(Database& db, const QString& table, const QString& column, const QString& key,
             const QStringList& ids) {
    if (ids.isEmpty())
        return;
    QStringList marks;
    Params params;
    for (int i = 0; i < ids.size(); ++i) {
        marks << QStringLiteral(":p%1").arg(i);
        params.insert(QStringLiteral("p%1").arg(i), ids[i]);
    }
    db.exec(QStringLiteral("update %1 set %2=coalesce(%2,0)+1 where %3 in (%4)")
                .arg(table, column, key, marks.join(QLatin1Char(','))),
            params);
}

} // namespace

namespace Stats {

QString Quoted(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + out + QLatin1Char('\'');
}

PointLists PointIdLists(const QStringList& slots) {
    QStringList rules, chapters, tops;
    for (const QString& id : slots) {
        if (id.isEmpty())
            break;
        rules << Quoted(id);
        chapters << Quoted(id.left(6));
        tops << Quoted(id.left(2));
    }
    PointLists lists;
    if (rules.isEmpty())
        return lists;
    const auto enclose = [](const QStringList& items) {
        return QLatin1Char('(') + items.join(QLatin1Char(',')) + QLatin1Char(')');
    };
    lists.ruleIds = enclose(rules);
    lists.chapterIds = enclose(chapters);
    lists.topIds = enclose(tops);
    return lists;
}

} // namespace Stats

void TDM1::RecordAnswerInLog(int firstToday, int wrong, int prevWrong) {
    Dataset* rz = Cn1Table_rz;
    if (!rz->active())
        rz->open();
    const auto add = [rz](const char* field, int delta) {
        const QString f = QString::fromLatin1(field);
        rz->setValue(f, rz->whole(f) + delta);
    };
    if (rz->locate(QStringLiteral("A1"), todayText())) {
        rz->edit();
        add("A2", 1);
        if (wrong == kYes)
            add("A3", 1);
        if (firstToday == kYes) {
            add("B1", 1);
            if (wrong == kYes)
                add("B2", 1);
        } else {
            if (prevWrong != kYes && wrong == kYes)
                add("B2", 1);
            if (prevWrong == kYes && wrong != kYes)
                add("B2", -1);
        }
        rz->post();
    } else {
        rz->append();
        rz->setValue(QStringLiteral("A1"), todayText());
        rz->setValue(QStringLiteral("A2"), 1);
        rz->setValue(QStringLiteral("B1"), 1);
        if (wrong == kYes) {
            rz->setValue(QStringLiteral("A3"), 1);
            rz->setValue(QStringLiteral("B2"), 1);
        }
        rz->post();
        rz->close();
    }
}

void TDM1::RecordAnswerInChapters(const QString& chapterCode, int firstEver, int wrong) {
    Dataset* km = Cn1Table_kmmc;
    if (!km->active())
        km->open();
    const QVector<int> rows =
        km->findPrefixesOf(QStringLiteral("C1"), chapterCode, Qt::CaseInsensitive);
    for (int len = int(chapterCode.size()); len >= 1; --len) {
        if (rows[len] < 0)
            continue;
        km->setRecNo(rows[len]);
        km->edit();
        if (firstEver == kYes)
            km->setValue(QStringLiteral("C4"), km->whole(QStringLiteral("C4")) + 1);
        km->setValue(QStringLiteral("D1"), km->whole(QStringLiteral("D1")) + 1);
        if (wrong == kYes)
            km->setValue(QStringLiteral("D2"), km->whole(QStringLiteral("D2")) + 1);
        km->post();
    }
}

void TDM1::RecordAnswerInRules(const QString& ruleIds, const QString& chapterIds,
                               const QString& topIds, int firstEver, int wrong) {
    const QStringList rules = parseIdList(ruleIds);
    const QStringList chapters = parseIdList(chapterIds);
    const QStringList tops = parseIdList(topIds);
    const auto raiseAll = [&](const QString& column) {
        ADOQuery3->close();
        raiseIn(ADOCn1, QStringLiteral("tab_rule"), column, QStringLiteral("ftid"), rules);
        ADOQuery3->close();
        raiseIn(ADOCn1, QStringLiteral("tab_fgmc"), column, QStringLiteral("id"), chapters);
        ADOQuery3->close();
        raiseIn(ADOCn1, QStringLiteral("tab_fgmc"), column, QStringLiteral("id"), tops);
    };
    raiseAll(QStringLiteral("q2"));
    if (firstEver == kYes)
        raiseAll(QStringLiteral("q1"));
    if (wrong == kYes)
        raiseAll(QStringLiteral("q4"));
}

void TDM1::AddStudyTime(const QString& duration) {
    Dataset* rz = Cn1Table_rz;
    if (!rz->active())
        rz->open();
    if (rz->locate(QStringLiteral("A1"), todayText())) {
        rz->edit();
        try {
            rz->setValue(QStringLiteral("A4"), AccuracyText(rz->whole(QStringLiteral("A2")),
                                                            rz->whole(QStringLiteral("A3"))));
            const qint64 total =
                TimeStrToSecs(rz->text(QStringLiteral("D1"))) + TimeStrToSecs(duration);
            rz->setValue(QStringLiteral("D1"), SecsToLogTimeStr(total));
            rz->post();
        } catch (...) {
            rz->cancel(); // a half-changed row must not be posted by the next move
            throw;
        }
    }

    Dataset* km = Cn1Table_kmmc;
    if (!km->active())
        km->open();
    if (km->recNo() == 0)
        return;
    while (true) {
        km->edit();
        km->setValue(QStringLiteral("C6"), AccuracyText(km->whole(QStringLiteral("D1")),
                                                        km->whole(QStringLiteral("D2"))));
        km->post();
        if (km->recNo() >= km->recordCount())
            break;
        km->next();
    }
}

void TDM1::countAnswer(Dataset* question, const AnswerRecord& answer) {
    RecordAnswerInLog(answer.firstToday, answer.wrong, answer.prevWrong);
    RecordAnswerInChapters(question->text(QStringLiteral("A10")), answer.firstEver, answer.wrong);
    QStringList slots;
    for (int k = 3; k <= 12; ++k)
        slots << question->text(QStringLiteral("k%1").arg(k)).trimmed();
    const Stats::PointLists ids = Stats::PointIdLists(slots);
    if (!ids.isEmpty())
        RecordAnswerInRules(ids.ruleIds, ids.chapterIds, ids.topIds, answer.firstEver,
                            answer.wrong);
}

void TDM1::RecordAnswer(Dataset* question, const AnswerRecord& answer) {
    Transaction tx(ADOCn1);
    RowEditGuard row(*question);
    try {
        if (answer.counted) {
            question->setValue(QStringLiteral("E3"), answer.e3);
            question->setValue(QStringLiteral("E4"), answer.e4);
            countAnswer(question, answer);
        }
        question->setValue(QStringLiteral("E2_1"), answer.e2_1);
        question->setValue(QStringLiteral("E2"), answer.e2);
        question->setValue(QStringLiteral("E1"), answer.e1);
        row.post();
        tx.commit();
    } catch (...) {
        row.cancel();
        tx.rollback();
        rereadAfterRollback();
        throw;
    }
}

void TDM1::RecordPaperAnswer(Dataset* paper, const AnswerRecord& onPaper, Dataset* bank,
                             const AnswerRecord& onBank) {
    Transaction tx(ADOCn1);
    RowEditGuard paperRow(*paper);
    std::optional<RowEditGuard> bankRow;
    try {
        if (onPaper.counted) {
            countAnswer(paper, onPaper);
            if (bank) {
                bankRow.emplace(*bank);
                bank->setValue(QStringLiteral("E3"), onBank.e3);
                bank->setValue(QStringLiteral("E4"), onBank.e4);
                bank->setValue(QStringLiteral("E2_1"), onBank.e2_1);
                bank->setValue(QStringLiteral("E2"), onBank.e2);
                bank->setValue(QStringLiteral("E1"), onBank.e1);
                bankRow->post();
            }
        }
        paper->setValue(QStringLiteral("E2_1"), onPaper.e2_1);
        paper->setValue(QStringLiteral("E2"), onPaper.e2);
        paper->setValue(QStringLiteral("E1"), onPaper.e1);
        paperRow.post();
        tx.commit();
    } catch (...) {
        paperRow.cancel();
        if (bankRow)
            bankRow->cancel();
        tx.rollback();
        rereadAfterRollback();
        // The rows may show values the file no longer holds.
        for (Dataset* ds : {paper, bank}) {
            if (ds && ds->active()) {
                try {
                    ds->requery();
                } catch (...) {
                }
            }
        }
        throw;
    }
}

void TDM1::rereadAfterRollback() {
    // The shared datasets may show counters of the rolled-back answer; the file is the truth.
    for (Dataset* ds : {Cn1Table_rz, Cn1Table_kmmc}) {
        if (!ds->active())
            continue;
        try {
            if (ds->state() != Dataset::State::Browse)
                ds->cancel();
            ds->requery();
        } catch (...) {
            ds->close();
        }
    }
}
