// The knowledge-point picker over a real sample bank: the limit of seven per pick with the points
// the question has, rows shown ticked for points the question has, ticks lost with the entry, and
// what the opener's lists gain.

#include "authoring/point_picker.h"

#include "gui_bank_test.h"

#include "store/app_state.h"
#include "widgets/effect_button.h"

#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTest>

#include <memory>

#include <gtest/gtest.h>

namespace {

const QString kLimitZero = QStringLiteral("对应考点最多不能超过7条，已有考点0条！");

// The sample catalogue: 41 (top level), 410101 with 净现值, 410102 with 内部收益率 and 投资回收期;
// the test gives 410102 eight more points, 点03 .. 点10.
class PointPickerTest : public GuiBankTest {
  protected:
    void setUpWindows() override {
        for (int i = 3; i <= 10; ++i)
            sql(QStringLiteral("insert into tab_rule (id, ftid, sn) values ('410102', :f, :s)"),
                {{"f", QStringLiteral("41010200%1").arg(i, 2, 10, QLatin1Char('0'))},
                 {"s", QStringLiteral("点%1").arg(i, 2, 10, QLatin1Char('0'))}});
        openerIds = std::make_unique<QListWidget>();
    }
    void tearDownWindows() override {
        picker.reset();
        openerIds.reset();
    }

    void open(int chosen) {
        App::ChosenPointCount = chosen;
        picker = std::make_unique<TFrmSelectFG>();
        picker->setPage(0);
        picker->setOpener(1, openerIds.get());
        picker->show();
        QCoreApplication::processEvents();
    }
    void chooseEntry(const QString& name) {
        const int row = picker->ComboBox1->findText(name);
        ASSERT_GE(row, 0) << name.toStdString();
        picker->ComboBox1->setCurrentIndex(row);
    }
    // Ticks the first n rows as a click on their check boxes does.
    void tick(int n, int from = 0) {
        for (int i = from; i < from + n; ++i)
            picker->CheckListBox1->item(i)->setCheckState(Qt::Checked);
    }
    void confirm() { QTest::mouseClick(picker->epEfButton1, Qt::LeftButton); }
    QStringList lines(const QListWidget& list) const {
        QStringList out;
        for (int i = 0; i < list.count(); ++i)
            out << list.item(i)->text();
        return out;
    }

    std::unique_ptr<QListWidget> openerIds;
    std::unique_ptr<TFrmSelectFG> picker;
};

} // namespace

TEST_F(PointPickerTest, OpensOnTheFirstEntryWithPointsUnticked) {
    open(0);
    EXPECT_EQ(picker->windowTitle(), "欢迎");
    EXPECT_EQ(picker->Notebook1->currentIndex(), 0);
    ASSERT_EQ(picker->ComboBox1->count(), 3);
    EXPECT_EQ(picker->ComboBox1->itemText(1), "第一节");
    EXPECT_EQ(picker->ComboBox2->itemText(1), "410101");
    EXPECT_FALSE(picker->ComboBox2->isVisible());
    // The top-level entry comes first but has no points of its own: the list opens on the next.
    EXPECT_EQ(picker->ComboBox1->currentText(), "第一节");
    ASSERT_EQ(picker->CheckListBox1->count(), 1);
    EXPECT_EQ(picker->CheckListBox1->item(0)->text().trimmed(), "净现值");
    EXPECT_EQ(picker->CheckListBox1->item(0)->checkState(), Qt::Unchecked);
    confirm();
    EXPECT_EQ(dialogs->last().text, QStringLiteral("请选择对应考点，退出请按关闭按钮！"));
    EXPECT_TRUE(picker->isVisible());

    chooseEntry(QStringLiteral("第二节"));
    ASSERT_EQ(picker->CheckListBox1->count(), 10);
    EXPECT_EQ(picker->CheckListBox2->item(0)->text(), "4101020001");
    EXPECT_EQ(picker->CheckListBox1->item(0)->text().trimmed(), "内部收益率");
}

TEST_F(PointPickerTest, SevenPerPickCountingThePointsTheQuestionHas) {
    open(0);
    chooseEntry(QStringLiteral("第二节"));
    tick(8);
    confirm();
    EXPECT_EQ(dialogs->last().text, kLimitZero);
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    EXPECT_TRUE(picker->isVisible());
    picker->CheckListBox1->item(7)->setCheckState(Qt::Unchecked);
    confirm();
    EXPECT_EQ(picker->result(), QDialog::Accepted);

    open(5);
    chooseEntry(QStringLiteral("第二节"));
    tick(3);
    confirm();
    EXPECT_EQ(dialogs->last().text, QStringLiteral("对应考点最多不能超过7条，已有考点5条！"));
    picker->CheckListBox1->item(2)->setCheckState(Qt::Unchecked);
    confirm();
    EXPECT_EQ(picker->result(), QDialog::Accepted);

    open(8);
    chooseEntry(QStringLiteral("第二节"));
    tick(1);
    confirm();
    EXPECT_EQ(dialogs->last().text, QStringLiteral("对应考点最多不能超过7条，已有考点8条！"));
    EXPECT_NE(picker->result(), QDialog::Accepted);
}

TEST_F(PointPickerTest, PointsTheQuestionHasShowTickedCountAndAddNothing) {
    openerIds->addItem(QStringLiteral("4101020002"));
    QListWidget display;
    display.addItem(QStringLiteral("第二节[投资回收期]"));
    open(1);
    chooseEntry(QStringLiteral("第二节"));
    EXPECT_EQ(picker->CheckListBox1->item(1)->checkState(), Qt::Checked);
    EXPECT_EQ(picker->CheckListBox2->item(1)->checkState(), Qt::Unchecked);
    tick(6, 2); // 6 new + 1 shown ticked + 1 the question has = 8
    confirm();
    EXPECT_EQ(dialogs->last().text, QStringLiteral("对应考点最多不能超过7条，已有考点1条！"));
    picker->CheckListBox1->item(7)->setCheckState(Qt::Unchecked);
    picker->CheckListBox1->item(6)->setCheckState(Qt::Unchecked);
    picker->CheckListBox1->item(0)->setCheckState(Qt::Checked);
    confirm();
    ASSERT_EQ(picker->result(), QDialog::Accepted);
    picker->AddPickedPoints(&display, openerIds.get());
    EXPECT_EQ(lines(*openerIds), QStringList({"4101020002", "4101020001", "4101020003",
                                              "4101020004", "4101020005", "4101020006"}));
    EXPECT_EQ(display.item(1)->text(), QStringLiteral("第二节[内部收益率]"));
    EXPECT_EQ(display.item(2)->text(), QStringLiteral("第二节[点03]"));
    EXPECT_EQ(display.count(), openerIds->count());
}

TEST_F(PointPickerTest, TicksUnderAnEarlierEntryAreLost) {
    QListWidget display;
    open(0);
    chooseEntry(QStringLiteral("第二节"));
    tick(2);
    chooseEntry(QStringLiteral("第一节"));
    tick(1);
    confirm();
    ASSERT_EQ(picker->result(), QDialog::Accepted);
    picker->AddPickedPoints(&display, openerIds.get());
    EXPECT_EQ(lines(*openerIds), QStringList({"4101010001"}));
    EXPECT_EQ(lines(display), QStringList({QStringLiteral("第一节[净现值]")}));
}

TEST_F(PointPickerTest, UsagePageHoldsTheInstructions) {
    picker = std::make_unique<TFrmSelectFG>();
    picker->setPage(1);
    picker->show();
    QCoreApplication::processEvents();
    const QStringList text = picker->Memo1->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(text.size(), 21);
    EXPECT_EQ(text[0], QStringLiteral("使用方法如下："));
    EXPECT_EQ(text[11], QStringLiteral("   "));
    EXPECT_EQ(text[19], QStringLiteral("动填写1；"));
    EXPECT_TRUE(picker->Memo1->isReadOnly());
    EXPECT_EQ(picker->ComboBox1->count(), 0); // the catalogue is not read for this page
    QTest::mouseClick(picker->epEfButton3, Qt::LeftButton);
    EXPECT_FALSE(picker->isVisible());
}
