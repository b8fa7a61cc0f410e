// The knowledge-point browser over a real sample bank: the catalogue with its counters, searching,
// the refusal of a top-level entry, a chapter's knowledge points with their notes and key points,
// a chapter without points, and the practice over one knowledge point with what it counts.

#include "knowledge/knowledge_commands.h"
#include "knowledge/point_browser.h"
#include "knowledge/point_practice_window.h"

#include "gui_bank_test.h"

#include "platform/screen_cursor.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/db_rich_view.h"
#include "widgets/effect_button.h"
#include "widgets/window_registry.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

#include <memory>

#include <gtest/gtest.h>

namespace {

using GuiTest::whenModal;

const QString kBookshop = QStringLiteral("请联系书店，购买Velmora《Tarnwick》一书!");
const QString kNoKeyPoints = QStringLiteral("此考点暂无重点内容！");
const QString kNoExercise = QStringLiteral("虽然针对该内容的习题没有，您仍要仔细阅读！");

// The sample catalogue: row 0 "41" 项目决策分析与评价 (3 questions), row 1 "410101" 第一节 with
// 净现值 (2 questions), row 2 "410102" 第二节 with 内部收益率 (2) and 投资回收期 (none).
class PointBrowserTest : public GuiBankTest {
  protected:
    void setUpWindows() override {
        copyPictures();
        App::PaperKind = 1;
    }
    void tearDownWindows() override { browser.reset(); }

    void open() {
        browser = std::make_unique<TfrmLawsFaGui>();
        browser->show();
        QCoreApplication::processEvents();
    }
    void click(QAbstractButton* b) {
        ASSERT_TRUE(b->isVisible() && b->isEnabled()) << b->objectName().toStdString();
        QTest::mouseClick(b, Qt::LeftButton);
    }
    int gridRow() const { return browser->m_grid->currentIndex().row(); }
    void pickRow(int row) { browser->m_grid->setCurrentIndex(browser->m_gridModel->index(row, 0)); }
    void openChapter(int row) {
        pickRow(row);
        click(browser->m_btnSelect);
    }
    QListWidget* list() const { return browser->detail()->m_LBmenu; }
    QStringList listed() const {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }
    QString note() const { return browser->detail()->m_pNote->text(); }
    QVariant cell(const char* table, const char* key, const char* id, const char* column) {
        return stored(QStringLiteral("select %1 from %2 where %3='%4'")
                          .arg(QLatin1String(column), QLatin1String(table), QLatin1String(key),
                               QLatin1String(id)),
                      QString::fromLatin1(column));
    }

    std::unique_ptr<TfrmLawsFaGui> browser;
};

} // namespace

TEST_F(PointBrowserTest, TheCatalogueShowsEveryEntryWithItsCountersInBothLayouts) {
    sql(QStringLiteral("update tab_fgmc set q1=1, q2=1234567890 where id='410101'"));
    open();
    EXPECT_EQ(browser->size(), QSize(900, 599));
    EXPECT_EQ(browser->m_Ltiltle->text(), QStringLiteral("考点目录"));
    QStandardItemModel* m = browser->m_gridModel;
    ASSERT_EQ(m->rowCount(), 3);
    EXPECT_EQ(browser->rowIds(), (QStringList{"41", "410101", "410102"}));
    EXPECT_EQ(m->item(1, 0)->text(), QStringLiteral("第一节"));
    EXPECT_EQ(m->item(1, 1)->text(), QStringLiteral("        2"));
    EXPECT_EQ(m->item(1, 2)->text(), QStringLiteral("        1"));
    EXPECT_EQ(m->item(1, 3)->text(), QStringLiteral("1234567890"));
    EXPECT_EQ(m->item(0, 1)->text(), QStringLiteral("        3"));
    EXPECT_EQ(m->horizontalHeaderItem(0)->text(),
              QString(29, QLatin1Char(' ')) + QStringLiteral("考 点 名 称"));
    EXPECT_EQ(m->horizontalHeaderItem(4)->text(), QStringLiteral(" 做错道次"));
    EXPECT_EQ(browser->m_grid->horizontalHeader()->sectionSize(0), 554);
    EXPECT_EQ(browser->m_grid->horizontalHeader()->sectionSize(3), 80);
    EXPECT_EQ(browser->m_grid->rowHeight(0), 30);
    EXPECT_EQ(browser->m_grid->horizontalHeader()->height(), 36);
    // The whole grid is seen without scrolling sideways.
    const QHeaderView* h = browser->m_grid->horizontalHeader();
    EXPECT_LE(h->length(), browser->m_grid->viewport()->width());
    EXPECT_TRUE(browser->m_btnSelect->isVisible());
    EXPECT_FALSE(browser->m_btnMost->isEnabled());
    EXPECT_FALSE(browser->m_btnQuestion->isEnabled());
    EXPECT_FALSE(browser->m_btnBack->isVisible());
    EXPECT_EQ(browser->m_btnExit->geometry(), QRect(652, 520, 75, 22));

    browser.reset();
    App::ScreenMode = QStringLiteral("800");
    open();
    EXPECT_EQ(browser->size(), QSize(760, 504));
    EXPECT_EQ(browser->m_gridModel->horizontalHeaderItem(0)->text(),
              QString(19, QLatin1Char(' ')) + QStringLiteral("考 点 名 称"));
    EXPECT_EQ(browser->m_grid->horizontalHeader()->sectionSize(0), 410);
    EXPECT_EQ(browser->m_grid->horizontalHeader()->height(), 30);
    EXPECT_LE(browser->m_grid->horizontalHeader()->length(), browser->m_grid->viewport()->width());
    EXPECT_EQ(browser->m_editFind->geometry(), QRect(8, 425, 180, 21));
    for (QWidget* w : {static_cast<QWidget*>(browser->m_btnExit), browser->m_pMuLu})
        EXPECT_TRUE(browser->rect().contains(w->geometry())) << w->objectName().toStdString();
}

TEST_F(PointBrowserTest, SearchSelectsTheFirstMatchingRowFromTheTopWhicheverIsCurrent) {
    sql(QStringLiteral("update tab_fgmc set n='费率 5%_上限' where id='41'"));
    open();
    pickRow(2);
    click(browser->m_btnFind); // an empty box does nothing
    EXPECT_EQ(gridRow(), 2);
    browser->m_editFind->setText(QStringLiteral(" 第 "));
    click(browser->m_btnFind);
    EXPECT_EQ(gridRow(), 1);
    EXPECT_EQ(browser->m_grid->toolTip(), QStringLiteral("第一节"));
    click(browser->m_btnFind); // again: the same row
    EXPECT_EQ(gridRow(), 1);
    browser->m_editFind->setText(QStringLiteral("%_"));
    QTest::keyClick(browser->m_editFind, Qt::Key_Return);
    EXPECT_EQ(gridRow(), 0);
    browser->m_editFind->setText(QStringLiteral("第三"));
    pickRow(2);
    click(browser->m_btnFind);
    EXPECT_EQ(gridRow(), 2);
    EXPECT_TRUE(dialogs->requests.isEmpty());
}

TEST_F(PointBrowserTest, ATopLevelEntryIsRefusedAndTheCatalogueStays) {
    open();
    openChapter(0);
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->last().kind, Dialogs::Kind::ShowDlg);
    EXPECT_EQ(dialogs->last().title, QStringLiteral("提示"));
    EXPECT_EQ(dialogs->last().text, QStringLiteral("请选择具体章节!"));
    EXPECT_EQ(dialogs->last().buttons, 3);
    EXPECT_EQ(dialogs->last().picture, 1);
    EXPECT_TRUE(browser->m_grid->isVisible());
    EXPECT_EQ(browser->detail(), nullptr);
}

TEST_F(PointBrowserTest, AChapterListsItsPointsWithTheirNotesAndBackReturnsToItsRow) {
    open();
    openChapter(2);
    EXPECT_TRUE(dialogs->requests.isEmpty());
    EXPECT_EQ(browser->m_Ltiltle->text(), QStringLiteral("第二节"));
    EXPECT_FALSE(browser->m_grid->isVisible());
    EXPECT_FALSE(browser->m_btnSelect->isVisible());
    EXPECT_TRUE(browser->m_btnBack->isVisible());
    EXPECT_EQ(browser->keyPointThreshold(), 1); // 2 questions over 2 points
    EXPECT_EQ(listed(), (QStringList{"内部收益率(2)", "投资回收期"}));
    EXPECT_EQ(list()->currentRow(), 0);
    EXPECT_TRUE(browser->detail()->Re->toPlainText().contains(QStringLiteral("内部收益率")));
    EXPECT_EQ(note(), QStringLiteral("相关题数：2题  已做题数：0题  已做道次：0次  做错道次：0次"));
    EXPECT_TRUE(browser->m_btnQuestion->isEnabled());

    list()->setCurrentRow(1);
    EXPECT_TRUE(browser->detail()->Re->toPlainText().contains(QStringLiteral("投资回收期")));
    EXPECT_EQ(note(), kNoExercise);
    EXPECT_FALSE(browser->m_btnQuestion->isEnabled());

    click(browser->m_btnBack);
    EXPECT_EQ(browser->m_Ltiltle->text(), QStringLiteral("考 点 目 录"));
    EXPECT_TRUE(browser->m_grid->isVisible());
    EXPECT_EQ(gridRow(), 2);
    EXPECT_EQ(browser->detail(), nullptr);
    EXPECT_FALSE(browser->m_btnQuestion->isEnabled());
    EXPECT_FALSE(browser->m_btnBack->isVisible());
    EXPECT_EQ(browser->m_btnMost->text(), QStringLiteral("重点(&M)"));
}

TEST_F(PointBrowserTest, KeyPointsAreThoseReachingTheThresholdElseAllStayListed) {
    open();
    openChapter(2);
    click(browser->m_btnMost);
    EXPECT_EQ(listed(), QStringList{"内部收益率(2)"});
    EXPECT_EQ(browser->m_btnMost->text(), QStringLiteral("全部(&A)"));
    click(browser->m_btnMost);
    EXPECT_EQ(listed(), (QStringList{"内部收益率(2)", "投资回收期"}));
    EXPECT_EQ(browser->m_btnMost->text(), QStringLiteral("重点(&M)"));
    EXPECT_TRUE(dialogs->requests.isEmpty());

    // A chapter of 10 questions over 2 points: only a point of 5 or more is a key point.
    sql(QStringLiteral("update tab_fgmc set q=10 where id='410102'"));
    click(browser->m_btnBack); // the catalogue is read again
    EXPECT_EQ(browser->m_gridModel->item(2, 1)->text(), QStringLiteral("       10"));
    openChapter(2);
    EXPECT_EQ(browser->keyPointThreshold(), 5);
    click(browser->m_btnMost);
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->last().kind, Dialogs::Kind::MessageBox);
    EXPECT_EQ(dialogs->last().text, kNoKeyPoints);
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    EXPECT_EQ(browser->m_btnMost->text(), QStringLiteral("重点(&M)"));
    EXPECT_EQ(listed(), (QStringList{"内部收益率(2)", "投资回收期"}));
    EXPECT_EQ(note(), QStringLiteral("相关题数：2题  已做题数：0题  已做道次：0次  做错道次：0次"));
}

TEST_F(PointBrowserTest, AChapterWithoutPointsSendsToTheBookAndOffersNothingToPractise) {
    sql(QStringLiteral("insert into tab_fgmc (id, bh, n, q) values ('410103', 9, '第三节', 0)"));
    open();
    openChapter(3);
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->last().kind, Dialogs::Kind::MessageBox);
    EXPECT_EQ(dialogs->last().text, kBookshop);
    EXPECT_EQ(browser->keyPointThreshold(), 1);
    EXPECT_EQ(list()->count(), 0);
    EXPECT_FALSE(browser->m_btnQuestion->isEnabled());
    browser->m_btnQuestionClick(); // does nothing
    EXPECT_EQ(dialogs->requests.size(), 1);
    click(browser->m_btnMost);
    EXPECT_EQ(dialogs->last().text, kNoKeyPoints);
    click(browser->m_btnBack);
    EXPECT_EQ(gridRow(), 3);
}

TEST_F(PointBrowserTest, PractisingAPointCountsEveryAnswerAndTheNoteShowsTheNewCounters) {
    open();
    openChapter(1);
    ASSERT_EQ(listed(), QStringList{"净现值(2)"});
    bool ran = false;
    whenModal<TFrmRuleLxxt>([&](TFrmRuleLxxt* w) {
        ran = true;
        EXPECT_FALSE(browser->isVisible());
        EXPECT_EQ(w->epLabel2->text(), QStringLiteral("净现值"));
        EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("Label5"))->text(), QStringLiteral("2"));
        for (int i = 0; i < 2; ++i) {
            // Question 410101110001 answered right (B), the multiple choice (ACD) wrong (A).
            const bool single =
                DM1->Cn1Query_tm->text(QStringLiteral("A1")) == QLatin1String("410101110001");
            w->findChild<QAbstractButton*>(single ? QStringLiteral("fcBG_one2")
                                                  : QStringLiteral("fcBG_many1"))
                ->click();
            w->findChild<QAbstractButton*>(QStringLiteral("epEfTrBtn3"))->click();
            if (i == 0)
                w->findChild<QAbstractButton*>(QStringLiteral("epEfTrBtn2"))->click();
        }
        w->findChild<QAbstractButton*>(QStringLiteral("epEfTrBtn7"))->click();
    });
    click(browser->m_btnQuestion);
    ASSERT_TRUE(ran);
    EXPECT_TRUE(browser->isVisible());
    EXPECT_EQ(note(), QStringLiteral("相关题数：2题  已做题数：2题  已做道次：2次  做错道次：1次"));
    EXPECT_TRUE(browser->m_btnQuestion->isEnabled());

    EXPECT_EQ(cell("tab_rz", "A1", "2026-03-16", "A2").toInt(), 2);
    EXPECT_EQ(cell("tab_rz", "A1", "2026-03-16", "A3").toInt(), 1);
    EXPECT_EQ(cell("tab_kmmc", "C1", "410101", "D1").toInt(), 2);
    EXPECT_EQ(cell("tab_kmmc", "C1", "410101", "D2").toInt(), 1);
    EXPECT_EQ(cell("tab_kmmc", "C1", "4", "C4").toInt(), 2);
    EXPECT_EQ(cell("tab_rule", "ftid", "4101010001", "q1").toInt(), 2);
    EXPECT_EQ(cell("tab_rule", "ftid", "4101010001", "q2").toInt(), 2);
    EXPECT_EQ(cell("tab_rule", "ftid", "4101010001", "q4").toInt(), 1);
    EXPECT_EQ(cell("tab_rule", "ftid", "4101020001", "q2").toInt(), 1);
    EXPECT_EQ(cell("tab_rule", "ftid", "4101020001", "q4").toInt(), 0);
    EXPECT_EQ(cell("tab_fgmc", "id", "410101", "q2").toInt(), 2);
    EXPECT_EQ(cell("tab_fgmc", "id", "410101", "q4").toInt(), 1);
    EXPECT_EQ(cell("tab_fgmc", "id", "410102", "q2").toInt(), 1);

    // The catalogue shows the new counters after 返回.
    click(browser->m_btnBack);
    EXPECT_EQ(browser->m_gridModel->item(1, 3)->text(), QStringLiteral("        2"));
}

TEST_F(PointBrowserTest, AHeadingWithAParenthesisStillFindsItsQuestions) {
    sql(QStringLiteral("insert into tab_rule (id, ftid, sn, n, q) values ('410101', "
                       "'4101010009', '费用(静态)   ', x'7b5c727466317d', 1)"));
    sql(QStringLiteral("update tab_answ set k5='4101010009' where A1='410101110002'"));
    open();
    openChapter(1);
    ASSERT_EQ(listed(), (QStringList{"净现值(2)", "费用(静态)(1)"}));
    list()->setCurrentRow(1);
    bool ran = false;
    whenModal<TFrmRuleLxxt>([&](TFrmRuleLxxt* w) {
        ran = true;
        EXPECT_EQ(w->epLabel2->text(), QStringLiteral("费用(静态)"));
        EXPECT_EQ(DM1->Cn1Query_tm->recordCount(), 1);
        EXPECT_EQ(DM1->Cn1Query_tm->text(QStringLiteral("A1")), QStringLiteral("410101110002"));
        w->findChild<QAbstractButton*>(QStringLiteral("epEfTrBtn7"))->click();
    });
    click(browser->m_btnQuestion);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(dialogs->requests.isEmpty());
    EXPECT_EQ(list()->currentRow(), 1);
}

TEST_F(PointBrowserTest, APointWhoseQuestionsAreGoneCongratulatesAndStays) {
    sql(QStringLiteral("update tab_rule set q=3 where ftid='4101020002'"));
    open();
    openChapter(2);
    list()->setCurrentRow(1);
    ASSERT_EQ(list()->currentItem()->text(), QStringLiteral("投资回收期(3)"));
    click(browser->m_btnQuestion);
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->last().kind, Dialogs::Kind::ShowDlg);
    EXPECT_EQ(dialogs->last().text, QStringLiteral("恭喜你，习题已做完！"));
    EXPECT_EQ(dialogs->last().mode, QStringLiteral("NO"));
    EXPECT_EQ(dialogs->last().picture, 0);
    EXPECT_TRUE(browser->isVisible());
    EXPECT_EQ(list()->currentRow(), 1);
    EXPECT_TRUE(App::PracticeQueryParams.isEmpty()); // taken by the set-up
}

TEST_F(PointBrowserTest, TheMenuOpensTheBrowserForBothCommandsAndExitCloses) {
    registerKnowledgeCommands();
    EXPECT_TRUE(WindowRegistry::has(QStringLiteral("ksdg")));
    EXPECT_TRUE(WindowRegistry::has(QStringLiteral("zsd")));
    EXPECT_TRUE(WindowRegistry::has(WindowNames::QuestionPoints));
    bool ran = false;
    whenModal<TfrmLawsFaGui>([&](TfrmLawsFaGui* w) {
        ran = true;
        EXPECT_EQ(w->m_gridModel->rowCount(), 3);
        QTest::mouseClick(w->m_btnExit, Qt::LeftButton);
    });
    WindowRegistry::open(QStringLiteral("zsd"), nullptr);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(DM1->m_query->active());
    EXPECT_FALSE(DM1->m_queryDetail->active());
}

TEST_F(PointBrowserTest, AnErrorInThePracticeIsReportedAndTheBrowserComesBack) {
    open();
    openChapter(1);
    // The practice's set-up cannot read the questions.
    sql(QStringLiteral("alter table tab_answ rename to tab_answ_gone"));
    click(browser->m_btnQuestion);
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->last().kind, Dialogs::Kind::MessageBox);
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_TRUE(browser->isVisible());
    EXPECT_FALSE(ScreenCursor::isHourglass());
    EXPECT_EQ(note(), QStringLiteral("相关题数：2题  已做题数：0题  已做道次：0次  做错道次：0次"));
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<TFrmRuleLxxt*>(w), nullptr); // destroyed
}

TEST_F(PointBrowserTest, EnterOpensTheChapterAndDoubleClickOrEnterPractisesThePoint) {
    open();
    pickRow(1);
    QTest::keyClick(browser->m_grid, Qt::Key_Return);
    ASSERT_NE(browser->detail(), nullptr);
    EXPECT_EQ(browser->m_Ltiltle->text(), QStringLiteral("第一节"));
    int practices = 0;
    const auto closeIt = [&](TFrmRuleLxxt* w) {
        ++practices;
        w->findChild<QAbstractButton*>(QStringLiteral("epEfTrBtn7"))->click();
    };
    whenModal<TFrmRuleLxxt>(closeIt);
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_EQ(practices, 1);
    whenModal<TFrmRuleLxxt>(closeIt);
    QListWidget* l = list();
    const QPoint at = l->visualItemRect(l->item(0)).center();
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(practices, 2);
    EXPECT_TRUE(browser->isVisible());
}
