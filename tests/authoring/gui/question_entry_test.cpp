// Question entry over a real sample bank, driven through its controls: identifiers and serials,
// the checks before a save and their order, the subjective rule, knowledge points through the
// picker with the 10-point limit and Delete, and a question with a pasted table and picture that
// survives the bank and shows in practice.

#include "authoring/authoring_commands.h"
#include "authoring/point_picker.h"
#include "authoring/question_entry_window.h"

#include "gui_bank_test.h"

#include "practice/practice_window.h"
#include "richtext/rtf_codec.h"
#include "store/app_state.h"
#include "widgets/db_rich_view.h"
#include "widgets/effect_button.h"
#include "widgets/rich_edit.h"
#include "widgets/window_registry.h"

#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <memory>

#include <gtest/gtest.h>

namespace {

using GuiTest::whenModal;

const QString kFirstId = QStringLiteral("US410101115") + QStringLiteral("00001");

bool hasTable(const QTextDocument& doc) {
    for (QTextFrame* f : doc.rootFrame()->childFrames())
        if (qobject_cast<QTextTable*>(f))
            return true;
    return false;
}

int pictures(const QTextDocument& doc) {
    int n = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) {
                const QString name = it.fragment().charFormat().toImageFormat().name();
                if (!doc.resource(QTextDocument::ImageResource, QUrl(name)).isNull())
                    ++n;
            }
    return n;
}

class QuestionEntryTest : public GuiBankTest {
  protected:
    void setUpWindows() override {
        copyPictures();
        App::PaperKind = 1;
    }
    void tearDownWindows() override { window.reset(); }

    void open(const QString& chapter = QStringLiteral("410101")) {
        window = std::make_unique<TFrmInPut>();
        window->ChapterCode = chapter;
        window->show();
        QCoreApplication::processEvents();
    }
    // Types text as the keyboard does, Chinese included (QTest::keyClicks knows only ASCII).
    static void type(QWidget* w, const QString& text) {
        w->setFocus();
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &press);
            QApplication::sendEvent(w, &release);
        }
    }
    void chooseType(const QString& name) {
        const int row = window->ComboBox1->findText(name);
        ASSERT_GE(row, 0) << name.toStdString();
        window->ComboBox1->setCurrentIndex(row);
    }
    void save() { QTest::mouseClick(window->SpeedButton4, Qt::LeftButton); }
    void fill(const QString& text = QStringLiteral("7月有几天？"),
              const QString& answer = QStringLiteral("c")) {
        type(window->Re1, text);
        type(window->Edit1, answer);
    }
    int questions() {
        return stored(QStringLiteral("select count(*) as n from tab_answ"), "n").toInt();
    }
    QString lastId() {
        return stored(QStringLiteral("select A1 from tab_answ where f1=2 order by rowid desc"),
                      "A1")
            .toString();
    }

    std::unique_ptr<TFrmInPut> window;
};

} // namespace

TEST_F(QuestionEntryTest, SavesQuestionsWithSerialsAndStaysOpenCleared) {
    open();
    EXPECT_EQ(window->windowTitle(), "试题录入");
    EXPECT_EQ(window->SE_Num->value(), 5);
    EXPECT_EQ(window->ComboBox1->currentText(), "单项选择题");
    fill();
    EXPECT_EQ(window->Edit1->text(), "C"); // typed letters become upper case
    type(window->Re2, QStringLiteral("7月有31天。"));
    save();
    EXPECT_TRUE(dialogs->requests.isEmpty()) << dialogs->texts().join(' ').toStdString();
    EXPECT_EQ(lastId(), kFirstId);
    EXPECT_EQ(window->SavedCount, 1);
    EXPECT_TRUE(window->Re1->toPlainText().isEmpty());
    EXPECT_TRUE(window->Edit1->text().isEmpty());
    EXPECT_EQ(window->SE_Num->value(), 5); // the option count stays
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(
        Rtf::toPlainText(
            stored(QStringLiteral("select A15 from tab_exer where A1='") + kFirstId + "'", "A15")
                .toByteArray()),
        QStringLiteral("7月有几天？"));
    EXPECT_EQ(stored(QStringLiteral("select C3 from tab_kmmc where C1='410101'"), "C3").toInt(), 4);

    window->SE_Num->setValue(3);
    fill(QStringLiteral("第二题"), QStringLiteral("a"));
    save();
    EXPECT_EQ(lastId(), QStringLiteral("US410101113") + QStringLiteral("00002"));
    EXPECT_EQ(window->SavedCount, 2);
}

TEST_F(QuestionEntryTest, SerialThousandAndRefusalAfterTheLast) {
    sql(QStringLiteral("insert into tab_answ (A1, f1) values ('US410102115' || '00999', 2)"));
    open();
    fill();
    save();
    EXPECT_EQ(lastId(), QStringLiteral("US410101115") + QStringLiteral("1000"));

    sql(QStringLiteral("insert into tab_answ (A1, f1) values ('US4101021159999', 2)"));
    const int before = questions();
    fill();
    save();
    EXPECT_EQ(dialogs->last().text, QStringLiteral("最多只能录入9999道题！"));
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Warning);
    EXPECT_EQ(questions(), before);
    EXPECT_EQ(window->Re1->toPlainText(), QStringLiteral("7月有几天？")); // nothing lost
}

TEST_F(QuestionEntryTest, ChecksInOrderEachWithItsFieldAndNothingWritten) {
    open();
    const int before = questions();
    save();
    EXPECT_EQ(dialogs->last().text, QStringLiteral("请填写试题内容！"));
    EXPECT_EQ(dialogs->last().title, QStringLiteral("提示"));
    EXPECT_TRUE(window->Re1->hasFocus());
    type(window->Re1, QStringLiteral("   "));
    save();
    EXPECT_EQ(dialogs->last().text, QStringLiteral("请填写试题内容！"));
    type(window->Re1, QStringLiteral("题"));
    save();
    EXPECT_EQ(dialogs->last().text, QStringLiteral("请填写试题答案！"));
    EXPECT_TRUE(window->Edit1->hasFocus());
    window->SE_Num->setValue(4);
    type(window->Edit1, QStringLiteral("e"));
    save();
    EXPECT_EQ(dialogs->last().text, QStringLiteral("试题答案只能由A到D的字母组成！"));
    window->Edit1->clear();
    chooseType(QStringLiteral("多项选择题"));
    type(window->Edit1, QStringLiteral("CAC"));
    save();
    EXPECT_EQ(dialogs->last().text, QStringLiteral("试题答案中的字母不能重复！"));
    EXPECT_EQ(questions(), before);

    // A type table without rows leaves no type to choose.
    sql(QStringLiteral("delete from tab_tx1"));
    window.reset();
    open();
    EXPECT_EQ(window->ComboBox1->count(), 0);
    fill();
    save();
    EXPECT_EQ(dialogs->last().text, QStringLiteral("请选择题型！"));
    EXPECT_EQ(questions(), before);
}

TEST_F(QuestionEntryTest, SubjectiveTypeFillsTheAnswerAndBackAgain) {
    sql(QStringLiteral("insert into tab_tx1 (A1, B1, B2, B3, time) values (75, '综合', 0, 10, 5)"));
    open();
    type(window->Edit1, QStringLiteral("B"));
    chooseType(QStringLiteral("综合"));
    EXPECT_EQ(window->SE_Num->value(), 1);
    EXPECT_EQ(window->Edit1->text(), "1");
    EXPECT_FALSE(window->SE_Num->isEnabled());
    EXPECT_FALSE(window->Edit1->isEnabled());
    chooseType(QStringLiteral("多项选择题"));
    EXPECT_TRUE(window->SE_Num->isEnabled());
    EXPECT_TRUE(window->Edit1->isEnabled());
    EXPECT_TRUE(window->Edit1->text().isEmpty());

    // A subjective question saved; the next question can have its answer typed again.
    chooseType(QStringLiteral("案例分析题"));
    type(window->Re1, QStringLiteral("分析题"));
    save();
    EXPECT_EQ(lastId(), QStringLiteral("US410101221") + QStringLiteral("00001"));
    EXPECT_EQ(window->ComboBox1->currentIndex(), 0);
    EXPECT_TRUE(window->Edit1->isEnabled());
    EXPECT_TRUE(window->SE_Num->isEnabled());
}

TEST_F(QuestionEntryTest, PointsThroughThePickerWithTheLimitAndDelete) {
    open(QStringLiteral("410102"));
    whenModal<TFrmSelectFG>([](TFrmSelectFG* picker) {
        EXPECT_EQ(picker->Tag, 1);
        picker->ComboBox1->setCurrentIndex(picker->ComboBox1->findText(QStringLiteral("第二节")));
        picker->CheckListBox1->item(0)->setCheckState(Qt::Checked);
        picker->CheckListBox1->item(1)->setCheckState(Qt::Checked);
        QTest::mouseClick(picker->epEfButton1, Qt::LeftButton);
    });
    QTest::mouseClick(window->BtnAddFg, Qt::LeftButton);
    ASSERT_EQ(window->ListBox1->count(), 2);
    EXPECT_EQ(window->ListBox1->item(0)->text(), QStringLiteral("第二节[内部收益率]"));
    EXPECT_EQ(window->pointIds(), QStringList({"4101020001", "4101020002"}));

    fill();
    save();
    const QString id = lastId();
    EXPECT_EQ(stored(QStringLiteral("select k3||k4 as k from tab_answ where A1='") + id + "'", "k")
                  .toString(),
              "41010200014101020002");
    EXPECT_EQ(stored(QStringLiteral("select q from tab_fgmc where id='410102'"), "q").toInt(), 3);
    EXPECT_EQ(stored(QStringLiteral("select q from tab_rule where ftid='4101020002'"), "q").toInt(),
              1);
    EXPECT_EQ(window->ListBox1->count(), 0);

    // Ten points: no picker, the limit message; Delete takes a line from both lists.
    for (int i = 0; i < 10; ++i) {
        window->ListBox1->addItem(QStringLiteral("第二节[点%1]").arg(i));
        window->ListBox2->addItem(QStringLiteral("41010200%1").arg(i, 2, 10, QLatin1Char('0')));
    }
    QTest::mouseClick(window->BtnAddFg, Qt::LeftButton);
    EXPECT_EQ(dialogs->last().text,
              QStringLiteral("试题对应考点最多为10条！\n如果要去掉考点，请选中要\n"
                             "去掉的考点，再按键盘上的\n[Delete]键！"));
    window->ListBox1->setCurrentRow(3);
    window->ListBox1->setFocus();
    QTest::keyClick(window->ListBox1, Qt::Key_Delete);
    EXPECT_EQ(window->ListBox1->count(), 9);
    EXPECT_EQ(window->ListBox2->count(), 9);
    EXPECT_FALSE(window->pointIds().contains(QStringLiteral("4101020003")));

    // A point deleted from the bank meanwhile: refused by name, nothing written.
    window->ListBox1->clear();
    window->ListBox2->clear();
    window->ListBox1->addItem(QStringLiteral("第二节[投资回收期]"));
    window->ListBox2->addItem(QStringLiteral("4101020002"));
    sql(QStringLiteral("delete from tab_rule where ftid='4101020002'"));
    const int before = questions();
    fill();
    save();
    EXPECT_TRUE(dialogs->last().text.contains(QStringLiteral("第二节[投资回收期]")));
    EXPECT_EQ(questions(), before);
    EXPECT_EQ(window->ListBox1->count(), 1);
}

TEST_F(QuestionEntryTest, PastedTableAndPictureSurviveTheBankAndShowInPractice) {
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(QColor(200, 30, 30));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    auto* mime = new QMimeData;
    mime->setHtml(QStringLiteral("<p><b>下表中</b>哪一项正确？</p><table border=1><tr><td>甲</td>"
                                 "<td>乙</td></tr><tr><td>1</td><td>2</td></tr></table>"
                                 "<p><img src=\"data:image/png;base64,%1\"></p>")
                      .arg(QString::fromLatin1(png.toBase64())));
    QApplication::clipboard()->setMimeData(mime);

    open();
    window->Re1->setFocus();
    window->Re1->paste();
    ASSERT_TRUE(hasTable(*window->Re1->document()));
    ASSERT_EQ(pictures(*window->Re1->document()), 1);
    type(window->Edit1, QStringLiteral("A"));
    save();
    ASSERT_EQ(lastId(), kFirstId);

    QTextDocument back;
    Rtf::read(stored(QStringLiteral("select A15 from tab_exer where A1='") + kFirstId + "'", "A15")
                  .toByteArray(),
              &back);
    EXPECT_TRUE(hasTable(back));
    EXPECT_EQ(pictures(back), 1);
    EXPECT_TRUE(back.toPlainText().contains(QStringLiteral("下表中")));
    window.reset();

    // The chapter practice shows it as pasted.
    App::TypeCodes = {11, 14, 22};
    App::TypeTimes = {600, 900, 150};
    App::PracticeQuerySql =
        QStringLiteral("select * from tab_answ where A1='") + kFirstId + QStringLiteral("'");
    TFrmLxxt practice;
    ASSERT_TRUE(practice.LoadQuestionSet());
    practice.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(hasTable(*practice.Re1->document()));
    EXPECT_EQ(pictures(*practice.Re1->document()), 1);
    EXPECT_EQ(practice.Label21->text(), QStringLiteral("本题是您加入的题目！"));
    practice.close();
}

TEST_F(QuestionEntryTest, TheChapterBrowsersButtonOpensItThroughTheRegistry) {
    registerAuthoringCommands();
    whenModal<TFrmInPut>([this](TFrmInPut* entry) {
        EXPECT_EQ(entry->ChapterCode, "410102");
        type(entry->Re1, QStringLiteral("登记的窗口"));
        type(entry->Edit1, QStringLiteral("B"));
        entry->epBtn_Save->click(); // the captioned twins sit out of view
        entry->epBtn_Close->click();
    });
    EXPECT_EQ(WindowRegistry::open(WindowNames::QuestionEntry, nullptr, QStringLiteral("410102")),
              1);
}

TEST_F(QuestionEntryTest, QuotesInTheTextAreOnlyCharacters) {
    open();
    const QString text = QStringLiteral("它's \"几天\"'); drop table tab_answ; --");
    fill(text, QStringLiteral("a"));
    save();
    EXPECT_TRUE(dialogs->requests.isEmpty()) << dialogs->texts().join(' ').toStdString();
    EXPECT_EQ(
        Rtf::toPlainText(
            stored(QStringLiteral("select A15 from tab_exer where A1='") + kFirstId + "'", "A15")
                .toByteArray()),
        text);
    EXPECT_EQ(questions(),
              stored(QStringLiteral("select count(*) as n from tab_exer"), "n").toInt());
}
