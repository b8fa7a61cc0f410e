#include "store/app_state.h"
#include "store/data_module.h"
#include <bank_fixture.h>

#include "platform/clock.h"

#include <gtest/gtest.h>

namespace {

constexpr int Y = 2, N = 1;

class StatisticsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Clock::setFixed(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
        dm = std::make_unique<TDM1>(folder->path());
        ASSERT_TRUE(dm->ConnectOk);
    }
    void TearDown() override { Clock::clearFixed(); }

    QVariant rz(const char* column) {
        return dm->ADOCn1.scalar(QStringLiteral("select %1 from tab_rz where A1='2026-12-09'")
                                     .arg(QString::fromLatin1(column)));
    }
    QVariant kmmc(const char* code, const char* column) {
        return dm->ADOCn1.scalar(
            QStringLiteral("select %1 from tab_kmmc where C1=:c").arg(QString::fromLatin1(column)),
            {{"c", QString::fromLatin1(code)}});
    }
    qint64 counter(const char* table, const char* key, const char* id, const char* column) {
        return dm->ADOCn1
            .scalar(QStringLiteral("select %1 from %2 where %3=:i")
                        .arg(QString::fromLatin1(column), QString::fromLatin1(table),
                             QString::fromLatin1(key)),
                    {{"i", QString::fromLatin1(id)}})
            .toLongLong();
    }

    std::unique_ptr<Fixtures::ProgramFolder> folder = Fixtures::makeProgramFolder();
    std::unique_ptr<TDM1> dm;
};

} // namespace

TEST_F(StatisticsTest, FirstAnswerOfTheDayWrongStartsTheLog) {
    dm->RecordAnswerInLog(Y, Y, Y);
    EXPECT_EQ(rz("A2").toInt(), 1);
    EXPECT_EQ(rz("A3").toInt(), 1);
    EXPECT_EQ(rz("B1").toInt(), 1);
    EXPECT_EQ(rz("B2").toInt(), 1);
    EXPECT_TRUE(rz("D1").isNull());
    EXPECT_FALSE(dm->Cn1Table_rz->active()); // closed after an append
}

TEST_F(StatisticsTest, FirstAnswerOfTheDayRightLeavesWrongCountersEmpty) {
    dm->RecordAnswerInLog(Y, N, Y);
    EXPECT_EQ(rz("A2").toInt(), 1);
    EXPECT_EQ(rz("B1").toInt(), 1);
    EXPECT_TRUE(rz("A3").isNull());
    EXPECT_TRUE(rz("B2").isNull());
}

TEST_F(StatisticsTest, SameQuestionWrongThenRightCountsOneDistinctQuestion) {
    dm->RecordAnswerInLog(Y, Y, Y);
    dm->RecordAnswerInLog(N, N, Y);
    EXPECT_EQ(rz("A2").toInt(), 2);
    EXPECT_EQ(rz("A3").toInt(), 1);
    EXPECT_EQ(rz("B1").toInt(), 1);
    EXPECT_EQ(rz("B2").toInt(), 0);
    // right then wrong again on the same day: the question is wrong again today
    dm->RecordAnswerInLog(N, Y, N);
    EXPECT_EQ(rz("B2").toInt(), 1);
    EXPECT_EQ(rz("A2").toInt(), 3);
}

TEST_F(StatisticsTest, ChapterAndAncestorsAreCountedMissingPrefixesSkipped) {
    dm->RecordAnswerInChapters("120304", Y, Y);
    for (const char* code : {"120304", "1203", "12", "1"}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(kmmc(code, "C4").toInt(), 1);
        EXPECT_EQ(kmmc(code, "D1").toInt(), 1);
        EXPECT_EQ(kmmc(code, "D2").toInt(), 1);
    }
    EXPECT_EQ(kmmc("4", "D1").toInt(), 0);
    // left on the subject row, whose heading the data-change handler publishes
    EXPECT_EQ(dm->Cn1Table_kmmc->text("C1"), "1");
    EXPECT_EQ(App::ChapterHeading, "H1");

    dm->RecordAnswerInChapters("120304", N, N);
    EXPECT_EQ(kmmc("1203", "C4").toInt(), 1);
    EXPECT_EQ(kmmc("1203", "D1").toInt(), 2);
    EXPECT_EQ(kmmc("1203", "D2").toInt(), 1);
    dm->RecordAnswerInChapters("999999", Y, Y); // no such chapter: nothing, no error
}

TEST_F(StatisticsTest, KnowledgePointsCountOncePerStatementAndFirstEverAndWrong) {
    dm->RecordAnswerInRules("('4101010001','4101020001')", "('410101','410102')", "('41','41')", Y,
                            Y);
    EXPECT_EQ(counter("tab_rule", "ftid", "4101010001", "q2"), 1);
    EXPECT_EQ(counter("tab_rule", "ftid", "4101020001", "q1"), 1);
    EXPECT_EQ(counter("tab_rule", "ftid", "4101020001", "q4"), 1);
    EXPECT_EQ(counter("tab_rule", "ftid", "4101020002", "q2"), 0);
    EXPECT_EQ(counter("tab_fgmc", "id", "410101", "q2"), 1);
    EXPECT_EQ(counter("tab_fgmc", "id", "41", "q2"), 1); // listed twice, raised once
    dm->RecordAnswerInRules("('4101010001')", "('410101')", "('41')", N, N);
    EXPECT_EQ(counter("tab_rule", "ftid", "4101010001", "q2"), 2);
    EXPECT_EQ(counter("tab_rule", "ftid", "4101010001", "q1"), 1);
    EXPECT_EQ(counter("tab_rule", "ftid", "4101010001", "q4"), 1);
    EXPECT_EQ(counter("tab_fgmc", "id", "41", "q2"), 2);
}

TEST_F(StatisticsTest, IdListsAreDataNeverSql) {
    dm->RecordAnswerInRules("('x'') or 1=1 --')", "('410101')", "('41')", Y, N);
    EXPECT_EQ(counter("tab_rule", "ftid", "4101010001", "q2"), 0);
    EXPECT_EQ(counter("tab_fgmc", "id", "410101", "q2"), 1);
}

TEST_F(StatisticsTest, StudyTimeIsAddedAndAccuracyRefreshed) {
    dm->RecordAnswerInLog(Y, Y, Y);
    dm->RecordAnswerInLog(Y, N, Y);
    dm->RecordAnswerInLog(Y, N, Y);
    dm->ADOCn1.exec("update tab_rz set D1='00:59:30'");
    dm->RecordAnswerInChapters("410101", Y, N);
    dm->AddStudyTime("0:00:45");
    EXPECT_EQ(rz("D1").toString(), "01:00:15");
    EXPECT_EQ(rz("A4").toString(), "66.67");
    EXPECT_EQ(kmmc("4", "C6").toString(), "100.00");
    dm->AddStudyTime("125:00:00");
    EXPECT_EQ(rz("D1").toString(), "126:00:15");
}

TEST_F(StatisticsTest, StudyTimeWithoutAnswersTodayOnlyRefreshesChapters) {
    dm->ADOCn1.exec("update tab_kmmc set D1=4, D2=4 where C1='4'");
    dm->ADOCn1.exec("update tab_kmmc set D1=3, D2=1 where C1='41'");
    dm->ADOCn1.exec("update tab_kmmc set D1=5, D2=0 where C1='120304'");
    dm->Cn1Table_kmmc->open();
    ASSERT_TRUE(dm->Cn1Table_kmmc->locate("C1", "4"));
    dm->AddStudyTime("0:10:00");
    EXPECT_EQ(dm->ADOCn1.scalar("select count(*) from tab_rz").toInt(), 0);
    EXPECT_EQ(kmmc("4", "C6").toString(), "0.00");
    EXPECT_EQ(kmmc("41", "C6").toString(), "66.67");
    EXPECT_EQ(kmmc("410102", "C6").toString(), "0");
    // rows before the current one are left alone
    EXPECT_EQ(kmmc("120304", "C6").toString(), "0");
}

TEST_F(StatisticsTest, ABadStoredTimeReachesTheCaller) {
    dm->RecordAnswerInLog(Y, N, Y);
    dm->ADOCn1.exec("update tab_rz set D1='xx:00:00'");
    EXPECT_ANY_THROW(dm->AddStudyTime("0:00:10"));
    EXPECT_EQ(rz("D1").toString(), "xx:00:00");
    EXPECT_EQ(dm->Cn1Table_rz->state(), Dataset::State::Browse);
    dm->RecordAnswerInLog(N, N, N);
    EXPECT_TRUE(rz("A4").isNull());
}
