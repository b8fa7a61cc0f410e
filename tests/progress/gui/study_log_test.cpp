// The study log over a real sample bank: the grid's columns and order, a day still open, the
// totals and the overall score, both layouts, the settings button, closing, and the menu
// commands of the progress windows.

#include "progress/plan_window.h"
#include "progress/progress_commands.h"
#include "progress/study_log_window.h"

#include "gui_bank_test.h"

#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/dataset_table_model.h"
#include "widgets/effect_button.h"
#include "widgets/window_registry.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTest>

#include <memory>

#include <gtest/gtest.h>

namespace {

class StudyLogTest : public GuiBankTest {
  protected:
    void tearDownWindows() override { window.reset(); }

    void day(const char* date, const QVariant& a2, const QVariant& a3, const QVariant& a4,
             const QVariant& d1) {
        sql(QStringLiteral("insert into tab_rz (A1, A2, A3, A4, B1, B2, D1) "
                           "values (:a1, :a2, :a3, :a4, :a2, :a3, :d1)"),
            {{"a1", QString::fromLatin1(date)}, {"a2", a2}, {"a3", a3}, {"a4", a4}, {"d1", d1}});
    }
    TFrmRz* open() {
        window = std::make_unique<TFrmRz>();
        window->show();
        QCoreApplication::processEvents();
        return window.get();
    }
    QString cell(int row, const char* field) const {
        return window->DBGrid1Model->cellText(row, QLatin1String(field));
    }
    QStringList totals() const {
        return {window->epLabel2->text(), window->epLabel3->text(), window->epLabel4->text()};
    }
    int columnWidth(int c) const { return window->DBGrid1->horizontalHeader()->sectionSize(c); }

    std::unique_ptr<TFrmRz> window;
};

} // namespace

TEST_F(StudyLogTest, AnEmptyLogShowsAnEmptyGridAndZeroTotals) {
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("日志"));
    EXPECT_EQ(window->DBGrid1Model->rowCount(), 0);
    EXPECT_EQ(totals(), QStringList({"0", "0", "0"}));
    EXPECT_TRUE(dialogs->requests.isEmpty());
}

TEST_F(StudyLogTest, ListsTheDaysNewestFirstUnderTheirColumnTitles) {
    day("2026-03-01", 4, 1, "75.00", "00:20:00");
    day("2026-03-16", 6, 2, "66.67", "01:05:09");
    day("2025-12-31", 1, 0, "100.00", "00:01:00");
    open();

    QStringList titles;
    for (int c = 0; c < window->DBGrid1Model->columnCount(); ++c)
        titles << window->DBGrid1Model->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles, QStringList({"日期", "做过题数", "做错题数", "做过道次", "做错道次", "总用时",
                                   "平均成绩"}));

    ASSERT_EQ(window->DBGrid1Model->rowCount(), 3);
    EXPECT_EQ(cell(0, "A1"), "2026-03-16");
    EXPECT_EQ(cell(1, "A1"), "2026-03-01");
    EXPECT_EQ(cell(2, "A1"), "2025-12-31");
    EXPECT_EQ(cell(0, "A2"), "6");
    EXPECT_EQ(cell(0, "D1"), "01:05:09");
    EXPECT_EQ(cell(0, "A4"), "66.67");
}

TEST_F(StudyLogTest, ADayNotYetClosedByAPracticeShowsEmptyTimeAndScore) {
    day("2026-03-16", 1, 1, QVariant(), QVariant());
    open();
    ASSERT_EQ(window->DBGrid1Model->rowCount(), 1);
    EXPECT_EQ(cell(0, "A2"), "1");
    EXPECT_EQ(cell(0, "D1"), "");
    EXPECT_EQ(cell(0, "A4"), "");
    EXPECT_EQ(totals(), QStringList({"1", "1", "0.00"}));
}

TEST_F(StudyLogTest, TotalsAddUpEveryDayAndScoreTheRightAnswers) {
    day("2026-03-15", 6, 2, "66.67", "00:10:00");
    day("2026-03-16", 4, 1, "75.00", "00:10:00");
    open();
    EXPECT_EQ(totals(), QStringList({"10", "3", "70.00"}));

    EXPECT_EQ(TFrmRz::OverallScore(3, 1), "66.67");
    EXPECT_EQ(TFrmRz::OverallScore(7, 0), "100.00");
    // Nothing in the log changed.
    EXPECT_EQ(stored(QStringLiteral("select count(*) as n from tab_rz"), "n").toInt(), 2);
}

TEST_F(StudyLogTest, LaysItselfOutForTheWidthOfTheScreen) {
    open();
    // Shown, it follows the screen it is on.
    EXPECT_EQ(window->width(), TFrmRz::ScreenWidth() == 800 ? 761 : 934);

    window->LayOut(800);
    EXPECT_EQ(window->size(), QSize(761, 480));
    EXPECT_FALSE(window->Image1->isHidden());
    EXPECT_TRUE(window->Image2->isHidden());
    EXPECT_EQ(columnWidth(0), 198);
    EXPECT_EQ(columnWidth(1), 60);
    // Each layout shows the close button that lies inside it.
    EXPECT_FALSE(window->SpeedButton2->isHidden());
    EXPECT_TRUE(window->SpeedButton3->isHidden());
    EXPECT_TRUE(window->rect().contains(window->SpeedButton2->geometry()));

    window->LayOut(1024);
    EXPECT_EQ(window->size(), QSize(934, 611));
    EXPECT_TRUE(window->Image1->isHidden());
    EXPECT_FALSE(window->Image2->isHidden());
    EXPECT_EQ(columnWidth(0), 252);
    for (int c = 1; c < 7; ++c)
        EXPECT_EQ(columnWidth(c), 80) << c;
    EXPECT_TRUE(window->SpeedButton2->isHidden());
    EXPECT_FALSE(window->SpeedButton3->isHidden());
    EXPECT_TRUE(window->rect().contains(window->SpeedButton3->geometry()));
}

TEST_F(StudyLogTest, SettingsOpensMusicSettingsOnlyWhenRegisteredAndCloseClosesTheLog) {
    day("2026-03-16", 2, 0, "100.00", "00:02:00");
    open();
    QTest::mouseClick(window->SpeedButton1, Qt::LeftButton); // nothing registered: nothing

    QWidget* owner = nullptr;
    App::ConfigMode = 1;
    int modeSeen = -1;
    WindowRegistry::registerOpener(WindowNames::Settings, [&](QWidget* o, const QString&) {
        owner = o;
        modeSeen = App::ConfigMode;
        return 0;
    });
    QTest::mouseClick(window->SpeedButton1, Qt::LeftButton);
    EXPECT_EQ(owner, window.get());
    EXPECT_EQ(modeSeen, 0);

    EffectButton* close =
        window->SpeedButton2->isHidden() ? window->SpeedButton3 : window->SpeedButton2;
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(DM1->Cn1Table_rz->active());
    EXPECT_EQ(stored(QStringLiteral("select A2 from tab_rz"), "A2").toInt(), 2);
    EXPECT_TRUE(dialogs->requests.isEmpty());
}

TEST_F(StudyLogTest, TheMenuOpensThePlanAndTheLog) {
    registerProgressCommands();
    ASSERT_TRUE(WindowRegistry::has(QStringLiteral("szjh")));
    ASSERT_TRUE(WindowRegistry::has(QStringLiteral("rz")));
    std::unique_ptr<QDialog> plan(WindowRegistry::window(QStringLiteral("szjh"))(nullptr));
    EXPECT_NE(qobject_cast<TFrmplan*>(plan.get()), nullptr);
    std::unique_ptr<QDialog> log(WindowRegistry::window(QStringLiteral("rz"))(nullptr));
    EXPECT_NE(qobject_cast<TFrmRz*>(log.get()), nullptr);
}
