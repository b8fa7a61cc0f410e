#include "gui_bank_test.h"
#include "platform/dialogs.h"
#include "platform/input_methods.h"
#include "platform/screen_cursor.h"
#include "practice/explanation_window.h"
#include "practice/note_window.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/db_memo.h"
#include "widgets/db_rich_view.h"
#include "widgets/effect_button.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

class NotesTest : public GuiBankTest {
  protected:
    void setUpWindows() override {
        // The practice window's rows: the question list and the content row of its question.
        DM1->Cn1Query_tm->close();
        DM1->Cn1Query_tm->setSql(QStringLiteral("select * from tab_answ order by xx"));
        DM1->Cn1Query_tm->open();
        DM1->Cn1Query_tm->setRecNo(3);
        showContentOf(DM1->Cn1Query_tm->text(QStringLiteral("A1")));
        dialogs->onRequest = [this](const Dialogs::Request& r) { messages << r.text; };
    }

    void showContentOf(const QString& id) {
        DM1->cn1query_nr->close();
        DM1->cn1query_nr->setSql(QStringLiteral("select * from tab_exer where a1 ='") + id +
                                 QStringLiteral("'"));
        DM1->cn1query_nr->open();
    }

    QVariant storedNote() {
        Dataset ds(&dm->ADOCn1);
        ds.setSql(QStringLiteral("select A14 from tab_answ where A1=:A1"));
        ds.setParam(QStringLiteral("A1"), QStringLiteral("410101140001"));
        ds.open();
        return ds.value(QStringLiteral("A14"));
    }

    // Opens the note window the way the practice window does, lets act run while it is shown
    // modally, and destroys it when it returns.
    template <class Act> void withNoteWindow(Act act) {
        auto w = std::make_unique<TFrmBj>();
        w->BindNote(DM1->Cn1Query_tm, QStringLiteral("A14"));
        QTimer::singleShot(0, w.get(), [&] { act(*w); });
        w->exec();
    }

    QStringList messages;
};

class FakeInputMethods : public InputMethodBackend {
  public:
    QStringList names;
    QStringList installed() const override { return names; }
    bool activate(const QString& name) override { return names.contains(name); }
};

// Input methods the platform cannot list.
class BrokenInputMethods : public InputMethodBackend {
  public:
    QStringList installed() const override {
        throw std::runtime_error("input methods cannot be listed");
    }
    bool activate(const QString&) override { return false; }
};

bool centredOnScreen(const QWidget& w) {
    const QRect desk = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint d = w.frameGeometry().center() - desk.center();
    return std::abs(d.x()) <= 1 && std::abs(d.y()) <= 1;
}

} // namespace

// --- Explanation ------------------------------------------------------------------------------

TEST_F(NotesTest, ExplanationWindowShowsTheExplanationReadOnly) {
    TFrmJx w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("解析"));
    EXPECT_EQ(w.size(), QSize(596, 359));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_TRUE(w.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    ASSERT_EQ(w.findChild<DbRichView*>(QStringLiteral("Re")), w.Re);
    ASSERT_EQ(w.findChild<EffectButton*>(QStringLiteral("epEfTrBtn1")), w.epEfTrBtn1);
    EXPECT_EQ(w.Re->size(), QSize(588, 317));
    EXPECT_EQ(w.epEfTrBtn1->text(), QStringLiteral("关闭"));

    ScreenCursor::hourglass(); // set by the opener before it builds the window
    w.BindExplanation(DM1->cn1query_nr, DM1->cn1query_nr, QStringLiteral("jx"));
    EXPECT_EQ(w.Re->toPlainText(), QStringLiteral("解析 410101140001"));

    w.show();
    EXPECT_FALSE(ScreenCursor::isHourglass());
    EXPECT_TRUE(w.Re->isReadOnly());
    EXPECT_TRUE(centredOnScreen(w));

    QTest::mouseClick(w.epEfTrBtn1, Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    // The explanation is never written.
    DM1->cn1query_nr->requery();
    EXPECT_EQ(DM1->cn1query_nr->state(), Dataset::State::Browse);
}

TEST_F(NotesTest, ExplanationBindingErrorsLeaveAnEmptyWindow) {
    TFrmJx w;
    w.BindExplanation(DM1->cn1query_nr, DM1->cn1query_nr, QStringLiteral("no_such_field"));
    EXPECT_TRUE(w.Re->toPlainText().isEmpty());
    w.BindExplanation(nullptr, nullptr, QStringLiteral("jx"));
    EXPECT_TRUE(w.Re->toPlainText().isEmpty());

    // The content row of a question that has gone: no row, nothing shown.
    showContentOf(QStringLiteral("000000000000"));
    w.BindExplanation(DM1->cn1query_nr, DM1->cn1query_nr, QStringLiteral("jx"));
    EXPECT_TRUE(w.Re->toPlainText().isEmpty());

    QTimer::singleShot(0, &w, [&] { w.epEfTrBtn1->click(); });
    w.exec();
    EXPECT_TRUE(messages.isEmpty());
}

// --- Note -------------------------------------------------------------------------------------

TEST_F(NotesTest, NoteWindowLayoutAndBinding) {
    TFrmBj w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("笔记"));
    EXPECT_EQ(w.size(), QSize(392, 353));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    ASSERT_EQ(w.findChild<DbMemo*>(QStringLiteral("DBMemo1")), w.DBMemo1);
    ASSERT_EQ(w.findChild<EffectButton*>(QStringLiteral("epEfTrBtn1")), w.epEfTrBtn1);
    EXPECT_EQ(w.DBMemo1->size(), QSize(377, 305));
    EXPECT_EQ(w.DBMemo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(w.epEfTrBtn1->text(), QStringLiteral("关  闭"));

    w.BindNote(DM1->Cn1Query_tm, QStringLiteral("A14"));
    EXPECT_EQ(DM1->Cn1Query_tm->state(), Dataset::State::Edit);
    EXPECT_EQ(w.DBMemo1->toPlainText(), QString()); // null note
    w.show();
    EXPECT_TRUE(centredOnScreen(w));
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(DM1->Cn1Query_tm->state(), Dataset::State::Browse);
}

TEST_F(NotesTest, AWindowDestroyedUnshownLeavesTheRowAlone) {
    {
        TFrmBj w;
        w.BindNote(DM1->Cn1Query_tm, QStringLiteral("A14"));
        w.DBMemo1->setPlainText(QStringLiteral("never closed"));
    }
    EXPECT_EQ(DM1->Cn1Query_tm->state(), Dataset::State::Browse);
    EXPECT_TRUE(storedNote().isNull());
}

TEST_F(NotesTest, NoteIsSavedOnCloseAndShownAgainOnReopening) {
    App::NoteHasContent = false;
    withNoteWindow([](TFrmBj& w) {
        QTest::keyClicks(w.DBMemo1, "remember the 2% rule");
        w.epEfTrBtn1->click();
    });
    EXPECT_TRUE(App::NoteHasContent);
    EXPECT_EQ(storedNote().toString(), QStringLiteral("remember the 2% rule"));

    // Reopened: the saved text; the close box saves as well.
    QString shown;
    withNoteWindow([&](TFrmBj& w) {
        shown = w.DBMemo1->toPlainText();
        w.DBMemo1->appendPlainText(QStringLiteral("第二行"));
        w.close();
    });
    EXPECT_EQ(shown, QStringLiteral("remember the 2% rule"));
    EXPECT_EQ(storedNote().toString(), QStringLiteral("remember the 2% rule\n第二行"));

    // Escape closes and saves too.
    withNoteWindow([](TFrmBj& w) {
        w.DBMemo1->setPlainText(QStringLiteral("改了"));
        QTest::keyClick(&w, Qt::Key_Escape);
    });
    EXPECT_EQ(storedNote().toString(), QStringLiteral("改了"));

    // The question list still sees its row, with the note, in browse mode.
    EXPECT_EQ(DM1->Cn1Query_tm->state(), Dataset::State::Browse);
    EXPECT_EQ(DM1->Cn1Query_tm->text(QStringLiteral("A14")), QStringLiteral("改了"));
}

TEST_F(NotesTest, BlanksOnlyAreSavedButDoNotCountAsContent) {
    App::NoteHasContent = true;
    withNoteWindow([](TFrmBj& w) {
        w.DBMemo1->setPlainText(QStringLiteral("   \n "));
        w.epEfTrBtn1->click();
    });
    EXPECT_FALSE(App::NoteHasContent);
    EXPECT_EQ(storedNote().toString(), QStringLiteral("   \n "));
}

TEST_F(NotesTest, DeletingTheWholeNoteSavesAnEmptyText) {
    withNoteWindow([](TFrmBj& w) {
        w.DBMemo1->setPlainText(QStringLiteral("旧笔记"));
        w.epEfTrBtn1->click();
    });
    ASSERT_TRUE(App::NoteHasContent);

    withNoteWindow([](TFrmBj& w) {
        w.DBMemo1->selectAll();
        QTest::keyClick(w.DBMemo1, Qt::Key_Delete);
        w.epEfTrBtn1->click();
    });
    EXPECT_FALSE(App::NoteHasContent);
    const QVariant note = storedNote();
    EXPECT_FALSE(note.isNull());
    EXPECT_EQ(note.toString(), QString());
}

TEST_F(NotesTest, MemoPrefersIntelligentAbcThenWubiAndWorksWithNeither) {
    FakeInputMethods fake;
    InputMethods::setBackend(&fake);
    auto chosenWith = [&](const QStringList& names) {
        fake.names = names;
        QString chosen;
        withNoteWindow([&](TFrmBj& w) {
            chosen = w.DBMemo1->inputMethod();
            QTest::keyClicks(w.DBMemo1, "x");
            w.epEfTrBtn1->click();
        });
        return chosen;
    };
    EXPECT_EQ(chosenWith({QStringLiteral("五笔字型输入法"), QStringLiteral("智能ABC输入法")}),
              QStringLiteral("智能ABC输入法"));
    EXPECT_EQ(chosenWith({QStringLiteral("五笔字型输入法"), QStringLiteral("拼音")}),
              QStringLiteral("五笔字型输入法"));
    EXPECT_EQ(chosenWith({QStringLiteral("拼音")}), QString());
    EXPECT_EQ(chosenWith({}), QString());
    EXPECT_EQ(storedNote().toString(), QStringLiteral("xxxx"));
}

TEST_F(NotesTest, AFailedSaveKeepsTheWindowAndTheTextOnce) {
    dm->ADOCn1.exec(QStringLiteral("create trigger no_notes before update on tab_answ "
                                   "begin select raise(abort, 'notes locked'); end"));
    bool openAfterFirstClose = false;
    QString keptText;
    withNoteWindow([&](TFrmBj& w) {
        w.DBMemo1->setPlainText(QStringLiteral("不能丢的笔记"));
        w.epEfTrBtn1->click();
        openAfterFirstClose = w.isVisible();
        keptText = w.DBMemo1->toPlainText();
        // The cause goes away; the next close saves.
        dm->ADOCn1.exec(QStringLiteral("drop trigger no_notes"));
        w.epEfTrBtn1->click();
    });
    EXPECT_TRUE(openAfterFirstClose);
    EXPECT_EQ(keptText, QStringLiteral("不能丢的笔记"));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("notes locked")));
    EXPECT_EQ(storedNote().toString(), QStringLiteral("不能丢的笔记"));
    EXPECT_TRUE(App::NoteHasContent);
}

TEST_F(NotesTest, APersistentSaveFailureStillLetsTheWindowClose) {
    dm->ADOCn1.exec(QStringLiteral("create trigger no_notes before update on tab_answ "
                                   "begin select raise(abort, 'notes locked'); end"));
    App::NoteHasContent = true;
    withNoteWindow([&](TFrmBj& w) {
        w.DBMemo1->setPlainText(QStringLiteral("写不进去"));
        w.epEfTrBtn1->click();
        w.epEfTrBtn1->click();
        // exec returns only when the second close went through
    });
    EXPECT_EQ(messages.size(), 2);
    EXPECT_TRUE(storedNote().isNull());
    EXPECT_FALSE(App::NoteHasContent); // what the database holds
    EXPECT_EQ(DM1->Cn1Query_tm->state(), Dataset::State::Browse);
}

TEST_F(NotesTest, AnInputMethodFailureIsReportedAndTheNoteStillOpensAndSaves) {
    BrokenInputMethods broken;
    InputMethods::setBackend(&broken);
    bool shown = false;
    withNoteWindow([&](TFrmBj& w) {
        shown = w.isVisible();
        EXPECT_TRUE(w.DBMemo1->inputMethod().isEmpty());
        w.DBMemo1->setPlainText(QStringLiteral("照样保存"));
        w.epEfTrBtn1->click();
    });
    EXPECT_TRUE(shown);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("input methods cannot be listed"));
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(storedNote().toString(), QStringLiteral("照样保存"));
    EXPECT_EQ(DM1->Cn1Query_tm->state(), Dataset::State::Browse);
}
