#include "exam/exam_settings.h"

#include "exam/paper.h"
#include "practice/dialog_placement.h"

#include "platform/dialogs.h"
#include "store/data_module.h"
#include "widgets/window_art.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

#include <stdexcept>

namespace {

constexpr int kWidth = 360;
constexpr int kHeight = 159;
constexpr int kTitleHeight = 28;

const QString kTooHigh = QStringLiteral("最低分数不能超过总分数！");

QLineEdit* makeNumberEdit(QWidget* parent, const char* name, const QString& hint) {
    QLineEdit* e = WindowArt::MakeNumberEdit(parent, name);
    e->setToolTip(hint);
    return e;
}

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& caption) {
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(QLatin1String(name));
    c->setChecked(false);
    // The indicator is drawn here: over the window's drawn background the style's own one does
    // not show.
    c->setStyleSheet(QStringLiteral(
        "QCheckBox { color: #1c2f4f; background: transparent; spacing: 6px; }"
        "QCheckBox::indicator { width: 12px; height: 12px; border: 1px solid #4a6290;"
        " border-radius: 2px; background: #ffffff; }"
        "QCheckBox::indicator:checked { background: qradialgradient(cx:0.5, cy:0.5, radius:0.5,"
        " fx:0.5, fy:0.5, stop:0 #2f5282, stop:0.6 #2f5282, stop:0.7 #ffffff); }"
        "QCheckBox::indicator:disabled { background: #e4e8ef; }"));
    return c;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& hint) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    // Enter in a field presses nothing: only a click saves.
    b->setAutoDefault(false);
    b->setDefault(false);
    b->setStyleSheet(QStringLiteral(
        "QPushButton { color: #1c2f4f; border: 1px solid #6e86aa; border-radius: 5px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #d6e1f0); }"
        "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 #ffffff, stop:1 #b7cceb); }"
        "QPushButton:pressed { background: #a9c0e2; }"
        "QPushButton:disabled { color: #8a8a8a; border-color: #b4bccb; background: #eceff4; }"));
    return b;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setStyleSheet(QStringLiteral("color: #1c2f4f; background: transparent;"));
    return l;
}

} // namespace

TFrmEset::TFrmEset(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FrmEset"));
    setWindowTitle(QStringLiteral("考试设置"));
    setModal(true);
    setFixedSize(kWidth, kHeight);
    WindowArt::UseWindowFont(this);

    suiCheckBox1 = makeCheckBox(this, "suiCheckBox1", QStringLiteral("保留试卷最低分数"));
    suiNumberEdit1 = makeNumberEdit(this, "suiNumberEdit1", QStringLiteral("与试卷总分数相关"));
    Label1 = makeLabel(this, "Label1", QStringLiteral("分"));
    suiCheckBox2 = makeCheckBox(this, "suiCheckBox2", QStringLiteral("模拟考试答题时间"));
    suiNumberEdit2 = makeNumberEdit(this, "suiNumberEdit2", QStringLiteral("（单位：分钟）"));
    Label2 = makeLabel(this, "Label2", QStringLiteral("分钟"));
    suiButton1 = makeButton(this, "suiButton1", QStringLiteral("默认"),
                            QStringLiteral("先选择要恢复默认值的项"));
    suiButton2 =
        makeButton(this, "suiButton2", QStringLiteral("关闭"), QStringLiteral("保存后退出本界面"));

    suiCheckBox1->setGeometry(24, 44, 144, 22);
    suiNumberEdit1->setGeometry(176, 44, 64, 22);
    Label1->setGeometry(246, 44, 48, 22);
    suiCheckBox2->setGeometry(24, 78, 144, 22);
    suiNumberEdit2->setGeometry(176, 78, 64, 22);
    Label2->setGeometry(246, 78, 48, 22);
    suiButton1->setGeometry(184, 118, 75, 26);
    suiButton2->setGeometry(268, 118, 75, 26);

    connect(suiCheckBox1, &QCheckBox::toggled, this, [this] { suiCheckBox1Click(); });
    connect(suiCheckBox2, &QCheckBox::toggled, this, [this] { suiCheckBox1Click(); });
    connect(suiButton1, &QPushButton::clicked, this,
            Dialogs::guardedSlot(this, &TFrmEset::suiButton1Click));
    connect(suiButton2, &QPushButton::clicked, this,
            Dialogs::guardedSlot(this, &TFrmEset::suiButton2Click));
    connect(suiNumberEdit1, &QLineEdit::textChanged, this,
            [this] { Dialogs::guarded([this] { suiNumberEdit1Change(); }); });

    suiCheckBox1Click();
}

TFrmEset::~TFrmEset() = default;

void TFrmEset::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Placement::centreOnDesktop(this);
    Dialogs::guarded([this] { FormShow(); });
}

void TFrmEset::done(int result) {
    Dialogs::guarded([this] { FormCloseQuery(); });
    QDialog::done(result);
}

void TFrmEset::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);

    WindowArt::PaintPaper(p, rect());

    QLinearGradient band(0, 0, 0, kTitleHeight);
    band.setColorAt(0, QColor(70, 110, 166));
    band.setColorAt(1, QColor(34, 64, 110));
    p.fillRect(QRect(0, 0, width(), kTitleHeight), band);
    QFont title = font();
    title.setBold(true);
    title.setPointSize(10);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(12, 0, width() - 24, kTitleHeight), Qt::AlignVCenter | Qt::AlignLeft,
               windowTitle());

    // The two settings on a light board, the buttons on the window's bottom line.
    WindowArt::PaintBoard(p, QRectF(12, 36, width() - 24, 72), 6);

    p.setPen(QPen(QColor(34, 64, 110), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(outer);
    QDialog::paintEvent(event);
}

void TFrmEset::FormShow() {
    if (!DM1)
        return;
    Dataset* plan = DM1->Cn1Table_plan;
    if (!plan->active())
        plan->open();
    plan->first();
    // Filling the pass mark counts as a change of it, also when the text stays the same: a
    // stored pass mark above the full marks is reported at once.
    {
        const QSignalBlocker quiet(suiNumberEdit1);
        suiNumberEdit1->setText(plan->text(QStringLiteral("LeastMark")));
    }
    suiNumberEdit2->setText(QString::number(plan->whole(QStringLiteral("ExamTime")) / 60));
    suiNumberEdit1Change();
}

void TFrmEset::suiCheckBox1Click() {
    suiButton1->setEnabled(suiCheckBox1->isChecked() || suiCheckBox2->isChecked());
}

void TFrmEset::suiButton1Click() {
    if (suiCheckBox1->isChecked())
        suiNumberEdit1->setText(QString::number(Paper::FullMarks(*DM1) / 2));
    if (suiCheckBox2->isChecked())
        suiNumberEdit2->setText(QStringLiteral("120"));
}

void TFrmEset::suiNumberEdit1Change() {
    if (suiNumberEdit1->text().isEmpty()) {
        suiNumberEdit1->setText(QStringLiteral("0")); // runs this handler again
        return;
    }
    if (!DM1)
        return;
    const int full = Paper::FullMarks(*DM1);
    if (suiNumberEdit1->text().toInt() > full) {
        Dialogs::messageBox(QStringLiteral("提示"), kTooHigh, Dialogs::Icon::Information);
        suiNumberEdit1->setText(QString::number(full));
        suiNumberEdit1->setFocus();
    }
}

void TFrmEset::suiButton2Click() {
    try {
        if (!DM1)
            throw std::runtime_error("no bank");
        Dataset* plan = DM1->Cn1Table_plan;
        if (!plan->active())
            plan->open();
        plan->first();
        RowEditGuard row(*plan); // a save that fails leaves the stored row as it was
        bool markOk = false;
        bool minutesOk = false;
        const int mark = suiNumberEdit1->text().toInt(&markOk);
        const int minutes = suiNumberEdit2->text().toInt(&minutesOk);
        if (!markOk || !minutesOk)
            throw std::invalid_argument("a setting is not a whole number");
        plan->setValue(QStringLiteral("LeastMark"), mark);
        plan->setValue(QStringLiteral("ExamTime"), minutes * 60);
        row.post();
    } catch (const std::exception&) {
        Dialogs::messageBox(QStringLiteral("警告"), QStringLiteral("保存设置失败！"),
                            Dialogs::Icon::Critical);
    }
    accept();
}

void TFrmEset::FormCloseQuery() {
    if (DM1)
        DM1->Cn1Table_plan->close();
}
