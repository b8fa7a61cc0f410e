#include "gui_bank_test.h"
#include "platform/input_methods.h"
#include "richtext/rtf_codec.h"
#include "widgets/db_field_util.h"
#include "widgets/db_memo.h"
#include "widgets/db_rich_edit.h"
#include "widgets/db_rich_view.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

// Tests of the controls over the shared sample bank.
using BankTest = GuiBankTest;

namespace {

const QString kExer = QStringLiteral("select * from tab_exer order by A1");
const QString kAnsw = QStringLiteral("select * from tab_answ order by xx");

QString explanationOf(const Dataset& ds) {
    return QStringLiteral("解析 ") + ds.text(QStringLiteral("A1"));
}

} // namespace

// --- DbFieldBinding ---------------------------------------------------------------------------

TEST_F(BankTest, FieldBindingCallsBackForItsFieldAndRowButNotForItsOwnWrites) {
    auto ds = query(kExer);
    QObject control;
    int changes = 0;
    DbFieldBinding binding(&control, [&] { ++changes; });
    EXPECT_THROW(binding.write(QStringLiteral("x"), "the test control"), DbError);
    EXPECT_THROW(binding.bind(ds.get(), QStringLiteral("nosuch")), DbError);
    EXPECT_EQ(binding.dataset(), nullptr);

    binding.bind(ds.get(), QStringLiteral("jx"));
    EXPECT_EQ(changes, 0); // the control shows the field itself
    EXPECT_TRUE(binding.readable());
    EXPECT_THROW(binding.write(QStringLiteral("x"), "the test control"), DbError); // browsing

    ds->next();
    EXPECT_EQ(changes, 1);
    ds->edit();
    ds->setValue(QStringLiteral("JX"), QByteArray("by someone else"));
    EXPECT_EQ(changes, 2);
    ds->setValue(QStringLiteral("A15"), QByteArray("another field"));
    EXPECT_EQ(changes, 2);
    binding.write(QByteArray("by the control"), "the test control");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(ds->bytes(QStringLiteral("jx")), QByteArray("by the control"));
    // Posting the row is no change unless the binding follows posted rows.
    ds->post();
    EXPECT_EQ(changes, 2);

    binding.unbind();
    ds->next();
    EXPECT_EQ(changes, 2);
    EXPECT_FALSE(binding.readable());
}

TEST_F(BankTest, FieldBindingThatFollowsPostedRowsCallsBackOnAPostAndOutlivesItsDataset) {
    auto ds = query(kExer);
    QObject control;
    int changes = 0;
    DbFieldBinding binding(
        &control, [&] { ++changes; }, true);
    binding.bind(ds.get(), QStringLiteral("jx"));
    ds->edit();
    ds->setValue(QStringLiteral("A15"), QByteArray("x"));
    ds->post();
    EXPECT_EQ(changes, 1);

    ds.reset();
    EXPECT_EQ(binding.dataset(), nullptr);
    EXPECT_FALSE(binding.readable());
    EXPECT_THROW(binding.write(QStringLiteral("x"), "the test control"), DbError);
}

// --- DbRichView -------------------------------------------------------------------------------

TEST_F(BankTest, RichViewShowsTheFieldOfTheCurrentRowAndFollowsTheCursor) {
    auto ds = query(kExer);
    DbRichView view;
    view.bind(ds.get(), QStringLiteral("jx"));
    EXPECT_EQ(view.toPlainText(), explanationOf(*ds));

    ds->next();
    EXPECT_EQ(view.toPlainText(), explanationOf(*ds));
    ds->last();
    EXPECT_EQ(view.toPlainText(), explanationOf(*ds));

    // A query re-run for another question, as the practice window does with its content row.
    ds->close();
    EXPECT_EQ(view.toPlainText(), QString());
    ds->setSql(QStringLiteral("select * from tab_exer where A1='410101140001'"));
    ds->open();
    EXPECT_EQ(view.toPlainText(), QStringLiteral("解析 410101140001"));
}

TEST_F(BankTest, RichViewLaysOutOnlyWhenTheBytesChange) {
    auto ds = query(kExer);
    DbRichView view;
    view.bind(ds.get(), QStringLiteral("jx"));
    const int afterBind = view.layoutCount();

    ds->requery(); // same row, same bytes
    EXPECT_EQ(view.layoutCount(), afterBind);
    ds->setRecNo(1);
    EXPECT_EQ(view.layoutCount(), afterBind);

    ds->next();
    EXPECT_EQ(view.layoutCount(), afterBind + 1);
    view.reload();
    EXPECT_EQ(view.layoutCount(), afterBind + 2);
}

TEST_F(BankTest, RichViewShowsEditsOfItsFieldPlainTextAndNull) {
    auto ds = query(kExer);
    DbRichView view;
    view.bind(ds.get(), QStringLiteral("jx"));
    const QString before = view.toPlainText();

    ds->edit();
    ds->setValue(QStringLiteral("jx"), Rtf::fromPlainText(QStringLiteral("新的解析")));
    EXPECT_EQ(view.toPlainText(), QStringLiteral("新的解析"));

    // A field that is not RTF shows as it stands.
    ds->setValue(QStringLiteral("jx"), QByteArray("plain words, no RTF"));
    EXPECT_EQ(view.toPlainText(), QStringLiteral("plain words, no RTF"));

    ds->setValue(QStringLiteral("jx"), QVariant());
    EXPECT_EQ(view.toPlainText(), QString());

    // Another field changing leaves the view alone.
    const int count = view.layoutCount();
    ds->setValue(QStringLiteral("A15"), QByteArray("x"));
    EXPECT_EQ(view.layoutCount(), count);

    ds->cancel();
    EXPECT_EQ(view.toPlainText(), before);
}

TEST_F(BankTest, RichViewPicksUpWhatAPostedRowHoldsInTheFile) {
    auto ds = query(kExer);
    DbRichView view;
    view.bind(ds.get(), QStringLiteral("jx"));
    // Another cursor (the question editor) changes the explanation in the file.
    dm->ADOCn1.exec(QStringLiteral("update tab_exer set jx=:j where A1=:a"),
                    {{QStringLiteral("j"), Rtf::fromPlainText(QStringLiteral("编辑器改的"))},
                     {QStringLiteral("a"), ds->text(QStringLiteral("A1"))}});
    EXPECT_NE(view.toPlainText(), QStringLiteral("编辑器改的"));
    ds->edit();
    ds->setValue(QStringLiteral("A15"), QByteArray("x"));
    ds->post();
    EXPECT_EQ(view.toPlainText(), QStringLiteral("编辑器改的"));
}

TEST_F(BankTest, RichViewBindingErrorsAndLostDatasets) {
    auto ds = query(kExer);
    DbRichView view;
    EXPECT_THROW(view.bind(ds.get(), QStringLiteral("nosuchfield")), DbError);
    EXPECT_EQ(view.dataset(), nullptr);
    EXPECT_TRUE(view.toPlainText().isEmpty());
    EXPECT_THROW(view.bind(nullptr, QStringLiteral("jx")), DbError);

    // Bound while closed: empty until the dataset opens, and a missing field then shows nothing.
    auto closed = std::make_unique<Dataset>(&dm->ADOCn1);
    closed->setSql(QStringLiteral("select A1 from tab_exer"));
    view.bind(closed.get(), QStringLiteral("jx"));
    EXPECT_TRUE(view.toPlainText().isEmpty());
    closed->open();
    EXPECT_TRUE(view.toPlainText().isEmpty());

    view.bind(ds.get(), QStringLiteral("jx"));
    ds.reset(); // the dataset goes away under the view
    EXPECT_EQ(view.dataset(), nullptr);
    view.reload();
    EXPECT_TRUE(view.toPlainText().isEmpty());
}

TEST_F(BankTest, RichViewStaysReadOnlyAndUnbindClears) {
    auto ds = query(kExer);
    DbRichView view;
    view.bind(ds.get(), QStringLiteral("jx"));
    EXPECT_TRUE(view.isReadOnly());
    view.unbind();
    EXPECT_TRUE(view.toPlainText().isEmpty());
    ds->next();
    EXPECT_TRUE(view.toPlainText().isEmpty());
}

// --- DbRichEdit -------------------------------------------------------------------------------

TEST_F(BankTest, RichEditWritesTheDocumentBackAsRtf) {
    auto ds = query(QStringLiteral("select * from tab_exer where A1='410101110002'"));
    DbRichEdit edit;
    edit.bind(ds.get(), QStringLiteral("A15"));
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("题目 410101110002"));
    EXPECT_FALSE(edit.isModifiedSinceLoad());

    // Not in edit mode: refused, nothing written.
    EXPECT_THROW(edit.writeBack(), DbError);

    edit.clear();
    QTextCursor c(edit.document());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("改过的"), bold);
    c.insertText(QStringLiteral("题目"));
    EXPECT_TRUE(edit.isModifiedSinceLoad());

    ds->edit();
    edit.writeBack();
    EXPECT_FALSE(edit.isModifiedSinceLoad());
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("改过的题目")); // not reloaded by its own write
    ds->post();

    const QByteArray bytes =
        stored(QStringLiteral("select A15 from tab_exer where A1='410101110002'"), "A15")
            .toByteArray();
    EXPECT_TRUE(bytes.startsWith("{\\rtf"));
    QTextDocument doc;
    ASSERT_TRUE(Rtf::read(bytes, &doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("改过的题目"));
    EXPECT_TRUE(doc.begin().begin().fragment().charFormat().fontWeight() >= QFont::Bold);
}

TEST_F(BankTest, RichEditReloadsOnRowMoveAndStoresNullForAnEmptyDocument) {
    auto ds = query(kExer);
    DbRichEdit edit;
    edit.bind(ds.get(), QStringLiteral("jx"));
    QTest::keyClicks(&edit, "abc");
    EXPECT_TRUE(edit.isModifiedSinceLoad());
    ds->next();
    EXPECT_FALSE(edit.isModifiedSinceLoad());
    EXPECT_EQ(edit.toPlainText(), explanationOf(*ds));

    const QString id = ds->text(QStringLiteral("A1"));
    edit.clear();
    ds->edit();
    edit.writeBack();
    ds->post();
    EXPECT_TRUE(
        stored(QStringLiteral("select jx from tab_exer where A1='") + id + "'", "jx").isNull());
}

// --- DbMemo -----------------------------------------------------------------------------------

TEST_F(BankTest, MemoShowsNullAsEmptyAndWritesItsTextBack) {
    auto ds = query(kAnsw);
    DbMemo memo;
    memo.bind(ds.get(), QStringLiteral("A14"));
    EXPECT_TRUE(ds->isNull(QStringLiteral("A14")));
    EXPECT_EQ(memo.toPlainText(), QString());

    EXPECT_THROW(memo.writeBack(), DbError);

    memo.setPlainText(QStringLiteral("  第一行\n第二行  "));
    ds->edit();
    memo.writeBack();
    ds->post();
    const QString id = ds->text(QStringLiteral("A1"));
    EXPECT_EQ(
        stored(QStringLiteral("select A14 from tab_answ where A1='") + id + "'", "A14").toString(),
        QStringLiteral("  第一行\n第二行  "));

    // Another row: its own (null) note; back again: the saved one.
    ds->next();
    EXPECT_EQ(memo.toPlainText(), QString());
    ds->prior();
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("  第一行\n第二行  "));

    // Set through the dataset by someone else: the memo follows.
    ds->edit();
    ds->setValue(QStringLiteral("A14"), QStringLiteral("别处写的"));
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("别处写的"));
    ds->cancel();
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("  第一行\n第二行  "));
}

namespace {

class RecordingInputMethods : public InputMethodBackend {
  public:
    QStringList names;
    QStringList activated;
    QStringList installed() const override { return names; }
    bool activate(const QString& name) override {
        activated << name;
        return names.contains(name);
    }
};

} // namespace

TEST(InputMethodChoice, FirstInstalledPreferenceWinsAndTheMemoAsksForItOnFocus) {
    RecordingInputMethods fake;
    InputMethods::setBackend(&fake);
    const QStringList preferred{QStringLiteral("智能ABC输入法"), QStringLiteral("五笔字型输入法")};

    EXPECT_EQ(InputMethods::choose(preferred), QString());
    fake.names = {QStringLiteral("五笔字型输入法"), QStringLiteral("other")};
    EXPECT_EQ(InputMethods::choose(preferred), QStringLiteral("五笔字型输入法"));
    fake.names << QStringLiteral("智能ABC输入法");
    EXPECT_EQ(InputMethods::choose(preferred), QStringLiteral("智能ABC输入法"));

    DbMemo memo;
    QFocusEvent in(QEvent::FocusIn, Qt::OtherFocusReason);
    QApplication::sendEvent(&memo, &in);
    EXPECT_TRUE(fake.activated.isEmpty()); // no method named: left alone

    memo.setInputMethod(QStringLiteral("五笔字型输入法"));
    QApplication::sendEvent(&memo, &in);
    EXPECT_EQ(fake.activated, QStringList{QStringLiteral("五笔字型输入法")});

    InputMethods::setBackend(nullptr);
}
