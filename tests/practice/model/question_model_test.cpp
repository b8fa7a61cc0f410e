#include "practice/question_model.h"

#include <gtest/gtest.h>

using namespace Question;

namespace {

const QDate kToday(2026, 12, 9);

PadState options(std::initializer_list<int> pressed, int visible = 6) {
    PadState pad;
    pad.visibleOptions = visible;
    for (int i : pressed)
        pad.pressed[size_t(i)] = true;
    return pad;
}

// Judges a sequence of answers on one question, carrying the row from answer to answer as the
// practice does: each answer is a new practice (E2_1 emptied at set-up) unless sameRun.
RowValues answerInNewPractice(RowValues row, const QString& answer, const QDate& day) {
    row.e2_1.clear();
    const Verdict v = Judge(row, answer, day);
    row.e2_1 = v.e2_1;
    row.e2 = v.e2;
    row.e1 = v.e1;
    row.e3 = v.e3;
    row.e4 = v.e4;
    return row;
}

} // namespace

TEST(TypePage, MapsTheTypeCodesToTheirPages) {
    EXPECT_EQ(TypePage(11), PageSingle);
    EXPECT_EQ(TypePage(14), PageMultiple);
    for (int code : {22, 72, 73, 74}) {
        EXPECT_EQ(TypePage(code), PageSubjective) << code;
        EXPECT_TRUE(IsSubjective(code));
    }
    for (int code : {0, 12, 15, 61, 70, 99})
        EXPECT_EQ(TypePage(code), NoPage) << code;
    EXPECT_FALSE(IsSubjective(11));
    EXPECT_FALSE(IsSubjective(14));
}

TEST(AnswerText, ChoicePagesReadOnlyVisiblePressedOptionsInLetterOrder) {
    EXPECT_EQ(AnswerText(PageSingle, options({1, 3})), "B"); // the first pressed one
    EXPECT_EQ(AnswerText(PageMultiple, options({3, 1})), "BD");
    EXPECT_EQ(AnswerText(PageMultiple, options({0, 2, 3})), "ACD");
    EXPECT_EQ(AnswerText(PageMatching, options({5, 0})), "AF");
    // A hidden option that is pressed is never read.
    EXPECT_EQ(AnswerText(PageSingle, options({4}, 4)), "");
    EXPECT_EQ(AnswerText(PageMultiple, options({1, 4}, 4)), "B");
    EXPECT_EQ(AnswerText(PageMultiple, options({})), "");
}

TEST(AnswerText, FillTrueFalseAndSubjectivePages) {
    PadState pad;
    pad.fillText = QStringLiteral("  12,34 \t");
    EXPECT_EQ(AnswerText(PageFill, pad), "12,34");
    pad.fillText = QString(150, QLatin1Char('x'));
    EXPECT_EQ(AnswerText(PageFill, pad).size(), kMaxAnswerLength);
    pad.trueFalse = 1;
    EXPECT_EQ(AnswerText(PageTrueFalse, pad), "A");
    pad.trueFalse = 2;
    EXPECT_EQ(AnswerText(PageTrueFalse, pad), "B");
    pad.trueFalse = 0;
    EXPECT_EQ(AnswerText(PageTrueFalse, pad), "");
    pad.subjectiveIndex = 1;
    EXPECT_EQ(AnswerText(PageSubjective, pad), "1");
    pad.subjectiveIndex = 0;
    EXPECT_EQ(AnswerText(PageSubjective, pad), "0");
    pad.subjectiveIndex = -1;
    EXPECT_EQ(AnswerText(PageSubjective, pad), "");
    EXPECT_EQ(AnswerText(NoPage, options({0})), "");
}

TEST(AnswerText, PanelTextsForTrueFalseAndUncomparedPages) {
    PadState pad;
    pad.trueFalse = 2;
    EXPECT_EQ(PanelAnswerText(PageTrueFalse, pad), QStringLiteral("错"));
    EXPECT_EQ(PanelKeyText(PageTrueFalse, "A"), QStringLiteral("对"));
    EXPECT_EQ(PanelKeyText(PageTrueFalse, "C"), "C");
    EXPECT_EQ(PanelKeyText(PageSingle, "A"), "A");
    pad.fillText = "x";
    pad.subjectiveIndex = 1;
    EXPECT_EQ(PanelAnswerText(PageFill, pad), "");
    EXPECT_EQ(PanelAnswerText(PageSubjective, pad), "");
    EXPECT_EQ(PanelAnswerText(PageMultiple, options({0, 2})), "AC");
}

TEST(RestoredPad, RestoresEachPageAndRoundTrips) {
    PadState p = RestoredPad(PageSingle, "C", 4);
    EXPECT_EQ(p.visibleOptions, 4);
    EXPECT_TRUE(p.pressed[2]);
    EXPECT_EQ(std::count(p.pressed.begin(), p.pressed.end(), true), 1);
    // A letter beyond the visible options is not restored.
    p = RestoredPad(PageSingle, "E", 4);
    EXPECT_EQ(std::count(p.pressed.begin(), p.pressed.end(), true), 0);
    p = RestoredPad(PageMultiple, "ACD", 5);
    EXPECT_EQ(AnswerText(PageMultiple, p), "ACD");
    p = RestoredPad(PageMatching, "BF", 6);
    EXPECT_EQ(AnswerText(PageMatching, p), "BF");
    EXPECT_EQ(AnswerText(PageFill, RestoredPad(PageFill, "abc", 0)), "abc");
    EXPECT_EQ(RestoredPad(PageTrueFalse, "B", 0).trueFalse, 2);
    EXPECT_EQ(RestoredPad(PageTrueFalse, "x", 0).trueFalse, 0);
    EXPECT_EQ(RestoredPad(PageSubjective, "1", 0).subjectiveIndex, 1);
    EXPECT_EQ(RestoredPad(PageSubjective, "", 0).subjectiveIndex, -1);
    EXPECT_EQ(RestoredPad(PageSubjective, "2", 0).subjectiveIndex, -1);
    EXPECT_EQ(VisibleOptions(9), 6);
    EXPECT_EQ(VisibleOptions(-1), 0);
}

TEST(PointIdLists, QuotesIdsAndStopsAtTheFirstEmptySlot) {
    const PointLists l =
        PointIdLists({"4101010001", "4101020001", "", "4101020002", "", "", "", "", "", ""});
    EXPECT_EQ(l.ruleIds, "('4101010001','4101020001')");
    EXPECT_EQ(l.chapterIds, "('410101','410102')");
    EXPECT_EQ(l.topIds, "('41','41')"); // repeats are left in
    EXPECT_TRUE(PointIdLists({"", "4101010001"}).isEmpty());
    EXPECT_TRUE(PointIdLists({}).isEmpty());
    // An id with a quote cannot break out of its literal.
    EXPECT_EQ(PointIdLists({"ab'c"}).ruleIds, "('ab''c')");
    EXPECT_EQ(Quoted("O'Neil"), "'O''Neil'");
}

TEST(Judge, FirstWrongAnswerThenThreeRightAnswersRestoreTheStanding) {
    RowValues row{"B", "", "", QDate(), 0, 0};
    row = answerInNewPractice(row, "A", kToday);
    EXPECT_EQ(row.e4, -3);
    EXPECT_EQ(row.e3, 1);
    const int expected[] = {-2, -1, 0, 0};
    for (int want : expected) {
        row = answerInNewPractice(row, "B", kToday.addDays(1));
        EXPECT_EQ(row.e4, want);
    }
    EXPECT_EQ(row.e3, 5);
}

TEST(Judge, FirstRightAnswerThenWrongThenRight) {
    RowValues row{"B", "", "", QDate(), 0, 0};
    row = answerInNewPractice(row, "B", kToday);
    EXPECT_EQ(row.e4, 0);
    row = answerInNewPractice(row, "C", kToday);
    EXPECT_EQ(row.e4, -1);
    row = answerInNewPractice(row, "B", kToday);
    EXPECT_EQ(row.e4, 0);
}

TEST(Judge, FlagsOfAFirstAnswer) {
    const Verdict v = Judge({"B", "", "", QDate(), 0, 0}, "A", kToday);
    EXPECT_TRUE(v.answered);
    EXPECT_TRUE(v.counted);
    EXPECT_FALSE(v.right);
    EXPECT_EQ(v.firstToday, kYes);
    EXPECT_EQ(v.firstEver, kYes);
    EXPECT_EQ(v.wrong, kYes);
    EXPECT_EQ(v.prevWrong, kYes); // an empty E2 differs from the key
    EXPECT_EQ(v.e1, kToday);
    EXPECT_EQ(v.e2, "A");
    EXPECT_EQ(v.e2_1, "A");
}

TEST(Judge, FlagsOfARepeatedAnswerToday) {
    // Answered right yesterday, answered wrong earlier today in another practice.
    const Verdict v = Judge({"B", "", "C", kToday, 2, -1}, "B", kToday);
    EXPECT_TRUE(v.counted);
    EXPECT_EQ(v.firstToday, kNo);
    EXPECT_EQ(v.firstEver, kNo);
    EXPECT_EQ(v.wrong, kNo);
    EXPECT_EQ(v.prevWrong, kYes);
    EXPECT_EQ(v.e4, 0);
    EXPECT_EQ(v.e3, 3);
    const Verdict w = Judge({"B", "", "B", kToday.addDays(-1), 1, 0}, "B", kToday);
    EXPECT_EQ(w.firstToday, kYes);
    EXPECT_EQ(w.prevWrong, kNo);
}

TEST(Judge, TheSameAnswerAgainInOnePracticeIsNotCountedButChangingItIs) {
    RowValues row{"B", "", "", QDate(), 0, 0};
    Verdict v = Judge(row, "A", kToday);
    row = {row.key, v.e2_1, v.e2, v.e1, v.e3, v.e4};
    v = Judge(row, "A", kToday);
    EXPECT_TRUE(v.answered);
    EXPECT_FALSE(v.counted);
    EXPECT_EQ(v.e3, 1);
    EXPECT_EQ(v.e4, -3);
    v = Judge(row, "B", kToday);
    EXPECT_TRUE(v.counted);
    EXPECT_EQ(v.e3, 2);
    EXPECT_EQ(v.e4, -2);
    EXPECT_EQ(v.firstEver, kNo);
}

TEST(Judge, NoAnswerEmptiesOnlyTheCurrentAnswer) {
    const RowValues row{"B", "A", "A", kToday.addDays(-3), 4, -2};
    const Verdict v = Judge(row, "", kToday);
    EXPECT_FALSE(v.answered);
    EXPECT_FALSE(v.counted);
    EXPECT_EQ(v.e2_1, "");
    EXPECT_EQ(v.e2, "A");
    EXPECT_EQ(v.e1, kToday.addDays(-3));
    EXPECT_EQ(v.e3, 4);
    EXPECT_EQ(v.e4, -2);
}

TEST(Judge, RightMeansExactlyEqualToTheKey) {
    EXPECT_FALSE(Judge({"ACD", "", "", QDate(), 0, 0}, "acd", kToday).right);
    EXPECT_FALSE(Judge({"ACD", "", "", QDate(), 0, 0}, "AC", kToday).right);
    EXPECT_TRUE(Judge({"ACD", "", "", QDate(), 0, 0}, "ACD", kToday).right);
    // A voided question ("zero") is not new: its next answer is not a first one.
    const Verdict v = Judge({"A", "", "zero", kToday, 1, 0}, "A", kToday);
    EXPECT_EQ(v.firstEver, kNo);
    EXPECT_EQ(v.e4, 0);
}

TEST(Faces, FollowTheCurrentAnswerAgainstTheKey) {
    EXPECT_EQ(FaceFor("", "A"), Face::Unanswered);
    EXPECT_EQ(FaceFor("A", "A"), Face::Right);
    EXPECT_EQ(FaceFor("B", "A"), Face::Wrong);
    EXPECT_EQ(FacePicture(Face::Unanswered, false), "pic/kvatup.bmp");
    EXPECT_EQ(FacePicture(Face::Unanswered, true), "pic/kvatdw.bmp");
    EXPECT_EQ(FacePicture(Face::Right, false), "pic/kvatyes.bmp");
    EXPECT_EQ(FacePicture(Face::Right, true), "pic/kvatdw_r.bmp");
    EXPECT_EQ(FacePicture(Face::Wrong, false), "pic/kvatno.bmp");
    EXPECT_EQ(FacePicture(Face::Wrong, true), "pic/kvatdw_w.bmp");
}

TEST(ButtonStates, FollowTheAnswerTheExplanationThePointsAndTheType) {
    ButtonStates s = StatesFor(false, true, "4101010001", 11, "note");
    EXPECT_FALSE(s.explanation);
    EXPECT_FALSE(s.points);
    EXPECT_FALSE(s.answer);
    EXPECT_EQ(s.noteCaption, QStringLiteral("有内容"));
    s = StatesFor(true, true, "4101010001", 11, "   ");
    EXPECT_TRUE(s.explanation);
    EXPECT_TRUE(s.points);
    EXPECT_TRUE(s.answer);
    EXPECT_EQ(s.noteCaption, QStringLiteral("笔记"));
    s = StatesFor(true, false, "  ", 22, "");
    EXPECT_FALSE(s.explanation);
    EXPECT_FALSE(s.points);
    EXPECT_FALSE(s.answer); // subjective
}

TEST(AnswerTimer, IntervalFromTheTypeTimesOr600) {
    const QVector<int> codes{11, 14, 22, 14};
    const QVector<int> times{600, 900, 150, 1};
    EXPECT_EQ(AnswerTimerInterval(14, codes, times), 900); // the first entry of the code
    EXPECT_EQ(AnswerTimerInterval(22, codes, times), 150);
    EXPECT_EQ(AnswerTimerInterval(15, codes, times), 600);
    EXPECT_EQ(AnswerTimerInterval(11, {}, {}), 600);
}

TEST(Groups, TwentyQuestionsToAGroup) {
    EXPECT_EQ(GroupTotal(41), 3);
    EXPECT_EQ(GroupTotal(40), 2);
    EXPECT_EQ(GroupTotal(1), 1);
    EXPECT_EQ(GroupTotal(0), 0);
    Group g = GroupAt(3, 41);
    EXPECT_EQ(g.start, 41);
    EXPECT_EQ(g.count, 1);
    g = GroupAt(2, 41);
    EXPECT_EQ(g.start, 21);
    EXPECT_EQ(g.count, 20);
    g = GroupAt(1, 7);
    EXPECT_EQ(g.count, 7);
    EXPECT_EQ(ButtonOfRecord(1), 1);
    EXPECT_EQ(ButtonOfRecord(20), 20);
    EXPECT_EQ(ButtonOfRecord(21), 1);
    EXPECT_EQ(ButtonOfRecord(40), 20);
}
