// The exam window over a real paper: sitting it by keyboard and answer sheet, the clock and the
// pause, the hand-in dialog's three outcomes, the time limit, grading and review, papers longer
// than the sheet, both layouts, and the menu's road through a whole exam.

#include "exam/exam_commands.h"
#include "exam/exam_window.h"
#include "exam/paper.h"
#include "exam/pause_panel.h"
#include "practice/answer_pad.h"

#include "gui_bank_test.h"

#include "platform/clock.h"
#include "platform/program_end.h"
#include "platform/progress.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/effect_button.h"
#include "widgets/elapsed_clock.h"
#include "widgets/picture_button.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

class ExamWindowTest : public GuiBankTest {
  protected:
    void setUpWindows() override {
        copyPictures();
        App::PaperKind = 1;
        // The delivered composition: 60 single choice of 1 point, 35 multiple choice of 2.
        sql("update tab_tx1 set B2=60, B3=1 where A1=11");
        sql("update tab_tx1 set B2=35, B3=2 where A1=14");
        addQuestions(70, "410101", 11, "A");
        addQuestions(40, "410102", 14, "AB");
    }
    void tearDownWindows() override { window.reset(); }

    void addQuestions(int n, const QString& chapter, int type, const QString& key) {
        for (int i = 0; i < n; ++i) {
            const QString id =
                chapter + QString::number(type) + QStringLiteral("8%1").arg(i, 5, 10, QChar('0'));
            sql("insert into tab_answ (A1, A2, A2_1, A10, A13, f1, E3, E4) values "
                "(:a, :k, 4, :c, :t, 0, 0, 0)",
                {{"a", id}, {"k", key}, {"c", chapter}, {"t", type}});
            sql("insert into tab_exer (A1, A15) values (:a, :t)",
                {{"a", id}, {"t", QStringLiteral("题目 ") + id}});
        }
    }

    // A new kind-1 paper, shown as the menu shows it (without a modal loop).
    void sit() {
        built = Paper::BuildPaper(*dm, 1, today(), Paper::TimeOfDayRandom());
        openWindow(built.table, built.title, "new", 0, "0:00:00");
    }
    void openWindow(const QString& table, const QString& title, const QString& mode, double score,
                    const QString& time) {
        window = std::make_unique<TFrmExam>();
        window->SetPaper(table, title, mode, score, time);
        ASSERT_TRUE(window->OpenPaper());
        window->show();
        QCoreApplication::processEvents();
    }

    template <class T = QAbstractButton> T* control(const QString& name) {
        T* w = window->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    EffectButton* btn(int n) { return control<EffectButton>(QStringLiteral("epEfTrBtn%1").arg(n)); }
    PictureButton* sheet(int n) {
        return control<PictureButton>(QStringLiteral("fcBG_thfcImageBtn%1").arg(n));
    }
    void click(QAbstractButton* b) {
        ASSERT_TRUE(b->isEnabled()) << b->objectName().toStdString();
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void key(Qt::Key k) { QTest::keyClick(window.get(), k); }

    // Moves the clock on and lets the exam clock tick.
    void pass(int seconds) {
        now = now.addSecs(seconds);
        Clock::setFixed(now);
        window->KZTimeCounter1->tick();
    }

    QString face(PictureButton* b) {
        const QImage shown = b->upFace().toImage().convertToFormat(QImage::Format_ARGB32);
        for (const char* f : {"kvatup", "kvatover", "kvatyes", "kvatno"}) {
            const QImage file(folder->path() + QStringLiteral("pic/%1.bmp").arg(f));
            if (file.convertToFormat(QImage::Format_ARGB32) == shown)
                return QString::fromLatin1(f);
        }
        return QStringLiteral("?");
    }
    QString currentId() { return DM1->Cn1Query_exam->text("A1"); }
    QString key(int row) { return DM1->Cn1Query_exam->textAt(row - 1, "A2"); }
    qint64 answersToday() {
        return stored("select ifnull(sum(A2),0) as n from tab_rz where A1='2026-03-16'", "n")
            .toLongLong();
    }
    QVariant registered(const char* column) {
        return stored(QStringLiteral("select %1 as v from tab_cj where A1='%2'")
                          .arg(QString::fromLatin1(column), built.table),
                      "v");
    }

    QDateTime now = QDateTime(today(), QTime(10, 0));
    Paper::Built built;
    std::unique_ptr<TFrmExam> window;
};

TEST_F(ExamWindowTest, SittingAPaperByKeyboardAndSheetGradesTheRightAnswers) {
    sit();
    ASSERT_EQ(built.questions, 95);
    EXPECT_EQ(window->windowTitle(), "正在答卷");
    EXPECT_EQ(control<QLabel>("epLabel2")->text(), built.title);
    EXPECT_EQ(control<QLabel>("Label5")->text(), "1");
    EXPECT_EQ(control<QLabel>("Label7")->text(), "单项选择题 每题1分 共60分");
    EXPECT_TRUE(sheet(1)->isChecked());
    for (int b : {4, 6, 9, 10, 12})
        EXPECT_FALSE(btn(b)->isEnabled()) << b;
    EXPECT_FALSE(btn(1)->isEnabled());

    // Question 1 by keyboard: the key's letter, then Enter to the next question.
    const QString key1 = key(1);
    key(Qt::Key(Qt::Key_A + (key1[0].unicode() - 'A')));
    key(Qt::Key_Return);
    EXPECT_EQ(window->currentRow(), 2);
    EXPECT_EQ(face(sheet(1)), "kvatover");
    EXPECT_EQ(answersToday(), 1);
    // Question 2 answered wrongly by the pad, left by the sheet.
    auto* pad = control<AnswerPad>("Notebook1");
    const int wrong = key(2) == "A" ? 1 : 0;
    click(pad->fcBG_one[size_t(wrong)]);
    click(sheet(61));
    EXPECT_EQ(control<QLabel>("Label7")->text(), "多项选择题 每题2分 共70分");
    EXPECT_EQ(answersToday(), 2);
    // Question 61, multiple choice, by keys in any order.
    for (QChar c : key(61))
        key(Qt::Key(Qt::Key_A + (c.unicode() - 'A')));
    key(Qt::Key_Backspace);
    EXPECT_EQ(window->currentRow(), 60);
    EXPECT_EQ(face(sheet(61)), "kvatover");
    EXPECT_EQ(answersToday(), 3);
    // Leaving with the same answer counts nothing; changing it and back counts twice.
    click(sheet(1));
    click(sheet(3));
    EXPECT_EQ(answersToday(), 3);
    click(sheet(1));
    click(pad->fcBG_one[3]);
    click(sheet(3));
    click(sheet(1));
    click(pad->fcBG_one[size_t(key1[0].unicode() - 'A')]);
    click(sheet(3));
    EXPECT_EQ(answersToday(), 5);

    pass(5 * 60 + 7);
    dialogs->answer(1); // 确定
    click(btn(3));
    const Dialogs::Request& r = dialogs->last();
    EXPECT_EQ(r.text, "你还有92道题未做，确定要交卷吗？");
    EXPECT_EQ(r.mode, "Exam");
    EXPECT_EQ(r.buttons, 2);

    EXPECT_EQ(window->PaperMode(), "old");
    EXPECT_EQ(window->PaperScore(), 1 + 2);
    EXPECT_EQ(registered("A6").toDouble(), 3.0);
    EXPECT_EQ(registered("D2").toString(), "0:05:07");
    EXPECT_EQ(window->windowTitle(), "查阅试卷");
    EXPECT_EQ(control<QLabel>("Lb_zfs")->text(), "得分：3 分");
    EXPECT_EQ(control<QLabel>("epLb_time2")->text(), "0:05:07");
    EXPECT_FALSE(btn(3)->isEnabled());
    EXPECT_FALSE(btn(13)->isVisible());
    EXPECT_FALSE(control<AnswerPad>("Notebook1")->isEnabled());
    EXPECT_EQ(face(sheet(2)), "kvatno");
    EXPECT_EQ(face(sheet(61)), "kvatyes");
    EXPECT_EQ(face(sheet(4)), "kvatno");
    EXPECT_TRUE(window->BelowPassMark());

    // The answer panel compares answer and key.
    click(sheet(2));
    click(btn(6));
    EXPECT_EQ(btn(6)->text(), "返回");
    EXPECT_EQ(control<QLabel>("Lb_answtip")->text(), "很遗憾，做错了，请继续努力！");
    EXPECT_EQ(control<QPlainTextEdit>("Memo2")->toPlainText(), key(2));
    // The panel hides the question under it.
    auto* panel = control<QWidget>("Panel2");
    EXPECT_TRUE(control<QWidget>("Panel1")->geometry().contains(panel->geometry()));
    EXPECT_GE(panel->width(), control<QWidget>("Panel1")->width() - 2);
    const QImage shown = window->grab().toImage();
    EXPECT_EQ(shown.pixelColor(panel->geometry().bottomLeft() + QPoint(8, -8)), QColor("#f4f1e4"));
    click(btn(6));
    EXPECT_EQ(btn(6)->text(), "答案");

    // Below the pass mark: gone when the review closes.
    click(btn(7));
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(registered("A1").isValid());
    EXPECT_FALSE(dm->ADOCn1.hasTable(built.table));
}

TEST_F(ExamWindowTest, PausedTimeAndTheHandInDialogAreNotCounted) {
    sit();
    pass(10);
    EXPECT_EQ(control<QLabel>("epLb_time1")->text(), "0:00:10");
    click(btn(13));
    EXPECT_TRUE(window->paused());
    EXPECT_EQ(btn(13)->text(), "继续考试");
    for (int b : {1, 2, 3, 5, 7})
        EXPECT_FALSE(btn(b)->isEnabled()) << b;
    EXPECT_FALSE(control<QWidget>("Notebook1")->isEnabled());
    EXPECT_FALSE(control<QWidget>("fcBG_th")->isEnabled());
    auto* panel = control<PausePanel>("suiPanel1");
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(control<QWidget>("Panel1")->geometry().contains(panel->geometry()));
    EXPECT_GE(panel->width(), control<QWidget>("Panel1")->width() - 2);
    EXPECT_TRUE(panel->epRunPanel1->isRunning());
    EXPECT_TRUE(PausePanel::Slogan().join("").contains("Tarnwick"));

    pass(100);
    click(btn(13));
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(panel->epRunPanel1->isRunning());
    EXPECT_TRUE(btn(2)->isEnabled());
    EXPECT_FALSE(btn(1)->isEnabled()); // as before the pause, on question 1
    pass(5);
    EXPECT_EQ(control<QLabel>("epLb_time1")->text(), "0:00:15");

    // The time the hand-in dialog is open is not counted either; 取消 goes on.
    window->goToQuestion(1);
    key(Qt::Key_A);
    dialogs->onRequest = [this](const Dialogs::Request&) {
        now = now.addSecs(60);
        Clock::setFixed(now);
    };
    dialogs->answer(3); // 取消
    click(btn(7));
    dialogs->onRequest = {};
    EXPECT_EQ(window->PaperMode(), "new");
    EXPECT_TRUE(window->KZTimeCounter1->isRunning());
    pass(1);
    EXPECT_EQ(control<QLabel>("epLb_time1")->text(), "0:00:16");
}

TEST_F(ExamWindowTest, VoidingInTheHandInDialogDropsThePaper) {
    sit();
    // Answer 46 of the 95: 49 unanswered, the time is kept in the study log.
    for (int i = 1; i <= 46; ++i) {
        window->goToQuestion(i);
        key(Qt::Key_A);
    }
    pass(120);
    dialogs->answer(2); // 作废
    click(btn(3));
    EXPECT_EQ(dialogs->last().text, "你还有49道题未做，确定要交卷吗？");
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(dm->ADOCn1.hasTable(built.table));
    EXPECT_FALSE(registered("A1").isValid());
    EXPECT_EQ(stored("select D1 from tab_rz where A1='2026-03-16'", "D1").toString(), "00:02:00");

    // With 50 unanswered the time is not kept.
    sit();
    for (int i = 1; i <= 45; ++i) {
        window->goToQuestion(i);
        key(Qt::Key_A);
    }
    pass(120);
    dialogs->answer(2);
    click(btn(3));
    EXPECT_EQ(stored("select D1 from tab_rz where A1='2026-03-16'", "D1").toString(), "00:02:00");
}

TEST_F(ExamWindowTest, AnUntouchedFullPaperIsDroppedWithoutAsking) {
    sit();
    const int before = int(dialogs->requests.size());
    click(btn(3));
    EXPECT_EQ(int(dialogs->requests.size()), before);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(dm->ADOCn1.hasTable(built.table));
}

TEST_F(ExamWindowTest, TheTimeLimitGradesEvenWhenItsSecondIsSkipped) {
    sql("update tab_plan set ExamTime=60, LeastMark=0");
    sit();
    key(Qt::Key(Qt::Key_A + (key(1)[0].unicode() - 'A'))); // right, not yet left
    pass(30);
    EXPECT_EQ(window->PaperMode(), "new");
    pass(31); // 61 seconds: the 60th was never seen
    EXPECT_EQ(dialogs->last().text, "很遗憾，考试时间到了！");
    EXPECT_EQ(window->PaperMode(), "old");
    EXPECT_EQ(window->PaperScore(), 1.0);
    EXPECT_EQ(registered("D2").toString(), "0:01:01");
    EXPECT_FALSE(window->KZTimeCounter1->isRunning());

    // Kept (pass mark 0): reopened from the register it shows the same faces.
    QStringList faces;
    for (int i = 1; i <= 95; ++i)
        faces << face(sheet(i));
    click(btn(7));
    ASSERT_TRUE(registered("A1").isValid());
    openWindow(built.table, built.title, "old", registered("A6").toDouble(),
               registered("D2").toString());
    QStringList again;
    for (int i = 1; i <= 95; ++i)
        again << face(sheet(i));
    EXPECT_EQ(again, faces);
    EXPECT_EQ(faces.count("kvatyes"), 1);
    // Closing a paper reviewed from the register never removes it.
    click(btn(7));
    EXPECT_TRUE(registered("A1").isValid());
}

TEST_F(ExamWindowTest, AllQuestionsPastTheSheetAreReachableAndGraded) {
    sql("update tab_plan set LeastMark=0");
    // A paper of 100 questions: the sheet has 95 buttons.
    built = Paper::BuildPaper(*dm, 1, today(), Paper::TimeOfDayRandom());
    QStringList more;
    for (int i = 60; i < 65; ++i)
        more << QStringLiteral("410101118%1").arg(i, 5, 10, QChar('0'));
    sql("delete from " + built.table + " where A1 in ('" + more.join("','") + "')");
    // Five more questions, whichever the draw took.
    const QVariant missing = stored("select count(*) as n from tab_answ where A13=11 and A1 not "
                                    "in (select A1 from " +
                                        built.table + ")",
                                    "n");
    ASSERT_GE(missing.toInt(), 5);
    Paper::InsertQuestions(*dm, built.table, more);
    sql("insert into " + built.table +
        " (A1, A2, A2_1, A10, A13, F1) select A1, A2, A2_1, A10, "
        "A13, f1 from tab_answ where A13=11 and A1 not in (select A1 from " +
        built.table + ") limit 5");
    const int rows = int(stored("select count(*) as n from " + built.table, "n").toInt());
    ASSERT_GT(rows, 95);
    openWindow(built.table, built.title, "new", 0, "0:00:00");
    window->goToQuestion(95);
    click(btn(2));
    EXPECT_EQ(window->currentRow(), 96);
    EXPECT_EQ(control<QLabel>("Label5")->text(), "96");
    EXPECT_EQ(control<QWidget>("fcBG_th")->findChildren<PictureButton*>().size(), 95);
    for (PictureButton* b : control<QWidget>("fcBG_th")->findChildren<PictureButton*>())
        EXPECT_FALSE(b->isChecked());
    // Answer question 1 and every question past the sheet with its key.
    for (int r : QVector<int>{1} + [rows] {
             QVector<int> past;
             for (int i = 96; i <= rows; ++i)
                 past << i;
             return past;
         }()) {
        window->goToQuestion(r);
        for (QChar c : key(r))
            key(Qt::Key(Qt::Key_A + (c.unicode() - 'A')));
    }
    EXPECT_FALSE(btn(2)->isEnabled());
    click(btn(1));
    EXPECT_EQ(window->currentRow(), rows - 1);
    dialogs->answer(1);
    click(btn(3));
    double expected = 1; // question 1, single choice
    for (int r = 96; r <= rows; ++r)
        expected += DM1->Cn1Query_exam->textAt(r - 1, "A13") == "14" ? 2 : 1;
    EXPECT_EQ(window->PaperScore(), expected);
}

TEST_F(ExamWindowTest, AGradingFailureClosesCleanlyAndKeepsTheAnswers) {
    sit();
    key(Qt::Key_A);
    key(Qt::Key_Return);
    sql("create trigger no_score before update on tab_cj begin select raise(abort, 'full'); end");
    dialogs->answer(1);
    click(btn(3));
    EXPECT_EQ(dialogs->last().text, "发生错误！");
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(Progress::shown());
    EXPECT_TRUE(registered("A1").isValid());
    EXPECT_FALSE(registered("A6").isValid());
    EXPECT_EQ(stored("select count(*) as n from " + built.table + " where E2_1<>''", "n").toInt(),
              1);
}

TEST_F(ExamWindowTest, ReviewVoidsOnPaperAndBankAndOffersTheRightButtons) {
    sql("update tab_plan set LeastMark=0");
    built = Paper::BuildPaper(*dm, 1, today(), Paper::TimeOfDayRandom());
    sql("update " + built.table + " set E2_1=A2");
    openWindow(built.table, built.title, "old", 3, "0:10:00");
    EXPECT_EQ(control<QLabel>("Lb_zfs")->text(), "得分：3 分");
    for (int b : {4, 5, 6})
        EXPECT_TRUE(btn(b)->isVisible()) << b;
    EXPECT_TRUE(btn(10)->isEnabled());
    EXPECT_TRUE(btn(12)->isEnabled());
    const QString id = currentId();
    click(btn(12));
    EXPECT_EQ(control<QLabel>("Label1")->text(), "本题已被您作废！");
    EXPECT_EQ(btn(12)->text(), "取消作废");
    EXPECT_EQ(stored("select f1 from tab_answ where A1='" + id + "'", "f1").toInt(), 1);
    click(btn(12));
    EXPECT_EQ(control<QLabel>("Label1")->text(), "本题曾被作废，现已被您取消！");
    EXPECT_EQ(stored("select f1 from tab_answ where A1='" + id + "'", "f1").toInt(), 0);
    // The question with points has its 考点 button; the others do not.
    bool pointsSeen = false;
    for (int r = 1; r <= 95; ++r) {
        window->goToQuestion(r);
        const bool hasPoints = !DM1->Cn1Query_exam->text("k3").isEmpty();
        EXPECT_EQ(btn(9)->isEnabled(), hasPoints) << r;
        pointsSeen = pointsSeen || hasPoints;
    }
    EXPECT_TRUE(pointsSeen);
}

TEST_F(ExamWindowTest, BothLayoutsKeepEveryControlInsideTheWindow) {
    for (const char* mode : {"800", "1024"}) {
        App::ScreenMode = QString::fromLatin1(mode);
        sit();
        const QRect inside = window->rect();
        for (const char* name : {"Panel1", "Notebook1", "GroupBox1", "epEfTrBtn1", "epEfTrBtn2",
                                 "epEfTrBtn3", "epEfTrBtn7", "epEfTrBtn9", "epEfTrBtn12"})
            EXPECT_TRUE(inside.contains(control<QWidget>(name)->geometry())) << mode << name;
        auto* box = control<QGroupBox>("GroupBox1");
        const QRect sheetArea = control<QWidget>("fcBG_th")->geometry();
        EXPECT_TRUE(box->rect().contains(sheetArea)) << mode;
        // Filled column by column: 2 below 1, 20 to the right of 1.
        EXPECT_EQ(sheet(2)->x(), sheet(1)->x());
        EXPECT_GT(sheet(2)->y(), sheet(1)->y());
        EXPECT_GT(sheet(20)->x(), sheet(1)->x());
        EXPECT_LE(sheet(95)->geometry().bottom(), sheetArea.height());
        EXPECT_FALSE(control<QWidget>("Panel1")->geometry().intersects(box->geometry()));
        // The longest type caption and notice fit, side by side.
        auto* caption = control<QLabel>("Label7");
        auto* notice = control<QLabel>("Label1");
        EXPECT_LE(caption->fontMetrics().horizontalAdvance("案例分析题 每题26分 共130分"),
                  caption->width())
            << mode;
        EXPECT_LE(notice->fontMetrics().horizontalAdvance("本题曾被作废，现已被您取消！"),
                  notice->width())
            << mode;
        EXPECT_FALSE(caption->geometry().intersects(notice->geometry())) << mode;
        click(btn(7)); // an untouched paper is dropped
    }
    EXPECT_EQ(window->size(), QSize(917, 585));
    App::ScreenMode = QStringLiteral("1024");
}

TEST_F(ExamWindowTest, TheMenuCommandBuildsSitsAndGradesAPaper) {
    sql("update tab_plan set LeastMark=0");
    QStringList stages;
    // Acts once the exam window runs modally.
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* w = qobject_cast<TFrmExam*>(QApplication::activeModalWidget());
        if (!w)
            return;
        poll.stop();
        stages << Progress::lastStage();
        QTest::keyClick(w, Qt::Key_A);
        dialogs->answer(1);
        QTest::mouseClick(w->button(3), Qt::LeftButton);
        stages << w->PaperMode();
        QTest::mouseClick(w->button(7), Qt::LeftButton);
    });
    poll.start();
    mnks(1);
    EXPECT_EQ(stages, QStringList({"正在出卷...", "old"}));
    EXPECT_EQ(App::PaperKind, 1);
    EXPECT_EQ(stored("select count(*) as n from tab_cj where A6 is not null", "n").toInt(), 1);
    EXPECT_FALSE(Progress::shown());
    EXPECT_FALSE(end->ended());

    // A kind without questions: its message, the end of the program, and nothing left behind.
    mnks(3);
    EXPECT_EQ(dialogs->last().text, "没有发现题目！");
    EXPECT_TRUE(end->ended());
    EXPECT_EQ(stored("select count(*) as n from tab_cj", "n").toInt(), 1);
    EXPECT_FALSE(dm->ADOCn1.hasTable("tab_exam2"));
}

TEST_F(ExamWindowTest, PapersThatCannotBeOpenedEndTheProgramAndLeaveNoPhantom) {
    // A type table whose counts are all 0 composes an empty paper: it is removed again.
    sql("update tab_tx1 set B2=0");
    mnks(1);
    EXPECT_EQ(dialogs->last().text, "无法打开试卷！");
    EXPECT_TRUE(end->ended());
    EXPECT_EQ(stored("select count(*) as n from tab_cj", "n").toInt(), 0);
    EXPECT_FALSE(dm->ADOCn1.hasTable("tab_exam1"));

    // A register row whose table is missing: its review ends the program, the row stays for
    // the history's delete.
    ProgramEnd::reset();
    sql("insert into tab_cj (A1, A3, A3_1, A6, D2) values ('tab_exam4', 'x', 1, 80, '1:00:00')");
    window = std::make_unique<TFrmExam>();
    window->SetPaper("tab_exam4", "x", "old", 80, "1:00:00");
    EXPECT_FALSE(window->OpenPaper());
    EXPECT_EQ(dialogs->last().text, "无法打开试卷！");
    EXPECT_TRUE(end->ended());
    EXPECT_EQ(stored("select count(*) as n from tab_cj", "n").toInt(), 1);

    // A name the program never made never reaches a statement.
    sql("update tab_answ set E2_1='B' where A1='410101110001'");
    window = std::make_unique<TFrmExam>();
    window->SetPaper("tab_answ", "x", "new", 0, "0:00:00");
    EXPECT_FALSE(window->OpenPaper());
    EXPECT_EQ(stored("select E2_1 from tab_answ where A1='410101110001'", "E2_1").toString(), "B");
    EXPECT_TRUE(dm->ADOCn1.hasTable("tab_answ"));
}

TEST_F(ExamWindowTest, SubjectiveQuestionsAreRatedCanOrCannotAndScoreWhenRatedCan) {
    App::PaperKind = 2;
    sql("delete from tab_tx2");
    sql("insert into tab_tx2 (A1, B1, B2, B3, time) values (22, '案例分析题', 5, 26, 30)");
    addQuestions(6, "510101", 22, "1");
    built = Paper::BuildPaper(*dm, 2, today(), Paper::TimeOfDayRandom());
    ASSERT_EQ(built.questions, 5);
    openWindow(built.table, built.title, "new", 0, "0:00:00");
    EXPECT_EQ(control<QLabel>("Label7")->text(), "案例分析题 每题26分 共130分");
    auto* pad = control<AnswerPad>("Notebook1");
    EXPECT_EQ(pad->page(), 4);
    EXPECT_EQ(pad->FlatComboBox1->currentIndex(), -1);
    pad->FlatComboBox1->setCurrentIndex(1); // 会
    click(btn(2));
    pad->FlatComboBox1->setCurrentIndex(0); // 不会
    click(btn(2));
    pad->FlatComboBox1->setCurrentIndex(1);
    dialogs->answer(1);
    click(btn(3));
    EXPECT_EQ(dialogs->last().text, "你还有2道题未做，确定要交卷吗？");
    EXPECT_EQ(window->PaperScore(), 52.0);
    // Self-rated questions have no answer comparison.
    EXPECT_FALSE(btn(6)->isEnabled());
    EXPECT_EQ(face(sheet(1)), "kvatyes");
    EXPECT_EQ(face(sheet(2)), "kvatno");
}

} // namespace
