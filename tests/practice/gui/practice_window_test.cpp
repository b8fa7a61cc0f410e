// The practice window over a real sample bank: showing questions, judging and counting answers,
// the answer pad and keyboard, groups of question buttons, type tabs, the answer timer, the answer
// panel, voiding, closing, and both layouts.

#include "practice/answer_pad.h"
#include "practice/practice_window.h"

#include "gui_bank_test.h"

#include "platform/clock.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/db_rich_view.h"
#include "widgets/effect_button.h"
#include "widgets/gauge.h"
#include "widgets/picture_button.h"
#include "widgets/vertical_label.h"
#include "widgets/window_registry.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <memory>

#include <gtest/gtest.h>

namespace {

const QString kChapterSql =
    QStringLiteral("select * from tab_answ where A10 like '4101%' order by a13,a10,xx,a1");
// The questions of chapter 4101 in that order.
const char* const kQ1 = "410101110001"; // 11, key B, 4 options, points 4101010001 4101020001
const char* const kQ2 = "410101110002"; // 11, key C
const char* const kCase1 = "4101021CASE00001-1"; // 11, key D
const char* const kMulti = "410101140001";       // 14, key ACD, 5 options, point 4101010001
const char* const kSubj = "410102220001";        // 22, key "1", point 4101020001

using Fakes::DesktopFake;

class PracticeWindowTest : public GuiBankTest {
  protected:
    void setUpWindows() override {
        copyPictures();
        App::TypeCodes = {11, 14, 22};
        App::TypeTimes = {600, 900, 150};
        App::ChapterHeading = QStringLiteral("第一章 概述");
    }
    void tearDownWindows() override { window.reset(); }

    // Opens a practice over sql, shown like the browser shows it (without a modal loop).
    void open(const QString& sql = kChapterSql) {
        App::PracticeQuerySql = sql;
        window = std::make_unique<TFrmLxxt>();
        ASSERT_TRUE(window->LoadQuestionSet());
        window->show();
        QCoreApplication::processEvents();
    }

    void addQuestion(const QString& id, const QString& chapter, int type, int options,
                     const QString& key, int xx) {
        dm->ADOCn1.exec(
            QStringLiteral("insert into tab_answ (A1, A2, A2_1, A10, A13, xx, f1, E3, "
                           "E4) values (:a, :k, :o, :c, :t, :x, 0, 0, 0)"),
            {{"a", id}, {"k", key}, {"o", options}, {"c", chapter}, {"t", type}, {"x", xx}});
        dm->ADOCn1.exec(QStringLiteral("insert into tab_exer (A1, A15) values (:a, :t)"),
                        {{"a", id}, {"t", QStringLiteral("题目 ") + id}});
    }

    template <class T = QAbstractButton> T* control(const char* name) {
        T* w = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char* name) {
        QAbstractButton* b = control(name);
        ASSERT_TRUE(b->isEnabled()) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void key(Qt::Key k) { QTest::keyClick(window.get(), k); }

    QVariant answ(const char* id, const char* column) {
        return dm->ADOCn1.scalar(
            QStringLiteral("select %1 from tab_answ where A1=:a").arg(QString::fromLatin1(column)),
            {{"a", QString::fromLatin1(id)}});
    }
    QVariant cell(const QString& table, const QString& key, const char* id, const char* column) {
        return dm->ADOCn1.scalar(QStringLiteral("select %1 from %2 where %3=:i")
                                     .arg(QString::fromLatin1(column), table, key),
                                 {{"i", QString::fromLatin1(id)}});
    }
    QVariant rz(const char* column) {
        return dm->ADOCn1.scalar(QStringLiteral("select %1 from tab_rz where A1='2026-03-16'")
                                     .arg(QString::fromLatin1(column)));
    }

    QString currentId() const { return DM1->Cn1Query_tm->text(QStringLiteral("A1")); }

    QImage picture(const char* file) const {
        return QImage(folder->path() + QStringLiteral("pic/") + QString::fromLatin1(file))
            .convertToFormat(QImage::Format_ARGB32);
    }
    bool upFaceIs(int button, const char* file) const {
        return window->questionButton(button)->upFace().toImage().convertToFormat(
                   QImage::Format_ARGB32) == picture(file);
    }
    bool downFaceIs(int button, const char* file) const {
        return window->questionButton(button)->downFace().toImage().convertToFormat(
                   QImage::Format_ARGB32) == picture(file);
    }

    std::unique_ptr<TFrmLxxt> window;
};

} // namespace

TEST_F(PracticeWindowTest, ShowsTheFirstQuestionWithItsTabsAndCounters) {
    open();
    EXPECT_EQ(currentId(), kQ1);
    EXPECT_EQ(window->CurrentRecNo(), 1);
    EXPECT_EQ(App::FirstQuestionId, kQ1);
    EXPECT_EQ(control<QLabel>("epLabel2")->text(), App::ChapterHeading);
    EXPECT_EQ(control<QLabel>("Lb_zs")->text(), "1");
    EXPECT_EQ(control<QLabel>("Lb_ts")->text(), "6");
    EXPECT_EQ(control<QLabel>("Lb_zb")->text(), "1");
    EXPECT_TRUE(window->Re1->toPlainText().contains(QString::fromLatin1(kQ1)));
    EXPECT_EQ(window->Notebook1->page(), Question::PageSingle);
    // Four options on the first question, E and F hidden.
    EXPECT_FALSE(window->Notebook1->fcBG_one[3]->isHidden());
    EXPECT_TRUE(window->Notebook1->fcBG_one[4]->isHidden());
    // Tabs: 任意 plus one per type of tab_tx1, all three types present in the set.
    ASSERT_EQ(window->typeTabs().size(), 4);
    EXPECT_EQ(window->typeTabs()[0]->text(), QStringLiteral("任意"));
    EXPECT_TRUE(window->typeTabs()[0]->isChecked());
    EXPECT_EQ(window->typeTab(14)->text(), QStringLiteral("多项选择题"));
    // Buttons 1..6 enabled with their record numbers, the rest disabled.
    for (int i = 1; i <= 20; ++i) {
        EXPECT_EQ(window->questionButton(i)->isEnabled(), i <= 6) << i;
        EXPECT_EQ(window->questionButton(i)->tag(), i <= 6 ? i : 0) << i;
    }
    EXPECT_FALSE(control("epEfTrBtn1")->isEnabled()); // 上一题 on question 1
    EXPECT_TRUE(control("epEfTrBtn2")->isEnabled());
    EXPECT_FALSE(control("epEfTrBtn4")->isEnabled());
    EXPECT_FALSE(control("epEfTrBtn6")->isEnabled());
    EXPECT_FALSE(control("epEfTrBtn9")->isEnabled());
    EXPECT_EQ(window->Timer1->interval(), 600);
    EXPECT_TRUE(window->Timer1->isActive());
    EXPECT_EQ(control<QLabel>("Label15")->text(), "1");
}

TEST_F(PracticeWindowTest, ScriptedPracticeIsCountedInLogChaptersAndKnowledgePoints) {
    open();
    click("fcBG_one2"); // B, right
    click("epEfTrBtn3");
    EXPECT_EQ(answ(kQ1, "E2_1").toString(), "B");
    EXPECT_EQ(answ(kQ1, "E2").toString(), "B");
    EXPECT_EQ(answ(kQ1, "E1").toString(), "2026-03-16");
    EXPECT_EQ(answ(kQ1, "E3").toInt(), 1);
    EXPECT_EQ(answ(kQ1, "E4").toInt(), 0);
    EXPECT_TRUE(downFaceIs(1, "kvatdw_r.bmp"));
    EXPECT_TRUE(control("epEfTrBtn4")->isEnabled()); // explanation present
    EXPECT_TRUE(control("epEfTrBtn9")->isEnabled()); // k3 present
    EXPECT_TRUE(control("epEfTrBtn6")->isEnabled());

    click("epEfTrBtn2"); // 下一题 -> question 2
    EXPECT_EQ(currentId(), kQ2);
    EXPECT_TRUE(upFaceIs(1, "kvatyes.bmp"));
    click("fcBG_one1"); // A, key C: wrong, judged on leaving
    click("epEfTrBtn2");
    EXPECT_EQ(currentId(), kCase1);
    EXPECT_TRUE(upFaceIs(2, "kvatno.bmp"));
    EXPECT_EQ(answ(kQ2, "E4").toInt(), -3);

    window->questionButton(5)->click(); // the multiple-choice question, no answer on the case
    EXPECT_EQ(currentId(), kMulti);
    EXPECT_TRUE(upFaceIs(3, "kvatup.bmp"));
    EXPECT_EQ(window->Notebook1->page(), Question::PageMultiple);
    click("fcBG_many4"); // D
    click("fcBG_many2"); // then B
    click("epEfTrBtn3");
    EXPECT_EQ(answ(kMulti, "E2_1").toString(), "BD");
    EXPECT_TRUE(downFaceIs(5, "kvatdw_w.bmp"));

    click("epEfTrBtn2"); // the subjective question
    EXPECT_EQ(currentId(), kSubj);
    EXPECT_EQ(window->Notebook1->page(), Question::PageSubjective);
    control<QComboBox>("FlatComboBox1")->setCurrentIndex(1); // 会
    click("epEfTrBtn3");
    EXPECT_EQ(answ(kSubj, "E2_1").toString(), "1");
    EXPECT_FALSE(control("epEfTrBtn6")->isEnabled()); // no answer panel for subjective types
    EXPECT_FALSE(control("epEfTrBtn2")->isEnabled()); // the last question

    Clock::setFixed(QDateTime(QDate(2026, 3, 16), QTime(10, 1, 5)));
    click("epEfTrBtn99");
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(DM1->Cn1Query_tm->active());

    // Four answers, two wrong, four questions, two of them wrong; the practice time.
    EXPECT_EQ(rz("A2").toInt(), 4);
    EXPECT_EQ(rz("A3").toInt(), 2);
    EXPECT_EQ(rz("B1").toInt(), 4);
    EXPECT_EQ(rz("B2").toInt(), 2);
    EXPECT_EQ(rz("A4").toString(), "50.00");
    EXPECT_EQ(rz("D1").toString(), "00:01:05");
    // The chapter tree, each node with its ancestors.
    const QString kmmc = QStringLiteral("tab_kmmc"), c1 = QStringLiteral("C1");
    EXPECT_EQ(cell(kmmc, c1, "410101", "C4").toInt(), 3);
    EXPECT_EQ(cell(kmmc, c1, "410101", "D1").toInt(), 3);
    EXPECT_EQ(cell(kmmc, c1, "410101", "D2").toInt(), 2);
    EXPECT_EQ(cell(kmmc, c1, "410102", "D1").toInt(), 1);
    EXPECT_EQ(cell(kmmc, c1, "410102", "D2").toInt(), 0);
    for (const char* node : {"4101", "41", "4"}) {
        EXPECT_EQ(cell(kmmc, c1, node, "C4").toInt(), 4) << node;
        EXPECT_EQ(cell(kmmc, c1, node, "D1").toInt(), 4) << node;
        EXPECT_EQ(cell(kmmc, c1, node, "D2").toInt(), 2) << node;
    }
    EXPECT_EQ(cell(kmmc, c1, "4", "C6").toString(), "50.00");
    EXPECT_EQ(cell(kmmc, c1, "410101", "C6").toString(), "33.33");
    EXPECT_EQ(cell(kmmc, c1, "120304", "D1").toInt(), 0);
    // Knowledge points: 4101010001 (question 1 right, the multiple choice wrong), 4101020001
    // (question 1 and the subjective one, both right).
    const QString rule = QStringLiteral("tab_rule"), ftid = QStringLiteral("ftid");
    EXPECT_EQ(cell(rule, ftid, "4101010001", "q2").toInt(), 2);
    EXPECT_EQ(cell(rule, ftid, "4101010001", "q1").toInt(), 2);
    EXPECT_EQ(cell(rule, ftid, "4101010001", "q4").toInt(), 1);
    EXPECT_EQ(cell(rule, ftid, "4101020001", "q2").toInt(), 2);
    EXPECT_EQ(cell(rule, ftid, "4101020001", "q4").toInt(), 0);
    EXPECT_EQ(cell(rule, ftid, "4101020002", "q2").toInt(), 0);
    const QString fgmc = QStringLiteral("tab_fgmc"), id = QStringLiteral("id");
    EXPECT_EQ(cell(fgmc, id, "410101", "q2").toInt(), 2);
    EXPECT_EQ(cell(fgmc, id, "410102", "q2").toInt(), 2);
    // Question 1 links two points under "41" and still counts once there.
    EXPECT_EQ(cell(fgmc, id, "41", "q2").toInt(), 3);
    EXPECT_EQ(cell(fgmc, id, "41", "q1").toInt(), 3);
    EXPECT_EQ(cell(fgmc, id, "41", "q4").toInt(), 1);
}

TEST_F(PracticeWindowTest, FinishingTwiceWithTheSameAnswerCountsOnceAndAChangedAnswerAgain) {
    open();
    click("fcBG_one2");
    click("epEfTrBtn3");
    click("epEfTrBtn3");
    EXPECT_EQ(answ(kQ1, "E3").toInt(), 1);
    EXPECT_EQ(rz("A2").toInt(), 1);
    click("fcBG_one1"); // changed to A: wrong
    click("epEfTrBtn3");
    EXPECT_EQ(answ(kQ1, "E3").toInt(), 2);
    EXPECT_EQ(answ(kQ1, "E4").toInt(), -1);
    EXPECT_EQ(rz("A2").toInt(), 2);
    EXPECT_EQ(rz("A3").toInt(), 1);
    EXPECT_EQ(rz("B1").toInt(), 1);
    EXPECT_EQ(rz("B2").toInt(), 1);
    EXPECT_TRUE(downFaceIs(1, "kvatdw_w.bmp"));
    // Leaving the question with the same answer again counts nothing more.
    click("epEfTrBtn2");
    EXPECT_EQ(rz("A2").toInt(), 2);
    EXPECT_EQ(cell(QStringLiteral("tab_kmmc"), QStringLiteral("C1"), "410101", "C4").toInt(), 1);
}

TEST_F(PracticeWindowTest, FinishWithoutAnswerAsksForOneAndEmptiesTheCurrentAnswer) {
    open();
    click("epEfTrBtn3");
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->last().title, QStringLiteral("提示"));
    EXPECT_EQ(dialogs->last().text, QStringLiteral("请先做出答案！"));
    EXPECT_EQ(dialogs->last().picture, 1);
    EXPECT_EQ(answ(kQ1, "E2_1").toString(), "");
    EXPECT_TRUE(answ(kQ1, "E2").isNull());
    EXPECT_EQ(answ(kQ1, "E3").toInt(), 0);
    EXPECT_TRUE(rz("A2").isNull());
}

TEST_F(PracticeWindowTest, KeyboardPressesOptionsAndMovesBetweenQuestions) {
    open();
    key(Qt::Key_C);
    EXPECT_EQ(window->Notebook1->answerText(), "C");
    // E is hidden on a four-option question: pressing it releases C and the answer reads empty.
    key(Qt::Key_E);
    EXPECT_EQ(window->Notebook1->answerText(), "");
    key(Qt::Key_B);
    key(Qt::Key_Return); // 下一题
    EXPECT_EQ(currentId(), kQ2);
    EXPECT_EQ(answ(kQ1, "E2_1").toString(), "B");
    key(Qt::Key_Backspace); // 上一题
    EXPECT_EQ(currentId(), kQ1);
    EXPECT_EQ(window->Notebook1->answerText(), "B"); // restored from E2_1
    EXPECT_TRUE(window->Notebook1->fcBG_one[1]->isChecked());

    window->questionButton(5)->click();
    EXPECT_EQ(currentId(), kMulti);
    key(Qt::Key_D);
    key(Qt::Key_B);
    key(Qt::Key_A);
    key(Qt::Key_A); // toggled off again
    EXPECT_EQ(window->Notebook1->answerText(), "BD");
    // On the subjective page letters and Enter do nothing.
    window->questionButton(6)->click();
    key(Qt::Key_Backspace);
    EXPECT_EQ(currentId(), kSubj);
    // Escape does not close the window.
    key(Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(PracticeWindowTest, CaseQuestionShowsTheCasePaneAndTheNextOtherQuestionHidesIt) {
    open();
    EXPECT_EQ(window->Re2->height(), 0);
    window->questionButton(3)->click();
    EXPECT_EQ(currentId(), kCase1);
    EXPECT_EQ(window->Re2->height(), 150);
    EXPECT_EQ(window->FlatSplitter1->height(), 6);
    EXPECT_TRUE(window->Re1->toPlainText().contains(QStringLiteral("案例背景")));
    EXPECT_TRUE(window->Re2->toPlainText().contains(QString::fromLatin1(kCase1)));
    click("epEfTrBtn2"); // the second question of the case keeps the pane
    EXPECT_EQ(window->Re2->height(), 150);
    EXPECT_TRUE(window->Re2->toPlainText().contains(QStringLiteral("4101021CASE00001-2")));
    click("epEfTrBtn2");
    EXPECT_EQ(currentId(), kMulti);
    EXPECT_EQ(window->Re2->height(), 0);
    EXPECT_EQ(window->FlatSplitter1->height(), 0);
    EXPECT_TRUE(window->Re1->toPlainText().contains(QString::fromLatin1(kMulti)));
}

TEST_F(PracticeWindowTest, UnknownTypeKeepsThePreviousPageAndGetsTheDefaultAnswerTime) {
    addQuestion(QStringLiteral("410101150001"), QStringLiteral("410101"), 15, 4,
                QStringLiteral("AC"), 50);
    open();
    window->questionButton(5)->click(); // multiple choice, 1.5 minutes
    EXPECT_EQ(window->Timer1->interval(), 900);
    click("epEfTrBtn2");
    EXPECT_EQ(currentId(), "410101150001");
    EXPECT_EQ(window->Notebook1->page(), Question::PageMultiple);
    EXPECT_EQ(window->Timer1->interval(), 600);
    EXPECT_TRUE(window->Notebook1->fcBG_many[3]->isVisible());
    EXPECT_TRUE(window->Notebook1->fcBG_many[4]->isHidden());
    click("fcBG_many3");
    click("fcBG_many1");
    click("epEfTrBtn3");
    EXPECT_EQ(answ("410101150001", "E2_1").toString(), "AC");
    EXPECT_EQ(answ("410101150001", "E4").toInt(), 0);
}

TEST_F(PracticeWindowTest, AnswerTimerFillsTheGaugeAndTellsWhenTimeIsUp) {
    open();
    window->questionButton(5)->click();
    ASSERT_EQ(window->Timer1->interval(), 900); // 1.5 minutes: full after 90 seconds
    window->Timer1->stop();                     // the test ticks by hand
    window->Timer1->start();
    for (int i = 0; i < 100; ++i)
        window->Timer1Timer();
    EXPECT_EQ(window->epIndiGauge1->value(), 100);
    EXPECT_TRUE(dialogs->requests.isEmpty());
    EXPECT_TRUE(answ(kMulti, "csbs").isNull());
    window->Timer1Timer(); // the 101st tick
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->last().text, QStringLiteral("到时间了"));
    EXPECT_EQ(dialogs->last().title, QStringLiteral("提示"));
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_EQ(answ(kMulti, "csbs").toString(), "Y");
    // The learner may still answer; moving on restarts the gauge.
    click("fcBG_many1");
    click("epEfTrBtn3");
    EXPECT_EQ(answ(kMulti, "E2_1").toString(), "A");
    click("epEfTrBtn2");
    EXPECT_EQ(window->epIndiGauge1->value(), 0);
    EXPECT_EQ(window->Timer1->interval(), 150);
    EXPECT_TRUE(window->Timer1->isActive());
}

TEST_F(PracticeWindowTest, AppearanceCountAndClock) {
    dm->ADOCn1.exec(QStringLiteral("update tab_answ set E3=3, E2='A' where A1=:a"), {{"a", kQ1}});
    open();
    EXPECT_EQ(control<QLabel>("Label12")->text(), "1");
    EXPECT_EQ(control<QLabel>("Label15")->text(), "4"); // （第 4 次出现）
    Clock::setFixed(QDateTime(QDate(2026, 3, 16), QTime(10, 1, 5)));
    window->KZTimeCounter1Timer();
    EXPECT_EQ(control<QLabel>("epLabel1")->text(), "0:01:05");
    Clock::setFixed(QDateTime(QDate(2026, 3, 16), QTime(11, 0, 0)));
    window->KZTimeCounter1Timer();
    EXPECT_EQ(control<QLabel>("epLabel1")->text(), "1:00:00");
}

TEST_F(PracticeWindowTest, ClosingRecordsTheUnfinishedAnswerAndAddsTheTime) {
    dm->ADOCn1.exec(QStringLiteral("insert into tab_rz (A1, A2, A3, B1, B2, D1) values "
                                   "('2026-03-16', 3, 1, 3, 1, '00:59:30')"));
    open();
    click("fcBG_one1"); // A on question 1 (key B), not finished
    Clock::setFixed(QDateTime(QDate(2026, 3, 16), QTime(10, 0, 45)));
    click("epEfTrBtn99");
    EXPECT_EQ(answ(kQ1, "E2_1").toString(), "A");
    EXPECT_EQ(answ(kQ1, "E4").toInt(), -3);
    EXPECT_EQ(rz("A2").toInt(), 4);
    EXPECT_EQ(rz("A3").toInt(), 2);
    EXPECT_EQ(rz("D1").toString(), "01:00:15");
    EXPECT_EQ(rz("A4").toString(), "50.00");
    EXPECT_TRUE(dialogs->requests.isEmpty()); // silent
    for (Dataset* ds : {DM1->Cn1Query_tm, DM1->Cn1Query2, DM1->Cn1Table_tx, DM1->Cn1Query1})
        EXPECT_FALSE(ds->active());
}

TEST_F(PracticeWindowTest, FortyOneQuestionsMakeThreeGroups) {
    for (int i = 0; i < 35; ++i)
        addQuestion(QStringLiteral("410101119%1").arg(i, 3, 10, QLatin1Char('0')),
                    QStringLiteral("410101"), 11, 4, QStringLiteral("A"), 100 + i);
    open();
    EXPECT_EQ(control<QLabel>("Lb_zs")->text(), "3");
    EXPECT_EQ(control<QLabel>("Lb_ts")->text(), "41");
    EXPECT_EQ(control<QLabel>("Lb_zb")->text(), "1");
    EXPECT_FALSE(control("FlatSpeedButton1")->isEnabled());
    EXPECT_TRUE(control("FlatSpeedButton2")->isEnabled());

    // Answer question 1 so that its face survives the group changes.
    click("fcBG_one2");
    click("FlatSpeedButton2");
    EXPECT_EQ(control<QLabel>("Lb_zb")->text(), "2");
    EXPECT_EQ(window->CurrentRecNo(), 21);
    EXPECT_EQ(window->GroupStart(), 21);
    EXPECT_TRUE(control("FlatSpeedButton1")->isEnabled());
    EXPECT_TRUE(control("FlatSpeedButton2")->isEnabled());
    EXPECT_EQ(answ(kQ1, "E2_1").toString(), "B");

    click("FlatSpeedButton2");
    EXPECT_EQ(control<QLabel>("Lb_zb")->text(), "3");
    EXPECT_EQ(window->CurrentRecNo(), 41);
    EXPECT_FALSE(control("FlatSpeedButton2")->isEnabled());
    EXPECT_TRUE(control("FlatSpeedButton1")->isEnabled());
    EXPECT_TRUE(window->questionButton(1)->isEnabled());
    EXPECT_EQ(window->questionButton(1)->tag(), 41);
    for (int i = 2; i <= 20; ++i)
        EXPECT_FALSE(window->questionButton(i)->isEnabled()) << i;
    EXPECT_FALSE(control("epEfTrBtn2")->isEnabled()); // the last question of the set

    click("epEfTrBtn1"); // 上一题 from 41 opens group 2 at its first question
    EXPECT_EQ(control<QLabel>("Lb_zb")->text(), "2");
    EXPECT_EQ(window->CurrentRecNo(), 21);
    click("epEfTrBtn1"); // 上一题 from 21 opens group 1 at question 1, not 20
    EXPECT_EQ(control<QLabel>("Lb_zb")->text(), "1");
    EXPECT_EQ(window->CurrentRecNo(), 1);
    EXPECT_EQ(currentId(), kQ1);
    EXPECT_FALSE(control("FlatSpeedButton1")->isEnabled());
    EXPECT_TRUE(control("FlatSpeedButton2")->isEnabled());
    EXPECT_FALSE(control("epEfTrBtn1")->isEnabled());
    EXPECT_TRUE(upFaceIs(1, "kvatyes.bmp"));
    EXPECT_TRUE(downFaceIs(1, "kvatdw_r.bmp"));

    window->questionButton(20)->click();
    click("epEfTrBtn2"); // 下一题 from 20 opens group 2
    EXPECT_EQ(window->CurrentRecNo(), 21);
    EXPECT_EQ(control<QLabel>("Lb_zb")->text(), "2");
    EXPECT_EQ(control<QLabel>("Label12")->text(), "1");
}

TEST_F(PracticeWindowTest, TypeTabsFilterTheSetAndAnsweredQuestionsKeepTheirFaces) {
    open();
    click("fcBG_one2"); // question 1 right, recorded silently by the tab change
    QTest::mouseClick(window->typeTab(14), Qt::LeftButton);
    EXPECT_EQ(window->listFilterText(), "A13=14");
    EXPECT_EQ(answ(kQ1, "E2_1").toString(), "B");
    EXPECT_EQ(control<QLabel>("Lb_ts")->text(), "1");
    EXPECT_EQ(currentId(), kMulti);
    EXPECT_EQ(window->CurrentRecNo(), 1);
    EXPECT_TRUE(dialogs->requests.isEmpty());

    QTest::mouseClick(window->typeTab(22), Qt::LeftButton);
    EXPECT_EQ(currentId(), kSubj);
    // The subjective page's side label shows the tab's first two characters.
    EXPECT_EQ(window->Notebook1->Label8->caption(), QStringLiteral("案例"));

    QTest::mouseClick(window->typeTabs()[0], Qt::LeftButton);
    EXPECT_EQ(window->Notebook1->Label8->caption(), QStringLiteral("主观"));
    EXPECT_EQ(control<QLabel>("Lb_ts")->text(), "6");
    EXPECT_TRUE(upFaceIs(1, "kvatyes.bmp"));
    EXPECT_TRUE(downFaceIs(1, "kvatdw_r.bmp")); // pressed again as the first question
    EXPECT_TRUE(upFaceIs(2, "kvatup.bmp"));
}

TEST_F(PracticeWindowTest, TypeWithoutQuestionsInTheSetHasItsTabDisabled) {
    open(QStringLiteral("select * from tab_answ where A10 like '4101%' and A13=11 order by "
                        "a13,a10,xx,a1"));
    EXPECT_TRUE(window->typeTab(11)->isEnabled());
    EXPECT_FALSE(window->typeTab(14)->isEnabled());
    EXPECT_FALSE(window->typeTab(22)->isEnabled());
    EXPECT_EQ(control<QLabel>("Lb_ts")->text(), "4");
}

TEST_F(PracticeWindowTest, AnswerPanelComparesAndClosesOnTheNextQuestion) {
    open();
    window->questionButton(2)->click();
    click("fcBG_one1"); // A, key C
    click("epEfTrBtn3");
    click("epEfTrBtn6");
    EXPECT_EQ(control("epEfTrBtn6")->text(), QStringLiteral("返回"));
    EXPECT_EQ(window->Panel2->width(), window->Panel1->width() - 1);
    EXPECT_EQ(window->Lb_answtip->text(), QStringLiteral("很遗憾，做错了，请继续努力！"));
    EXPECT_EQ(window->Memo1->toPlainText(), "A");
    EXPECT_EQ(window->Memo2->toPlainText(), "C");
    click("epEfTrBtn6");
    EXPECT_EQ(window->Panel2->width(), 0);
    EXPECT_EQ(control("epEfTrBtn6")->text(), QStringLiteral("答案"));

    click("fcBG_one3");
    click("epEfTrBtn6");
    EXPECT_EQ(window->Lb_answtip->text(), QStringLiteral("恭喜你，做对了！"));
    click("epEfTrBtn2"); // moving on closes the panel at once
    EXPECT_EQ(window->Panel2->width(), 0);
    EXPECT_EQ(control("epEfTrBtn6")->text(), QStringLiteral("答案"));
    EXPECT_FALSE(control("epEfTrBtn6")->isEnabled());
}

TEST_F(PracticeWindowTest, VoidingAndCancellingTheVoid) {
    open();
    click("epEfTrBtn10");
    EXPECT_EQ(answ(kQ1, "f1").toInt(), 1);
    EXPECT_EQ(answ(kQ1, "E2").toString(), "zero");
    EXPECT_EQ(control<QLabel>("Label21")->text(), QStringLiteral("本题已被您作废！"));
    EXPECT_EQ(control("epEfTrBtn10")->text(), QStringLiteral("取消作废"));
    click("epEfTrBtn10");
    EXPECT_EQ(answ(kQ1, "f1").toInt(), 0);
    EXPECT_EQ(answ(kQ1, "E2").toString(), "zero");
    EXPECT_EQ(control<QLabel>("Label21")->text(), QStringLiteral("本题曾被作废，现已被您取消！"));
    EXPECT_EQ(control("epEfTrBtn10")->text(), QStringLiteral("题目作废"));
    // Shown again, a voided question says so; a question added by the learner too.
    dm->ADOCn1.exec(QStringLiteral("update tab_answ set f1=1 where A1=:a"), {{"a", kQ2}});
    dm->ADOCn1.exec(QStringLiteral("update tab_answ set f1=2, ecount=1 where A1=:a"),
                    {{"a", kCase1}});
    DM1->Cn1Query_tm->requery();
    window->questionButton(2)->click();
    EXPECT_EQ(control<QLabel>("Label21")->text(), QStringLiteral("本题已被您作废！"));
    EXPECT_EQ(control("epEfTrBtn10")->text(), QStringLiteral("取消作废"));
    window->questionButton(3)->click();
    EXPECT_EQ(control<QLabel>("Label21")->text(), QStringLiteral("本题是您加入的题目！"));
    EXPECT_EQ(control<QLabel>("Label24")->text(), QStringLiteral("本题被您修改过"));
    EXPECT_EQ(control("epEfTrBtn10")->text(), QStringLiteral("题目作废"));
}

TEST_F(PracticeWindowTest, EveryPracticeCountsItsFirstAnswerAgain) {
    open();
    click("fcBG_one1"); // wrong first answer
    click("epEfTrBtn3");
    click("epEfTrBtn99");
    EXPECT_EQ(answ(kQ1, "E4").toInt(), -3);
    const int expected[] = {-2, -1, 0, 0};
    for (int want : expected) {
        window.reset();
        open();
        EXPECT_EQ(answ(kQ1, "E2_1").toString(), ""); // emptied by the set-up
        EXPECT_EQ(window->Notebook1->answerText(), "");
        click("fcBG_one2");
        click("epEfTrBtn3");
        click("epEfTrBtn99");
        EXPECT_EQ(answ(kQ1, "E4").toInt(), want);
    }
    EXPECT_EQ(answ(kQ1, "E3").toInt(), 5);
    EXPECT_EQ(rz("A2").toInt(), 5);
    EXPECT_EQ(rz("B1").toInt(), 1);
    EXPECT_EQ(rz("B2").toInt(), 0);
}

TEST_F(PracticeWindowTest, SetUpWritesOnlyTheRowsHoldingAnAnswer) {
    dm->ADOCn1.exec(QStringLiteral("update tab_answ set E2_1='B' where A1=:a"), {{"a", kQ1}});
    dm->ADOCn1.exec(QStringLiteral("update tab_answ set E2_1='' where A1=:a"), {{"a", kQ2}});
    dm->ADOCn1.exec(QStringLiteral("create temp table written (a1 text)"));
    dm->ADOCn1.exec(QStringLiteral("create temp trigger count_writes after update of E2_1 on "
                                   "tab_answ begin insert into written values (new.A1); end"));
    open();
    EXPECT_EQ(dm->ADOCn1.scalar(QStringLiteral("select count(*) from written")).toInt(), 1);
    EXPECT_EQ(dm->ADOCn1.scalar(QStringLiteral("select a1 from written")).toString(), kQ1);
    EXPECT_EQ(answ(kQ1, "E2_1").toString(), "");
    EXPECT_EQ(
        dm->ADOCn1.scalar(QStringLiteral("select count(*) from tab_answ where E2_1<>''")).toInt(),
        0);
}

TEST_F(PracticeWindowTest, IdsWithQuotesAreBoundNotSpliced) {
    const QString id = QStringLiteral("410101'X0001");
    addQuestion(id, QStringLiteral("410101"), 11, 4, QStringLiteral("A"), 0);
    dm->ADOCn1.exec(QStringLiteral("update tab_answ set k3=:k where A1=:a"),
                    {{"k", QStringLiteral("41010'0001")}, {"a", id}});
    open();
    EXPECT_EQ(currentId(), id);
    EXPECT_TRUE(window->Re1->toPlainText().contains(id));
    click("fcBG_one1");
    click("epEfTrBtn3");
    EXPECT_TRUE(dialogs->requests.isEmpty());
    EXPECT_EQ(answ("410101'X0001", "E2_1").toString(), "A");
    EXPECT_EQ(rz("A2").toInt(), 1);
}

TEST_F(PracticeWindowTest, AFailedCountLeavesTheQuestionAndTheCountersUntouched) {
    open();
    // The catalogue table is gone: the third statement of the knowledge-point count fails.
    dm->ADOCn1.exec(QStringLiteral("alter table tab_fgmc rename to tab_fgmc_away"));
    click("fcBG_one2");
    click("epEfTrBtn3");
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->last().kind, Dialogs::Kind::MessageBox);
    EXPECT_EQ(answ(kQ1, "E2_1").toString(), "");
    EXPECT_EQ(answ(kQ1, "E3").toInt(), 0);
    EXPECT_TRUE(rz("A2").isNull());
    EXPECT_EQ(cell(QStringLiteral("tab_kmmc"), QStringLiteral("C1"), "410101", "D1").toInt(), 0);
    EXPECT_EQ(cell(QStringLiteral("tab_rule"), QStringLiteral("ftid"), "4101010001", "q2").toInt(),
              0);
    // Once the table is back the same answer counts in full.
    dm->ADOCn1.exec(QStringLiteral("alter table tab_fgmc_away rename to tab_fgmc"));
    click("epEfTrBtn3");
    EXPECT_EQ(answ(kQ1, "E3").toInt(), 1);
    EXPECT_EQ(rz("A2").toInt(), 1);
    EXPECT_EQ(cell(QStringLiteral("tab_kmmc"), QStringLiteral("C1"), "410101", "D1").toInt(), 1);
    EXPECT_EQ(cell(QStringLiteral("tab_fgmc"), QStringLiteral("id"), "41", "q2").toInt(), 1);
}

TEST_F(PracticeWindowTest, EmptySetAndMissingPictures) {
    App::PracticeQuerySql =
        QStringLiteral("select * from tab_answ where A10 like '4101%' and E3 > 99");
    {
        TFrmLxxt w;
        EXPECT_FALSE(w.LoadQuestionSet());
        EXPECT_FALSE(end->ended());
    }
    QFile::remove(folder->path() + QStringLiteral("pic/kvatdw_w.bmp"));
    App::PracticeQuerySql = kChapterSql;
    TFrmLxxt w;
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->last().title, QStringLiteral("错误"));
    EXPECT_EQ(dialogs->last().text, QStringLiteral("无法提取资源文件！"));
    EXPECT_EQ(dialogs->last().picture, 2);
    EXPECT_TRUE(end->ended());
    EXPECT_FALSE(w.LoadQuestionSet());
}

TEST_F(PracticeWindowTest, LaterWindowsOpenThroughTheRegistryAndDesktopThroughThePlatform) {
    open();
    // Unset hooks: the buttons are there and do nothing.
    click("epEfTrBtn8");
    click("epEfTrBtn11");
    EXPECT_TRUE(window->Timer1->isActive());
    QString pointsOf;
    int edits = 0, settings = 0;
    WindowRegistry::registerOpener(WindowNames::QuestionPoints,
                                   [&](QWidget*, const QString& id) { return pointsOf = id, 0; });
    WindowRegistry::registerOpener(WindowNames::EditQuestion, [&](QWidget* owner, const QString&) {
        ++edits;
        EXPECT_FALSE(static_cast<TFrmLxxt*>(owner)->Timer1->isActive());
        return 0;
    });
    WindowRegistry::registerOpener(WindowNames::Settings, [&](QWidget*, const QString&) {
        ++settings;
        EXPECT_EQ(App::ConfigMode, 0);
        return 0;
    });
    App::ConfigMode = 1;
    click("fcBG_one2");
    click("epEfTrBtn3");
    click("epEfTrBtn9");
    EXPECT_EQ(pointsOf, kQ1);
    click("epEfTrBtn11");
    EXPECT_EQ(edits, 1);
    click("epEfTrBtn8");
    EXPECT_EQ(settings, 1);
    DesktopFake desktop;
    click("epEfTrBtn7");
    EXPECT_EQ(desktop.shown, 1);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(PracticeWindowTest, NotebookHintsFollowThePage) {
    open();
    window->Notebook1MouseMove();
    EXPECT_EQ(window->Notebook1->toolTip(), QStringLiteral("选择一个选项作为正确答案"));
    window->questionButton(5)->click();
    QTest::mouseMove(window->Notebook1->fcBG_many[0]);
    EXPECT_EQ(window->Notebook1->toolTip(), QStringLiteral("选择两个或者多个选项作为正确答案"));
}

TEST_F(PracticeWindowTest, BothLayoutsPlaceTheNamedControls) {
    App::ScreenMode = QStringLiteral("800");
    open();
    EXPECT_EQ(window->size(), QSize(780, 490));
    EXPECT_EQ(window->Panel1->geometry(), QRect(21, 42, 590, 384));
    EXPECT_EQ(window->Notebook1->geometry(), QRect(96, 437, 273, 46));
    EXPECT_EQ(control<QWidget>("epEfTrBtn1")->geometry(), QRect(11, 438, 75, 45));
    EXPECT_EQ(control<QWidget>("epEfTrBtn99")->geometry(), QRect(688, 461, 75, 25));
    EXPECT_EQ(control<QWidget>("fcBG_th")->geometry(), QRect(625, 241, 140, 112));
    window.reset();
    App::ScreenMode = QStringLiteral("1024");
    open();
    EXPECT_EQ(window->size(), QSize(923, 585));
    EXPECT_EQ(control<QWidget>("epEfTrBtn2")->pos(), QPoint(380, 530));
    EXPECT_EQ(control<QWidget>("epEfTrBtn9")->pos(), QPoint(600, 552));
    const char* names[] = {"epLabel2",
                           "Label11",
                           "Label12",
                           "Label13",
                           "Label14",
                           "Label15",
                           "Label16",
                           "Label21",
                           "Label24",
                           "Panel1",
                           "Re1",
                           "FlatSplitter1",
                           "Re2",
                           "Panel2",
                           "Lb_answtip",
                           "Memo1",
                           "Memo2",
                           "Notebook1",
                           "epIndiGauge1",
                           "epLabel1",
                           "Label1",
                           "fcBG_tx",
                           "epLabel4",
                           "fcBG_th",
                           "epLabel3",
                           "Label2",
                           "Lb_zs",
                           "Label4",
                           "Lb_ts",
                           "Label6",
                           "Label7",
                           "Lb_zb",
                           "Label9",
                           "FlatSpeedButton1",
                           "FlatSpeedButton2",
                           "RxGIFAnimator1",
                           "fcBG_one1",
                           "fcBG_many6",
                           "FlatEdit1",
                           "fcBG_yn1",
                           "fcBG_yn2",
                           "FlatComboBox1",
                           "fcBG_pw6",
                           "Label8",
                           "fcBG_thfcImageBtn1",
                           "fcBG_thfcImageBtn20"};
    for (const char* n : names)
        EXPECT_NE(window->findChild<QObject*>(QString::fromLatin1(n)), nullptr) << n;
    for (int i = 1; i <= 11; ++i)
        EXPECT_NE(window->findChild<EffectButton*>(QStringLiteral("epEfTrBtn%1").arg(i)), nullptr)
            << i;
}
