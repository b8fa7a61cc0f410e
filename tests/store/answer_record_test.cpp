#include "bank_fixture.h"

#include "store/answer_record.h"
#include "store/data_module.h"

#include "platform/clock.h"

#include <gtest/gtest.h>

namespace {

constexpr int Y = 2, N = 1;

class RecordAnswerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Clock::setFixed(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
        dm = std::make_unique<TDM1>(folder->path());
        ASSERT_TRUE(dm->ConnectOk);
        list = dm->Cn1Query_tm;
        list->setSql("select * from tab_answ order by A1");
        list->open();
        ASSERT_TRUE(list->locate("A1", "410101110001"));
    }
    void TearDown() override { Clock::clearFixed(); }

    AnswerRecord wrongFirstAnswer() const {
        AnswerRecord a;
        a.counted = true;
        a.firstToday = a.firstEver = a.wrong = a.prevWrong = Y;
        a.e2_1 = a.e2 = "A";
        a.e1 = QDate(2026, 12, 9);
        a.e3 = 1;
        a.e4 = -3;
        return a;
    }
    QVariant sql(const QString& statement) { return dm->ADOCn1.scalar(statement); }

    std::unique_ptr<Fixtures::ProgramFolder> folder = Fixtures::makeProgramFolder();
    std::unique_ptr<TDM1> dm;
    Dataset* list = nullptr;
};

} // namespace

TEST_F(RecordAnswerTest, WritesTheRowAndEveryCounterOfACountedAnswer) {
    dm->RecordAnswer(list, wrongFirstAnswer());
    EXPECT_EQ(list->text("E2_1"), "A");
    EXPECT_EQ(list->whole("E4"), -3);
    EXPECT_EQ(sql("select E2||'/'||E3||'/'||E4||'/'||E1 from tab_answ where A1='410101110001'")
                  .toString(),
              "A/1/-3/2026-12-09");
    EXPECT_EQ(sql("select A2||'/'||A3||'/'||B1||'/'||B2 from tab_rz").toString(), "1/1/1/1");
    EXPECT_EQ(sql("select D2 from tab_kmmc where C1='4101'").toInt(), 1);
    EXPECT_EQ(sql("select q4 from tab_rule where ftid='4101020001'").toInt(), 1);
    EXPECT_EQ(sql("select q2 from tab_fgmc where id='41'").toInt(), 1);
}

TEST_F(RecordAnswerTest, AnUncountedAnswerOnlyWritesTheRow) {
    AnswerRecord a;
    a.e2_1 = "";
    dm->RecordAnswer(list, a);
    EXPECT_EQ(sql("select count(*) from tab_rz").toInt(), 0);
    EXPECT_EQ(sql("select sum(D1) from tab_kmmc").toInt(), 0);
    EXPECT_EQ(sql("select E2_1 from tab_answ where A1='410101110001'").toString(), "");
}

TEST_F(RecordAnswerTest, AFailureWritesNothingAndTheSharedDatasetsShowTheFile) {
    dm->RecordAnswer(list, wrongFirstAnswer()); // today's row exists now
    dm->Cn1Table_rz->open();
    dm->Cn1Table_kmmc->open();
    // The knowledge-point step, the last one, fails.
    dm->ADOCn1.exec("create trigger no_points before update on tab_rule "
                    "begin select raise(abort, 'refused'); end");
    ASSERT_TRUE(list->locate("A1", "410101140001")); // linked to a point
    EXPECT_ANY_THROW(dm->RecordAnswer(list, wrongFirstAnswer()));
    EXPECT_FALSE(dm->ADOCn1.inTransaction());
    EXPECT_EQ(list->state(), Dataset::State::Browse);
    EXPECT_EQ(list->text("E2_1"), "");
    EXPECT_TRUE(sql("select E3 from tab_answ where A1='410101140001'").isNull() ||
                sql("select E3 from tab_answ where A1='410101140001'").toInt() == 0);
    EXPECT_EQ(sql("select A2 from tab_rz").toInt(), 1);
    EXPECT_EQ(sql("select D1 from tab_kmmc where C1='4'").toInt(), 1);
    // What the windows see agrees with the file.
    ASSERT_TRUE(dm->Cn1Table_rz->locate("A1", "2026-12-09"));
    EXPECT_EQ(dm->Cn1Table_rz->whole("A2"), 1);
    ASSERT_TRUE(dm->Cn1Table_kmmc->locate("C1", "4"));
    EXPECT_EQ(dm->Cn1Table_kmmc->whole("D1"), 1);
}

TEST_F(RecordAnswerTest, InsideAnOpenTransactionItIsASavepoint) {
    Transaction outer(dm->ADOCn1);
    dm->ADOCn1.exec("update tab_plan set PlanAmount=99");
    dm->RecordAnswer(list, wrongFirstAnswer());
    {
        Transaction inner(dm->ADOCn1);
        EXPECT_TRUE(inner.nested());
        dm->ADOCn1.exec("update tab_plan set PlanAmount=1");
        inner.rollback(); // undoes only its own step
    }
    EXPECT_EQ(sql("select PlanAmount from tab_plan").toInt(), 99);
    outer.rollback();
    EXPECT_EQ(sql("select PlanAmount from tab_plan").toInt(), 20);
    EXPECT_EQ(sql("select count(*) from tab_rz").toInt(), 0);
}
