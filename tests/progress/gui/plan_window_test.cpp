// The study plan over a real sample bank (PlanMark 0, PlanAmount 20, PlanTime 30, ExamDate
// 2027-04-10; today 2026-03-16): the countdown by days left with its colours and its limit, the
// exam day and the days after it, the view and edit states, saving a plan by minutes, closing
// without saving, and a stored exam date that is no date.

#include "progress/plan_window.h"

#include "gui_bank_test.h"

#include "store/data_module.h"
#include "widgets/effect_button.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <memory>

#include <gtest/gtest.h>

namespace {

class PlanWindowTest : public GuiBankTest {
  protected:
    void tearDownWindows() override { window.reset(); }

    void storeExamDate(const QVariant& date) {
        sql(QStringLiteral("update tab_plan set ExamDate = :d"), {{"d", date}});
    }
    void storeExamDateIn(int days) { storeExamDate(today().addDays(days).toString(Qt::ISODate)); }

    // Shows a new window; one still open is closed first, as the learner would.
    TFrmplan* open() {
        if (window)
            window->close();
        window.reset();
        window = std::make_unique<TFrmplan>();
        window->show();
        QCoreApplication::processEvents();
        return window.get();
    }
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // A radio item is clicked on its indicator.
    void choose(QRadioButton* item) {
        QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(8, item->height() / 2));
    }
    QVariant plan(const char* column) {
        return stored(QStringLiteral("select * from tab_plan"), QLatin1String(column));
    }
    QColor numberColour() const { return window->Label1->palette().color(QPalette::WindowText); }
    bool numberShown() const {
        return !window->Label1->isHidden() && !window->epLabel2->isHidden();
    }

    std::unique_ptr<TFrmplan> window;
};

} // namespace

TEST_F(PlanWindowTest, CountsTheDaysLeftGreenWhenFarRedWhenNearAndAtMost999) {
    const QColor green(100, 203, 37);
    const QColor red(255, 0, 0);
    const struct {
        int days;
        const char* shown;
        QColor colour;
    } cases[] = {{30, "30", green}, {8, "8", green},      {7, "7", red},
                 {1, "1", red},     {1000, "999", green}, {4000, "999", green}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.days);
        storeExamDateIn(c.days);
        open();
        EXPECT_EQ(window->epLabel1->text(), QStringLiteral("距离考试还有"));
        EXPECT_EQ(window->Label1->text(), QLatin1String(c.shown));
        EXPECT_EQ(numberColour(), c.colour);
        EXPECT_TRUE(numberShown());
    }
}

TEST_F(PlanWindowTest, WishesLuckOnTheExamDayAndSaysItIsOverAfterwards) {
    const struct {
        int days;
        QString line;
    } cases[] = {{0, QStringLiteral("祝考试成功！")},
                 {-1, QStringLiteral("考试已结束！")},
                 {-400, QStringLiteral("考试已结束！")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.days);
        storeExamDateIn(c.days);
        open();
        EXPECT_EQ(window->epLabel1->text(), c.line);
        EXPECT_FALSE(numberShown());
    }
}

TEST_F(PlanWindowTest, OpensInTheViewStateWithTheStoredPlan) {
    open();
    EXPECT_EQ(window->suiNumberEdit1->text(), "20");
    EXPECT_EQ(window->suiNumberEdit2->text(), "30");
    EXPECT_EQ(window->DateEdit1->date(), QDate(2027, 4, 10));
    EXPECT_EQ(window->Label1->text(), "390");
    EXPECT_EQ(window->PlanKind(), 0);
    // Date and plan kind locked, both numbers open.
    EXPECT_EQ(window->SpeedButton1->text(), QStringLiteral("设定"));
    EXPECT_FALSE(window->DateEdit1->isEnabled());
    EXPECT_FALSE(window->SeSkinRadioGroup1->isEnabled());
    EXPECT_TRUE(window->suiNumberEdit1->isEnabled());
    EXPECT_TRUE(window->suiNumberEdit2->isEnabled());

    // The field and its calendar button carry hints of their own.
    const int mid = window->DateEdit1->height() / 2;
    EXPECT_EQ(window->DateEdit1->hintAt(QPoint(10, mid)), QStringLiteral("点击右侧按钮-->"));
    EXPECT_EQ(window->DateEdit1->hintAt(QPoint(window->DateEdit1->width() - 4, mid)),
              QStringLiteral("点击设置日期"));

    // The numbers take three digits and nothing else.
    window->suiNumberEdit1->clear();
    QTest::keyClicks(window->suiNumberEdit1, QStringLiteral("1x2345"));
    EXPECT_EQ(window->suiNumberEdit1->text(), "123");
}

TEST_F(PlanWindowTest, SwitchingToTimeAndSavingStoresAPlanByMinutes) {
    open();
    click(window->SpeedButton1);
    EXPECT_EQ(window->SpeedButton1->text(), QStringLiteral("保存"));
    EXPECT_TRUE(window->DateEdit1->isEnabled());
    EXPECT_TRUE(window->SeSkinRadioGroup1->isEnabled());

    choose(window->SeSkinRadioGroup1Item1);
    EXPECT_EQ(window->PlanKind(), 1);
    EXPECT_TRUE(window->suiNumberEdit2->isEnabled());
    EXPECT_FALSE(window->suiNumberEdit1->isEnabled());
    choose(window->SeSkinRadioGroup1Item0);
    EXPECT_TRUE(window->suiNumberEdit1->isEnabled());
    EXPECT_FALSE(window->suiNumberEdit2->isEnabled());
    choose(window->SeSkinRadioGroup1Item1);

    window->suiNumberEdit2->setText(QStringLiteral("45"));
    window->DateEdit1->setDate(today().addDays(10));
    click(window->SpeedButton1);

    EXPECT_TRUE(dialogs->requests.isEmpty()) << dialogs->texts().join(' ').toStdString();
    EXPECT_EQ(window->SpeedButton1->text(), QStringLiteral("设定"));
    EXPECT_FALSE(window->DateEdit1->isEnabled());
    EXPECT_TRUE(window->suiNumberEdit2->isEnabled()); // the chosen number stays open
    EXPECT_EQ(window->Label1->text(), "10");
    EXPECT_EQ(numberColour(), TFrmplan::FarColor());

    EXPECT_EQ(plan("PlanMark").toInt(), 1);
    EXPECT_EQ(plan("PlanTime").toInt(), 45);
    EXPECT_EQ(plan("PlanAmount").toInt(), 20);
    EXPECT_EQ(plan("ExamDate").toString(), "2026-03-26");
    EXPECT_EQ(stored(QStringLiteral("select count(*) as n from tab_plan"), "n").toInt(), 1);
}

TEST_F(PlanWindowTest, ClosingInTheEditStateStoresNothing) {
    open();
    click(window->SpeedButton1);
    choose(window->SeSkinRadioGroup1Item1);
    window->suiNumberEdit1->setText(QStringLiteral("99"));
    window->suiNumberEdit2->setText(QStringLiteral("99"));
    window->DateEdit1->setDate(today().addDays(3));
    click(window->SpeedButton2);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(DM1->Cn1Table_plan->active());

    // Escape leaves the same way.
    open();
    click(window->SpeedButton1);
    window->suiNumberEdit1->setText(QStringLiteral("5"));
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());

    EXPECT_EQ(plan("PlanMark").toInt(), 0);
    EXPECT_EQ(plan("PlanAmount").toInt(), 20);
    EXPECT_EQ(plan("PlanTime").toInt(), 30);
    EXPECT_EQ(plan("ExamDate").toString(), "2027-04-10");
    EXPECT_TRUE(dialogs->requests.isEmpty());
}

TEST_F(PlanWindowTest, AStoredDateThatIsNoDateReadsAsNotSetAndSavingStoresADate) {
    for (const QVariant& notADate : {QVariant(QStringLiteral("明年春天")),
                                     QVariant(QStringLiteral("2027-02-30")), QVariant()}) {
        SCOPED_TRACE(notADate.toString().toStdString());
        storeExamDate(notADate);
        open();
        EXPECT_EQ(window->epLabel1->text(), QStringLiteral("尚未设置考试日期"));
        EXPECT_FALSE(numberShown());
        EXPECT_FALSE(window->DateEdit1->hasDate());
        EXPECT_EQ(window->DateEdit1->text(), QStringLiteral("未设置"));
        // The rest of the plan is there.
        EXPECT_EQ(window->suiNumberEdit1->text(), "20");
        EXPECT_EQ(window->suiNumberEdit2->text(), "30");
        EXPECT_EQ(window->PlanKind(), 0);
    }
    EXPECT_TRUE(dialogs->requests.isEmpty()) << dialogs->texts().join(' ').toStdString();

    // 设定 proposes today; the learner picks the day.
    click(window->SpeedButton1);
    EXPECT_EQ(window->DateEdit1->date(), today());
    window->DateEdit1->setDate(today().addDays(30));
    click(window->SpeedButton1);
    EXPECT_EQ(plan("ExamDate").toString(), "2026-04-15");
    EXPECT_EQ(window->Label1->text(), "30");
    EXPECT_TRUE(numberShown());

    // Saving without picking stores the proposed day, a date all the same.
    storeExamDate(QStringLiteral("?"));
    open();
    click(window->SpeedButton1);
    click(window->SpeedButton1);
    EXPECT_EQ(plan("ExamDate").toString(), "2026-03-16");
    EXPECT_EQ(window->epLabel1->text(), QStringLiteral("祝考试成功！"));
}
