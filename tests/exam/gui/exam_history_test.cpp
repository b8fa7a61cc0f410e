// The exam history over a real sample bank: the list newest first, the three figures (with the
// pass line of 3/5 of the full marks and an average over the scored papers only), the notice,
// deleting a paper with its table, both layouts, the settings button and the review round trip.

#include "exam/exam_history.h"
#include "exam/exam_window.h"

#include "gui_bank_test.h"

#include "platform/progress.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "store/schema.h"
#include "widgets/dataset_table_model.h"
#include "widgets/effect_button.h"
#include "widgets/window_registry.h"

#include <QApplication>
#include <QHeaderView>
#include <QLCDNumber>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace {

using GuiTest::whenModal;

const QString kDeleteQuestion = QStringLiteral("即将删除试卷，要继续么？");

class ExamHistoryTest : public GuiBankTest {
  protected:
    void fullMarks130() {
        sql(QStringLiteral("update tab_tx1 set B2=60, B3=1 where A1=11"));
        sql(QStringLiteral("update tab_tx1 set B2=35, B3=2 where A1=14"));
        sql(QStringLiteral("update tab_tx1 set B2=0 where A1=22"));
    }
    // One register row; a null score is a paper never graded.
    void registerPaper(const QString& table, const QString& title, int number,
                       const QVariant& score, const QString& timeUsed = QStringLiteral("1:02:03")) {
        sql(QStringLiteral("insert into tab_cj (A1, A3, A3_1, A6, D1, D2) values "
                           "(:a1, :a3, :n, :a6, '2026-03-16', :d2)"),
            {{QStringLiteral("a1"), table},
             {QStringLiteral("a3"), title},
             {QStringLiteral("n"), number},
             {QStringLiteral("a6"), score},
             {QStringLiteral("d2"), timeUsed}});
    }
    void createPaperTable(const QString& table) { sql(Schema::paperTableStatement(table)); }
    bool tableExists(const QString& table) {
        return stored(QStringLiteral("select count(*) as n from sqlite_master where type='table' "
                                     "and name='") +
                          table + QStringLiteral("'"),
                      QStringLiteral("n"))
                   .toInt() > 0;
    }
    int registerRows(const QString& table) {
        return stored(QStringLiteral("select count(*) as n from tab_cj where A1='") + table +
                          QStringLiteral("'"),
                      QStringLiteral("n"))
            .toInt();
    }
    static QStringList titles(const TFrmCheck& w) {
        QStringList out;
        for (int r = 0; r < w.DBGrid1Model->rowCount(); ++r)
            out << w.DBGrid1Model->cellText(r, QStringLiteral("A3"));
        return out;
    }
    static QVector<int> figures(const TFrmCheck& w) {
        return {w.epNumPanel1->intValue(), w.epNumPanel2->intValue(), w.epNumPanel3->intValue()};
    }
};

TEST_F(ExamHistoryTest, AnEmptyRegisterShowsZerosAndReviewAndDeleteDoNothing) {
    Progress::stage(QStringLiteral("before"));
    TFrmCheck w;
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("查阅试卷"));
    EXPECT_EQ(figures(w), QVector<int>({0, 0, 0}));
    EXPECT_EQ(w.DBGrid1->model()->rowCount(), 0);
    w.SpeedButton2->click();
    w.SpeedButton4->click();
    w.epEfTrBtn1Click();
    EXPECT_TRUE(dialogs->requests.isEmpty());
    EXPECT_EQ(Progress::lastStage(), QStringLiteral("before"));
    EXPECT_TRUE(w.isVisible());
    w.SpeedButton3->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(DM1->Cn1Table_cj->active());
    EXPECT_FALSE(DM1->Cn1Query1->active());
}

TEST_F(ExamHistoryTest, FiguresCountPassesByThreeFifthsOfTheFullMarksAndAverageTheScores) {
    fullMarks130(); // pass line (130 div 5) x 3 = 78
    registerPaper(QStringLiteral("tab_exam1"), QStringLiteral("第一卷"), 1, 78.0);
    registerPaper(QStringLiteral("tab_exam3"), QStringLiteral("第三卷"), 3, QVariant());
    registerPaper(QStringLiteral("tab_exam2"), QStringLiteral("第二卷"), 2, 77.5);
    // A pass mark far above the pass line changes neither the passes nor the list.
    sql(QStringLiteral("update tab_plan set LeastMark=100"));
    TFrmCheck w;
    w.show();
    // 3 papers; 78 passes, 77.5 does not; the mean of 78 and 77.5 is 77.75, the paper without a
    // score is not counted as 0 (that would give 52).
    EXPECT_EQ(figures(w), QVector<int>({3, 1, 78}));
    EXPECT_EQ(titles(w), QStringList({"第三卷", "第二卷", "第一卷"})) << "newest first";
    EXPECT_EQ(w.DBGrid1Model->cellText(1, QStringLiteral("A6")), QStringLiteral("77.5"));
    EXPECT_EQ(w.DBGrid1Model->cellText(2, QStringLiteral("A6")), QStringLiteral("78"));
    EXPECT_EQ(w.DBGrid1Model->cellText(0, QStringLiteral("D2")), QStringLiteral("1:02:03"));
    QAbstractItemModel* m = w.DBGrid1->model();
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("试卷名称"));
    EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("成绩"));
    EXPECT_EQ(m->headerData(2, Qt::Horizontal).toString(), QStringLiteral("用时"));
    EXPECT_EQ(w.Lbtip->text(), QStringLiteral("[提示]：成绩少于 100 分的试卷，不被保留。"));
    EXPECT_EQ(DM1->Cn1Table_cj->recordCount(), 3) << "the pass filter is cleared afterwards";
    w.close();

    // Every show works the figures out anew, with the full marks of that moment.
    sql(QStringLiteral("update tab_plan set LeastMark=65"));
    sql(QStringLiteral("update tab_tx1 set B2=34 where A1=14")); // 128: pass line 75
    DM1->Cn1Table_tx->close(); // as the window that changes the type table leaves it
    registerPaper(QStringLiteral("tab_exam4"), QStringLiteral("第四卷"), 4, 0.0);
    w.show();
    EXPECT_EQ(figures(w), QVector<int>({4, 2, 52}));
    EXPECT_EQ(w.Lbtip->text(), QStringLiteral("[提示]：成绩少于 65 分的试卷，不被保留。"));
    EXPECT_EQ(titles(w).first(), QStringLiteral("第四卷"));
    EXPECT_EQ(DM1->Cn1Table_cj->recNo(), 1);
    EXPECT_EQ(w.DBGrid1->currentIndex().row(), 0);
}

TEST_F(ExamHistoryTest, DeleteAsksFirstAndRemovesThePaperWithItsTable) {
    fullMarks130();
    createPaperTable(QStringLiteral("tab_exam7"));
    createPaperTable(QStringLiteral("tab_exam8"));
    registerPaper(QStringLiteral("tab_exam7"), QStringLiteral("第七卷"), 7, 90.0);
    registerPaper(QStringLiteral("tab_exam8"), QStringLiteral("第八卷"), 8, 50.0);
    // An older register row naming the same table goes with it.
    registerPaper(QStringLiteral("tab_exam7"), QStringLiteral("旧第七卷"), 2, 80.0);
    TFrmCheck w;
    w.show();
    ASSERT_EQ(titles(w), QStringList({"第八卷", "第七卷", "旧第七卷"}));
    ASSERT_EQ(figures(w), QVector<int>({3, 2, 73}));
    w.DBGrid1->selectRow(1);
    ASSERT_EQ(DM1->Cn1Table_cj->text(QStringLiteral("A1")), QStringLiteral("tab_exam7"));

    dialogs->answer(Dialogs::BoxCancel);
    w.SpeedButton4->click();
    ASSERT_EQ(dialogs->requests.size(), 1);
    const Dialogs::Request& r = dialogs->last();
    EXPECT_EQ(r.kind, Dialogs::Kind::MessageBox);
    EXPECT_EQ(r.title, QStringLiteral("提示"));
    EXPECT_EQ(r.text, kDeleteQuestion);
    EXPECT_EQ(r.icon, Dialogs::Icon::Question);
    EXPECT_EQ(r.boxButtons, Dialogs::BoxButtons::OkCancel);
    EXPECT_TRUE(tableExists(QStringLiteral("tab_exam7")));
    EXPECT_EQ(registerRows(QStringLiteral("tab_exam7")), 2);
    EXPECT_EQ(titles(w).size(), 3);

    w.SpeedButton4->click(); // answered OK
    EXPECT_EQ(dialogs->requests.size(), 2);
    EXPECT_FALSE(tableExists(QStringLiteral("tab_exam7")));
    EXPECT_EQ(registerRows(QStringLiteral("tab_exam7")), 0);
    EXPECT_TRUE(tableExists(QStringLiteral("tab_exam8")));
    EXPECT_EQ(titles(w), QStringList({"第八卷"}));
    EXPECT_EQ(figures(w), QVector<int>({3, 2, 73})) << "the figures wait for the next show";
    EXPECT_EQ(w.DBGrid1->horizontalHeader()->sectionSize(0), 388);
    EXPECT_TRUE(w.isVisible());
    w.close();
    w.show();
    EXPECT_EQ(figures(w), QVector<int>({1, 0, 50}));

    // A register row whose table is gone is removed all the same, without a message.
    registerPaper(QStringLiteral("tab_exam9"), QStringLiteral("第九卷"), 9, 60.0);
    w.close();
    w.show();
    ASSERT_EQ(DM1->Cn1Table_cj->text(QStringLiteral("A1")), QStringLiteral("tab_exam9"));
    w.SpeedButton4->click();
    EXPECT_EQ(dialogs->requests.size(), 3);
    EXPECT_EQ(registerRows(QStringLiteral("tab_exam9")), 0);
    EXPECT_EQ(titles(w), QStringList({"第八卷"}));
}

TEST_F(ExamHistoryTest, BothLayoutsPlaceTheControlsAndSizeTheColumns) {
    registerPaper(QStringLiteral("tab_exam1"), QStringLiteral("2026年03月16日模拟考试[1]"), 1,
                  77.5);
    struct Expect {
        const char* mode;
        QSize size;
        QRect grid;
        int first;
        int other;
    };
    const Expect cases[] = {
        {"800", QSize(760, 479), QRect(83, 100, 476, 284), 310, 65},
        {"1024", QSize(935, 612), QRect(102, 123, 585, 350), 388, 80},
    };
    for (const Expect& e : cases) {
        App::ScreenMode = QString::fromLatin1(e.mode);
        SCOPED_TRACE(e.mode);
        TFrmCheck w;
        w.show();
        const bool small = App::ScreenMode == QLatin1String("800");
        EXPECT_EQ(w.size(), e.size);
        EXPECT_EQ(w.Image1->isVisible(), small);
        EXPECT_EQ(w.Image2->isVisible(), !small);
        EXPECT_EQ(w.DBGrid1->geometry(), e.grid);
        QHeaderView* columns = w.DBGrid1->horizontalHeader();
        EXPECT_EQ(columns->sectionSize(0), e.first);
        EXPECT_EQ(columns->sectionSize(1), e.other);
        EXPECT_EQ(columns->sectionSize(2), e.other);

        QList<QWidget*> controls = {w.DBGrid1,      w.Label1,       w.Label2,       w.Label3,
                                    w.epNumPanel1,  w.epNumPanel2,  w.epNumPanel3,  w.SpeedButton1,
                                    w.SpeedButton2, w.SpeedButton3, w.SpeedButton4, w.Lbtip};
        const QRect window(QPoint(0, 0), e.size);
        for (int i = 0; i < controls.size(); ++i) {
            const std::string name = controls[i]->objectName().toStdString();
            EXPECT_TRUE(window.contains(controls[i]->geometry())) << name;
            for (int j = i + 1; j < controls.size(); ++j)
                EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                    << name << " overlaps " << controls[j]->objectName().toStdString();
        }
        for (EffectButton* b : {w.SpeedButton1, w.SpeedButton2, w.SpeedButton3, w.SpeedButton4})
            EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()), b->width());
        EXPECT_LE(w.Lbtip->fontMetrics().horizontalAdvance(w.Lbtip->text()), w.Lbtip->width());
    }
}

TEST_F(ExamHistoryTest, SettingsOpenInMusicModeOnlyWhenTheProgramHasThem) {
    App::ConfigMode = 1;
    TFrmCheck w;
    w.show();
    w.SpeedButton1->click(); // nothing registered: nothing happens
    EXPECT_EQ(App::ConfigMode, 1);
    int opened = 0;
    WindowRegistry::registerOpener(WindowNames::Settings, [&](QWidget* owner, const QString&) {
        EXPECT_EQ(owner, &w);
        EXPECT_EQ(App::ConfigMode, 0);
        ++opened;
        return 0;
    });
    w.SpeedButton1->click();
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(dialogs->requests.isEmpty());
}

TEST_F(ExamHistoryTest, ReviewHidesTheHistoryAndShowsItAgainWithFreshFigures) {
    copyPictures();
    App::PaperKind = 1;
    fullMarks130();
    // A paper of one question, answered with its key.
    createPaperTable(QStringLiteral("tab_exam5"));
    sql(QStringLiteral(
        "insert into tab_exam5 (A1,A2,A2_1,K3,K4,K5,K6,K7,K8,K9,K10,K11,K12,A10,A13,A14,E1,E2,"
        "E2_1,E3,E4,jx,csbs,F1) select a.A1,a.A2,a.A2_1,a.k3,a.k4,a.k5,a.k6,a.k7,a.k8,a.k9,"
        "a.k10,a.k11,a.k12,a.A10,a.A13,a.A14,a.E1,'B',a.E2_1,a.E3,a.E4,x.jx,a.csbs,0 "
        "from tab_answ a join tab_exer x on x.A1=a.A1 where a.A1='410101110001'"));
    registerPaper(QStringLiteral("tab_exam5"), QStringLiteral("复习卷"), 5, 70.0,
                  QStringLiteral("0:01:40"));
    registerPaper(QStringLiteral("tab_exam4"), QStringLiteral("旧卷"), 4, 82.0);

    TFrmCheck w;
    w.show();
    ASSERT_EQ(figures(w), QVector<int>({2, 1, 76}));
    ASSERT_EQ(DM1->Cn1Table_cj->text(QStringLiteral("A1")), QStringLiteral("tab_exam5"));

    // What the progress window is told, with whether the history is on show at that moment.
    QStringList progress;
    Progress::setHandler(
        {[&](const QString& text) {
             progress << QStringLiteral("begin ") + text + (w.isVisible() ? " +" : " -");
         },
         [&](const QString& text) {
             progress << QStringLiteral("stage ") + text + (w.isVisible() ? " +" : " -");
         },
         [&] { progress << QStringLiteral("end"); }});
    struct Seen {
        bool reached = false;
        bool historyHidden = false;
        QString table, title, mode, timeUsed;
        double score = -1;
    } seen;
    whenModal<TFrmExam>([&](TFrmExam* exam) {
        seen.reached = true;
        seen.historyHidden = !w.isVisible();
        seen.table = exam->PaperTable();
        seen.title = exam->PaperTitle();
        seen.mode = exam->PaperMode();
        seen.timeUsed = exam->TimeUsed();
        seen.score = exam->PaperScore();
        // Something changes the register while the paper is on show.
        sql(QStringLiteral("update tab_cj set A6=98 where A1='tab_exam4'"));
        exam->reject();
    });
    // A double-click on the row reviews it, as 查阅 does.
    const QRect cell = w.DBGrid1->visualRect(w.DBGrid1->model()->index(0, 0));
    ASSERT_TRUE(cell.isValid());
    QTest::mouseClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_TRUE(GuiTest::waitUntil([&] { return seen.reached && w.isVisible(); }));

    EXPECT_TRUE(seen.historyHidden);
    Progress::setHandler({});
    ASSERT_GE(progress.size(), 3);
    EXPECT_EQ(progress[0], QStringLiteral("begin 正在初始化数据... +"));
    EXPECT_EQ(progress[1], QStringLiteral("stage 正在提取数据... -"));
    EXPECT_EQ(progress.last(), QStringLiteral("end"));
    EXPECT_EQ(seen.table, QStringLiteral("tab_exam5"));
    EXPECT_EQ(seen.title, QStringLiteral("复习卷"));
    EXPECT_EQ(seen.mode, QStringLiteral("old"));
    EXPECT_EQ(seen.timeUsed, QStringLiteral("0:01:40"));
    EXPECT_DOUBLE_EQ(seen.score, 70.0);
    EXPECT_FALSE(Progress::shown());
    EXPECT_EQ(figures(w), QVector<int>({2, 1, 84})) << "shown again, the figures are new";
    EXPECT_FALSE(end->ended());

    // In a modal run, as the menu opens it, the history comes back in the same run.
    w.close();
    bool cameBack = false;
    whenModal<TFrmCheck>([&](TFrmCheck* history) {
        whenModal<TFrmExam>([&, history](TFrmExam* exam) {
            exam->reject();
            whenModal<TFrmCheck>([&, history](TFrmCheck* again) {
                cameBack = again == history;
                again->SpeedButton3->click();
            });
        });
        history->SpeedButton2->click();
    });
    w.exec();
    EXPECT_TRUE(cameBack);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(DM1->Cn1Table_cj->active());
}

} // namespace
