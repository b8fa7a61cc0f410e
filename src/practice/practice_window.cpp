#include "practice/practice_window.h"

#include "practice/answer_pad.h"
#include "practice/explanation_window.h"
#include "practice/note_window.h"

#include "platform/clock.h"
#include "platform/desktop_services.h"
#include "platform/dialogs.h"
#include "platform/platform_services.h"
#include "platform/program_end.h"
#include "platform/screen_cursor.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/db_rich_view.h"
#include "widgets/effect_button.h"
#include "widgets/elapsed_clock.h"
#include "widgets/gauge.h"
#include "widgets/picture_button.h"
#include "widgets/window_registry.h"

#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using namespace Question;

namespace {

const QString kAnswerCaption = QStringLiteral("答案");
const QString kBackCaption = QStringLiteral("返回");
const QString kVoidCaption = QStringLiteral("题目作废");
const QString kUnvoidCaption = QStringLiteral("取消作废");

// The question list's filter text as a predicate: "" shows every row, "FIELD=VALUE" the rows whose
// field equals the value (numbers numerically, texts without regard to case).
Dataset::Predicate filterPredicate(const QString& text) {
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    if (text.trimmed().isEmpty() || eq <= 0)
        return nullptr;
    const QString field = text.left(eq).trimmed();
    QString value = text.mid(eq + 1).trimmed();
    if (value.size() >= 2 && value.startsWith(QLatin1Char('\'')) &&
        value.endsWith(QLatin1Char('\'')))
        value = value.mid(1, value.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    bool isNumber = false;
    const double number = value.toDouble(&isNumber);
    return [field, value, isNumber, number](const RowRef& row) {
        if (row.isNull(field))
            return false;
        if (isNumber) {
            bool ok = false;
            const double v = row.value(field).toDouble(&ok);
            return ok && v == number;
        }
        return row.text(field).compare(value, Qt::CaseInsensitive) == 0;
    };
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

// Whether the content row has an explanation.
bool hasExplanation(Dataset* content) {
    if (!content || !content->active() || content->recNo() == 0 ||
        !content->hasField(QStringLiteral("jx")))
        return false;
    return !content->isNull(QStringLiteral("jx")) &&
           !content->bytes(QStringLiteral("jx")).trimmed().isEmpty();
}

void releaseGroup(QButtonGroup* group) {
    const bool exclusive = group->exclusive();
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(exclusive);
}

} // namespace

// ---------------------------------------------------------------------------------------------

PaneSplitter::PaneSplitter(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::SizeVerCursor);
}

void PaneSplitter::mousePressEvent(QMouseEvent* event) {
    lastY_ = int(event->globalPosition().y());
}

void PaneSplitter::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const int y = int(event->globalPosition().y());
    Q_EMIT dragged(y - lastY_);
    lastY_ = y;
}

void PaneSplitter::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(196, 206, 222));
    p.setPen(QColor(150, 160, 180));
    p.drawLine(0, height() / 2, width(), height() / 2);
}

PracticeAnimation::PracticeAnimation(QWidget* parent) : QWidget(parent) {
    timer_ = new QTimer(this);
    timer_->setInterval(120);
    connect(timer_, &QTimer::timeout, this, [this] {
        phase_ = (phase_ + 1) % 48;
        update();
    });
}

void PracticeAnimation::start() {
    timer_->start();
}
void PracticeAnimation::stop() {
    timer_->stop();
}
bool PracticeAnimation::isRunning() const {
    return timer_->isActive();
}

void PracticeAnimation::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int n = 7;
    const double step = double(width()) / (n + 1);
    for (int i = 0; i < n; ++i) {
        const double a = (phase_ - i * 3) * M_PI / 12.0;
        const double lift = std::max(0.0, std::sin(a));
        const double r = 3.0 + 2.0 * lift;
        const QPointF c(step * (i + 1), height() / 2.0 + (height() / 4.0) * (0.5 - lift));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromHsv((200 + i * 20) % 360, 140 + int(100 * lift), 210));
        p.drawEllipse(c, r, r);
    }
}

// ---------------------------------------------------------------------------------------------

TFrmLxxt::TFrmLxxt(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("FrmLxxt"));
    setWindowTitle(QStringLiteral("练习"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    buildControls();
    FormCreate();
}

TFrmLxxt::~TFrmLxxt() {
    // The clock and the answer timer are children; nothing of the data module is touched here.
    Timer1->stop();
}

template <typename F> void TFrmLxxt::guarded(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        ScreenCursor::normal();
        Dialogs::reportError(QString::fromUtf8(e.what()));
    }
}

void TFrmLxxt::buildControls() {
    QFont base = font();
    base.setPointSize(9);
    setFont(base);

    epLabel2 = makeLabel(this, QStringLiteral("epLabel2"), QStringLiteral("提示板"));
    epLabel2->setStyleSheet(QStringLiteral("color: #7a1d1d; font-weight: bold;"));

    auto* line = new QWidget(this);
    line->setObjectName(QStringLiteral("QuestionLine"));
    auto* lineRow = new QHBoxLayout(line);
    lineRow->setContentsMargins(0, 0, 0, 0);
    lineRow->setSpacing(1);
    Label11 = makeLabel(line, QStringLiteral("Label11"), QStringLiteral("第"));
    Label12 = makeLabel(line, QStringLiteral("Label12"), QStringLiteral("1"));
    Label13 = makeLabel(line, QStringLiteral("Label13"), QStringLiteral("题"));
    Label14 = makeLabel(line, QStringLiteral("Label14"), QStringLiteral("（第"));
    Label15 = makeLabel(line, QStringLiteral("Label15"), QStringLiteral("1"));
    Label16 = makeLabel(line, QStringLiteral("Label16"), QStringLiteral("次出现）"));
    for (QLabel* l : {Label11, Label12, Label13, Label14, Label15, Label16})
        lineRow->addWidget(l);
    Label12->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    Label15->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    lineRow->addStretch(1);
    Label21 = makeLabel(this, QStringLiteral("Label21"), QString());
    Label21->setStyleSheet(QStringLiteral("color: #c00000;"));
    Label24 = makeLabel(this, QStringLiteral("Label24"), QString());
    Label24->setStyleSheet(QStringLiteral("color: #0040a0;"));

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    Re1 = new DbRichView(Panel1);
    Re1->setObjectName(QStringLiteral("Re1"));
    FlatSplitter1 = new PaneSplitter(Panel1);
    FlatSplitter1->setObjectName(QStringLiteral("FlatSplitter1"));
    Re2 = new DbRichView(Panel1);
    Re2->setObjectName(QStringLiteral("Re2"));
    QFont textFont = base;
    textFont.setPointSize(11);
    Re1->setFont(textFont);
    Re2->setFont(textFont);
    Panel1->installEventFilter(this);
    connect(FlatSplitter1, &PaneSplitter::dragged, this, [this](int dy) {
        setLowerPane(std::clamp(re2Height_ - dy, 20, std::max(20, Panel1->height() - 60)),
                     splitterHeight_);
    });

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setAutoFillBackground(true);
    Panel2->setStyleSheet(QStringLiteral("#Panel2 { background: #f4f1e4; border: 1px solid "
                                         "#9a8f6a; }"));
    auto* p2 = new QVBoxLayout(Panel2);
    p2->setContentsMargins(16, 16, 16, 16);
    p2->setSpacing(8);
    Lb_answtip = makeLabel(Panel2, QStringLiteral("Lb_answtip"), QString());
    QFont tipFont = base;
    tipFont.setPointSize(12);
    tipFont.setBold(true);
    Lb_answtip->setFont(tipFont);
    Lb_answtip->setStyleSheet(QStringLiteral("color: #a00000;"));
    Label_mine = makeLabel(Panel2, QStringLiteral("Label_mine"), QStringLiteral("你的答案："));
    Memo1 = new QPlainTextEdit(Panel2);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setMaximumHeight(60);
    Label_key = makeLabel(Panel2, QStringLiteral("Label_key"), QStringLiteral("正确答案："));
    Memo2 = new QPlainTextEdit(Panel2);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setReadOnly(true);
    Memo2->setMaximumHeight(60);
    p2->addWidget(Lb_answtip);
    p2->addWidget(Label_mine);
    p2->addWidget(Memo1);
    p2->addWidget(Label_key);
    p2->addWidget(Memo2);
    p2->addStretch(1);
    Panel2->resize(0, 0);
    Panel2->raise();

    Notebook1 = new AnswerPad(this);
    Notebook1->installEventFilter(this);
    for (QWidget* w : Notebook1->findChildren<QWidget*>()) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }

    epIndiGauge1 = new Gauge(this);
    epIndiGauge1->setObjectName(QStringLiteral("epIndiGauge1"));
    epIndiGauge1->setMaximum(100);
    epIndiGauge1->setThreshold(65);
    epIndiGauge1->setOrientation(Qt::Vertical);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &TFrmLxxt::Timer1Timer);

    KZTimeCounter1 = new ElapsedClock(this);
    KZTimeCounter1->setObjectName(QStringLiteral("KZTimeCounter1"));
    connect(KZTimeCounter1, &ElapsedClock::ticked, this, &TFrmLxxt::KZTimeCounter1Timer);
    Label1 = makeLabel(this, QStringLiteral("Label1"), QStringLiteral("时钟"));
    epLabel1 = makeLabel(this, QStringLiteral("epLabel1"), QStringLiteral("0:00:00"));
    epLabel1->setStyleSheet(QStringLiteral("color: #004080; font-weight: bold;"));

    RxGIFAnimator1 = new PracticeAnimation(this);
    RxGIFAnimator1->setObjectName(QStringLiteral("RxGIFAnimator1"));

    epLabel4 = makeLabel(this, QStringLiteral("epLabel4"), QStringLiteral("题型指示板"));
    fcBG_tx = new QWidget(this);
    fcBG_tx->setObjectName(QStringLiteral("fcBG_tx"));
    auto* txGrid = new QGridLayout(fcBG_tx);
    txGrid->setContentsMargins(0, 0, 0, 0);
    txGrid->setHorizontalSpacing(2);
    txGrid->setVerticalSpacing(1);
    txGrid->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    fcBG_txGroup = new QButtonGroup(this);
    fcBG_txGroup->setObjectName(QStringLiteral("fcBG_txGroup"));
    fcBG_txGroup->setExclusive(true);
    connect(fcBG_txGroup, &QButtonGroup::buttonToggled, this,
            [this](QAbstractButton* b, bool checked) {
                onTypeTabToggled(static_cast<PictureButton*>(b), checked);
            });

    epLabel3 = makeLabel(this, QStringLiteral("epLabel3"), QStringLiteral("题目指示板"));
    fcBG_th = new QWidget(this);
    fcBG_th->setObjectName(QStringLiteral("fcBG_th"));
    auto* thGrid = new QGridLayout(fcBG_th);
    thGrid->setContentsMargins(0, 0, 0, 0);
    thGrid->setHorizontalSpacing(0);
    thGrid->setVerticalSpacing(4);
    thGrid->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    fcBG_thGroup = new QButtonGroup(this);
    fcBG_thGroup->setObjectName(QStringLiteral("fcBG_thGroup"));
    fcBG_thGroup->setExclusive(true);
    for (int i = 0; i < kGroupSize; ++i) {
        auto* b = new PictureButton(QString::number(i + 1), fcBG_th);
        b->setObjectName(QStringLiteral("fcBG_thfcImageBtn%1").arg(i + 1));
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(28, 24);
        QFont f = base;
        f.setPointSize(8);
        b->setFont(f);
        b->setEnabled(false);
        questionButtons[size_t(i)] = b;
        fcBG_thGroup->addButton(b, i);
        thGrid->addWidget(b, i / 5, i % 5);
    }
    connect(fcBG_thGroup, &QButtonGroup::buttonToggled, this,
            [this](QAbstractButton*, bool checked) {
                if (checked)
                    guarded([this] { fcBG_thChange(); });
            });

    Label2 = makeLabel(this, QStringLiteral("Label2"), QStringLiteral("共"));
    Lb_zs = makeLabel(this, QStringLiteral("Lb_zs"), QStringLiteral("0"));
    Label4 = makeLabel(this, QStringLiteral("Label4"), QStringLiteral("组"));
    Lb_ts = makeLabel(this, QStringLiteral("Lb_ts"), QStringLiteral("0"));
    Label6 = makeLabel(this, QStringLiteral("Label6"), QStringLiteral("道题"));
    Label7 = makeLabel(this, QStringLiteral("Label7"), QStringLiteral("第"));
    Lb_zb = makeLabel(this, QStringLiteral("Lb_zb"), QStringLiteral("1"));
    Label9 = makeLabel(this, QStringLiteral("Label9"), QStringLiteral("组"));
    for (QLabel* l : {Lb_zs, Lb_ts, Lb_zb}) {
        l->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
        l->setAlignment(Qt::AlignCenter);
    }

    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new EffectButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setDefault(false);
        return b;
    };
    FlatSpeedButton1 = button("FlatSpeedButton1", QStringLiteral("<-上一组"));
    FlatSpeedButton2 = button("FlatSpeedButton2", QStringLiteral("下一组->"));
    epEfTrBtn1 = button("epEfTrBtn1", QStringLiteral("上一题"));
    epEfTrBtn2 = button("epEfTrBtn2", QStringLiteral("下一题"));
    epEfTrBtn3 = button("epEfTrBtn3", QStringLiteral("完成"));
    epEfTrBtn4 = button("epEfTrBtn4", QStringLiteral("解析"));
    epEfTrBtn5 = button("epEfTrBtn5", QStringLiteral("笔记"));
    epEfTrBtn6 = button("epEfTrBtn6", kAnswerCaption);
    epEfTrBtn7 = button("epEfTrBtn7", QStringLiteral("桌面"));
    epEfTrBtn8 = button("epEfTrBtn8", QStringLiteral("设置"));
    epEfTrBtn9 = button("epEfTrBtn9", QStringLiteral("考点"));
    epEfTrBtn10 = button("epEfTrBtn10", kVoidCaption);
    epEfTrBtn11 = button("epEfTrBtn11", QStringLiteral("修改本题"));
    epEfTrBtn99 = button("epEfTrBtn99", QStringLiteral("关闭"));
    QFont big = base;
    big.setPointSize(11);
    big.setBold(true);
    epEfTrBtn1->setFont(big);
    epEfTrBtn2->setFont(big);

    const auto wire = [this](EffectButton* b, void (TFrmLxxt::*slot)()) {
        connect(b, &QAbstractButton::clicked, this,
                [this, slot] { guarded([&] { (this->*slot)(); }); });
    };
    wire(FlatSpeedButton1, &TFrmLxxt::FlatSpeedButton1Click);
    wire(FlatSpeedButton2, &TFrmLxxt::FlatSpeedButton2Click);
    wire(epEfTrBtn1, &TFrmLxxt::epEfTrBtn1Click);
    wire(epEfTrBtn2, &TFrmLxxt::epEfTrBtn2Click);
    wire(epEfTrBtn3, &TFrmLxxt::epEfTrBtn3Click);
    wire(epEfTrBtn4, &TFrmLxxt::epEfTrBtn4Click);
    wire(epEfTrBtn5, &TFrmLxxt::epEfTrBtn5Click);
    wire(epEfTrBtn6, &TFrmLxxt::epEfTrBtn6Click);
    wire(epEfTrBtn7, &TFrmLxxt::epEfTrBtn7Click);
    wire(epEfTrBtn8, &TFrmLxxt::epEfTrBtn8Click);
    wire(epEfTrBtn9, &TFrmLxxt::epEfTrBtn9Click);
    wire(epEfTrBtn10, &TFrmLxxt::epEfTrBtn10Click);
    wire(epEfTrBtn11, &TFrmLxxt::epEfTrBtn11Click);
    wire(epEfTrBtn99, &TFrmLxxt::epEfTrBtn99Click);

    LayOut();
}

void TFrmLxxt::LayOut() {
    const bool small = App::ScreenMode == QLatin1String("800");
    const auto at = [](QWidget* w, int x, int y, int width, int height) {
        w->setGeometry(x, y, width, height);
    };
    QWidget* line = findChild<QWidget*>(QStringLiteral("QuestionLine"));
    const auto counters = [&](int left, int top1, int top2) {
        // 共 x 组 y 道题 over 第 z 组, centred in the 140-pixel column.
        int x = left;
        const auto place = [&x](QLabel* l, int top, int width) {
            l->setGeometry(x, top, width, 18);
            x += width;
        };
        place(Label2, top1, 16);
        place(Lb_zs, top1, 26);
        place(Label4, top1, 16);
        place(Lb_ts, top1, 34);
        place(Label6, top1, 34);
        x = left + 32;
        place(Label7, top2, 16);
        place(Lb_zb, top2, 26);
        place(Label9, top2, 16);
    };
    if (small) {
        setFixedSize(780, 490);
        at(epLabel2, 21, 4, 420, 17);
        at(line, 21, 22, 150, 18);
        at(Label21, 175, 22, 200, 18);
        at(Label24, 380, 22, 200, 18);
        at(Panel1, 21, 42, 590, 384);
        at(epIndiGauge1, 613, 42, 8, 384);
        at(epEfTrBtn8, 624, 6, 71, 25);
        at(epEfTrBtn7, 697, 6, 71, 25);
        at(Label1, 628, 38, 36, 18);
        at(epLabel1, 668, 38, 90, 18);
        at(RxGIFAnimator1, 625, 58, 140, 30);
        at(epLabel4, 628, 93, 137, 18);
        at(fcBG_tx, 625, 112, 140, 103);
        at(epLabel3, 628, 221, 137, 18);
        at(fcBG_th, 625, 241, 140, 112);
        counters(625, 358, 378);
        at(FlatSpeedButton1, 628, 400, 65, 25);
        at(FlatSpeedButton2, 698, 400, 65, 25);
        at(Notebook1, 96, 437, 273, 46);
        at(epEfTrBtn1, 11, 438, 75, 45);
        at(epEfTrBtn2, 376, 438, 75, 46);
        const int lefts[] = {463, 538, 613, 688};
        EffectButton* top[] = {epEfTrBtn3, epEfTrBtn6, epEfTrBtn4, epEfTrBtn5};
        EffectButton* bottom[] = {epEfTrBtn9, epEfTrBtn11, epEfTrBtn10, epEfTrBtn99};
        for (int i = 0; i < 4; ++i) {
            at(top[i], lefts[i], 435, 75, 25);
            at(bottom[i], lefts[i], 461, 75, 25);
        }
    } else {
        setFixedSize(923, 585);
        at(epLabel2, 25, 6, 560, 18);
        at(line, 25, 27, 160, 18);
        at(Label21, 190, 27, 220, 18);
        at(Label24, 420, 27, 220, 18);
        at(Panel1, 25, 50, 718, 468);
        at(epIndiGauge1, 747, 50, 10, 468);
        at(epEfTrBtn8, 766, 8, 71, 25);
        at(epEfTrBtn7, 839, 8, 71, 25);
        at(Label1, 770, 44, 36, 18);
        at(epLabel1, 810, 44, 100, 18);
        at(RxGIFAnimator1, 766, 66, 140, 36);
        at(epLabel4, 770, 108, 137, 18);
        at(fcBG_tx, 766, 128, 140, 110);
        at(epLabel3, 770, 246, 137, 18);
        at(fcBG_th, 766, 266, 140, 112);
        counters(766, 390, 412);
        at(FlatSpeedButton1, 769, 440, 65, 25);
        at(FlatSpeedButton2, 839, 440, 65, 25);
        at(Notebook1, 97, 527, 276, 50);
        at(epEfTrBtn1, 15, 530, 75, 45);
        at(epEfTrBtn2, 380, 530, 75, 45);
        const int lefts[] = {600, 675, 750, 825};
        EffectButton* top[] = {epEfTrBtn3, epEfTrBtn6, epEfTrBtn4, epEfTrBtn5};
        EffectButton* bottom[] = {epEfTrBtn9, epEfTrBtn11, epEfTrBtn10, epEfTrBtn99};
        for (int i = 0; i < 4; ++i) {
            at(top[i], lefts[i], 527, 75, 25);
            at(bottom[i], lefts[i], 552, 75, 25);
        }
    }
    Panel2->setGeometry(Panel1->x() + 1, Panel1->y() + 1, Panel2->width(), Panel1->height() - 1);
    Panel2->raise();
    layoutPanel1();
}

void TFrmLxxt::layoutPanel1() {
    const int w = Panel1->width();
    const int h = Panel1->height();
    const int lower = std::clamp(re2Height_, 0, h);
    const int bar = std::clamp(splitterHeight_, 0, h - lower);
    Re2->setGeometry(0, h - lower, w, lower);
    Re2->setVisible(lower > 0);
    FlatSplitter1->setGeometry(0, h - lower - bar, w, bar);
    FlatSplitter1->setVisible(bar > 0);
    Re1->setGeometry(0, 0, w, h - lower - bar);
}

void TFrmLxxt::setLowerPane(int re2Height, int splitterHeight) {
    re2Height_ = std::max(0, re2Height);
    splitterHeight_ = std::max(0, splitterHeight);
    layoutPanel1();
}

void TFrmLxxt::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    if (!background_.isNull())
        p.drawTiledPixmap(rect(), background_);
    else
        p.fillRect(rect(), QColor(232, 226, 206));
    // The boards of the right-hand column and the frame of the question panel.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(140, 120, 80), 1));
    p.setBrush(QColor(255, 252, 240, 150));
    const QRect boards(fcBG_tx->x() - 4, Label1->y() - 4, fcBG_tx->width() + 8,
                       FlatSpeedButton1->geometry().bottom() - Label1->y() + 10);
    p.drawRoundedRect(boards, 6, 6);
    p.setBrush(Qt::NoBrush);
    p.drawRect(Panel1->geometry().adjusted(-1, -1, 0, 0));
    QDialog::paintEvent(event);
}

// ---------------------------------------------------------------------------------------------

bool TFrmLxxt::loadPictures(const QStringList& files, QVector<QPixmap>& into) {
    into.clear();
    for (const QString& f : files) {
        QPixmap pm;
        if (!pm.load(App::AppPath + f) || pm.isNull()) {
            into.clear();
            return false;
        }
        into << pm;
    }
    return true;
}

void TFrmLxxt::failPictures() {
    picturesMissing_ = true;
    ShowDlg(QStringLiteral("错误"), QStringLiteral("无法提取资源文件！"), 1, QStringLiteral("NO"),
            2);
    ProgramEnd::request();
}

void TFrmLxxt::FormCreate() {
    background_.load(App::AppPath + QStringLiteral("pic/bg_window.png"));
    if (!loadPictures(QuestionButtonPictures(), facePictures_)) {
        failPictures();
        return;
    }
    for (PictureButton* b : questionButtons)
        setButtonFaces(b, Face::Unanswered, Face::Unanswered);
}

QPixmap TFrmLxxt::facePicture(Face face, bool down) const {
    if (facePictures_.size() < 6)
        return {};
    switch (face) {
    case Face::Right:
        return facePictures_[down ? 4 : 2];
    case Face::Wrong:
        return facePictures_[down ? 5 : 3];
    case Face::Unanswered:
    default:
        return facePictures_[down ? 1 : 0];
    }
}

void TFrmLxxt::setButtonFaces(PictureButton* b, Face up, Face down) {
    b->setFaces(facePicture(up, false), facePicture(down, true));
}

void TFrmLxxt::setUpFace(PictureButton* b, Face face) {
    b->setFaces(facePicture(face, false), b->downFace());
}

void TFrmLxxt::setDownFace(PictureButton* b, Face face) {
    b->setFaces(b->upFace(), facePicture(face, true));
}

PictureButton* TFrmLxxt::questionButton(int number) const {
    if (number < 1 || number > kGroupSize)
        return nullptr;
    return questionButtons[size_t(number - 1)];
}

PictureButton* TFrmLxxt::typeTab(int tag) const {
    for (PictureButton* t : typeTabs) {
        if (t->tag() == tag)
            return t;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------

bool TFrmLxxt::LoadQuestionSet() {
    if (picturesMissing_)
        return false;
    Dataset* list = DM1->Cn1Query_tm;
    list->close();
    list->setFiltered(false);
    list->clearFilter();
    filterText_.clear();
    // Only the rows still holding an answer of an earlier practice are written.
    DM1->ADOCn1.exec(QStringLiteral("update tab_answ set E2_1='' where E2_1<>''"));
    list->close();

    list->clearParams();
    list->setSql(App::PracticeQuerySql);
    list->open();
    if (list->isEmpty())
        return false;
    App::FirstQuestionId = list->text(QStringLiteral("a1"));

    if (!loadPictures(TypeTabPictures(), tabPictures_)) {
        failPictures();
        return false;
    }

    Dataset* tx = DM1->Cn1Table_tx;
    if (!tx->active())
        tx->open();
    tx->sort(QStringLiteral("A1"), Qt::AscendingOrder);
    tx->first();

    for (PictureButton* t : typeTabs) {
        fcBG_txGroup->removeButton(t);
        delete t;
    }
    typeTabs.clear();
    currentTab_ = nullptr;
    auto* grid = static_cast<QGridLayout*>(fcBG_tx->layout());
    const auto addTab = [&](const QString& caption, int tag) {
        auto* t = new PictureButton(caption, fcBG_tx);
        t->setObjectName(QStringLiteral("fcBG_tx_%1").arg(tag));
        t->setCheckable(true);
        t->setTag(tag);
        t->setFocusPolicy(Qt::NoFocus);
        t->setFaces(tabPictures_[0], tabPictures_[1]);
        t->setFixedSize(68, 26);
        const int n = int(typeTabs.size());
        grid->addWidget(t, n / 2, n % 2);
        fcBG_txGroup->addButton(t);
        typeTabs << t;
        return t;
    };
    addTab(QStringLiteral("任意"), 0);
    while (!tx->eof() && tx->recNo() > 0) {
        const int code = int(tx->whole(QStringLiteral("A1")));
        PictureButton* t = addTab(tx->text(QStringLiteral("B1")).trimmed(), code);
        filterText_ = QStringLiteral("A13=") + QString::number(code);
        list->setFilter(filterPredicate(filterText_));
        list->setFiltered(true);
        if (list->isEmpty())
            t->setEnabled(false);
        if (tx->recNo() >= tx->recordCount())
            break;
        tx->next();
    }
    return true;
}

void TFrmLxxt::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        guarded([this] { FormShow(); });
}

void TFrmLxxt::FormShow() {
    ScreenCursor::hourglass();
    closeQueried_ = false;
    epIndiGauge1->setValue(0);
    LayOut();
    if (const QScreen* s = screen()) {
        const QRect avail = s->availableGeometry();
        move(avail.center() - rect().center());
    }

    Dataset* content = DM1->cn1query_nr;
    content->close();
    content->clearParams();
    content->setSql(QStringLiteral("select * from tab_exer where A1=:A1"));
    content->setParam(QStringLiteral("A1"), App::FirstQuestionId);
    content->open();

    setLowerPane(0, 0);
    closeAnswerPanelNow();

    epLabel2->setText(App::ChapterHeading);
    CurrentRecNo = 0;

    if (!typeTabs.isEmpty()) {
        PictureButton* any = typeTabs.first();
        if (any->isChecked()) {
            releaseGroup(fcBG_txGroup);
            currentTab_ = nullptr;
        }
        any->setChecked(true);
    }

    KZTimeCounter1->stop();
    KZTimeCounter1->reset();
    KZTimeCounter1->start();
    epLabel1->setText(KZTimeCounter1->text());
    ScreenCursor::normal();
    RxGIFAnimator1->start();
    epEfTrBtn9->setEnabled(false);
}

void TFrmLxxt::pressTypeTab(PictureButton* tab) {
    if (!tab)
        return;
    if (tab->isChecked()) {
        releaseGroup(fcBG_txGroup);
        currentTab_ = nullptr;
    }
    tab->setChecked(true);
}

void TFrmLxxt::onTypeTabToggled(PictureButton* tab, bool checked) {
    if (!checked)
        return;
    PictureButton* old = currentTab_;
    currentTab_ = tab;
    guarded([&] { fcBG_txChange(old, tab); });
}

void TFrmLxxt::fcBG_txChange(PictureButton* oldTab, PictureButton* newTab) {
    if (!newTab)
        return;
    Dataset* list = DM1->Cn1Query_tm;
    Dataset* content = DM1->cn1query_nr;
    if (CurrentRecNo > 0) {
        const int recNo = CurrentRecNo;
        CurrentRecNo = 0;
        JudgeAnswer(recNo, Notebook1->page(), GroupStart, groupEnd(), list, content, 2);
    }
    const int t = newTab->tag();
    QString text;
    if (t != 0) {
        text = QStringLiteral("A13=") + QString::number(t);
        Notebook1->setSubjectiveCaption(newTab->text());
    } else {
        Notebook1->setSubjectiveCaption(QStringLiteral("主观"));
    }
    ApplyTypeFilter(text, list);
    if (list->recordCount() > 0) {
        FillGroup(QStringLiteral("1"), list->recordCount(), list);
        return;
    }
    newTab->setEnabled(false);
    if (oldTab && oldTab != newTab) {
        oldTab->setChecked(true); // runs this handler again for the previous tab
    } else {
        releaseGroup(fcBG_txGroup);
        currentTab_ = nullptr;
    }
}

void TFrmLxxt::ApplyTypeFilter(const QString& filterText, Dataset* list) {
    if (filterText == filterText_ && list->filtered())
        return;
    list->setFiltered(false);
    list->clearFilter();
    list->setFiltered(true);
    filterText_ = filterText;
    list->setFilter(filterPredicate(filterText));
    list->setFiltered(true);
}

void TFrmLxxt::FillGroup(const QString& mode, int total, Dataset* list) {
    GroupStart = 1;
    GroupCount = 1;
    if (mode == QLatin1String("1")) {
        const int groups = GroupTotal(total);
        Lb_zs->setText(QString::number(groups));
        Lb_ts->setText(QString::number(total));
        Lb_zb->setText(QStringLiteral("1"));
        FlatSpeedButton1->setEnabled(false);
        FlatSpeedButton2->setEnabled(groups > 1);
        GroupStart = 1;
        GroupCount = std::min(total, kGroupSize);
    } else if (mode == QLatin1String("2")) {
        const int g = Lb_zb->text().toInt() - 1;
        GroupStart = (g - 1) * kGroupSize + 1;
        Lb_zb->setText(QString::number(g));
        GroupCount = kGroupSize;
    } else if (mode == QLatin1String("3")) {
        const int g = Lb_zb->text().toInt() + 1;
        GroupStart = g * kGroupSize - (kGroupSize - 1);
        Lb_zb->setText(QString::number(g));
        GroupCount = total >= g * kGroupSize ? kGroupSize : total - (g - 1) * kGroupSize;
    }

    for (int i = 0; i < kGroupSize; ++i) {
        PictureButton* b = questionButtons[size_t(i)];
        if (i < GroupCount && list->setRecNo(GroupStart + i)) {
            b->setEnabled(true);
            b->setTag(GroupStart + i);
            const Face face =
                FaceFor(list->text(QStringLiteral("E2_1")), list->text(QStringLiteral("A2")));
            setButtonFaces(b, face, face);
        } else {
            b->setEnabled(false);
            b->setTag(0);
            setButtonFaces(b, Face::Unanswered, Face::Unanswered);
        }
    }
    pressQuestionButton(1);
}

void TFrmLxxt::pressQuestionButton(int number) {
    PictureButton* b = questionButton(number);
    if (!b)
        return;
    if (b->isChecked())
        releaseGroup(fcBG_thGroup);
    b->setChecked(true); // fcBG_thChange follows
}

void TFrmLxxt::closeAnswerPanelNow() {
    Panel2->setGeometry(Panel1->x() + 1, Panel1->y() + 1, 0, Panel1->height() - 1);
}

void TFrmLxxt::fcBG_thChange() {
    auto* b = static_cast<PictureButton*>(fcBG_thGroup->checkedButton());
    if (!b)
        return;
    Label24->clear();
    if (epEfTrBtn6->text() == kBackCaption) {
        epEfTrBtn6->setText(kAnswerCaption);
        closeAnswerPanelNow();
    }
    const int r = b->tag();
    if (r <= 0)
        return;
    Dataset* list = DM1->Cn1Query_tm;
    epEfTrBtn1->setEnabled(r > 1);
    epEfTrBtn2->setEnabled(r < list->recordCount());
    GoToQuestion(CurrentRecNo, r, GroupStart, groupEnd(), list, DM1->cn1query_nr);

    Label21->clear();
    epEfTrBtn10->setText(kVoidCaption);
    const qint64 f1 = list->whole(QStringLiteral("f1"));
    if (f1 == 1) {
        Label21->setText(QStringLiteral("本题已被您作废！"));
        epEfTrBtn10->setText(kUnvoidCaption);
    } else if (f1 == 2) {
        Label21->setText(QStringLiteral("本题是您加入的题目！"));
    }
    if (list->whole(QStringLiteral("ecount")) != 0)
        Label24->setText(QStringLiteral("本题被您修改过"));
}

void TFrmLxxt::GoToQuestion(int oldRecNo, int recNo, int groupStart, int groupEnd, Dataset* list,
                            Dataset* content) {
    JudgeAnswer(oldRecNo, Notebook1->page(), groupStart, groupEnd, list, content, 0);
    CurrentRecNo = recNo;
    list->setRecNo(recNo);

    const QString id = list->text(QStringLiteral("a1"));
    content->close();
    content->clearParams();
    content->setSql(QStringLiteral("select * from tab_exer where a1=:A1"));
    content->setParam(QStringLiteral("A1"), id);
    content->open();

    const qint64 e3 = list->whole(QStringLiteral("E3"));
    Label15->setText(e3 > 0 ? QString::number(e3 + 1) : QStringLiteral("1"));
    Label12->setText(QString::number(recNo - GroupStart + 1));

    const int typeCode = int(list->whole(QStringLiteral("A13")));
    Notebook1->selectPage(TypePage(typeCode));
    PresentQuestion(Notebook1->page(), list, content);
    ShowStem(list->text(QStringLiteral("A1")));

    if (PictureButton* b = questionButton(ButtonOfRecord(recNo)))
        setDownFace(b,
                    FaceFor(list->text(QStringLiteral("E2_1")), list->text(QStringLiteral("A2"))));

    const int v = AnswerTimerInterval(typeCode, App::TypeCodes, App::TypeTimes);
    epIndiGauge1->setValue(0);
    Timer1->stop();
    if (v > 0) {
        Timer1->setInterval(v);
        Timer1->start();
    }
}

void TFrmLxxt::ShowStem(const QString& questionId) {
    try {
        Dataset* content = DM1->cn1query_nr;
        if (questionId.contains(QLatin1Char('-'))) {
            if (splitterHeight_ <= 0)
                setLowerPane(150, 6);
            Dataset* caseRow = DM1->Cn1Query2;
            caseRow->close();
            caseRow->clearParams();
            caseRow->setSql(QStringLiteral("select * from tab_title where A1=:A1"));
            caseRow->setParam(QStringLiteral("A1"), questionId.left(16));
            caseRow->open();
            if (Re1->dataset() != caseRow)
                Re1->bind(caseRow, QStringLiteral("A15"));
            if (Re2->dataset() != content)
                Re2->bind(content, QStringLiteral("A15"));
        } else {
            setLowerPane(0, 0);
            if (Re2->dataset())
                Re2->unbind();
            if (Re1->dataset() != content)
                Re1->bind(content, QStringLiteral("A15"));
        }
    } catch (const std::exception&) {
        ShowDlg(QStringLiteral("错误"), QStringLiteral("无法打开试题！"), 1, QStringLiteral("NO"),
                2);
    }
}

void TFrmLxxt::PresentQuestion(int page, Dataset* list, Dataset* content) {
    const QString e2_1 = list->text(QStringLiteral("E2_1"));
    const ButtonStates s =
        StatesFor(!e2_1.isEmpty(), hasExplanation(content), list->text(QStringLiteral("k3")),
                  int(list->whole(QStringLiteral("A13"))), list->text(QStringLiteral("A14")));
    epEfTrBtn4->setEnabled(s.explanation);
    epEfTrBtn9->setEnabled(s.points);
    epEfTrBtn6->setEnabled(s.answer);
    epEfTrBtn5->setText(s.noteCaption);
    Notebook1->restore(page, e2_1, VisibleOptions(list->whole(QStringLiteral("A2_1"))));
}

void TFrmLxxt::JudgeAnswer(int recNo, int page, int groupStart, int groupEnd, Dataset* list,
                           Dataset* content, int mode) {
    if (recNo <= 0)
        return;
    list->setRecNo(recNo);
    const QString key = list->text(QStringLiteral("A2"));
    const QString answer = Notebook1->answerText(page);
    const int typeCode = int(list->whole(QStringLiteral("A13")));

    if (!answer.isEmpty()) {
        RowValues row;
        row.key = key;
        row.e2_1 = list->text(QStringLiteral("E2_1"));
        row.e2 = list->text(QStringLiteral("E2"));
        row.e1 = list->date(QStringLiteral("E1"));
        row.e3 = int(list->whole(QStringLiteral("E3")));
        row.e4 = int(list->whole(QStringLiteral("E4")));
        const QDate today = Clock::today();
        const Verdict v = Judge(row, answer, today);

        // The row and the counters of one answer are written together or not at all.
        Database& db = DM1->ADOCn1;
        std::unique_ptr<Transaction> tx;
        if (!db.inTransaction())
            tx = std::make_unique<Transaction>(db);
        list->edit();
        try {
            if (v.counted) {
                list->setValue(QStringLiteral("E3"), v.e3);
                list->setValue(QStringLiteral("E4"), v.e4);
                DM1->RecordAnswerInLog(v.firstToday, v.wrong, v.prevWrong);
                DM1->RecordAnswerInChapters(list->text(QStringLiteral("A10")), v.firstEver,
                                            v.wrong);
                QStringList slots;
                for (int k = 3; k <= 12; ++k)
                    slots << list->text(QStringLiteral("k%1").arg(k)).trimmed();
                const PointLists ids = PointIdLists(slots);
                if (!ids.isEmpty())
                    DM1->RecordAnswerInRules(ids.ruleIds, ids.chapterIds, ids.topIds, v.firstEver,
                                             v.wrong);
            }
            list->setValue(QStringLiteral("E2_1"), v.e2_1);
            list->setValue(QStringLiteral("E2"), v.e2);
            list->setValue(QStringLiteral("E1"), v.e1);
            list->post();
            if (tx)
                tx->commit();
        } catch (...) {
            list->cancel();
            throw;
        }

        const Face face = v.e2_1 == key ? Face::Right : Face::Wrong;
        if (mode == 1) {
            const ButtonStates s = StatesFor(true, hasExplanation(content),
                                             list->text(QStringLiteral("k3")), typeCode, QString());
            epEfTrBtn4->setEnabled(s.explanation);
            epEfTrBtn9->setEnabled(s.points);
            if (PictureButton* b = questionButton(ButtonOfRecord(recNo)))
                setDownFace(b, face);
            epEfTrBtn6->setEnabled(!IsSubjective(typeCode));
        } else if (mode == 0) {
            if (groupStart <= recNo && recNo <= groupEnd)
                setUpFace(
                    questionButtons[size_t(std::clamp(recNo - groupStart, 0, kGroupSize - 1))],
                    face);
        }
        return;
    }

    list->edit();
    try {
        list->setValue(QStringLiteral("E2_1"), QString());
        list->post();
    } catch (...) {
        list->cancel();
        throw;
    }
    if (mode == 1) {
        ShowDlg(QStringLiteral("提示"), QStringLiteral("请先做出答案！"), 1, QStringLiteral("NO"),
                1);
    } else if (mode == 0) {
        if (groupStart <= recNo && recNo <= groupEnd)
            setUpFace(questionButtons[size_t(std::clamp(recNo - groupStart, 0, kGroupSize - 1))],
                      Face::Unanswered);
    }
}

void TFrmLxxt::ToggleAnswerPanel() {
    const int full = Panel1->width() - 1;
    Panel2->setGeometry(Panel1->x() + 1, Panel1->y() + 1, Panel2->width(), Panel1->height() - 1);
    Panel2->raise();
    if (epEfTrBtn6->text() == kAnswerCaption) {
        epEfTrBtn6->setText(kBackCaption);
        for (int k = 1; Panel2->width() < full; ++k) {
            Panel2->resize(std::min(full, Panel2->width() + 20 * k), Panel2->height());
            QCoreApplication::processEvents();
        }
    } else {
        epEfTrBtn6->setText(kAnswerCaption);
        for (int k = 1; Panel2->width() > 0; ++k) {
            Panel2->resize(std::max(0, Panel2->width() - 20 * k), Panel2->height());
            QCoreApplication::processEvents();
        }
    }
}

// ---------------------------------------------------------------------------------------------

void TFrmLxxt::Timer1Timer() {
    if (epIndiGauge1->value() < 100) {
        epIndiGauge1->setValue(epIndiGauge1->value() + 1);
        return;
    }
    Timer1->stop();
    ShowDlg(QStringLiteral("提示"), QStringLiteral("到时间了"), 1, QStringLiteral("NO"), 1);
    guarded([] {
        Dataset* list = DM1->Cn1Query_tm;
        if (!list->active() || list->recNo() == 0)
            return;
        list->edit();
        list->setValue(QStringLiteral("csbs"), QStringLiteral("Y"));
        list->post();
    });
}

void TFrmLxxt::KZTimeCounter1Timer() {
    epLabel1->setText(KZTimeCounter1->text());
}

void TFrmLxxt::epEfTrBtn1Click() {
    Dataset* list = DM1->Cn1Query_tm;
    const int c = list->recNo();
    const int g = Lb_zb->text().toInt();
    const int p = c - 1;
    if (p >= GroupStart && p <= groupEnd()) {
        pressQuestionButton(p - (g - 1) * kGroupSize);
    } else if (p < GroupStart && g > 1) {
        FlatSpeedButton2->setEnabled(true);
        FlatSpeedButton1->setEnabled(g > 2);
        FillGroup(QStringLiteral("2"), Lb_ts->text().toInt(), list);
    }
}

void TFrmLxxt::epEfTrBtn2Click() {
    Dataset* list = DM1->Cn1Query_tm;
    const int c = list->recNo();
    const int g = Lb_zb->text().toInt();
    const int groups = Lb_zs->text().toInt();
    const int n = c + 1;
    if (n >= GroupStart && n <= groupEnd()) {
        pressQuestionButton(n - (g - 1) * kGroupSize);
    } else if (n > groupEnd() && g < groups) {
        FlatSpeedButton1->setEnabled(true);
        FlatSpeedButton2->setEnabled(groups - g > 1);
        FillGroup(QStringLiteral("3"), Lb_ts->text().toInt(), list);
    }
}

void TFrmLxxt::FlatSpeedButton1Click() {
    FlatSpeedButton2->setEnabled(true);
    FlatSpeedButton1->setEnabled(Lb_zb->text().toInt() > 2);
    FillGroup(QStringLiteral("2"), Lb_ts->text().toInt(), DM1->Cn1Query_tm);
}

void TFrmLxxt::FlatSpeedButton2Click() {
    FlatSpeedButton1->setEnabled(true);
    FlatSpeedButton2->setEnabled(Lb_zs->text().toInt() - Lb_zb->text().toInt() > 1);
    FillGroup(QStringLiteral("3"), Lb_ts->text().toInt(), DM1->Cn1Query_tm);
}

void TFrmLxxt::epEfTrBtn3Click() {
    Dataset* list = DM1->Cn1Query_tm;
    if (list->active() && list->recNo() >= 1)
        JudgeAnswer(list->recNo(), Notebook1->page(), GroupStart, groupEnd(), list,
                    DM1->cn1query_nr, 1);
}

void TFrmLxxt::epEfTrBtn6Click() {
    if (epEfTrBtn6->text() == kAnswerCaption) {
        const int page = Notebook1->page();
        const QString mine = PanelAnswerText(page, Notebook1->state(page));
        const QString key = PanelKeyText(page, DM1->Cn1Query_tm->text(QStringLiteral("A2")));
        Lb_answtip->setText(key == mine ? QStringLiteral("恭喜你，做对了！")
                                        : QStringLiteral("很遗憾，做错了，请继续努力！"));
        Memo1->setPlainText(mine);
        Memo2->setPlainText(key);
    }
    ToggleAnswerPanel();
}

void TFrmLxxt::epEfTrBtn10Click() {
    Dataset* list = DM1->Cn1Query_tm;
    if (!list->active() || list->isEmpty() || list->recNo() == 0)
        return;
    if (epEfTrBtn10->text() == kVoidCaption) {
        list->edit();
        list->setValue(QStringLiteral("f1"), 1);
        list->setValue(QStringLiteral("E2"), QStringLiteral("zero"));
        list->post();
        Label21->setText(QStringLiteral("本题已被您作废！"));
        epEfTrBtn10->setText(kUnvoidCaption);
    } else {
        list->edit();
        list->setValue(QStringLiteral("f1"), 0);
        list->post();
        Label21->setText(QStringLiteral("本题曾被作废，现已被您取消！"));
        epEfTrBtn10->setText(kVoidCaption);
    }
}

void TFrmLxxt::epEfTrBtn4Click() {
    ScreenCursor::hourglass();
    TFrmJx window(this);
    window.BindExplanation(DM1->cn1query_nr, DM1->cn1query_nr, QStringLiteral("jx"));
    window.exec();
    ScreenCursor::normal();
}

void TFrmLxxt::epEfTrBtn5Click() {
    {
        TFrmBj window(this);
        window.BindNote(DM1->Cn1Query_tm, QStringLiteral("A14"));
        window.exec();
    }
    epEfTrBtn5->setText(App::NoteHasContent ? QStringLiteral("有内容") : QStringLiteral("笔记"));
}

void TFrmLxxt::epEfTrBtn9Click() {
    if (!WindowRegistry::has(WindowNames::QuestionPoints))
        return;
    WindowRegistry::open(WindowNames::QuestionPoints, this,
                         DM1->Cn1Query_tm->text(QStringLiteral("A1")));
    if (!isVisible())
        show();
}

void TFrmLxxt::epEfTrBtn11Click() {
    if (!WindowRegistry::has(WindowNames::EditQuestion))
        return;
    Timer1->stop();
    WindowRegistry::open(WindowNames::EditQuestion, this,
                         DM1->Cn1Query_tm->text(QStringLiteral("A1")));
}

void TFrmLxxt::epEfTrBtn8Click() {
    if (!WindowRegistry::has(WindowNames::Settings))
        return;
    App::ConfigMode = 0;
    WindowRegistry::open(WindowNames::Settings, this);
}

void TFrmLxxt::epEfTrBtn7Click() {
    Platform::desktop().showDesktop();
}

void TFrmLxxt::epEfTrBtn99Click() {
    close();
}

// ---------------------------------------------------------------------------------------------

void TFrmLxxt::done(int result) {
    if (!closeQueried_) {
        closeQueried_ = true;
        guarded([this] { FormCloseQuery(); });
    }
    QDialog::done(result);
}

void TFrmLxxt::FormCloseQuery() {
    ScreenCursor::hourglass();
    Timer1->stop();
    KZTimeCounter1->stop();
    const QString elapsed = KZTimeCounter1->text();
    RxGIFAnimator1->stop();
    try {
        Dataset* list = DM1->Cn1Query_tm;
        if (list->active() && list->recNo() >= 1)
            JudgeAnswer(list->recNo(), Notebook1->page(), GroupStart, groupEnd(), list,
                        DM1->cn1query_nr, 2);
        DM1->AddStudyTime(elapsed);
    } catch (...) {
        // What is left to close is closed all the same; the error is reported by the caller.
        DM1->Cn1Query1->close();
        DM1->Cn1Query2->close();
        DM1->Cn1Query_tm->close();
        DM1->Cn1Table_cj->close();
        DM1->Cn1Table_tx->close();
        ScreenCursor::normal();
        throw;
    }
    Re1->unbind();
    Re2->unbind();
    DM1->Cn1Query1->close();
    DM1->Cn1Query2->close();
    DM1->Cn1Query_tm->close();
    DM1->Cn1Table_cj->close();
    DM1->Cn1Table_tx->close();
    facePictures_.clear();
    ScreenCursor::normal();
}

void TFrmLxxt::keyPressEvent(QKeyEvent* event) {
    int key = 0;
    switch (event->key()) {
    case Qt::Key_Backspace:
        key = 8;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        key = 13;
        break;
    case Qt::Key_Escape:
        event->accept(); // the window closes only through 关闭
        return;
    default:
        if (event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z)
            key = event->key();
        break;
    }
    if (key == 0) {
        QDialog::keyPressEvent(event);
        return;
    }
    guarded([&] { FormKeyDown(key); });
    event->accept();
}

void TFrmLxxt::FormKeyDown(int key) {
    const int page = Notebook1->page();
    if (page != PageSingle && page != PageMultiple)
        return;
    if (key == 8) {
        if (epEfTrBtn1->isEnabled())
            epEfTrBtn1Click();
    } else if (key == 13) {
        if (epEfTrBtn2->isEnabled())
            epEfTrBtn2Click();
    } else if (key >= 65 && key <= 70) {
        Notebook1->pressOptionKey(key - 65);
    }
}

void TFrmLxxt::Notebook1MouseMove() {
    Notebook1->setToolTip(AnswerPad::HintText(Notebook1->page()));
    Notebook1->setAttribute(Qt::WA_AlwaysShowToolTips, true);
}

bool TFrmLxxt::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel1 && event->type() == QEvent::Resize) {
        layoutPanel1();
    } else if (event->type() == QEvent::MouseMove && watched->isWidgetType() &&
               (watched == Notebook1 || Notebook1->isAncestorOf(static_cast<QWidget*>(watched)))) {
        Notebook1MouseMove();
    }
    return QDialog::eventFilter(watched, event);
}
