#include "exam/exam_session.h"

#include "exam/paper.h"
#include "store/app_state.h"
#include "store/data_module.h"

using namespace Question;

ExamSession::ExamSession(TDM1& dm) : dm_(dm) {}

PracticeConfig ExamSession::Config() {
    PracticeConfig c = PracticeConfig::KnowledgePoint();
    c.voidCaption = QStringLiteral("本题作废");
    c.unvoidCaption = QStringLiteral("取消作废");
    return c;
}

int ExamSession::kind() const {
    return App::PaperKind <= 0 ? 1 : App::PaperKind;
}

Dataset* ExamSession::rows() const {
    return dm_.Cn1Query_exam;
}

int ExamSession::rowCount() const {
    return rows()->active() ? rows()->recordCount() : 0;
}

bool ExamSession::moveTo(int row) const {
    return rows()->active() && rows()->setRecNo(row);
}

bool ExamSession::open() {
    const QString p = Paper::CheckedName(table);
    if (isNew())
        dm_.ADOCn1.exec(QStringLiteral("update ") + p + QStringLiteral(" set E2_1=''"));
    Dataset* paper = rows();
    paper->close();
    paper->setFiltered(false);
    paper->clearFilter();
    paper->clearParams();
    paper->setSql(QStringLiteral("select * from ") + p + QStringLiteral(" order by A13,A1"));
    paper->open();
    if (isNew()) {
        // The bank rows of the paper's questions, where each answer is also kept.
        Dataset* bank = dm_.Cn1Query_tm;
        bank->close();
        bank->setFiltered(false);
        bank->clearFilter();
        bank->clearParams();
        bank->setSql(QStringLiteral("select * from tab_answ where A1 in (select A1 from ") + p +
                     QStringLiteral(")"));
        bank->open();
    }
    return !paper->isEmpty();
}

Face ExamSession::save(int row, const QString& answer, const QDate& today) {
    Dataset* paper = rows();
    if (!isNew() || !moveTo(row))
        return Face::Unanswered;
    if (answer.isEmpty()) {
        if (!paper->text(QStringLiteral("E2_1")).isEmpty()) {
            RowEditGuard edit(*paper);
            paper->setValue(QStringLiteral("E2_1"), QString());
            edit.post();
        }
        return Face::Unanswered;
    }
    const Verdict onPaper = Judge(PracticeSession::RowValuesOf(*paper), answer, today);
    if (!onPaper.counted)
        return Face::Answered; // the same answer again counts nothing

    Dataset* bank = dm_.Cn1Query_tm;
    AnswerRecord onBank;
    const QString id = paper->text(QStringLiteral("A1"));
    const bool inBank =
        bank->active() && bank->locate(QStringLiteral("A1"), id, Qt::CaseInsensitive);
    if (inBank) {
        RowValues b = PracticeSession::RowValuesOf(*bank);
        b.e2_1.clear(); // every answer given in an exam counts on the bank row
        onBank = RecordOf(Judge(b, answer, today));
    }
    dm_.RecordPaperAnswer(paper, RecordOf(onPaper), inBank ? bank : nullptr, onBank);
    return Face::Answered;
}

Face ExamSession::faceOf(int row) const {
    if (!moveTo(row))
        return Face::Unanswered;
    const QString answer = rows()->text(QStringLiteral("E2_1"));
    if (isNew())
        return answer.isEmpty() ? Face::Unanswered : Face::Answered;
    // As grading compares: an answer equal to the key, letter case ignored.
    const bool right = !answer.isEmpty() &&
                       answer.compare(rows()->text(QStringLiteral("A2")), Qt::CaseInsensitive) == 0;
    return right ? Face::Right : Face::Wrong;
}

int ExamSession::unanswered() const {
    return Paper::Unanswered(dm_, table);
}

void ExamSession::grade(const QString& elapsed) {
    Transaction tx(dm_.ADOCn1);
    const double s = Paper::Score(dm_, table, kind());
    const bool below = Paper::LeastMark(dm_) > s;
    dm_.ADOCn1.exec(QStringLiteral("update tab_cj set A6=:A6, D2=:D2 where A1=:A1"),
                    {{QStringLiteral("A6"), s},
                     {QStringLiteral("D2"), elapsed},
                     {QStringLiteral("A1"), table}});
    dm_.AddStudyTime(elapsed);
    tx.commit();
    mode = QStringLiteral("old");
    timeUsed = elapsed;
    score = s;
    belowPassMark = below;
}

void ExamSession::drop() {
    rows()->close();
    Paper::DropPaper(dm_, table);
}

PracticeSession::Notices ExamSession::noticesOfCurrent() const {
    const PracticeConfig c = Config();
    PracticeSession::Notices n;
    n.voidCaption = c.voidCaption;
    if (rowCount() == 0 || rows()->recNo() == 0)
        return n;
    const qint64 f1 = rows()->whole(QStringLiteral("f1"));
    if (f1 == 1) {
        n.notice = c.voidedNotice;
        n.voidCaption = c.unvoidCaption;
    } else if (f1 == 2) {
        n.notice = c.addedNotice;
    }
    return n;
}

PracticeSession::Notices ExamSession::toggleVoid(const QString& caption) {
    const PracticeConfig c = Config();
    PracticeSession::Notices n;
    Dataset* paper = rows();
    if (rowCount() == 0 || paper->recNo() == 0)
        return n;
    const Params id{{QStringLiteral("A1"), paper->text(QStringLiteral("A1"))}};
    Transaction tx(dm_.ADOCn1);
    RowEditGuard edit(*paper);
    if (caption == c.voidCaption) {
        paper->setValue(QStringLiteral("f1"), 1);
        paper->setValue(QStringLiteral("e2"), QStringLiteral("zero"));
        dm_.ADOCn1.exec(QStringLiteral("update tab_answ set f1=1, e2='zero' where a1=:A1"), id);
        n.notice = c.voidedNotice;
        n.voidCaption = c.unvoidCaption;
    } else {
        paper->setValue(QStringLiteral("f1"), 0);
        paper->setValue(QStringLiteral("e2"), QString());
        dm_.ADOCn1.exec(QStringLiteral("update tab_answ set f1=0 where a1=:A1"), id);
        n.notice = c.unvoidedNotice;
        n.voidCaption = c.voidCaption;
    }
    edit.post();
    tx.commit();
    return n;
}
