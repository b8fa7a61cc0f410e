#include "progress/plan_window.h"

#include "widgets/effect_button.h"
#include "widgets/window_art.h"

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "practice/dialog_placement.h"
#include "store/data_module.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QToolTip>

namespace {

constexpr int kWidth = 460;
constexpr int kHeight = 250;
constexpr int kTitleHeight = 28;

const QRect kBoard(16, 36, 428, 56); // the countdown
const QRect kCountdownLine(24, 42, 214, 44);
const QRect kNumber(240, 36, 112, 56);
const QRect kUnit(354, 42, 40, 44);
const QRect kDateLabel(40, 102, 70, 24);
const QRect kDate(112, 102, 140, 24);
const QRect kGroup(16, 130, 428, 78);
const QRect kItems[2] = {QRect(14, 22, 404, 22), QRect(14, 48, 404, 22)}; // in the group
const QRect kSetButton(280, 216, 75, 26);
const QRect kCloseButton(364, 216, 75, 26);

const QString kByAnswers =
    QStringLiteral("按作题数量制定学习计划      每天                   道题");
const QString kByMinutes =
    QStringLiteral("按作题时间制定学习计划      每天                   分钟");

const QString kSet = QStringLiteral("设定");
const QString kSave = QStringLiteral("保存");

// The earliest date of the field stands for no date.
const QDate kNoDate(1900, 1, 1);

QPixmap drawBackground() {
    QPixmap pm(kWidth, kHeight);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    WindowArt::PaintPaper(p, pm.rect());
    WindowArt::PaintTitleBand(p, QRect(0, 0, kWidth, kTitleHeight), QStringLiteral("学习计划"), 15);

    WindowArt::PaintBoard(p, kBoard, 8, 170);

    WindowArt::PaintButtonPlate(p, kSetButton);
    WindowArt::PaintButtonPlate(p, kCloseButton);

    WindowArt::PaintWindowEdge(p, pm.rect());
    return pm;
}

EffectButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* b = EffectButton::Make(parent, name, caption);
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

// Where the number field of a plan kind sits: in the blank run of its item between "每天" and
// the unit, centred there.
QRect numberPlace(const QRadioButton* item, const QRect& itemRect, const QPoint& groupOrigin) {
    const QString text = item->text();
    const QFontMetrics fm(item->font());
    const QStyle* style = item->style();
    const int textLeft = style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, item) +
                         style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, item);
    const int dayEnd = int(text.indexOf(QStringLiteral("每天"))) + 2;
    const int unitStart = int(text.size()) - 2;
    const int gapLeft = textLeft + fm.horizontalAdvance(text.left(dayEnd)) + 4;
    const int gapRight = textLeft + fm.horizontalAdvance(text.left(unitStart)) - 4;
    const int width = qMin(48, qMax(30, gapRight - gapLeft));
    const int left = gapLeft + qMax(0, (gapRight - gapLeft - width) / 2);
    const int height = itemRect.height();
    return QRect(groupOrigin + itemRect.topLeft() + QPoint(left, 0), QSize(width, height));
}

} // namespace

ExamDateEdit::ExamDateEdit(QWidget* parent) : QDateEdit(parent) {
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    setMinimumDate(kNoDate);
    setMaximumDate(QDate(9999, 12, 31));
    setSpecialValueText(QStringLiteral("未设置"));
    if (QCalendarWidget* calendar = calendarWidget())
        calendar->setFirstDayOfWeek(Qt::Monday);
}

void ExamDateEdit::clearDate() {
    setDate(minimumDate());
}

QString ExamDateEdit::hintAt(const QPoint& pos) const {
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const QRect button =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
    // The style's drop-down part, and at least the field's right end as wide as it is high.
    const bool onButton = button.contains(pos) || pos.x() >= width() - height();
    return onButton ? buttonHint_ : toolTip();
}

bool ExamDateEdit::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString hint = hintAt(help->pos());
        if (hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), hint, this);
        return true;
    }
    return QDateEdit::event(event);
}

TFrmplan::TFrmplan(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Frmplan"));
    setWindowTitle(QStringLiteral("学习计划"));
    setModal(true);
    setFixedSize(kWidth, kHeight);
    WindowArt::UseWindowFont(this);

    Image1 = WindowArt::MakePicture(this, "Image1", drawBackground());
    Image1->setGeometry(0, 0, kWidth, kHeight);

    QFont line = font();
    line.setPixelSize(20);
    line.setBold(true);
    epLabel1 = WindowArt::MakeLabel(this, "epLabel1", QStringLiteral("距离考试还有"));
    epLabel1->setFont(line);
    Label1 = new QLabel(QStringLiteral("28"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont figure = font();
    figure.setPixelSize(44);
    figure.setBold(true);
    Label1->setFont(figure);
    Label1->setAlignment(Qt::AlignCenter);
    epLabel2 = WindowArt::MakeLabel(this, "epLabel2", QStringLiteral("天"));
    epLabel2->setFont(line);
    Label2 = WindowArt::MakeLabel(this, "Label2", QStringLiteral("考试日："));
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    DateEdit1 = new ExamDateEdit(this);
    DateEdit1->setObjectName(QStringLiteral("DateEdit1"));
    DateEdit1->setToolTip(QStringLiteral("点击右侧按钮-->"));
    DateEdit1->setButtonHint(QStringLiteral("点击设置日期"));
    DateEdit1->setEnabled(false);

    SeSkinRadioGroup1 = new QGroupBox(QStringLiteral("学习计划"), this);
    SeSkinRadioGroup1->setObjectName(QStringLiteral("SeSkinRadioGroup1"));
    SeSkinRadioGroup1->setStyleSheet(WindowArt::GroupStyle());
    SeSkinRadioGroup1Item0 = new QRadioButton(kByAnswers, SeSkinRadioGroup1);
    SeSkinRadioGroup1Item0->setObjectName(QStringLiteral("SeSkinRadioGroup1Item0"));
    SeSkinRadioGroup1Item1 = new QRadioButton(kByMinutes, SeSkinRadioGroup1);
    SeSkinRadioGroup1Item1->setObjectName(QStringLiteral("SeSkinRadioGroup1Item1"));
    kinds_ = new QButtonGroup(this);
    kinds_->addButton(SeSkinRadioGroup1Item0, 0);
    kinds_->addButton(SeSkinRadioGroup1Item1, 1);
    SeSkinRadioGroup1Item0->setChecked(true);
    SeSkinRadioGroup1->setEnabled(false);

    // The number fields lie over the items but belong to the window: they stay open while the
    // plan kind is locked.
    suiNumberEdit1 = WindowArt::MakeNumberEdit(this, "suiNumberEdit1");
    suiNumberEdit2 = WindowArt::MakeNumberEdit(this, "suiNumberEdit2");

    SpeedButton1 = makeButton(this, "SpeedButton1", kSet);
    SpeedButton2 = makeButton(this, "SpeedButton2", QStringLiteral("关闭"));

    epLabel1->setGeometry(kCountdownLine);
    Label1->setGeometry(kNumber);
    epLabel2->setGeometry(kUnit);
    Label2->setGeometry(kDateLabel);
    DateEdit1->setGeometry(kDate);
    SeSkinRadioGroup1->setGeometry(kGroup);
    SeSkinRadioGroup1Item0->setGeometry(kItems[0]);
    SeSkinRadioGroup1Item1->setGeometry(kItems[1]);
    PlaceNumberEdits();
    SpeedButton1->setGeometry(kSetButton);
    SpeedButton2->setGeometry(kCloseButton);
    Image1->lower();

    connect(kinds_, &QButtonGroup::idClicked, this,
            [this](int) { Dialogs::guarded([this] { SeSkinRadioGroup1Click(); }); });
    connect(SpeedButton1, &QPushButton::clicked, this,
            Dialogs::guardedSlot(this, &TFrmplan::SpeedButton1Click));
    connect(SpeedButton2, &QPushButton::clicked, this, &TFrmplan::SpeedButton2Click);
}

TFrmplan::~TFrmplan() = default;

qint64 TFrmplan::DaysLeft(const QDate& today, const QDate& examDate) {
    return today.daysTo(examDate);
}

QString TFrmplan::DaysText(qint64 days) {
    return days >= 1000 ? QStringLiteral("999") : QString::number(days);
}

bool TFrmplan::IsEditing() const {
    return SpeedButton1->text() == kSave;
}

int TFrmplan::PlanKind() const {
    return kinds_->checkedId() == 1 ? 1 : 0;
}

void TFrmplan::SetPlanKind(int index) {
    (index == 1 ? SeSkinRadioGroup1Item1 : SeSkinRadioGroup1Item0)->setChecked(true);
}

void TFrmplan::PlaceNumberEdits() {
    const QPoint origin = kGroup.topLeft();
    suiNumberEdit1->setGeometry(numberPlace(SeSkinRadioGroup1Item0, kItems[0], origin));
    suiNumberEdit2->setGeometry(numberPlace(SeSkinRadioGroup1Item1, kItems[1], origin));
}

void TFrmplan::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Placement::centreOnDesktop(this);
    Dialogs::guarded([this] { FormShow(); });
}

void TFrmplan::done(int result) {
    Dialogs::guarded([this] { FormCloseQuery(); });
    QDialog::done(result);
}

void TFrmplan::FormShow() {
    if (!DM1)
        return;
    Dataset* plan = &DM1->PlanRow();
    suiNumberEdit1->setText(plan->text(QStringLiteral("PlanAmount")));
    suiNumberEdit2->setText(plan->text(QStringLiteral("PlanTime")));
    const QDate exam = plan->date(QStringLiteral("ExamDate"));
    if (exam.isValid() && exam > kNoDate)
        DateEdit1->setDate(exam);
    else
        DateEdit1->clearDate(); // no date, or a text that is none
    // A plan kind other than "by time" reads as "by number of answers", as the quit check does.
    SetPlanKind(plan->whole(QStringLiteral("PlanMark")) == 1 ? 1 : 0);
    ShowCountdown();
}

void TFrmplan::ShowCountdown() {
    ShowDaysLeft();
    ShowCountdownStatus();
}

void TFrmplan::ShowDaysLeft() {
    if (DateEdit1->hasDate())
        Label1->setText(DaysText(DaysLeft(Clock::today(), DateEdit1->date())));
}

void TFrmplan::ShowCountdownStatus() {
    QString status;
    bool number = false;
    if (!DateEdit1->hasDate()) {
        status = QStringLiteral("尚未设置考试日期");
    } else {
        const qint64 days = DaysLeft(Clock::today(), DateEdit1->date());
        if (days < 0) {
            status = QStringLiteral("考试已结束！");
        } else if (days == 0) {
            status = QStringLiteral("祝考试成功！");
        } else {
            status = QStringLiteral("距离考试还有");
            number = true;
            QPalette pal = Label1->palette();
            pal.setColor(QPalette::WindowText, days > 7 ? FarColor() : NearColor());
            Label1->setPalette(pal);
        }
    }
    epLabel1->setText(status);
    // The line alone stands in the middle of the board; before the number it ends at it.
    epLabel1->setGeometry(number ? kCountdownLine : kBoard.adjusted(8, 6, -8, -6));
    epLabel1->setAlignment(number ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter);
    Label1->setVisible(number);
    epLabel2->setVisible(number);
}

void TFrmplan::SpeedButton1Click() {
    if (!IsEditing()) {
        SpeedButton1->setText(kSave);
        DateEdit1->setEnabled(true);
        SeSkinRadioGroup1->setEnabled(true);
        // No date yet: the calendar starts at today, and saving stores a date.
        if (!DateEdit1->hasDate())
            DateEdit1->setDate(Clock::today());
        (PlanKind() == 0 ? suiNumberEdit1 : suiNumberEdit2)->setEnabled(true);
        return;
    }
    // A save that fails keeps the edit state, so the learner can try again.
    SavePlan();
    SpeedButton1->setText(kSet);
    DateEdit1->setEnabled(false);
    SeSkinRadioGroup1->setEnabled(false);
    (PlanKind() == 0 ? suiNumberEdit1 : suiNumberEdit2)->setEnabled(true);
    ShowCountdown();
}

void TFrmplan::SavePlan() {
    if (!DM1)
        throw std::runtime_error("no question bank is open");
    Dataset* plan = &DM1->PlanRow();
    if (plan->isEmpty())
        plan->append(); // a bank without its settings row gets one
    else
        plan->edit();
    try {
        // An empty number field stores 0.
        plan->setValue(QStringLiteral("PlanAmount"), suiNumberEdit1->text().toInt());
        plan->setValue(QStringLiteral("PlanTime"), suiNumberEdit2->text().toInt());
        plan->setValue(QStringLiteral("ExamDate"), DateEdit1->date().toString(Qt::ISODate));
        plan->setValue(QStringLiteral("PlanMark"), PlanKind());
        plan->post();
    } catch (...) {
        plan->cancel();
        throw;
    }
}

void TFrmplan::SeSkinRadioGroup1Click() {
    QLineEdit* chosen = PlanKind() == 0 ? suiNumberEdit1 : suiNumberEdit2;
    QLineEdit* other = PlanKind() == 0 ? suiNumberEdit2 : suiNumberEdit1;
    chosen->setEnabled(true);
    chosen->setFocus();
    other->setEnabled(false);
}

void TFrmplan::SpeedButton2Click() {
    close();
}

void TFrmplan::FormCloseQuery() {
    if (!DM1)
        return;
    Dataset* plan = DM1->Cn1Table_plan;
    plan->cancel(); // nothing unsaved is written
    plan->close();
}
