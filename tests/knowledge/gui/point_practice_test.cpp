// The practice over one knowledge point: its own names, captions, texts and layouts over the
// shared practice, voided questions in its set, and the knowledge points of the question on show.

#include "knowledge/knowledge_commands.h"
#include "knowledge/point_catalogue.h"
#include "knowledge/point_practice_window.h"
#include "knowledge/question_points_window.h"

#include "gui_bank_test.h"

#include "practice/answer_pad.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/effect_button.h"
#include "widgets/picture_button.h"

#include <QLabel>
#include <QListWidget>
#include <QTest>

#include <memory>

#include <gtest/gtest.h>

namespace {

using GuiTest::whenModal;

using Fakes::DesktopFake;

class PointPracticeTest : public GuiBankTest {
  protected:
    void setUpWindows() override {
        copyPictures();
        App::TypeCodes = {11, 14, 22};
        App::TypeTimes = {600, 900, 150};
        App::ChapterHeading = QStringLiteral("不该出现的章节标题");
    }
    void tearDownWindows() override { window.reset(); }

    // Opens a practice over one point as the browser does (without a modal loop).
    bool open(const QString& pointId, const QString& heading = QStringLiteral("净现值")) {
        App::PracticeQuerySql = PointCatalogue::PracticeSql();
        App::PracticeQueryParams = PointCatalogue::PracticeParams(pointId);
        window = std::make_unique<TFrmRuleLxxt>();
        if (!window->LoadQuestionSet())
            return false;
        window->epLabel2->setText(heading);
        window->show();
        QCoreApplication::processEvents();
        return true;
    }
    template <class T = QAbstractButton> T* control(const char* name) {
        T* w = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char* name) {
        QAbstractButton* b = control(name);
        ASSERT_TRUE(b->isVisible() && b->isEnabled()) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QString currentId() const { return DM1->Cn1Query_tm->text(QStringLiteral("A1")); }

    std::unique_ptr<TFrmRuleLxxt> window;
};

} // namespace

TEST_F(PointPracticeTest, ItsOwnNamesCaptionsAndLayoutsOverTheSharedPractice) {
    DesktopFake desktop;
    App::ScreenMode = QStringLiteral("800");
    ASSERT_TRUE(open(QStringLiteral("4101010001")));
    EXPECT_EQ(window->size(), QSize(774, 489));
    EXPECT_EQ(window->Panel1->geometry(), QRect(21, 42, 590, 384));
    EXPECT_EQ(window->Notebook1->geometry(), QRect(96, 437, 265, 46));
    EXPECT_EQ(control<QWidget>("epEfTrBtn1")->geometry(), QRect(8, 436, 75, 47));
    EXPECT_EQ(control<QWidget>("epEfTrBtn3")->geometry(), QRect(463, 435, 100, 25));
    EXPECT_EQ(control<QWidget>("epEfTrBtn7")->geometry(), QRect(663, 461, 100, 25));
    EXPECT_EQ(control<QWidget>("epEfTrBtnwin")->geometry(), QRect(698, 5, 70, 25));
    EXPECT_EQ(control<QWidget>("fcBG_th")->geometry(), QRect(625, 252, 140, 112));
    // Every visible control lies inside the window, and no two buttons overlap.
    const QList<EffectButton*> buttons = window->findChildren<EffectButton*>();
    for (EffectButton* a : buttons) {
        if (!a->isVisible())
            continue;
        EXPECT_TRUE(window->rect().contains(a->geometry())) << a->objectName().toStdString();
        for (EffectButton* b : buttons) {
            if (a != b && b->isVisible() && a->parentWidget() == b->parentWidget()) {
                EXPECT_FALSE(a->geometry().intersects(b->geometry()))
                    << a->objectName().toStdString() << " " << b->objectName().toStdString();
            }
        }
    }
    window.reset();
    App::ScreenMode = QStringLiteral("1024");
    ASSERT_TRUE(open(QStringLiteral("4101010001")));
    EXPECT_EQ(window->size(), QSize(905, 585));
    EXPECT_EQ(window->Panel1->geometry(), QRect(21, 42, 684, 455));
    EXPECT_EQ(control<QWidget>("epEfTrBtn9")->geometry(), QRect(600, 544, 100, 25));
    EXPECT_EQ(control<QWidget>("fcBG_th")->geometry(), QRect(745, 260, 140, 141));

    EXPECT_TRUE(window->windowTitle().isEmpty());
    EXPECT_EQ(control<QLabel>("epLabel2")->text(), QStringLiteral("净现值")); // not the chapter's
    EXPECT_EQ(control("epEfTrBtn7")->text(), QStringLiteral("关闭"));
    EXPECT_EQ(control("epEfTrBtnwin")->text(), QStringLiteral("桌面"));
    EXPECT_EQ(control("epEfTrBtn10")->text(), QStringLiteral("本题作废"));
    EXPECT_FALSE(control("epEfTrBtn4")->isVisible()); // no explanation here
    EXPECT_EQ(window->findChild<QObject*>(QStringLiteral("epEfTrBtn11")), nullptr);
    EXPECT_EQ(window->findChild<QObject*>(QStringLiteral("epEfTrBtn99")), nullptr);
    EXPECT_EQ(control<QLabel>("Label3")->text(), QStringLiteral("1"));
    EXPECT_EQ(control<QLabel>("Label5")->text(), QStringLiteral("2"));
    EXPECT_EQ(control<QLabel>("Label8")->text(), QStringLiteral("1"));
    EXPECT_NE(window->findChild<QWidget*>(QStringLiteral("Label20")), nullptr);
    EXPECT_NE(window->findChild<QWidget*>(QStringLiteral("Label24")), nullptr); // the matching side

    click("epEfTrBtnwin");
    EXPECT_EQ(desktop.shown, 1);
    click("epEfTrBtn7");
    EXPECT_FALSE(window->isVisible());
}

TEST_F(PointPracticeTest, VoidedQuestionsArePractisedAndTheVoidToggleUsesItsCaptions) {
    sql(QStringLiteral("update tab_answ set f1=1, E2='zero' where A1 in ('410101110001', "
                       "'410101140001')"));
    ASSERT_TRUE(open(QStringLiteral("4101010001")));
    EXPECT_EQ(DM1->Cn1Query_tm->recordCount(), 2);
    for (int i = 1; i <= 2; ++i) {
        window->questionButton(i)->click();
        EXPECT_EQ(control<QLabel>("Label21")->text(), QStringLiteral("本题已被您作废！")) << i;
        EXPECT_EQ(control("epEfTrBtn10")->text(), QStringLiteral("取消作废")) << i;
    }
    const QString id = currentId();
    click("epEfTrBtn10");
    EXPECT_EQ(control<QLabel>("Label21")->text(), QStringLiteral("本题曾被作废，现已被您取消！"));
    EXPECT_EQ(control("epEfTrBtn10")->text(), QStringLiteral("本题作废"));
    EXPECT_EQ(stored(QStringLiteral("select f1 from tab_answ where A1='%1'").arg(id),
                     QStringLiteral("f1"))
                  .toInt(),
              0);
    click("epEfTrBtn10");
    EXPECT_EQ(control("epEfTrBtn10")->text(), QStringLiteral("取消作废"));
    EXPECT_EQ(stored(QStringLiteral("select E2 from tab_answ where A1='%1'").arg(id),
                     QStringLiteral("E2"))
                  .toString(),
              QStringLiteral("zero"));
}

TEST_F(PointPracticeTest, FinishingWithoutAnAnswerSaysSoAndTheSubjectivePageReadsSubjective) {
    ASSERT_TRUE(open(QStringLiteral("4101020001"), QStringLiteral("内部收益率")));
    click("epEfTrBtn3");
    ASSERT_FALSE(dialogs->requests.isEmpty());
    EXPECT_EQ(dialogs->last().text, QStringLiteral("题还没做呢！"));
    EXPECT_EQ(dialogs->last().picture, 1);
    // Every subjective type's page reads 主观, whichever tab is pressed.
    window->pressTypeTab(window->typeTab(22));
    EXPECT_EQ(currentId(), QStringLiteral("410102220001"));
    EXPECT_EQ(control<QWidget>("Label20")->property("text").toString().remove(QLatin1Char('\n')),
              QStringLiteral("主观"));
}

TEST_F(PointPracticeTest, FortyOneQuestionsOfAPointMakeThreeGroups) {
    for (int i = 0; i < 39; ++i) {
        const QString id = QStringLiteral("4101011100%1").arg(i + 10);
        sql(QStringLiteral("insert into tab_answ (A1, A2, A2_1, A10, A13, k9, f1, E3, E4) values "
                           "(:a, 'A', 4, '410101', 11, '4101010001', 0, 0, 0)"),
            {{"a", id}});
        sql(QStringLiteral("insert into tab_exer (A1, A15) values (:a, 'x')"), {{"a", id}});
    }
    ASSERT_TRUE(open(QStringLiteral("4101010001")));
    EXPECT_EQ(control<QLabel>("Label3")->text(), QStringLiteral("3"));
    EXPECT_EQ(control<QLabel>("Label5")->text(), QStringLiteral("41"));
    click("FlatSpeedButton2");
    click("FlatSpeedButton2");
    EXPECT_EQ(control<QLabel>("Label8")->text(), QStringLiteral("3"));
    EXPECT_TRUE(window->questionButton(1)->isEnabled());
    EXPECT_FALSE(window->questionButton(2)->isEnabled());
}

TEST_F(PointPracticeTest, PointsOfTheQuestionOnShowOpenFromItsPointsButtonOnceAnswered) {
    registerKnowledgeCommands();
    ASSERT_TRUE(open(QStringLiteral("4101010001")));
    // The question with points 4101010001 and 4101020001.
    for (int i = 1; currentId() != QLatin1String("410101110001"); ++i)
        window->questionButton(i)->click();
    EXPECT_FALSE(control("epEfTrBtn9")->isEnabled());
    click("fcBG_one2");
    click("epEfTrBtn3");
    bool ran = false;
    whenModal<TfrmAnswFagui>([&](TfrmAnswFagui* w) {
        ran = true;
        EXPECT_EQ(w->ListBox1->count(), 2);
        EXPECT_EQ(w->epLabel1->text(), QStringLiteral("第一节"));
        w->epEfTrBtn1->click();
    });
    click("epEfTrBtn9");
    EXPECT_TRUE(ran);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(PointPracticeTest, AQuestionWhoseFirstSlotIsEmptyStillOffersItsPoint) {
    registerKnowledgeCommands();
    sql(QStringLiteral("update tab_answ set k3=null, k4='4101010001' where A1='410101140001'"));
    ASSERT_TRUE(open(QStringLiteral("4101010001")));
    for (int i = 1; currentId() != QLatin1String("410101140001"); ++i)
        window->questionButton(i)->click();
    click("fcBG_many1");
    click("epEfTrBtn3");
    bool ran = false;
    whenModal<TfrmAnswFagui>([&](TfrmAnswFagui* w) {
        ran = true;
        EXPECT_EQ(w->ListBox1->count(), 1);
        w->close();
    });
    click("epEfTrBtn9");
    EXPECT_TRUE(ran);
}
