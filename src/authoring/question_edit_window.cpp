#include "authoring/question_edit_window.h"

#include "authoring/authored_question.h"

#include "platform/dialogs.h"
#include "platform/screen_cursor.h"
#include "practice/dialog_placement.h"
#include "richtext/rtf_codec.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/db_rich_edit.h"
#include "widgets/effect_button.h"
#include "widgets/window_art.h"
#include "widgets/window_registry.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QShowEvent>
#include <QSpinBox>
#include <QTimer>

#include <algorithm>

namespace {

// One screen layout. The question pane sits below the case pane; without a case it takes the
// case pane's place as well.
struct Geometry {
    QSize window;
    QRect textLabel, casePane;
    int textTopBelowCase;
    QRect explanationLabel, explanation;
    int labelLeft, inputLeft, inputWidth;
    int optionsTop, answerTop, typeTop, addTop;         // inputs
    int labelOptions, labelAnswer, labelType, labelAdd; // their labels
    QRect points;
    int buttonTop, buttonWidth;
    int save, cancel, help; // button lefts
};

const Geometry kSmall = {QSize(780, 490),
                         QRect(16, 8, 120, 20),
                         QRect(16, 30, 445, 115),
                         120,
                         QRect(16, 274, 120, 20),
                         QRect(16, 294, 445, 155),
                         533,
                         606,
                         140,
                         48,
                         90,
                         131,
                         155,
                         55,
                         97,
                         135,
                         161,
                         QRect(471, 194, 282, 191),
                         428,
                         80,
                         471,
                         571,
                         670};

const Geometry kLarge = {QSize(944, 623),
                         QRect(20, 8, 120, 20),
                         QRect(20, 30, 560, 150),
                         156,
                         QRect(20, 346, 120, 20),
                         QRect(20, 366, 560, 200),
                         620,
                         700,
                         190,
                         48,
                         90,
                         131,
                         155,
                         55,
                         97,
                         135,
                         161,
                         QRect(604, 194, 316, 240),
                         458,
                         96,
                         604,
                         714,
                         824};

const Geometry& layoutFor() {
    return App::ScreenMode == QLatin1String("800") ? kSmall : kLarge;
}

DbRichEdit* makePane(QWidget* parent, const char* name) {
    auto* e = new DbRichEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setStyleSheet(QuestionForm::paneStyle());
    return e;
}

} // namespace

TfrmTedit::TfrmTedit(QWidget* owner)
    : QuestionForm({2,
                    QStringLiteral("试题对应知识点最多为10条！\n如果要去掉知识点，请选中要\n"
                                   "去掉的知识点，再按键盘上的\n[Delete]键！"),
                    false, true},
                   owner) {
    setObjectName(QStringLiteral("frmTedit"));
    setWindowTitle(QStringLiteral("试题修改"));

    LabelText = WindowArt::MakeLabel(this, "LabelText", QStringLiteral("试题内容："));
    RxDBRichEdit3 = makePane(this, "RxDBRichEdit3");
    RxDBRichEdit3->setToolTip(QStringLiteral("本案例各题共用的案例内容"));
    RxDBRichEdit3->hide();
    RxDBRichEdit1 = makePane(this, "RxDBRichEdit1");
    LabelExplanation = WindowArt::MakeLabel(this, "LabelExplanation", QStringLiteral("试题解析："));
    RxDBRichEdit2 = makePane(this, "RxDBRichEdit2");
    LabelOptions->setText(QStringLiteral("备选个数："));
    LabelAnswer->setText(QStringLiteral("答　　案："));
    LabelType->setText(QStringLiteral("题　　型："));

    SpeedButton4 = makeCommand("SpeedButton4", QStringLiteral("保  存"));
    SpeedButton3 = makeCommand("SpeedButton3", QStringLiteral("取  消"));
    SpeedButton2 = makeCommand("SpeedButton2", QStringLiteral("使用说明"));
    connect(SpeedButton4, &QAbstractButton::clicked, this,
            Dialogs::guardedSlot(this, &TfrmTedit::SpeedButton4Click));
    connect(SpeedButton3, &QAbstractButton::clicked, this, &TfrmTedit::SpeedButton3Click);
    connect(SpeedButton2, &QAbstractButton::clicked, this,
            Dialogs::guardedSlot(this, &TfrmTedit::SpeedButton2Click));
    LayOut();
}

TfrmTedit::~TfrmTedit() {
    for (DbRichEdit* pane : {RxDBRichEdit1, RxDBRichEdit2, RxDBRichEdit3})
        pane->unbind();
}

int TfrmTedit::EditQuestion(QWidget* owner, const QString& questionId) {
    Dataset* list = DM1 ? DM1->Cn1Query_tm : nullptr;
    if (!list || !list->active() || list->recNo() <= 0 ||
        list->text(QStringLiteral("A1")).compare(questionId, Qt::CaseInsensitive) != 0)
        return WindowRegistry::kNotShown;
    TfrmTedit window(owner);
    return window.exec();
}

void TfrmTedit::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Dialogs::guarded([this] { FormShow(); });
}

void TfrmTedit::FormShow() {
    ScreenCursor::hourglass();
    if (!loaded_) {
        loaded_ = true;
        loadQuestion();
    }
    LayOut();
    Placement::centreOnDesktop(this);
    RxDBRichEdit1->setFocus();
    ScreenCursor::normal();
}

void TfrmTedit::loadQuestion() {
    Dataset* question = DM1->Cn1Query_tm;
    Dataset* content = DM1->cn1query_nr;
    RxDBRichEdit1->bind(content, QStringLiteral("a15"));
    RxDBRichEdit2->bind(content, QStringLiteral("jx"));
    SE_Num->setValue(std::clamp(int(question->whole(QStringLiteral("a2_1"))),
                                Authoring::kMinOptions, Authoring::kMaxOptions));
    Edit1->setText(question->text(QStringLiteral("a2")));

    const QString id = question->text(QStringLiteral("a1"));
    caseQuestion_ = Authoring::IsCaseQuestion(id);
    if (caseQuestion_) {
        Dataset* caseRow = DM1->Cn1Query2;
        caseRow->close();
        caseRow->clearParams();
        caseRow->setSql(QStringLiteral("select * from tab_title where A1=:A1"));
        caseRow->setParam(QStringLiteral("A1"), Authoring::CaseIdOf(id));
        caseRow->open();
        RxDBRichEdit3->bind(caseRow, QStringLiteral("A15"));
    }
    RxDBRichEdit3->setVisible(caseQuestion_);

    fillTypes();
    const QString code = question->text(QStringLiteral("a13"));
    int row = -1;
    for (int i = 0; i < types_.size() && row < 0; ++i)
        if (types_[i].code == code)
            row = i;
    {
        const QSignalBlocker quiet(ComboBox1);
        ComboBox1->setCurrentIndex(row);
        if (row < 0)
            ComboBox1->setEditText(QString());
    }
    applySubjectiveRule();

    clearPoints();
    const QStringList ids = Authoring::PointsOf(*question);
    for (const Authoring::PointLine& p : Authoring::LookUpPoints(DM1->ADOCn1, ids))
        addPointLine(p.found ? p.name + p.heading : QString(), p.id);
}

void TfrmTedit::LayOut() {
    const Geometry& g = layoutFor();
    // The window flags are set once, before the window shows: setting them hides a shown window.
    if (!isVisible())
        Placement::makeFixedDialog(this, g.window.width(), g.window.height());
    setFixedSize(g.window);
    LabelText->setGeometry(g.textLabel);
    RxDBRichEdit3->setGeometry(g.casePane);
    if (caseQuestion_)
        RxDBRichEdit1->setGeometry(g.casePane.translated(0, g.textTopBelowCase));
    else
        RxDBRichEdit1->setGeometry(g.casePane.adjusted(0, 0, 0, g.textTopBelowCase));
    LabelExplanation->setGeometry(g.explanationLabel);
    RxDBRichEdit2->setGeometry(g.explanation);

    const int labelWidth = g.inputLeft - g.labelLeft - 4;
    LabelOptions->setGeometry(g.labelLeft, g.labelOptions, labelWidth, 18);
    LabelAnswer->setGeometry(g.labelLeft, g.labelAnswer, labelWidth, 18);
    LabelType->setGeometry(g.labelLeft, g.labelType, labelWidth, 18);
    LabelPoints->setGeometry(g.labelLeft, g.labelAdd, labelWidth, 18);
    SE_Num->setGeometry(g.inputLeft, g.optionsTop, 68, 24);
    Edit1->setGeometry(g.inputLeft, g.answerTop, g.inputWidth, 24);
    ComboBox1->setGeometry(g.inputLeft, g.typeTop, g.inputWidth, 24);
    BtnAddFg->setGeometry(g.inputLeft, g.addTop, 89, 24);
    ListBox1->setGeometry(g.points);
    SpeedButton4->setGeometry(g.save, g.buttonTop, g.buttonWidth, 30);
    SpeedButton3->setGeometry(g.cancel, g.buttonTop, g.buttonWidth, 30);
    SpeedButton2->setGeometry(g.help, g.buttonTop, g.buttonWidth, 30);
}

void TfrmTedit::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    paintBody(p);
    for (const EffectButton* b : {SpeedButton2, SpeedButton3, SpeedButton4})
        WindowArt::PaintButtonPlate(p, b->geometry());
    QDialog::paintEvent(event);
}

void TfrmTedit::SpeedButton2Click() {
    showUsage();
}

void TfrmTedit::SpeedButton3Click() {
    reject();
}

void TfrmTedit::SpeedButton4Click() {
    Checked checked;
    if (!checkInputs(RxDBRichEdit1, checked))
        return;
    Authoring::QuestionEdit e;
    e.options = SE_Num->value();
    e.answer = checked.answer;
    e.typeCode = checked.type.code.toInt();
    e.points = pointIds();
    // A failed save reads the rows again from the file, and the panes bound to them with them:
    // what the learner typed is put back.
    const auto keepInputs = [this, &e] {
        Rtf::read(e.text, RxDBRichEdit1->document());
        if (e.explanation.isEmpty())
            RxDBRichEdit2->clear();
        else
            Rtf::read(e.explanation, RxDBRichEdit2->document());
        if (caseQuestion_) {
            if (e.caseText.isEmpty())
                RxDBRichEdit3->clear();
            else
                Rtf::read(e.caseText, RxDBRichEdit3->document());
        }
    };
    const bool saved = runSave(
        [&] {
            e.text = Rtf::write(*RxDBRichEdit1->document());
            if (!RxDBRichEdit2->toPlainText().trimmed().isEmpty()) // a picture counts as content
                e.explanation = Rtf::write(*RxDBRichEdit2->document());
            if (caseQuestion_ && !RxDBRichEdit3->document()->isEmpty())
                e.caseText = Rtf::write(*RxDBRichEdit3->document());
            Authoring::SaveEdit(DM1->ADOCn1, *DM1->Cn1Query_tm, *DM1->cn1query_nr,
                                caseQuestion_ ? DM1->Cn1Query2 : nullptr, e);
        },
        keepInputs);
    if (!saved)
        return;
    accept();
}

void TfrmTedit::done(int result) {
    if (QWidget* owner = parentWidget())
        if (auto* timer = owner->findChild<QTimer*>(QStringLiteral("Timer1")))
            timer->start();
    QDialog::done(result);
}
