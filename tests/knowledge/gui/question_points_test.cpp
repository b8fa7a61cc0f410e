// The knowledge points of one question: which slots count, the chapter in the title bar, slots
// naming no point, the opener that shows nothing for a question without points, and the window
// opened from the exam review's 考点 button.

#include "knowledge/knowledge_commands.h"
#include "knowledge/question_points_window.h"

#include "gui_bank_test.h"

#include "exam/exam_window.h"
#include "exam/paper.h"

#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/db_rich_view.h"
#include "widgets/effect_button.h"
#include "widgets/window_registry.h"

#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <QSplitter>

#include <memory>

#include <gtest/gtest.h>

namespace {

using GuiTest::whenModal;

class QuestionPointsTest : public GuiBankTest {
  protected:
    void slots(const char* id, const QVariantMap& values) {
        QString set;
        for (int k = 3; k <= 12; ++k)
            set += QStringLiteral("%1k%2=:k%2").arg(set.isEmpty() ? "" : ",").arg(k);
        Params p{{"a", QString::fromLatin1(id)}};
        for (int k = 3; k <= 12; ++k) {
            const QString key = QStringLiteral("k%1").arg(k);
            p.insert(key, values.value(key));
        }
        sql(QStringLiteral("update tab_answ set ") + set + QStringLiteral(" where A1=:a"), p);
    }
    QStringList listed(const TfrmAnswFagui& w) const {
        QStringList out;
        for (int i = 0; i < w.ListBox1->count(); ++i)
            out << w.ListBox1->item(i)->text();
        return out;
    }
};

} // namespace

TEST_F(QuestionPointsTest, OnlyFilledSlotsCountWhereverTheyStand) {
    TfrmAnswFagui w;
    EXPECT_FALSE(w.LoadQuestionPoints(QStringLiteral("no such question")));
    EXPECT_FALSE(w.LoadQuestionPoints(QStringLiteral("410101110002"))); // every slot empty
    slots("410101110002", {{"k3", QString()}, {"k4", "4101020002"}});
    ASSERT_TRUE(w.LoadQuestionPoints(QStringLiteral("410101110002")));
    EXPECT_EQ(w.m_listbox->count(), 1);
    w.show();
    EXPECT_EQ(listed(w), QStringList{QStringLiteral("投资回收期").leftJustified(20)});
    EXPECT_EQ(w.epLabel1->text(), QStringLiteral("第二节"));
    // A quote in an id is only a character.
    EXPECT_FALSE(w.LoadQuestionPoints(QStringLiteral("41' or '1'='1")));
}

TEST_F(QuestionPointsTest, ThreePointsListInSlotOrderAndTheTitleFollowsTheSelectedOnesChapter) {
    slots("410101110002", {{"k3", "4101020001"}, {"k6", "4101010001"}, {"k12", "4101020002"}});
    TfrmAnswFagui w;
    ASSERT_TRUE(w.LoadQuestionPoints(QStringLiteral("410101110002")));
    w.show();
    ASSERT_EQ(w.ListBox1->count(), 3);
    EXPECT_TRUE(w.ListBox1->item(0)->text().startsWith(QStringLiteral("内部收益率")));
    EXPECT_TRUE(w.ListBox1->item(1)->text().startsWith(QStringLiteral("净现值")));
    EXPECT_EQ(w.ListBox1->currentRow(), 0);
    EXPECT_TRUE(w.Re->toPlainText().contains(QStringLiteral("内部收益率")));
    EXPECT_EQ(w.epLabel1->text(), QStringLiteral("第二节"));
    w.ListBox1->setCurrentRow(1);
    EXPECT_TRUE(w.Re->toPlainText().contains(QStringLiteral("净现值")));
    EXPECT_EQ(w.epLabel1->text(), QStringLiteral("第一节"));
    w.ListBox1->setCurrentRow(2);
    EXPECT_EQ(w.epLabel1->text(), QStringLiteral("第二节"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("相关考点"));
    EXPECT_EQ(w.size(), QSize(917, 585));
    w.close();
    // Nothing of the window writes to the bank.
    EXPECT_EQ(stored(QStringLiteral("select count(*) as n from tab_rule where q1<>0 or q2<>0"),
                     QStringLiteral("n"))
                  .toInt(),
              0);
}

TEST_F(QuestionPointsTest, SlotsNamingNoPointAddNoRowAndNoMatchLeavesTheWindowEmpty) {
    slots("410101110002", {{"k3", "9999999999"}, {"k4", "4101010001"}});
    App::ScreenMode = QStringLiteral("800");
    {
        TfrmAnswFagui w;
        ASSERT_TRUE(w.LoadQuestionPoints(QStringLiteral("410101110002")));
        w.show();
        EXPECT_EQ(w.size(), QSize(657, 421));
        EXPECT_EQ(w.Splitter1->sizes().value(0), 185);
        ASSERT_EQ(w.ListBox1->count(), 1);
        EXPECT_EQ(w.epLabel1->text(), QStringLiteral("第一节"));
    }
    slots("410101110002", {{"k3", "9999999999"}, {"k5", "8888888888"}});
    TfrmAnswFagui w;
    ASSERT_TRUE(w.LoadQuestionPoints(QStringLiteral("410101110002")));
    w.show();
    EXPECT_EQ(w.ListBox1->count(), 0);
    EXPECT_TRUE(w.Re->toPlainText().isEmpty());
    EXPECT_TRUE(w.epLabel1->text().isEmpty());
}

TEST_F(QuestionPointsTest, TheOpenerShowsNothingForAQuestionWithoutPoints) {
    registerKnowledgeCommands();
    EXPECT_EQ(
        WindowRegistry::open(WindowNames::QuestionPoints, nullptr, QStringLiteral("410101110002")),
        WindowRegistry::kNotShown);
    bool ran = false;
    whenModal<TfrmAnswFagui>([&](TfrmAnswFagui* w) {
        ran = true;
        EXPECT_EQ(w->ListBox1->count(), 2);
        w->close();
    });
    WindowRegistry::open(WindowNames::QuestionPoints, nullptr, QStringLiteral("410101110001"));
    EXPECT_TRUE(ran);
    EXPECT_TRUE(dialogs->requests.isEmpty());
}

TEST_F(QuestionPointsTest, TheExamReviewOpensThePointsOfItsQuestionOnShow) {
    copyPictures();
    App::PaperKind = 1;
    registerKnowledgeCommands();
    // Every single-choice question of subject 4 is drawn, the one with two points among them.
    sql("update tab_tx1 set B2=4 where A1=11");
    const Paper::Built built = Paper::BuildPaper(*dm, 1, today(), Paper::TimeOfDayRandom());
    sql("update " + built.table + " set E2_1=A2");
    TFrmExam review;
    review.SetPaper(built.table, built.title, QStringLiteral("old"), 0, QStringLiteral("0:01:00"));
    ASSERT_TRUE(review.OpenPaper());
    review.show();
    QCoreApplication::processEvents();
    int row = 1;
    while (DM1->Cn1Query_exam->text(QStringLiteral("A1")) != QLatin1String("410101110001")) {
        ASSERT_LT(row, DM1->Cn1Query_exam->recordCount()) << "the question with two points";
        review.goToQuestion(++row);
    }
    auto* points = review.findChild<QAbstractButton*>(QStringLiteral("epEfTrBtn9"));
    ASSERT_TRUE(points->isEnabled());
    bool ran = false;
    whenModal<TfrmAnswFagui>([&](TfrmAnswFagui* w) {
        ran = true;
        EXPECT_EQ(w->ListBox1->count(), 2);
        w->epEfTrBtn1->click();
    });
    points->click();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(review.isVisible());
}
