// The chapter browser over a real sample bank: totals, the question sets of the three practices,
// the refusals and empty-set messages, the practice window's round trip and the menu commands.

#include "practice/chapter_browser.h"
#include "practice/practice_commands.h"
#include "practice/practice_window.h"

#include "gui_bank_test.h"

#include "platform/clock.h"
#include "platform/screen_cursor.h"
#include "shell/start_form.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/effect_button.h"
#include "widgets/window_registry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLCDNumber>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

namespace {

using GuiTest::whenModal;

const QString kPickChapter = QStringLiteral("请选择具体章节目录！");
const QString kBookshop = QStringLiteral("请联系书店，购买Velmora《Tarnwick》一书！");
const QString kNoWrong = QStringLiteral("本章节下没有错题！");
const QString kNeverDone = QStringLiteral("本章节习题还未曾做过！");

using GuiTest::waitUntil;

QStringList idsOf(const QString& sql) {
    Dataset q(&DM1->ADOCn1);
    q.setSql(sql);
    q.open();
    QStringList ids;
    for (q.first(); !q.eof(); q.next())
        ids << q.text(QStringLiteral("a1"));
    return ids;
}

class ChapterBrowserTest : public GuiBankTest {
  protected:
    void setUpWindows() override {
        // The practice window needs its button pictures beside the program.
        copyPictures();
        App::PaperKind = 1;
    }

    void tearDownWindows() override {
        delete FrmStart;
        FrmStart = nullptr;
    }

    // Moves the browser's tree to the node with the given code.
    static void select(const QString& code) {
        ASSERT_TRUE(DM1->Cn1Table_kmmc->locate(QStringLiteral("C1"), code));
    }

    // Learner states of the sample questions:
    //   410101110001  answered right            -> done
    //   410101110002  answered wrong (E4 -3)    -> wrong, done
    //   410101140001  voided, was wrong         -> done only
    //   410102220001  E2 empty text             -> new
    //   ...CASE00001-1 wrong (E4 -1), f1 empty  -> wrong, done
    //   ...CASE00001-2 never answered, f1 empty -> new
    //   120304110001  never answered            -> new
    void answerStates() {
        const auto state = [this](const char* id, const QVariant& e2, int e3, int e4,
                                  const QVariant& f1) {
            sql(QStringLiteral("update tab_answ set E2=:e2, E3=:e3, E4=:e4, f1=:f1 where A1=:a1"),
                {{"e2", e2}, {"e3", e3}, {"e4", e4}, {"f1", f1}, {"a1", id}});
        };
        state("410101110001", "B", 1, 0, 0);
        state("410101110002", "A", 1, -3, 0);
        state("410101140001", "zero", 1, -2, 1);
        state("410102220001", "", 0, 0, 0);
        state("4101021CASE00001-1", "B", 2, -1, QVariant());
        state("4101021CASE00001-2", QVariant(), 0, 0, QVariant());
        state("120304110001", QVariant(), 0, 0, 0);
    }
};

TEST_F(ChapterBrowserTest, TotalsSumTheChaptersOnly) {
    // Counters on the subject and part rows must not be added a second time.
    sql(QStringLiteral("update tab_kmmc set D1=4, D2=1 where C1='410101'"));
    sql(QStringLiteral("update tab_kmmc set D1=100, D2=50 where C1 in ('4','41','4101')"));
    TFrmkmmc browser;
    browser.show();
    EXPECT_EQ(browser.epNum_all->intValue(), 7);
    EXPECT_EQ(browser.epNum_ok->intValue(), 4);
    EXPECT_EQ(browser.epNum_Err->intValue(), 1);
    EXPECT_EQ(browser.Lb_fs->text(), QStringLiteral("75.00"));
}

TEST_F(ChapterBrowserTest, QuestionTotalIsCappedAndScoreKeepsItsTextWithoutAnswers) {
    TFrmkmmc browser;
    browser.show();
    EXPECT_EQ(browser.epNum_ok->intValue(), 0);
    EXPECT_EQ(browser.Lb_fs->text(), QStringLiteral("分数"));
    browser.close();

    sql(QStringLiteral("update tab_kmmc set C3=12000, D1=3, D2=1 where C1='410101'"));
    browser.show();
    EXPECT_EQ(browser.epNum_all->intValue(), 10000);
    EXPECT_EQ(browser.Lb_fs->text(), QStringLiteral("66.67"));

    sql(QStringLiteral("update tab_kmmc set C3=9995 where C1='410101'"));
    browser.close();
    browser.show();
    EXPECT_EQ(browser.epNum_all->intValue(), 9999);
}

TEST_F(ChapterBrowserTest, TreeHidesTheXxNodeAndReturnsToTheSelectedChapter) {
    sql(QStringLiteral("insert into tab_kmmc (C1, C2, bh) values ('XX', '隐藏', 100)"));
    TFrmkmmc browser;
    browser.show();
    EXPECT_EQ(browser.DBGrid1->model()->rowCount(), 9);
    EXPECT_EQ(DM1->Cn1Table_kmmc->text(QStringLiteral("C1")), QStringLiteral("1"));
    EXPECT_EQ(browser.DBGrid1->model()->headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("章节名称"));
    EXPECT_EQ(browser.DBGrid1->model()->headerData(5, Qt::Horizontal).toString(),
              QStringLiteral("综合成绩"));
    browser.close();

    // Clicking a grid row moves the tree; the next show comes back to the chosen node, found
    // without regard to letter case.
    sql(QStringLiteral("update tab_kmmc set C1='41ab' where C1='4101'"));
    browser.show();
    const int row = 6; // 1, 12, 1203, 120304, 4, 41, 41ab
    browser.DBGrid1->selectRow(row);
    EXPECT_EQ(DM1->Cn1Table_kmmc->text(QStringLiteral("C1")), QStringLiteral("41ab"));
    EXPECT_EQ(App::ChapterHeading, QStringLiteral("H4101"));
    browser.SelectedChapter = QStringLiteral("41AB");
    browser.close();
    browser.show();
    EXPECT_EQ(DM1->Cn1Table_kmmc->text(QStringLiteral("C1")), QStringLiteral("41ab"));
    EXPECT_EQ(browser.DBGrid1->currentIndex().row(), row);

    browser.SelectedChapter = QStringLiteral("999999");
    browser.close();
    browser.show();
    EXPECT_EQ(DM1->Cn1Table_kmmc->recNo(), 1);
}

TEST_F(ChapterBrowserTest, AFailedMoveOfTheTreeIsReportedAndTheBrowserStays) {
    TFrmkmmc browser;
    browser.show();
    Dataset* km = DM1->Cn1Table_kmmc;
    // A pending change of the current node that the file refuses: moving posts it first.
    km->edit();
    km->setValue(QStringLiteral("C2"), QStringLiteral("改过的名称"));
    sql(QStringLiteral("create trigger no_moves before update on tab_kmmc begin select "
                       "raise(abort, 'tree locked'); end"));
    browser.DBGrid1->selectRow(3);
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->last().kind, Dialogs::Kind::MessageBox);
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_TRUE(dialogs->last().text.contains(QStringLiteral("tree locked")));
    EXPECT_TRUE(browser.isVisible());
    EXPECT_EQ(km->recNo(), 1);
    km->cancel();
    sql(QStringLiteral("drop trigger no_moves"));
    // The browser goes on: the next row is reached.
    browser.DBGrid1->selectRow(2);
    EXPECT_EQ(km->text(QStringLiteral("C1")), QStringLiteral("1203"));
    browser.close();
}

TEST_F(ChapterBrowserTest, SubjectsAndPartsAreRefusedForPracticeAndEntry) {
    int entries = 0;
    WindowRegistry::registerOpener(WindowNames::QuestionEntry,
                                   [&](QWidget*, const QString&) { return ++entries, 0; });
    TFrmkmmc browser;
    browser.show();
    App::PracticeQuerySql = QStringLiteral("unchanged");
    for (const char* code : {"4", "41"}) {
        select(QString::fromLatin1(code));
        for (QAbstractButton* b : {static_cast<QAbstractButton*>(browser.SpeedButton1),
                                   static_cast<QAbstractButton*>(browser.SpeedButton2),
                                   static_cast<QAbstractButton*>(browser.SpeedButton3),
                                   static_cast<QAbstractButton*>(browser.SpeedButton5)})
            b->click();
        browser.DBGrid1DblClick();
    }
    ASSERT_EQ(dialogs->requests.size(), 10);
    for (const Dialogs::Request& r : dialogs->requests) {
        EXPECT_EQ(r.kind, Dialogs::Kind::MessageBox);
        EXPECT_EQ(r.title, QStringLiteral("提示"));
        EXPECT_EQ(r.text, kPickChapter);
        EXPECT_EQ(r.icon, Dialogs::Icon::Information);
    }
    EXPECT_EQ(entries, 0);
    EXPECT_EQ(App::PracticeQuerySql, QStringLiteral("unchanged"));
    EXPECT_TRUE(browser.isVisible());
    EXPECT_EQ(browser.SelectedChapter, QStringLiteral("41"));
}

TEST_F(ChapterBrowserTest, QuestionSetsSelectExactlyTheirRowsInTheirOrder) {
    answerStates();
    const auto set = [](int tag, const char* code, bool dbl = false) {
        return idsOf(TFrmkmmc::PracticeSql(tag, QString::fromLatin1(code), dbl));
    };
    // New: never answered (null or empty E2) and not voided (f1 empty counts as a bank
    // question), by type, chapter, order number.
    EXPECT_EQ(set(TFrmkmmc::NewQuestions, "4101"),
              QStringList({"4101021CASE00001-2", "410102220001"}));
    EXPECT_EQ(set(TFrmkmmc::NewQuestions, "4101", true),
              QStringList({"4101021CASE00001-2", "410102220001"}));
    EXPECT_EQ(set(TFrmkmmc::NewQuestions, "410101"), QStringList());
    EXPECT_EQ(set(TFrmkmmc::NewQuestions, "1203"), QStringList({"120304110001"}));
    // Wrong: E4 below 0 and not voided, by type, times answered, standing.
    EXPECT_EQ(set(TFrmkmmc::WrongQuestions, "4101"),
              QStringList({"410101110002", "4101021CASE00001-1"}));
    EXPECT_EQ(set(TFrmkmmc::WrongQuestions, "120304"), QStringList());
    // Done: every answered question, voided ones too; an empty-text E2 is not an answer.
    EXPECT_EQ(set(TFrmkmmc::DoneQuestions, "4101"),
              QStringList({"410101110002", "410101110001", "4101021CASE00001-1", "410101140001"}));
    EXPECT_EQ(set(TFrmkmmc::DoneQuestions, "410102"), QStringList({"4101021CASE00001-1"}));
    EXPECT_EQ(set(TFrmkmmc::DoneQuestions, "120304"), QStringList());
    EXPECT_TRUE(TFrmkmmc::PracticeSql(4, QStringLiteral("4101")).isEmpty());

    // The text itself: the double-click's order leaves out the id.
    EXPECT_TRUE(TFrmkmmc::PracticeSql(1, QStringLiteral("4101"), true)
                    .endsWith(QStringLiteral(" order by a13,a10,xx")));
    EXPECT_TRUE(TFrmkmmc::PracticeSql(1, QStringLiteral("4101"))
                    .endsWith(QStringLiteral(" order by a13,a10,xx,a1")));
}

TEST_F(ChapterBrowserTest, ChapterCodesAreQuotedAndMatchedWithoutLetterCase) {
    sql(QStringLiteral("insert into tab_kmmc (C1, C2, bh) values ('Q''b', '引号', 50)"));
    sql(QStringLiteral("insert into tab_answ (A1, A2, A10, A13, xx, f1, E3, E4) values "
                       "('US0001', 'A', 'q''b001', 11, 1, 2, 0, 0)"));
    EXPECT_EQ(idsOf(TFrmkmmc::PracticeSql(1, QStringLiteral("Q'b"))), QStringList({"US0001"}));
    // A code that tries to end the string selects nothing instead of everything.
    EXPECT_EQ(idsOf(TFrmkmmc::PracticeSql(1, QStringLiteral("4' or '1'='1"))), QStringList());
    EXPECT_EQ(idsOf(TFrmkmmc::PracticeSql(3, QStringLiteral("x') or (1=1"))), QStringList());
}

TEST_F(ChapterBrowserTest, EmptySetsShowTheirOwnMessages) {
    answerStates();
    TFrmkmmc browser;
    browser.show();
    select(QStringLiteral("120304")); // one new question, nothing wrong, nothing done
    browser.SpeedButton2->click();
    browser.SpeedButton3->click();
    sql(QStringLiteral("update tab_answ set E2='A', E3=1 where A1='120304110001'"));
    browser.SpeedButton1->click();
    browser.DBGrid1DblClick();

    ASSERT_EQ(dialogs->requests.size(), 4);
    const QStringList texts = {kNoWrong, kNeverDone, kBookshop, kBookshop};
    const int pictures[] = {1, 1, 0, 0};
    for (int i = 0; i < 4; ++i) {
        const Dialogs::Request& r = dialogs->requests[i];
        EXPECT_EQ(r.kind, Dialogs::Kind::ShowDlg);
        EXPECT_EQ(r.title, QStringLiteral("提示"));
        EXPECT_EQ(r.text, texts[i]);
        EXPECT_EQ(r.buttons, 1);
        EXPECT_EQ(r.mode, QStringLiteral("NO"));
        EXPECT_EQ(r.picture, pictures[i]);
    }
    EXPECT_TRUE(browser.isVisible());
    EXPECT_EQ(DM1->Cn1Table_kmmc->text(QStringLiteral("C1")), QStringLiteral("120304"));
    EXPECT_FALSE(ScreenCursor::isHourglass());
}

TEST_F(ChapterBrowserTest, MissingButtonPicturesEndTheProgramWithoutAnEmptySetMessage) {
    Fakes::EndObserver end;
    QFile::remove(folder->path() + QStringLiteral("pic/kvattxup.bmp"));
    TFrmkmmc browser;
    browser.show();
    select(QStringLiteral("120304"));
    browser.SpeedButton1->click();
    EXPECT_TRUE(end.ended());
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->requests[0].text, QStringLiteral("无法提取资源文件！"));
}

TEST_F(ChapterBrowserTest, PracticeHidesTheBrowserWhichReturnsWithFreshTotals) {
    TFrmkmmc browser;
    browser.show();
    select(QStringLiteral("120304"));
    bool hiddenDuringPractice = false;
    QString heading;
    whenModal<TFrmLxxt>([&](TFrmLxxt* practice) {
        hiddenDuringPractice = !browser.isVisible();
        heading = App::ChapterHeading;
        // Answer the one question right (key "A") and close: closing records the answer.
        auto* a = practice->findChild<QAbstractButton*>(QStringLiteral("fcBG_one1"));
        ASSERT_NE(a, nullptr);
        a->click();
        auto* close = practice->findChild<QAbstractButton*>(QStringLiteral("epEfTrBtn99"));
        ASSERT_NE(close, nullptr);
        close->click();
    });
    browser.SpeedButton1->click();

    EXPECT_TRUE(hiddenDuringPractice);
    EXPECT_EQ(heading, QStringLiteral("H120304"));
    EXPECT_EQ(App::PracticeQuerySql, TFrmkmmc::PracticeSql(1, QStringLiteral("120304")));
    EXPECT_TRUE(browser.isVisible());
    EXPECT_EQ(browser.SelectedChapter, QStringLiteral("120304"));
    EXPECT_EQ(DM1->Cn1Table_kmmc->text(QStringLiteral("C1")), QStringLiteral("120304"));
    EXPECT_EQ(browser.epNum_ok->intValue(), 1);
    EXPECT_EQ(browser.epNum_Err->intValue(), 0);
    EXPECT_EQ(browser.Lb_fs->text(), QStringLiteral("100.00"));
    EXPECT_TRUE(dialogs->requests.isEmpty());
    EXPECT_FALSE(ScreenCursor::isHourglass());
}

TEST_F(ChapterBrowserTest, DoubleClickOnARowStartsItsNewQuestions) {
    TFrmkmmc browser;
    browser.show();
    QTableView* grid = browser.DBGrid1;
    const int row = 7; // 1, 12, 1203, 120304, 4, 41, 4101, 410101
    const QRect cell = grid->visualRect(grid->model()->index(row, 0));
    ASSERT_TRUE(cell.isValid());
    bool opened = false;
    whenModal<TFrmLxxt>([&](TFrmLxxt* practice) {
        opened = true;
        practice->reject();
    });
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_TRUE(waitUntil([&] { return opened; }));
    EXPECT_EQ(App::PracticeQuerySql, TFrmkmmc::PracticeSql(1, QStringLiteral("410101"), true));
    EXPECT_EQ(browser.SelectedChapter, QStringLiteral("410101"));
    EXPECT_TRUE(browser.isVisible());
}

TEST_F(ChapterBrowserTest, LxCommandsOpenTheSameBrowserThroughTheMenu) {
    registerPracticeCommands();
    FrmStart = new TFrmStart();
    struct Seen {
        int rows = -1;
        int total = -1;
        bool hourglass = false;
    };
    for (const char* command : {"lx", "lx3", "lx5"}) {
        Seen seen;
        bool practised = false;
        whenModal<TFrmkmmc>([&](TFrmkmmc* browser) {
            seen.rows = browser->DBGrid1->model()->rowCount();
            seen.total = browser->epNum_all->intValue();
            select(QStringLiteral("410101"));
            // A practice inside the menu's modal run: the browser comes back in the same run.
            whenModal<TFrmLxxt>([&, browser](TFrmLxxt* practice) {
                practised = true;
                practice->reject();
                whenModal<TFrmkmmc>([browser](TFrmkmmc* again) {
                    EXPECT_EQ(again, browser);
                    again->SpeedButton6->click();
                });
            });
            browser->SpeedButton1->click();
        });
        FrmStart->ShockwaveFlash1FSCommand(QString::fromLatin1(command), QString());
        EXPECT_EQ(seen.rows, 9) << command;
        EXPECT_EQ(seen.total, 7) << command;
        EXPECT_TRUE(practised) << command;
        EXPECT_EQ(WindowRegistry::activeWindow(), nullptr);
        EXPECT_FALSE(DM1->Cn1Table_kmmc->active()) << "closing the browser closes the tree";
    }
    EXPECT_FALSE(WindowRegistry::window(QStringLiteral("lx6")));
}

TEST_F(ChapterBrowserTest, BothLayoutsPlaceEveryControlInsideTheWindowWithoutOverlap) {
    struct Expect {
        const char* mode;
        QSize size;
        QRect grid;
        int first;
        int other;
        QRect newButton;
        QRect close;
    };
    const Expect cases[] = {
        {"800", QSize(761, 480), QRect(25, 136, 596, 176), 308, 50, QRect(114, 393, 69, 31),
         QRect(549, 387, 69, 29)},
        {"1024", QSize(935, 611), QRect(33, 101, 733, 379), 370, 65, QRect(142, 501, 84, 38),
         QRect(676, 494, 86, 36)},
    };
    for (const Expect& e : cases) {
        App::ScreenMode = QString::fromLatin1(e.mode);
        TFrmkmmc browser;
        browser.show();
        SCOPED_TRACE(e.mode);
        EXPECT_EQ(browser.size(), e.size);
        EXPECT_EQ(browser.Image1->isVisible(), App::ScreenMode == QLatin1String("800"));
        EXPECT_EQ(browser.Image11->isVisible(), App::ScreenMode != QLatin1String("800"));
        EXPECT_EQ(browser.DBGrid1->geometry(), e.grid);
        QHeaderView* titles = browser.DBGrid1->horizontalHeader();
        // The columns keep the designed total; the score column is as wide as "100.00" needs.
        int total = 0;
        for (int c = 0; c < 6; ++c)
            total += titles->sectionSize(c);
        EXPECT_EQ(total, e.first + 5 * e.other);
        EXPECT_LE(browser.DBGrid1->fontMetrics().horizontalAdvance(QStringLiteral("100.00")) + 4,
                  titles->sectionSize(5));
        for (int c = 0; c < 6; ++c) {
            if (c > 0 && c < 5) {
                EXPECT_EQ(titles->sectionSize(c), e.other);
            }
            const QString title = titles->model()->headerData(c, Qt::Horizontal).toString();
            EXPECT_LE(titles->fontMetrics().horizontalAdvance(title) + 4, titles->sectionSize(c))
                << title.toStdString();
        }
        EXPECT_EQ(browser.SpeedButton1->geometry(), e.newButton);
        EXPECT_EQ(browser.SpeedButton6->geometry(), e.close);

        QList<QWidget*> controls = {
            browser.DBGrid1,      browser.epLabel3,     browser.epLabel4,     browser.epLabel5,
            browser.epLabel6,     browser.epNum_all,    browser.epNum_ok,     browser.epNum_Err,
            browser.Lb_fs,        browser.SpeedButton1, browser.SpeedButton2, browser.SpeedButton3,
            browser.SpeedButton4, browser.SpeedButton5, browser.SpeedButton6};
        const QRect window(QPoint(0, 0), e.size);
        for (int i = 0; i < controls.size(); ++i) {
            EXPECT_TRUE(controls[i]->isVisible()) << controls[i]->objectName().toStdString();
            EXPECT_TRUE(window.contains(controls[i]->geometry()))
                << controls[i]->objectName().toStdString();
            for (int j = i + 1; j < controls.size(); ++j)
                EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                    << controls[i]->objectName().toStdString() << " overlaps "
                    << controls[j]->objectName().toStdString();
        }
        for (QAbstractButton* b : browser.findChildren<QAbstractButton*>()) {
            if (b->isVisible()) {
                EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()), b->width())
                    << b->objectName().toStdString();
            }
        }
        EXPECT_FALSE(browser.epEfButton1->isVisible());
        EXPECT_EQ(browser.epEfButton2->text(), QStringLiteral("错题重做"));
        EXPECT_EQ(browser.epEfButton3->property("tag").toInt(), 3);
    }
}

TEST_F(ChapterBrowserTest, QuestionEntryRereadsTheTreeAndCountsTheAddedQuestions) {
    QString chapterSeen;
    QWidget* ownerSeen = nullptr;
    WindowRegistry::registerOpener(WindowNames::QuestionEntry, [&](QWidget* owner,
                                                                   const QString& chapter) {
        chapterSeen = chapter;
        ownerSeen = owner;
        // What the entry window does for one new question of the chapter.
        sql(QStringLiteral("update tab_kmmc set C3=C3+1 where C1 in ('4','41','4101','410101')"));
        return 1;
    });
    TFrmkmmc browser;
    browser.show();
    select(QStringLiteral("410101"));
    browser.SpeedButton5->click();
    EXPECT_EQ(chapterSeen, QStringLiteral("410101"));
    EXPECT_EQ(ownerSeen, &browser);
    EXPECT_EQ(browser.epNum_all->intValue(), 8);
    EXPECT_EQ(DM1->Cn1Table_kmmc->text(QStringLiteral("C1")), QStringLiteral("410101"));
    EXPECT_EQ(DM1->Cn1Table_kmmc->whole(QStringLiteral("C3")), 4) << "the tree is read again";
    EXPECT_TRUE(dialogs->requests.isEmpty());

    WindowRegistry::registerOpener(WindowNames::QuestionEntry, [](QWidget*, const QString&) -> int {
        throw std::runtime_error("entry failed");
    });
    browser.SpeedButton5->click();
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->last().text, QStringLiteral("录入试题后出现异常!"));
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Warning);
    EXPECT_EQ(DM1->Cn1Table_kmmc->text(QStringLiteral("C1")), QStringLiteral("410101"));

    // Without question entry in the program the button does nothing.
    WindowRegistry::unregister(WindowNames::QuestionEntry);
    browser.SpeedButton5->click();
    EXPECT_EQ(dialogs->requests.size(), 1);

    int settings = 0;
    App::ConfigMode = 1;
    WindowRegistry::registerOpener(WindowNames::Settings, [&](QWidget* owner, const QString&) {
        EXPECT_EQ(owner, &browser);
        EXPECT_EQ(App::ConfigMode, 0);
        ++settings;
        return 0;
    });
    browser.SpeedButton4->click();
    EXPECT_EQ(settings, 1);
}

} // namespace
