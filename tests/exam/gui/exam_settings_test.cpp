// The exam settings over a real sample bank: minutes and seconds, the defaults of the ticked
// items, the pass mark bounded by the full marks (typed, cleared, or stored too high), refused
// letters, a failed save and leaving without saving.

#include "exam/exam_settings.h"

#include "gui_bank_test.h"

#include "store/data_module.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString kTooHigh = QStringLiteral("最低分数不能超过总分数！");

class ExamSettingsTest : public GuiBankTest {
  protected:
    // The type table of kind 1 as a paper of 60 one-point and 35 two-point questions: 130 full
    // marks. The sample's own table gives 2 x 1 + 1 x 2 = 4.
    void fullMarks130() {
        sql(QStringLiteral("update tab_tx1 set B2=60, B3=1 where A1=11"));
        sql(QStringLiteral("update tab_tx1 set B2=35, B3=2 where A1=14"));
        sql(QStringLiteral("update tab_tx1 set B2=0 where A1=22"));
    }
    void storePlan(int leastMark, int examTime) {
        sql(QStringLiteral("update tab_plan set LeastMark=:m, ExamTime=:t"),
            {{QStringLiteral("m"), leastMark}, {QStringLiteral("t"), examTime}});
    }
    QVariant storedLeastMark() {
        return stored(QStringLiteral("select LeastMark from tab_plan"),
                      QStringLiteral("LeastMark"));
    }
    QVariant storedExamTime() {
        return stored(QStringLiteral("select ExamTime from tab_plan"), QStringLiteral("ExamTime"));
    }
    static void retype(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
};

TEST_F(ExamSettingsTest, ShowsWholeMinutesAndSavesThemAsSeconds) {
    fullMarks130();
    storePlan(65, 7230);
    TFrmEset w;
    w.show();
    EXPECT_EQ(w.suiNumberEdit1->text(), QStringLiteral("65"));
    EXPECT_EQ(w.suiNumberEdit2->text(), QStringLiteral("120")) << "7230 s: the 30 s are dropped";
    EXPECT_FALSE(w.suiButton1->isEnabled()) << "nothing ticked, nothing to reset";
    EXPECT_TRUE(dialogs->requests.isEmpty());

    w.suiButton2->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(storedExamTime().toInt(), 7200);
    EXPECT_EQ(storedLeastMark().toInt(), 65);
    EXPECT_FALSE(DM1->Cn1Table_plan->active());
    EXPECT_TRUE(dialogs->requests.isEmpty());

    // Typed values are what is saved.
    w.show();
    retype(w.suiNumberEdit1, QStringLiteral("78"));
    retype(w.suiNumberEdit2, QStringLiteral("90"));
    w.suiButton2->click();
    EXPECT_EQ(storedLeastMark().toInt(), 78);
    EXPECT_EQ(storedExamTime().toInt(), 5400);
}

TEST_F(ExamSettingsTest, DefaultResetsOnlyTheTickedItemsAndEscapeSavesNothing) {
    fullMarks130();
    storePlan(40, 9000);
    TFrmEset w;
    w.show();
    ASSERT_EQ(w.suiNumberEdit2->text(), QStringLiteral("150"));

    w.suiCheckBox2->click();
    EXPECT_TRUE(w.suiButton1->isEnabled());
    w.suiButton1->click();
    EXPECT_EQ(w.suiNumberEdit2->text(), QStringLiteral("120"));
    EXPECT_EQ(w.suiNumberEdit1->text(), QStringLiteral("40"));

    w.suiCheckBox2->click();
    EXPECT_FALSE(w.suiButton1->isEnabled()) << "either box enables 默认, unticking both disables";
    w.suiCheckBox1->click();
    EXPECT_TRUE(w.suiButton1->isEnabled());
    retype(w.suiNumberEdit2, QStringLiteral("45"));
    // Half the full marks, rounded toward zero: 131 gives 65 as 130 does.
    sql(QStringLiteral("update tab_tx1 set B2=1, B3=1 where A1=22"));
    DM1->Cn1Table_tx->close(); // as the window that changes the type table leaves it
    w.suiButton1->click();
    EXPECT_EQ(w.suiNumberEdit1->text(), QStringLiteral("65"));
    EXPECT_EQ(w.suiNumberEdit2->text(), QStringLiteral("45"));

    // Escape leaves without saving what the defaults put in.
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_EQ(storedLeastMark().toInt(), 40);
    EXPECT_EQ(storedExamTime().toInt(), 9000);
    EXPECT_FALSE(DM1->Cn1Table_plan->active());
    EXPECT_TRUE(dialogs->requests.isEmpty());
}

TEST_F(ExamSettingsTest, PassMarkNeverExceedsTheFullMarks) {
    fullMarks130();
    TFrmEset w;
    w.show();
    w.suiNumberEdit2->setFocus();

    retype(w.suiNumberEdit1, QStringLiteral("130"));
    EXPECT_EQ(w.suiNumberEdit1->text(), QStringLiteral("130"));
    EXPECT_TRUE(dialogs->requests.isEmpty()) << "the full marks themselves are accepted";

    retype(w.suiNumberEdit1, QStringLiteral("131"));
    ASSERT_EQ(dialogs->requests.size(), 1);
    const Dialogs::Request& r = dialogs->last();
    EXPECT_EQ(r.kind, Dialogs::Kind::MessageBox);
    EXPECT_EQ(r.title, QStringLiteral("提示"));
    EXPECT_EQ(r.text, kTooHigh);
    EXPECT_EQ(r.icon, Dialogs::Icon::Information);
    EXPECT_EQ(r.boxButtons, Dialogs::BoxButtons::Ok);
    EXPECT_EQ(w.suiNumberEdit1->text(), QStringLiteral("130"));
    EXPECT_EQ(w.focusWidget(), w.suiNumberEdit1);

    // An empty pass mark is 0.
    w.suiNumberEdit1->selectAll();
    QTest::keyClick(w.suiNumberEdit1, Qt::Key_Backspace);
    EXPECT_EQ(w.suiNumberEdit1->text(), QStringLiteral("0"));
    w.suiNumberEdit1->clear();
    EXPECT_EQ(w.suiNumberEdit1->text(), QStringLiteral("0"));
    EXPECT_EQ(dialogs->requests.size(), 1);

    w.suiButton2->click();
    EXPECT_EQ(storedLeastMark().toInt(), 0);
}

TEST_F(ExamSettingsTest, LettersNeverEnterTheNumberFields) {
    fullMarks130();
    TFrmEset w;
    w.show();
    for (QLineEdit* e : {w.suiNumberEdit1, w.suiNumberEdit2}) {
        retype(e, QStringLiteral("1a2-b"));
        e->insert(QStringLiteral("x"));
        EXPECT_EQ(e->text(), QStringLiteral("12")) << e->objectName().toStdString();
    }
    EXPECT_TRUE(dialogs->requests.isEmpty());
}

TEST_F(ExamSettingsTest, StoredPassMarkAboveTheFullMarksIsReportedAtEveryShow) {
    // The sample's type table gives 4 full marks; its pass mark is 65.
    TFrmEset w;
    w.show();
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->last().text, kTooHigh);
    EXPECT_EQ(w.suiNumberEdit1->text(), QStringLiteral("4"));
    EXPECT_EQ(storedLeastMark().toInt(), 65) << "showing saves nothing";

    // Shown again, the field already reads "4" when the stored 65 fills it: still reported.
    QTest::keyClick(&w, Qt::Key_Escape);
    w.show();
    EXPECT_EQ(dialogs->requests.size(), 2);
    EXPECT_EQ(w.suiNumberEdit1->text(), QStringLiteral("4"));
    w.suiButton2->click();
    EXPECT_EQ(storedLeastMark().toInt(), 4);
}

TEST_F(ExamSettingsTest, AFailedSaveKeepsTheStoredSettings) {
    fullMarks130();
    TFrmEset w;
    w.show();
    retype(w.suiNumberEdit1, QStringLiteral("70"));
    w.suiNumberEdit2->clear();
    w.suiButton2->click();

    ASSERT_EQ(dialogs->requests.size(), 1);
    const Dialogs::Request& r = dialogs->last();
    EXPECT_EQ(r.kind, Dialogs::Kind::MessageBox);
    EXPECT_EQ(r.title, QStringLiteral("警告"));
    EXPECT_EQ(r.text, QStringLiteral("保存设置失败！"));
    EXPECT_EQ(r.icon, Dialogs::Icon::Critical);
    EXPECT_FALSE(w.isVisible()) << "the window closes in either case";
    EXPECT_EQ(storedLeastMark().toInt(), 65) << "the pass mark is not saved alone";
    EXPECT_EQ(storedExamTime().toInt(), 9000);
    EXPECT_FALSE(DM1->Cn1Table_plan->active());

    // The file refusing the row is the same failure.
    sql(QStringLiteral("create trigger plan_locked before update on tab_plan begin select "
                       "raise(abort, 'locked'); end"));
    w.show();
    retype(w.suiNumberEdit2, QStringLiteral("60"));
    w.suiButton2->click();
    ASSERT_EQ(dialogs->requests.size(), 2);
    EXPECT_EQ(dialogs->last().text, QStringLiteral("保存设置失败！"));
    EXPECT_EQ(storedExamTime().toInt(), 9000);
}

} // namespace
