#include "authoring/question_entry_window.h"

#include "authoring/authored_question.h"

#include "platform/dialogs.h"
#include "platform/screen_cursor.h"
#include "practice/dialog_placement.h"
#include "richtext/rtf_codec.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/effect_button.h"
#include "widgets/rich_edit.h"
#include "widgets/window_art.h"
#include "widgets/window_registry.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>

namespace {

// One screen layout of the window.
struct Geometry {
    QSize window;
    QRect text, explanation;
    QRect labelOptions, labelAnswer, labelType, labelPoints;
    QRect options, answer, type, addPoints, points;
    QRect help, clear, save, config, close;
};

const Geometry kSmall = {
    QSize(762, 480),          QRect(44, 64, 470, 170), QRect(44, 272, 470, 170),
    QRect(552, 107, 100, 18), QRect(556, 134, 64, 18), QRect(556, 159, 64, 18),
    QRect(556, 179, 64, 18),  QRect(654, 104, 68, 21), QRect(622, 130, 104, 20),
    QRect(622, 154, 104, 20), QRect(622, 176, 89, 20), QRect(560, 199, 166, 70),
    QRect(552, 292, 80, 32),  QRect(552, 332, 80, 32), QRect(552, 372, 80, 32),
    QRect(642, 396, 80, 32),  QRect(642, 436, 80, 32)};

const Geometry kLarge = {
    QSize(931, 611),          QRect(59, 80, 566, 225), QRect(59, 341, 566, 225),
    QRect(694, 147, 100, 18), QRect(702, 174, 72, 18), QRect(702, 199, 72, 18),
    QRect(702, 222, 72, 18),  QRect(796, 144, 68, 21), QRect(775, 170, 110, 20),
    QRect(775, 194, 110, 20), QRect(775, 217, 89, 22), QRect(703, 244, 182, 86),
    QRect(692, 357, 85, 36),  QRect(692, 404, 85, 36), QRect(692, 451, 85, 36),
    QRect(810, 480, 85, 36),  QRect(810, 526, 85, 36)};

const Geometry& layoutFor() {
    return App::ScreenMode == QLatin1String("800") ? kSmall : kLarge;
}

// The frame of a pane: its title tab sits over the frame's top edge.
QRect paneFrame(const QRect& pane) {
    return pane.adjusted(-12, -20, 12, 10);
}

QRect settingsFrame(const Geometry& g) {
    return QRect(g.labelOptions.left() - 10, g.options.top() - 28,
                 g.type.right() - g.labelOptions.left() + 24,
                 g.points.bottom() - g.options.top() + 40);
}

// The captioned twin of a picture button: out of view, bound to the same handler.
QPushButton* makeTwin(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    b->hide();
    return b;
}

} // namespace

TFrmInPut::TFrmInPut(QWidget* owner)
    : QuestionForm({1,
                    QStringLiteral("试题对应考点最多为10条！\n如果要去掉考点，请选中要\n"
                                   "去掉的考点，再按键盘上的\n[Delete]键！"),
                    true, false},
                   owner) {
    setObjectName(QStringLiteral("FrmInPut"));
    setWindowTitle(QStringLiteral("试题录入"));

    Re1 = new RichEdit(this);
    Re2 = new RichEdit(this);
    Re1->setObjectName(QStringLiteral("Re1"));
    Re2->setObjectName(QStringLiteral("Re2"));
    for (RichEdit* pane : {Re1, Re2})
        pane->setStyleSheet(paneStyle());
    LabelOptions->setText(QStringLiteral("待选答案个数："));
    LabelAnswer->setText(QStringLiteral("试题答案："));
    LabelType->setText(QStringLiteral("题    型："));

    SpeedButton2 = makeCommand("SpeedButton2", QStringLiteral("使用说明"));
    SpeedButton3 = makeCommand("SpeedButton3", QStringLiteral("清  除"));
    SpeedButton4 = makeCommand("SpeedButton4", QStringLiteral("保  存"));
    SpeedButton1 = makeCommand("SpeedButton1", QStringLiteral("设  置"));
    SpeedButton7 = makeCommand("SpeedButton7", QStringLiteral("关  闭"));
    epBtn_help = makeTwin(this, "epBtn_help", QStringLiteral("使用说明"));
    epBtn_Clear = makeTwin(this, "epBtn_Clear", QStringLiteral("清除"));
    epBtn_Save = makeTwin(this, "epBtn_Save", QStringLiteral("保存"));
    epBtn_Config = makeTwin(this, "epBtn_Config", QStringLiteral("设置"));
    epBtn_Close = makeTwin(this, "epBtn_Close", QStringLiteral("关闭"));
    SpeedButton4->setToolTip(QStringLiteral("保存本题，窗口清空后可以录入下一题"));

    const auto bind = [this](QAbstractButton* picture, QAbstractButton* twin,
                             void (TFrmInPut::*handler)()) {
        for (QAbstractButton* b : {picture, twin})
            connect(b, &QAbstractButton::clicked, this, Dialogs::guardedSlot(this, handler));
    };
    bind(SpeedButton4, epBtn_Save, &TFrmInPut::epBtn_SaveClick);
    bind(SpeedButton3, epBtn_Clear, &TFrmInPut::epBtn_ClearClick);
    bind(SpeedButton2, epBtn_help, &TFrmInPut::epBtn_helpClick);
    bind(SpeedButton1, epBtn_Config, &TFrmInPut::epBtn_ConfigClick);
    connect(SpeedButton7, &QAbstractButton::clicked, this, &TFrmInPut::SpeedButton6Click);
    connect(epBtn_Close, &QAbstractButton::clicked, this, &TFrmInPut::epBtn_CloseClick);

    LayOut();
    Dialogs::guarded([this] { FormCreate(); });
}

TFrmInPut::~TFrmInPut() = default;

int TFrmInPut::EnterQuestions(QWidget* owner, const QString& chapterCode) {
    ScreenCursor::hourglass();
    TFrmInPut window(owner);
    window.ChapterCode = chapterCode;
    ScreenCursor::normal();
    window.exec();
    return window.SavedCount;
}

void TFrmInPut::FormCreate() {
    SavedCount = 0;
    SE_Num->setValue(5);
    fillTypes();
}

void TFrmInPut::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Dialogs::guarded([this] { FormShow(); });
}

void TFrmInPut::FormShow() {
    LayOut();
    Placement::centreOnDesktop(this);
    Re1->setFocus();
}

void TFrmInPut::LayOut() {
    const Geometry& g = layoutFor();
    // The window flags are set once, before the window shows: setting them hides a shown window.
    if (!isVisible())
        Placement::makeFixedDialog(this, g.window.width(), g.window.height());
    setFixedSize(g.window);
    Re1->setGeometry(g.text);
    Re2->setGeometry(g.explanation);
    LabelOptions->setGeometry(g.labelOptions);
    LabelAnswer->setGeometry(g.labelAnswer);
    LabelType->setGeometry(g.labelType);
    LabelPoints->setGeometry(g.labelPoints);
    SE_Num->setGeometry(g.options);
    Edit1->setGeometry(g.answer);
    ComboBox1->setGeometry(g.type);
    BtnAddFg->setGeometry(g.addPoints);
    ListBox1->setGeometry(g.points);
    SpeedButton2->setGeometry(g.help);
    SpeedButton3->setGeometry(g.clear);
    SpeedButton4->setGeometry(g.save);
    SpeedButton1->setGeometry(g.config);
    SpeedButton7->setGeometry(g.close);
}

void TFrmInPut::paintEvent(QPaintEvent* event) {
    const Geometry& g = layoutFor();
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    paintBody(p);
    WindowArt::PaintTitledFrame(p, paneFrame(g.text), QStringLiteral("试题内容"), 96);
    WindowArt::PaintTitledFrame(p, paneFrame(g.explanation), QStringLiteral("试题解析"), 96);
    WindowArt::PaintTitledFrame(p, settingsFrame(g), QStringLiteral("答案与考点"), 110);
    for (const EffectButton* b :
         {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4, SpeedButton7})
        WindowArt::PaintButtonPlate(p, b->geometry());
    QDialog::paintEvent(event);
}

void TFrmInPut::epBtn_SaveClick() {
    Checked checked;
    if (!checkInputs(Re1, checked))
        return;
    int largest = 0;
    try {
        largest = Authoring::LargestSerial(DM1->ADOCn1);
    } catch (const std::exception&) {
        tell(QStringLiteral("保存试题出现错误！"));
        return;
    }
    if (largest + 1 > Authoring::kMaxSerial) {
        tell(QStringLiteral("最多只能录入9999道题！"), true);
        return;
    }

    Authoring::NewQuestion q;
    q.chapter = ChapterCode;
    q.typeCode = checked.type.code;
    q.options = SE_Num->value();
    q.answer = checked.answer;
    q.points = pointIds();
    const bool saved = runSave([&] {
        q.text = Rtf::write(*Re1->document());
        if (!Re2->toPlainText().trimmed().isEmpty()) // a picture counts as content
            q.explanation = Rtf::write(*Re2->document());
        Authoring::InsertQuestion(DM1->ADOCn1, q, largest + 1);
    });
    if (!saved)
        return;
    epBtn_ClearClick();
    ++SavedCount;
}

void TFrmInPut::epBtn_ClearClick() {
    Re1->clear();
    Re2->clear();
    Edit1->clear();
    clearPoints();
    {
        const QSignalBlocker quiet(ComboBox1);
        ComboBox1->setCurrentIndex(types_.isEmpty() ? -1 : 0);
    }
    // The fields a subjective type disabled take the next question's answer again.
    SE_Num->setEnabled(true);
    Edit1->setEnabled(true);
    Re1->setFocus();
}

void TFrmInPut::epBtn_helpClick() {
    showUsage();
}

void TFrmInPut::epBtn_ConfigClick() {
    if (!WindowRegistry::has(WindowNames::Settings))
        return;
    App::ConfigMode = 0;
    WindowRegistry::open(WindowNames::Settings, this);
}

void TFrmInPut::epBtn_CloseClick() {
    close();
}

void TFrmInPut::SpeedButton6Click() {
    close();
}
