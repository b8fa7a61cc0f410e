// Question editing over the chapter practice on a real sample bank: what it loads, a question
// edited down to one knowledge point, a case question's shared text, formatting kept, ecount per
// save, the refusal of a type name that is no type, a failed save that keeps the window and its
// inputs, and the practice showing the changed question afterwards.

#include "authoring/authoring_commands.h"
#include "authoring/point_picker.h"
#include "authoring/question_edit_window.h"

#include "gui_bank_test.h"

#include "practice/practice_window.h"
#include "richtext/rtf_codec.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/db_rich_edit.h"
#include "widgets/effect_button.h"
#include "widgets/picture_button.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTimer>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

namespace {

using GuiTest::whenModal;

// The questions of chapter 4101 in the practice's order: 410101110001 (B, 4 options, points
// 4101010001 and 4101020001), 410101110002, 4101021CASE00001-1 and -2, 410101140001, 410102220001.
const QString kChapterSql =
    QStringLiteral("select * from tab_answ where A10 like '4101%' order by a13,a10,xx,a1");

class QuestionEditTest : public GuiBankTest {
  protected:
    void setUpWindows() override {
        copyPictures();
        App::PaperKind = 1;
        App::TypeCodes = {11, 14, 22};
        App::TypeTimes = {600, 900, 150};
        registerAuthoringCommands();
        App::PracticeQuerySql = kChapterSql;
        practice = std::make_unique<TFrmLxxt>();
        ASSERT_TRUE(practice->LoadQuestionSet());
        practice->show();
        QCoreApplication::processEvents();
    }
    void tearDownWindows() override { practice.reset(); }

    void goTo(const QString& id) {
        for (int n = 1; n <= 20; ++n) {
            PictureButton* b = practice->questionButton(n);
            if (!b || !b->isVisible())
                break;
            QTest::mouseClick(b, Qt::LeftButton);
            if (DM1->Cn1Query_tm->text(QStringLiteral("A1")) == id)
                return;
        }
        FAIL() << "not in the group: " << id.toStdString();
    }
    // Opens the editor by 修改本题 and runs step in it.
    void edit(const std::function<void(TfrmTedit*)>& step) {
        bool ran = false;
        whenModal<TfrmTedit>([&](TfrmTedit* editor) {
            EXPECT_FALSE(practice->Timer1->isActive());
            step(editor);
            ran = true;
            if (editor->isVisible())
                QTest::mouseClick(editor->SpeedButton3, Qt::LeftButton);
        });
        QTest::mouseClick(practice->button(Control::Edit), Qt::LeftButton);
        EXPECT_TRUE(ran);
        EXPECT_TRUE(practice->Timer1->isActive());
    }
    QVariant answ(const QString& id, const char* column) {
        return dm->ADOCn1.scalar(
            QStringLiteral("select %1 from tab_answ where A1=:a").arg(QLatin1String(column)),
            {{"a", id}});
    }
    int q(const char* table, const char* key, const char* id) {
        return dm->ADOCn1
            .scalar(QStringLiteral("select q from %1 where %2=:i")
                        .arg(QLatin1String(table), QLatin1String(key)),
                    {{"i", QString::fromLatin1(id)}})
            .toInt();
    }

    std::unique_ptr<TFrmLxxt> practice;
};

} // namespace

TEST_F(QuestionEditTest, LoadsTheQuestionOnShowAndEditsItDownToOnePoint) {
    const QString id = QStringLiteral("410101110001");
    goTo(id);
    edit([&](TfrmTedit* e) {
        EXPECT_EQ(e->windowTitle(), "试题修改");
        EXPECT_FALSE(e->RxDBRichEdit3->isVisible()); // no case
        EXPECT_EQ(e->RxDBRichEdit1->toPlainText(), QStringLiteral("题目 ") + id);
        EXPECT_EQ(e->RxDBRichEdit2->toPlainText(), QStringLiteral("解析 ") + id);
        EXPECT_EQ(e->SE_Num->value(), 4);
        EXPECT_EQ(e->Edit1->text(), "B");
        EXPECT_EQ(e->ComboBox1->currentText(), "单项选择题");
        ASSERT_EQ(e->ListBox1->count(), 2);
        EXPECT_EQ(e->ListBox1->item(0)->text(), QStringLiteral("第一节净现值"));
        EXPECT_EQ(e->ListBox1->item(1)->text(), QStringLiteral("第二节内部收益率"));

        e->ListBox1->setCurrentRow(1);
        QTest::keyClick(e->ListBox1, Qt::Key_Delete);
        e->SE_Num->setValue(3);
        e->Edit1->setText(QStringLiteral("A"));
        QTest::mouseClick(e->SpeedButton4, Qt::LeftButton);
        EXPECT_FALSE(e->isVisible());
    });
    EXPECT_TRUE(dialogs->requests.isEmpty()) << dialogs->texts().join(' ').toStdString();
    EXPECT_EQ(answ(id, "k3").toString(), "4101010001");
    EXPECT_EQ(answ(id, "k4").toString(), "");
    EXPECT_EQ(answ(id, "A2").toString(), "A");
    EXPECT_EQ(answ(id, "A2_1").toInt(), 3);
    EXPECT_EQ(answ(id, "ecount").toInt(), 1);
    EXPECT_EQ(q("tab_rule", "ftid", "4101010001"), 2);
    EXPECT_EQ(q("tab_rule", "ftid", "4101020001"), 1); // recounted without this question
    EXPECT_EQ(q("tab_fgmc", "id", "410102"), 1);
    EXPECT_EQ(q("tab_fgmc", "id", "41"), 3);
    // The practice shows the question as it is now.
    EXPECT_EQ(practice->Label24->text(), QStringLiteral("本题被您修改过"));
    EXPECT_EQ(DM1->Cn1Query_tm->text(QStringLiteral("A1")), id);

    // Every save counts once more; cancelling counts nothing.
    edit([](TfrmTedit* e) { QTest::mouseClick(e->SpeedButton4, Qt::LeftButton); });
    EXPECT_EQ(answ(id, "ecount").toInt(), 2);
    edit([](TfrmTedit* e) { e->Edit1->setText(QStringLiteral("D")); });
    EXPECT_EQ(answ(id, "ecount").toInt(), 2);
    EXPECT_EQ(answ(id, "A2").toString(), "A");
}

TEST_F(QuestionEditTest, KeepsFormattingAndWritesTheCaseTextBack) {
    const QString id = QStringLiteral("4101021CASE00001-1");
    goTo(id);
    edit([](TfrmTedit* e) {
        ASSERT_TRUE(e->isCaseQuestion());
        EXPECT_TRUE(e->RxDBRichEdit3->isVisible());
        EXPECT_EQ(e->RxDBRichEdit3->toPlainText(), QStringLiteral("案例背景"));
        EXPECT_GT(e->RxDBRichEdit1->y(), e->RxDBRichEdit3->y());
        QTextCursor c(e->RxDBRichEdit3->document());
        c.movePosition(QTextCursor::End);
        c.insertText(QStringLiteral("（修改）"));
        QTextCursor t(e->RxDBRichEdit1->document());
        t.movePosition(QTextCursor::End);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        t.insertText(QStringLiteral("加粗"), bold);
        t.insertTable(2, 2);
        e->Edit1->setText(QStringLiteral("C"));
        QTest::mouseClick(e->SpeedButton4, Qt::LeftButton);
    });
    EXPECT_EQ(
        Rtf::toPlainText(
            stored(QStringLiteral("select A15 from tab_title where A1='4101021CASE00001'"), "A15")
                .toByteArray()),
        QStringLiteral("案例背景（修改）"));
    QTextDocument text;
    Rtf::read(stored(QStringLiteral("select A15 from tab_exer where A1='") + id + "'", "A15")
                  .toByteArray(),
              &text);
    const QTextCursor found = text.find(QStringLiteral("加粗"));
    ASSERT_FALSE(found.isNull());
    EXPECT_EQ(found.charFormat().fontWeight(), QFont::Bold);
    EXPECT_FALSE(text.rootFrame()->childFrames().isEmpty()); // the table
}

TEST_F(QuestionEditTest, SubjectiveQuestionLoadsWithItsFixedAnswer) {
    goTo(QStringLiteral("410102220001"));
    edit([](TfrmTedit* e) {
        EXPECT_EQ(e->ComboBox1->currentText(), "案例分析题");
        EXPECT_EQ(e->SE_Num->value(), 1);
        EXPECT_EQ(e->Edit1->text(), "1");
        EXPECT_FALSE(e->SE_Num->isEnabled());
        EXPECT_FALSE(e->Edit1->isEnabled());
    });
}

TEST_F(QuestionEditTest, RefusesWhatWouldLoseTheQuestionAndKeepsTheInputs) {
    const QString id = QStringLiteral("410101110002");
    goTo(id);
    edit([&](TfrmTedit* e) {
        e->ComboBox1->setEditText(QStringLiteral("不存在的题型"));
        QTest::mouseClick(e->SpeedButton4, Qt::LeftButton);
        EXPECT_EQ(dialogs->last().text,
                  QStringLiteral("没有名为“不存在的题型”的题型，请从列表中选择题型！"));
        EXPECT_TRUE(e->isVisible());

        e->ComboBox1->setEditText(QStringLiteral("单项选择题"));
        e->Edit1->setText(QString());
        QTest::mouseClick(e->SpeedButton4, Qt::LeftButton);
        EXPECT_EQ(dialogs->last().text, QStringLiteral("请填写试题答案！"));

        // A failure while saving: reported, nothing written, the window keeps what was typed.
        sql(QStringLiteral("create trigger no_change before update on tab_answ "
                           "begin select raise(abort, 'refused'); end"));
        e->Edit1->setText(QStringLiteral("D"));
        QTextCursor c(e->RxDBRichEdit1->document());
        c.movePosition(QTextCursor::End);
        c.insertText(QStringLiteral("补充"));
        QTest::mouseClick(e->SpeedButton4, Qt::LeftButton);
        EXPECT_EQ(dialogs->last().text, QStringLiteral("保存试题出现错误！"));
        EXPECT_TRUE(e->isVisible());
        EXPECT_EQ(e->RxDBRichEdit1->toPlainText(), QStringLiteral("题目 ") + id + "补充");
        EXPECT_EQ(e->Edit1->text(), "D");
        EXPECT_EQ(
            Rtf::toPlainText(
                stored(QStringLiteral("select A15 from tab_exer where A1='") + id + "'", "A15")
                    .toByteArray()),
            QStringLiteral("题目 ") + id);
        sql(QStringLiteral("drop trigger no_change"));
        QTest::mouseClick(e->SpeedButton4, Qt::LeftButton);
        EXPECT_FALSE(e->isVisible());
    });
    EXPECT_EQ(answ(id, "A2").toString(), "D");
    EXPECT_EQ(answ(id, "A13").toInt(), 11);
    EXPECT_EQ(answ(id, "ecount").toInt(), 1);
}

TEST_F(QuestionEditTest, TenPointsGiveTheLimitMessage) {
    goTo(QStringLiteral("410101110002"));
    edit([this](TfrmTedit* e) {
        for (int i = 0; i < 10; ++i) {
            e->ListBox1->addItem(QString::number(i));
            e->ListBox2->addItem(QString::number(i));
        }
        QTest::mouseClick(e->BtnAddFg, Qt::LeftButton);
        EXPECT_EQ(dialogs->last().text,
                  QStringLiteral("试题对应知识点最多为10条！\n如果要去掉知识点，请选中要\n"
                                 "去掉的知识点，再按键盘上的\n[Delete]键！"));
    });
}
