// The exam session over a real paper: answers kept on the paper and the bank row and counted once
// per new or changed answer, all in one transaction; faces; grading with the pass mark and the
// register; voiding on both rows.

#include "exam_bank.h"

#include "exam/exam_session.h"
#include "exam/paper.h"

namespace {

class ExamSessionTest : public ExamBankTest {
  protected:
    void SetUp() override {
        ExamBankTest::SetUp();
        built = Paper::BuildPaper(*dm, 1, today(), [](int n) { return n - 1; });
        session = std::make_unique<ExamSession>(*dm);
        session->table = built.table;
        session->title = built.title;
        ASSERT_TRUE(session->open());
    }

    // The paper row of a question.
    int rowOf(const QString& id) {
        for (int r = 1; r <= session->rowCount(); ++r) {
            session->moveTo(r);
            if (session->rows()->text("A1") == id)
                return r;
        }
        return 0;
    }
    qint64 answersToday() {
        return count("select ifnull(sum(A2),0) from tab_rz where A1='2026-03-16'");
    }
    QVariant bank(const QString& id, const char* column) {
        return value(QStringLiteral("select %1 from tab_answ where A1=:a").arg(column),
                     {{"a", id}});
    }
    QVariant paper(const QString& id, const char* column) {
        return value(QStringLiteral("select %1 from %2 where A1=:a").arg(column, built.table),
                     {{"a", id}});
    }

    Paper::Built built;
    std::unique_ptr<ExamSession> session;
};

TEST_F(ExamSessionTest, OpeningClearsEveryAnswerAndOrdersByTypeAndId) {
    EXPECT_EQ(built.questions, 5); // the sample bank's single and multiple choice under 4
    EXPECT_EQ(count("select count(*) from " + built.table + " where E2_1<>''"), 0);
    QStringList order;
    for (int r = 1; r <= session->rowCount(); ++r) {
        session->moveTo(r);
        order << session->rows()->text("A13") + "/" + session->rows()->text("A1");
    }
    QStringList sorted = order;
    sorted.sort();
    EXPECT_EQ(order, sorted);
    EXPECT_EQ(session->faceOf(1), Question::Face::Unanswered);
}

TEST_F(ExamSessionTest, EachNewOrChangedAnswerIsCountedOnce) {
    const QString id = "410101110001"; // key B, points 4101010001 and 4101020001
    const int row = rowOf(id);
    ASSERT_GT(row, 0);
    const qint64 e3 = bank(id, "E3").toLongLong();
    const qint64 q2 = count("select q2 from tab_rule where ftid='4101010001'");

    EXPECT_EQ(session->save(row, "A", today()), Question::Face::Answered);
    EXPECT_EQ(answersToday(), 1);
    EXPECT_EQ(session->save(row, "A", today()), Question::Face::Answered); // same: nothing
    EXPECT_EQ(answersToday(), 1);
    session->save(row, "B", today()); // changed
    session->save(row, "A", today()); // and back
    EXPECT_EQ(answersToday(), 3);
    EXPECT_EQ(count("select q2 from tab_rule where ftid='4101010001'"), q2 + 3);
    EXPECT_EQ(bank(id, "E3").toLongLong(), e3 + 3);
    EXPECT_EQ(bank(id, "E2").toString(), "A");
    EXPECT_EQ(paper(id, "E2_1").toString(), "A");
    EXPECT_EQ(paper(id, "E1").toString(), "2026-03-16");

    // Taking the answer back empties it on the paper and counts nothing.
    EXPECT_EQ(session->save(row, "", today()), Question::Face::Unanswered);
    EXPECT_EQ(paper(id, "E2_1").toString(), "");
    EXPECT_EQ(answersToday(), 3);
    EXPECT_EQ(session->unanswered(), built.questions);
}

TEST_F(ExamSessionTest, AFailingCountWritesNothing) {
    const QString id = "410101110001";
    const int row = rowOf(id);
    dm->ADOCn1.exec("create trigger no_rules before update on tab_rule "
                    "begin select raise(abort, 'disk full'); end");
    EXPECT_ANY_THROW(session->save(row, "B", today()));
    EXPECT_EQ(answersToday(), 0);
    EXPECT_EQ(paper(id, "E2_1").toString(), "");
    EXPECT_EQ(bank(id, "E2_1").toString(), "");
    session->moveTo(row);
    EXPECT_EQ(session->rows()->text("E2_1"), "");

    dm->ADOCn1.exec("drop trigger no_rules");
    session->save(row, "B", today());
    EXPECT_EQ(answersToday(), 1);
}

TEST_F(ExamSessionTest, GradingStoresScoreAndTimeAndTurnsToReview) {
    session->save(rowOf("410101110001"), "B", today());   // right, 1 point
    session->save(rowOf("410101110002"), "A", today());   // wrong
    session->save(rowOf("410101140001"), "acd", today()); // right, 2 points
    session->grade("0:45:07");
    EXPECT_EQ(session->mode, "old");
    EXPECT_EQ(session->score, 3.0);
    EXPECT_TRUE(session->belowPassMark); // the pass mark is 65
    EXPECT_EQ(value("select A6 from tab_cj where A1=:a", {{"a", built.table}}).toDouble(), 3.0);
    EXPECT_EQ(value("select D2 from tab_cj where A1=:a", {{"a", built.table}}).toString(),
              "0:45:07");
    EXPECT_EQ(value("select D1 from tab_rz where A1='2026-03-16'").toString(), "00:45:07");

    ASSERT_TRUE(session->open());
    EXPECT_EQ(session->faceOf(rowOf("410101110001")), Question::Face::Right);
    EXPECT_EQ(session->faceOf(rowOf("410101140001")), Question::Face::Right);
    EXPECT_EQ(session->faceOf(rowOf("410101110002")), Question::Face::Wrong);
    EXPECT_EQ(session->faceOf(rowOf("4101021CASE00001-1")), Question::Face::Wrong);
    // Review mode keeps the answers.
    EXPECT_EQ(session->save(rowOf("410101110002"), "C", today()), Question::Face::Unanswered);
    EXPECT_EQ(paper("410101110002", "E2_1").toString(), "A");

    dm->ADOCn1.exec("update tab_plan set LeastMark=3");
    session->grade("0:45:07");
    EXPECT_FALSE(session->belowPassMark);
}

TEST_F(ExamSessionTest, VoidingMarksPaperAndBankRowsAndCancellingKeepsTheBankAnswer) {
    const QString id = "410101110002";
    session->moveTo(rowOf(id));
    PracticeSession::Notices n = session->toggleVoid("本题作废");
    EXPECT_EQ(n.notice, "本题已被您作废！");
    EXPECT_EQ(n.voidCaption, "取消作废");
    EXPECT_EQ(bank(id, "f1").toInt(), 1);
    EXPECT_EQ(bank(id, "E2").toString(), "zero");
    EXPECT_EQ(paper(id, "F1").toInt(), 1);
    EXPECT_EQ(session->noticesOfCurrent().notice, "本题已被您作废！");

    n = session->toggleVoid("取消作废");
    EXPECT_EQ(n.notice, "本题曾被作废，现已被您取消！");
    EXPECT_EQ(n.voidCaption, "本题作废");
    EXPECT_EQ(bank(id, "f1").toInt(), 0);
    EXPECT_EQ(bank(id, "E2").toString(), "zero");
    EXPECT_EQ(paper(id, "E2").toString(), "");
}

} // namespace
