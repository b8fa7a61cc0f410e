// The practice session over a real sample bank, without widgets: set-up, the type filter, groups
// of 20 and their boundaries, moving question by question, recording answers through the store,
// voiding, the time-up mark, and the knowledge-point configuration's texts; the control names of
// the two practice windows.

#include "practice/practice_names.h"
#include "practice/practice_session.h"

#include "bank_fixture.h"

#include "platform/clock.h"
#include "store/data_module.h"

#include <gtest/gtest.h>

#include <QHash>

#include <memory>
#include <set>

namespace {

const QString kChapterSql =
    QStringLiteral("select * from tab_answ where A10 like '4101%' order by a13,a10,xx,a1");
const QDate kToday(2026, 3, 16);

class PracticeSessionTest : public testing::Test {
  protected:
    void SetUp() override {
        Clock::setFixed(QDateTime(kToday, QTime(10, 0)));
        folder = Fixtures::makeProgramFolder();
        dm = std::make_unique<TDM1>(folder->path());
        ASSERT_TRUE(dm->ConnectOk);
        session = std::make_unique<PracticeSession>(*dm, dm->Cn1Query_tm);
    }
    void TearDown() override { Clock::clearFixed(); }

    // Adds n single-choice questions with key "A" to chapter 410101.
    void addQuestions(int n) {
        for (int i = 0; i < n; ++i)
            dm->ADOCn1.exec(
                QStringLiteral("insert into tab_answ (A1, A2, A2_1, A10, A13, xx, f1, "
                               "E3, E4) values (:a, 'A', 4, '410101', 11, :x, 0, 0, 0)"),
                {{"a", QStringLiteral("4101019%1").arg(i, 5, 10, QLatin1Char('0'))},
                 {"x", 100 + i}});
    }
    QVariant answ(const QString& id, const char* column) {
        return dm->ADOCn1.scalar(
            QStringLiteral("select %1 from tab_answ where A1=:a").arg(QString::fromLatin1(column)),
            {{"a", id}});
    }
    QString idAt(int recNo) {
        dm->Cn1Query_tm->setRecNo(recNo);
        return dm->Cn1Query_tm->text(QStringLiteral("A1"));
    }

    std::unique_ptr<Fixtures::ProgramFolder> folder;
    std::unique_ptr<TDM1> dm;
    std::unique_ptr<PracticeSession> session;
};

TEST_F(PracticeSessionTest, SetUpEmptiesEveryCurrentAnswerAndAnswersWhetherTheSetHoldsQuestions) {
    dm->ADOCn1.exec(QStringLiteral("update tab_answ set E2_1='B'"));
    EXPECT_FALSE(session->load(QStringLiteral("select * from tab_answ where A10='999999'")));
    EXPECT_EQ(
        dm->ADOCn1.scalar(QStringLiteral("select count(*) from tab_answ where E2_1<>''")).toInt(),
        0);
    ASSERT_TRUE(session->load(kChapterSql));
    EXPECT_EQ(session->total(), 6);

    session->applyTypeFilter(PracticeSession::FilterFor(14));
    EXPECT_EQ(session->filterText(), QStringLiteral("A13=14"));
    EXPECT_EQ(session->total(), 1);
    session->applyTypeFilter(PracticeSession::FilterFor(0));
    EXPECT_EQ(session->total(), 6);
}

TEST_F(PracticeSessionTest, FortyOneQuestionsMakeThreeGroupsWithTheirBoundaries) {
    addQuestions(35);
    ASSERT_TRUE(session->load(kChapterSql));
    ASSERT_EQ(session->total(), 41);
    session->firstGroup();
    EXPECT_EQ(session->groupTotal(), 3);
    EXPECT_EQ(session->totalAtFirstGroup(), 41);
    EXPECT_EQ(session->groupCount(), 20);
    EXPECT_FALSE(session->previousGroupEnabled());
    EXPECT_TRUE(session->nextGroupEnabled());

    // Within the group a step presses the neighbouring button.
    EXPECT_EQ(session->nextQuestion(1).kind, PracticeSession::Step::Button);
    EXPECT_EQ(session->nextQuestion(1).button, 2);
    // Question 1 has no previous one; question 20 opens group 2.
    EXPECT_EQ(session->previousQuestion(1).kind, PracticeSession::Step::None);
    EXPECT_EQ(session->nextQuestion(20).kind, PracticeSession::Step::Group);
    EXPECT_EQ(session->groupNumber(), 2);
    EXPECT_EQ(session->groupStart(), 21);
    EXPECT_TRUE(session->previousGroupEnabled());
    EXPECT_TRUE(session->nextGroupEnabled());

    session->nextGroup();
    EXPECT_EQ(session->groupStart(), 41);
    EXPECT_EQ(session->groupCount(), 1);
    EXPECT_FALSE(session->nextGroupEnabled());
    EXPECT_EQ(session->nextQuestion(41).kind, PracticeSession::Step::None);
    EXPECT_FALSE(session->nextQuestionEnabled(41));
    EXPECT_TRUE(session->nextQuestionEnabled(40));
    session->nextGroup(); // beyond the last group nothing moves
    EXPECT_EQ(session->groupNumber(), 3);

    // 上一题 on the first question of a group opens the previous group at its first question.
    EXPECT_EQ(session->previousQuestion(41).kind, PracticeSession::Step::Group);
    EXPECT_EQ(session->groupStart(), 21);
    EXPECT_EQ(session->previousQuestion(21).kind, PracticeSession::Step::Group);
    EXPECT_EQ(session->groupStart(), 1);
    EXPECT_FALSE(session->previousGroupEnabled());
    EXPECT_FALSE(session->previousQuestionEnabled(1));
}

TEST_F(PracticeSessionTest, RecordingCountsAChangedAnswerOnceAndAnEmptyOneNotAtAll) {
    ASSERT_TRUE(session->load(kChapterSql));
    const QString q1 = idAt(1); // key B
    PracticeSession::Outcome out = session->record(1, QStringLiteral("A"), kToday);
    EXPECT_TRUE(out.answered);
    EXPECT_FALSE(out.right);
    EXPECT_EQ(out.face, Question::Face::Wrong);
    EXPECT_EQ(answ(q1, "E3").toInt(), 1);
    EXPECT_EQ(answ(q1, "E4").toInt(), -3);
    EXPECT_EQ(session->faceOf(1), Question::Face::Wrong);

    // The same answer again is not counted; a changed one is.
    session->record(1, QStringLiteral("A"), kToday);
    EXPECT_EQ(answ(q1, "E3").toInt(), 1);
    out = session->record(1, QStringLiteral("B"), kToday);
    EXPECT_TRUE(out.right);
    EXPECT_EQ(answ(q1, "E3").toInt(), 2);
    EXPECT_EQ(answ(q1, "E4").toInt(), -2);
    EXPECT_EQ(
        dm->ADOCn1.scalar(QStringLiteral("select A2 from tab_rz where A1='2026-03-16'")).toInt(),
        2);

    // No answer: only the current answer is emptied.
    out = session->record(1, QString(), kToday);
    EXPECT_FALSE(out.answered);
    EXPECT_EQ(answ(q1, "E2_1").toString(), QString());
    EXPECT_EQ(answ(q1, "E2").toString(), QStringLiteral("B"));
    EXPECT_EQ(answ(q1, "E3").toInt(), 2);
    EXPECT_EQ(session->faceOf(1), Question::Face::Unanswered);
    EXPECT_FALSE(session->record(0, QStringLiteral("A"), kToday).answered);
}

TEST_F(PracticeSessionTest, VoidingTogglesByCaptionAndNoticesFollowTheRow) {
    ASSERT_TRUE(session->load(kChapterSql));
    session->list()->setRecNo(1);
    const QString q1 = session->list()->text(QStringLiteral("A1"));
    EXPECT_TRUE(session->noticesOfCurrent().notice.isEmpty());
    EXPECT_EQ(session->noticesOfCurrent().voidCaption, QStringLiteral("题目作废"));

    PracticeSession::Notices n = session->toggleVoid(QStringLiteral("题目作废"));
    EXPECT_EQ(n.notice, QStringLiteral("本题已被您作废！"));
    EXPECT_EQ(n.voidCaption, QStringLiteral("取消作废"));
    EXPECT_EQ(answ(q1, "f1").toInt(), 1);
    EXPECT_EQ(answ(q1, "E2").toString(), QStringLiteral("zero"));
    EXPECT_EQ(session->noticesOfCurrent().voidCaption, QStringLiteral("取消作废"));

    n = session->toggleVoid(n.voidCaption);
    EXPECT_EQ(n.notice, QStringLiteral("本题曾被作废，现已被您取消！"));
    EXPECT_EQ(answ(q1, "f1").toInt(), 0);
    EXPECT_EQ(answ(q1, "E2").toString(), QStringLiteral("zero"));

    dm->ADOCn1.exec(QStringLiteral("update tab_answ set f1=2, ecount=1 where A1=:a"), {{"a", q1}});
    session->list()->requery();
    session->list()->setRecNo(1);
    EXPECT_EQ(session->noticesOfCurrent().notice, QStringLiteral("本题是您加入的题目！"));
    EXPECT_EQ(session->noticesOfCurrent().modified, QStringLiteral("本题被您修改过"));

    session->markTimeUp();
    EXPECT_EQ(answ(q1, "csbs").toString(), QStringLiteral("Y"));
    EXPECT_EQ(session->answerTimerInterval({11}, {900}), 900);
    EXPECT_EQ(session->answerTimerInterval({14}, {900}), 600);
}

TEST_F(PracticeSessionTest, TheKnowledgePointConfigurationHasItsOwnTexts) {
    PracticeSession points(*dm, dm->Cn1Query_tm, PracticeConfig::KnowledgePoint());
    ASSERT_TRUE(points.load(kChapterSql));
    points.list()->setRecNo(1);
    const QString q1 = points.list()->text(QStringLiteral("A1"));
    EXPECT_EQ(points.noticesOfCurrent().voidCaption, QStringLiteral("本题作废"));
    // The chapter window's caption is not this window's: it cancels instead of voiding.
    EXPECT_EQ(points.toggleVoid(QStringLiteral("题目作废")).voidCaption,
              QStringLiteral("本题作废"));
    EXPECT_EQ(answ(q1, "f1").toInt(), 0);
    EXPECT_EQ(points.toggleVoid(QStringLiteral("本题作废")).notice,
              QStringLiteral("本题已被您作废！"));
    dm->ADOCn1.exec(QStringLiteral("update tab_answ set ecount=1 where A1=:a"), {{"a", q1}});
    points.list()->requery();
    points.list()->setRecNo(1);
    EXPECT_TRUE(points.noticesOfCurrent().modified.isEmpty());
    EXPECT_EQ(points.config().noAnswerText, QStringLiteral("题还没做呢！"));
    EXPECT_FALSE(points.config().subjectiveLabelFollowsTab);
}

// Every role of a window has a name of its own: two controls under one name would leave a test
// (and the window's own look-ups) finding only the first.
void expectDistinctNames(const ControlNames& names) {
    QHash<QString, int> seen;
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const Control c = Control(i);
        if (!names.has(c))
            continue;
        const int before = seen.value(names.name(c), -1);
        EXPECT_EQ(before, -1) << names.name(c).toStdString() << " names roles " << before << " and "
                              << i;
        seen.insert(names.name(c), int(i));
    }
}

TEST(ControlNamesTest, EachWindowNamesEveryRoleOnce) {
    const ControlNames& chapter = ControlNames::Chapter();
    for (std::size_t i = 0; i < kControlCount; ++i)
        EXPECT_TRUE(chapter.has(Control(i))) << "role " << i;
    expectDistinctNames(chapter);
    expectDistinctNames(ControlNames::KnowledgePoint());
}

TEST(ControlNamesTest, TheSameRoleHasItsOwnNameInEachWindow) {
    const ControlNames& chapter = ControlNames::Chapter();
    const ControlNames& points = ControlNames::KnowledgePoint();
    EXPECT_EQ(chapter.name(Control::Desktop), QStringLiteral("epEfTrBtn7"));
    EXPECT_EQ(chapter.name(Control::Close), QStringLiteral("epEfTrBtn99"));
    EXPECT_EQ(points.name(Control::Close), QStringLiteral("epEfTrBtn7"));
    EXPECT_EQ(points.caption(Control::Close), QStringLiteral("关闭"));
    EXPECT_EQ(points.name(Control::Desktop), QStringLiteral("epEfTrBtnwin"));
    EXPECT_EQ(points.caption(Control::Desktop), QStringLiteral("桌面"));
    EXPECT_FALSE(points.has(Control::Edit));
    EXPECT_FALSE(points.has(Control::Modified));
    EXPECT_EQ(chapter.name(Control::Groups), QStringLiteral("Lb_zs"));
    EXPECT_EQ(points.name(Control::Groups), QStringLiteral("Label3"));
    EXPECT_EQ(points.name(Control::Questions), QStringLiteral("Label5"));
    EXPECT_EQ(points.name(Control::Group), QStringLiteral("Label8"));
    EXPECT_EQ(chapter.name(Control::SubjectiveLabel), QStringLiteral("Label8"));
    EXPECT_EQ(points.name(Control::SubjectiveLabel), QStringLiteral("Label20"));
    EXPECT_EQ(points.name(Control::MatchingLabel), QStringLiteral("Label24"));
    EXPECT_EQ(points.caption(Control::MatchingLabel), QStringLiteral("不定项"));

    // Everything else is the chapter window's, name and caption.
    const std::set<Control> differ = {
        Control::Close,    Control::Desktop,         Control::Edit,
        Control::Modified, Control::Groups,          Control::Questions,
        Control::Group,    Control::SubjectiveLabel, Control::MatchingLabel};
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const Control c = Control(i);
        if (differ.count(c))
            continue;
        EXPECT_EQ(points.name(c), chapter.name(c)) << "role " << i;
        EXPECT_EQ(points.caption(c), chapter.caption(c)) << "role " << i;
    }
}

TEST(ControlNamesTest, QuestionButtonsAreNumberedFromOne) {
    EXPECT_EQ(ControlNames::Chapter().questionButton(1), QStringLiteral("fcBG_thfcImageBtn1"));
    EXPECT_EQ(ControlNames::Chapter().questionButton(20), QStringLiteral("fcBG_thfcImageBtn20"));
}

TEST(ControlNamesTest, WithRenamesOnlyTheRolesGiven) {
    const ControlNames renamed = ControlNames::Chapter().with(
        {{Control::Finish, {QStringLiteral("X"), QStringLiteral("Y")}}});
    EXPECT_EQ(renamed.name(Control::Finish), QStringLiteral("X"));
    EXPECT_EQ(renamed.caption(Control::Finish), QStringLiteral("Y"));
    EXPECT_EQ(renamed.name(Control::Note), QStringLiteral("epEfTrBtn5"));
    // The table it came from is left as it was.
    EXPECT_EQ(ControlNames::Chapter().name(Control::Finish), QStringLiteral("epEfTrBtn3"));
}

} // namespace
