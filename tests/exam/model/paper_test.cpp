// Papers over a real sample bank: numbering and names in the register, composition by exam kind
// and type table, drawing without repeats, all-or-nothing building, removal, grading and the
// full marks.

#include "exam_bank.h"

#include "exam/paper.h"

#include <QSet>

namespace {

// Always takes the last position still left: the most-answered question comes out first.
int lastPosition(int n) {
    return n - 1;
}

class PaperTest : public ExamBankTest {
  protected:
    void registerRow(const QString& a1, int number) {
        dm->ADOCn1.exec(QStringLiteral("insert into tab_cj (A1, A3, A3_1) values (:a, 't', :n)"),
                        {{"a", a1}, {"n", number}});
    }
    Paper::Built build(int kind, const Paper::Random& random = lastPosition) {
        return Paper::BuildPaper(*dm, kind, today(), random);
    }
    qint64 onPaper(const QString& table, const QString& where = "1") {
        return count(QStringLiteral("select count(*) from ") + table + " where " + where);
    }
};

TEST_F(PaperTest, NumbersAndNamesFollowTheNewestRegisterRow) {
    Paper::NextPaper next = Paper::PlanNext(*dm);
    EXPECT_EQ(next.number, 1);
    EXPECT_EQ(next.table, "tab_exam1");

    registerRow("tab_exam3", 4);
    registerRow(" tab_exam7 ", 9);
    next = Paper::PlanNext(*dm);
    EXPECT_EQ(next.number, 10);
    EXPECT_EQ(next.table, "tab_exam8");

    // A name already registered is never given again; the register keeps that paper.
    registerRow("tab_exam8", 2);
    EXPECT_EQ(Paper::PlanNext(*dm).table, "tab_exam9");
}

TEST_F(PaperTest, NewestRowWithoutANumberGivesTheNextFreeName) {
    registerRow("tab_exam4", 1);
    registerRow("tab_examX'; drop table tab_answ; --", 2);
    const Paper::NextPaper next = Paper::PlanNext(*dm);
    EXPECT_EQ(next.number, 3);
    EXPECT_EQ(next.table, "tab_exam5");
    EXPECT_TRUE(dm->ADOCn1.hasTable("tab_answ"));
}

TEST_F(PaperTest, OnlyProgramMadeNamesAreAccepted) {
    for (const char* good : {"tab_exam1", "TAB_EXAM12", " tab_exam3 "})
        EXPECT_TRUE(Paper::IsPaperTableName(good)) << good;
    for (const char* bad : {"tab_exam", "tab_exam0", "tab_exam1;", "tab_answ", "tab_exam1 x",
                            "tab_exam-1", "tab_exam1234567890"})
        EXPECT_FALSE(Paper::IsPaperTableName(bad)) << bad;
    EXPECT_THROW(Paper::CheckedName("tab_answ"), Paper::BadPaperName);
}

TEST_F(PaperTest, KindOneDrawsSixtySingleAndThirtyFiveMultipleChoiceQuestions) {
    addQuestions(70, "410101", 11);
    addQuestions(40, "410102", 14, "AB");
    addQuestions(5, "410102", 11, "A", 1);                               // voided: never drawn
    addQuestions(3, "120304", 14, "A", 0);                               // another subject
    dm->ADOCn1.exec("update tab_answ set f1=2 where A1='410101110001'"); // the learner's own

    const Paper::Built b = build(1);
    EXPECT_EQ(b.table, "tab_exam1");
    EXPECT_EQ(b.number, 1);
    EXPECT_EQ(b.title, "2026年03月16日咨询师·项目决策分析与评价[1]");
    EXPECT_EQ(b.questions, 95);
    EXPECT_EQ(onPaper(b.table, "A13=11"), 60);
    EXPECT_EQ(onPaper(b.table, "A13=14"), 35);
    EXPECT_EQ(onPaper(b.table, "F1=1"), 0);
    EXPECT_EQ(onPaper(b.table, "substr(A10,1,1)<>'4'"), 0);
    EXPECT_EQ(count("select count(distinct A1) from tab_exam1"), 95);
    // Copies carry the explanation of the content row.
    EXPECT_EQ(onPaper(b.table, "A1='410101110001' and jx is not null"), 1);
    // Taking the last position each time draws the most answered first.
    const QString most = value("select A1 from tab_answ where A13=11 and A10 like '4%' and f1<>1 "
                               "order by E3 desc, rowid desc limit 1")
                             .toString();
    EXPECT_EQ(onPaper(b.table, "A1='" + most + "'"), 1);

    EXPECT_EQ(count("select count(*) from tab_cj where A1='tab_exam1' and A3_1=1 and "
                    "D1='2026-03-16' and A6 is null"),
              1);
    EXPECT_EQ(dm->Cn1Table_tx->tableName(), "tab_tx1");
}

TEST_F(PaperTest, KindTwoDrawsFiveCaseQuestionsAndSkipsTypesWithoutCount) {
    addQuestions(8, "510101", 22, "1");
    addQuestions(8, "510101", 11);
    const Paper::Built b = build(2);
    EXPECT_EQ(b.questions, 5);
    EXPECT_EQ(onPaper(b.table, "A13=22"), 5);

    // A type whose count in the type table is 0 is not composed, whatever the kind draws.
    addQuestions(40, "410101", 14, "AB");
    dm->ADOCn1.exec("update tab_tx1 set B2=0 where A1=14");
    dm->Cn1Table_tx->close();
    const Paper::Built one = build(1);
    EXPECT_EQ(onPaper(one.table, "A13=14"), 0);
    EXPECT_GT(onPaper(one.table, "A13=11"), 0);
}

TEST_F(PaperTest, DrawsWithoutRepeatsAndTakesAllWhenTheGroupIsSmall) {
    addQuestions(10, "410101", 11);
    // The fixture holds four more single-choice questions under 4: fourteen in all.
    const QStringList all = Paper::DrawQuestions(*dm, 11, 60, "4", Paper::TimeOfDayRandom());
    EXPECT_EQ(all.size(), 14);
    EXPECT_EQ(QSet<QString>(all.begin(), all.end()).size(), 14);

    // Every eligible question can be drawn, the most answered one included.
    QSet<QString> seen;
    int calls = 0;
    const Paper::Random cycling = [&calls](int n) { return (calls++ * 7) % n; };
    for (int i = 0; i < 40; ++i) {
        for (const QString& id : Paper::DrawQuestions(*dm, 11, 3, "4101", cycling))
            seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 14);
    EXPECT_TRUE(Paper::DrawQuestions(*dm, 11, 5, "9", lastPosition).isEmpty());
    EXPECT_TRUE(Paper::DrawQuestions(*dm, 11, 0, "4", lastPosition).isEmpty());
    // The last drawn comes first.
    const QStringList two = Paper::DrawQuestions(*dm, 11, 2, "4101", lastPosition);
    ASSERT_EQ(two.size(), 2);
    EXPECT_EQ(two[1], value("select A1 from tab_answ where A13=11 and A10 like '4101%' "
                            "order by E3 desc, rowid desc limit 1")
                          .toString());
}

TEST_F(PaperTest, AFailedBuildLeavesNothingBehind) {
    // Kinds 3 to 5 have no questions in the sample bank.
    for (int kind : {3, 4, 5})
        EXPECT_THROW(build(kind), Paper::NoQuestions);
    EXPECT_EQ(count("select count(*) from tab_cj"), 0);
    EXPECT_FALSE(dm->ADOCn1.hasTable("tab_exam1"));

    // A draw that fails half way through.
    int calls = 0;
    const Paper::Random failing = [&calls](int n) {
        if (++calls > 2)
            throw std::runtime_error("no more numbers");
        return n - 1;
    };
    EXPECT_THROW(build(1, failing), Paper::DrawError);
    EXPECT_EQ(count("select count(*) from tab_cj"), 0);
    EXPECT_FALSE(dm->ADOCn1.hasTable("tab_exam1"));

    // A leftover table of the name (an earlier crash) is replaced.
    dm->ADOCn1.exec("create table tab_exam1 (x)");
    const Paper::Built b = build(1);
    EXPECT_EQ(b.table, "tab_exam1");
    EXPECT_GT(onPaper(b.table), 0);
}

TEST_F(PaperTest, DropPaperRemovesTableAndRegisterRowsOnly) {
    const Paper::Built b = build(1);
    registerRow("TAB_EXAM1", 7);
    Paper::DropPaper(*dm, b.table);
    EXPECT_FALSE(dm->ADOCn1.hasTable(b.table));
    EXPECT_EQ(count("select count(*) from tab_cj"), 0);

    Paper::DropPaper(*dm, "tab_answ");  // not a paper: untouched, quietly
    Paper::DropPaper(*dm, "tab_exam5"); // missing: quietly nothing
    EXPECT_TRUE(dm->ADOCn1.hasTable("tab_answ"));
}

TEST_F(PaperTest, ScoreSumsThePointsOfRightAnswersOnly) {
    addQuestions(3, "410101", 14, "ACD");
    const Paper::Built b = build(1);
    const QString t = b.table;
    const auto answer = [&](const QString& where, const QString& a) {
        dm->ADOCn1.exec("update " + t + " set E2_1=:a where " + where, {{"a", a}});
    };
    answer("1", "");
    EXPECT_EQ(Paper::Score(*dm, t, 1), 0.0);
    EXPECT_EQ(Paper::Unanswered(*dm, t), int(b.questions));

    answer("A1='410101110001'", "B");     // right, 1 point
    answer("A1='410101110002'", "A");     // wrong
    answer("A1='41010114900000'", "acd"); // right without regard to case, 2 points
    answer("A1='41010114900001'", "AC");  // part of the key scores nothing
    EXPECT_EQ(Paper::Score(*dm, t, 1), 3.0);
    EXPECT_EQ(Paper::Unanswered(*dm, t), int(b.questions) - 4);

    // An unanswered question never scores, even with an empty key.
    dm->ADOCn1.exec("update " + t + " set A2='' where A1='41010114900002'");
    EXPECT_EQ(Paper::Score(*dm, t, 1), 3.0);
    // Points come from the type table of the kind.
    dm->ADOCn1.exec("update tab_tx1 set B3=1.5 where A1=14");
    EXPECT_EQ(Paper::Score(*dm, t, 1), 2.5);
    EXPECT_EQ(Paper::ScoreText(2.5), "2.5");
    EXPECT_EQ(Paper::ScoreText(65), "65");
}

TEST_F(PaperTest, FullMarksSumCountTimesPointsOfTheTypeTableInUse) {
    Paper::UseTypeTable(*dm, 1);
    EXPECT_EQ(Paper::FullMarks(*dm), 2 * 1 + 1 * 2);
    dm->ADOCn1.exec("update tab_tx1 set B2=60, B3=1 where A1=11");
    dm->ADOCn1.exec("update tab_tx1 set B2=35, B3=2 where A1=14");
    dm->Cn1Table_tx->close();
    EXPECT_EQ(Paper::FullMarks(*dm), 130);
    dm->ADOCn1.exec("delete from tab_tx2");
    Paper::UseTypeTable(*dm, 2);
    EXPECT_EQ(Paper::FullMarks(*dm), 0);
    EXPECT_EQ(Paper::LeastMark(*dm), 65);
    EXPECT_EQ(Paper::ExamTime(*dm), 9000);
}

} // namespace
