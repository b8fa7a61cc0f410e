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
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <algorithm>

using namespace Question;

namespace {

const QString kAnswerCaption = QStringLiteral("答案");
const QString kBackCaption = QStringLiteral("返回");

// Where everything sits in one of the two layouts.
struct Geometry {
    QSize window;
    QRect hint, line, notice, modified, pane, gauge, settings, desktop, clockLabel, clock,
        animation, typeBoard, typeTabs, questionBoard, questionButtons;
    QPoint counters;  // left and top of 共 x 组 y 道题
    int countersTop2; // top of 第 z 组
    QRect prevGroup, nextGroup, pad, prevQuestion, nextQuestion;
    int rowTops[2];  // 完成 答案 解析 笔记 over 考点 修改本题 题目作废 关闭
    int rowLefts[4]; // each 75 by 25
};

// The small layout for 800 x 600 screens.
const Geometry kSmall = {
    QSize(780, 490),           QRect(21, 4, 420, 17),     QRect(21, 22, 150, 18),
    QRect(175, 22, 200, 18),   QRect(380, 22, 200, 18),   QRect(21, 42, 590, 384),
    QRect(613, 42, 8, 384),    QRect(624, 6, 71, 25),     QRect(697, 6, 71, 25),
    QRect(628, 38, 36, 18),    QRect(668, 38, 90, 18),    QRect(625, 58, 140, 30),
    QRect(628, 93, 137, 18),   QRect(625, 112, 140, 103), QRect(628, 221, 137, 18),
    QRect(625, 241, 140, 112), QPoint(625, 358),          378,
    QRect(628, 400, 65, 25),   QRect(698, 400, 65, 25),   QRect(96, 437, 273, 46),
    QRect(11, 438, 75, 45),    QRect(376, 438, 75, 46),   {435, 461},
    {463, 538, 613, 688},
};

// The design layout, for every other screen.
const Geometry kLarge = {
    QSize(923, 585),           QRect(25, 6, 560, 18),     QRect(25, 27, 160, 18),
    QRect(190, 27, 220, 18),   QRect(420, 27, 220, 18),   QRect(25, 50, 718, 468),
    QRect(747, 50, 10, 468),   QRect(766, 8, 71, 25),     QRect(839, 8, 71, 25),
    QRect(770, 44, 36, 18),    QRect(810, 44, 100, 18),   QRect(766, 66, 140, 36),
    QRect(770, 108, 137, 18),  QRect(766, 128, 140, 110), QRect(770, 246, 137, 18),
    QRect(766, 266, 140, 112), QPoint(766, 390),          412,
    QRect(769, 440, 65, 25),   QRect(839, 440, 65, 25),   QRect(97, 527, 276, 50),
    QRect(15, 530, 75, 45),    QRect(380, 530, 75, 45),   {527, 552},
    {600, 675, 750, 825},
};

const Geometry& geometryFor(const QString& screenMode) {
    return screenMode == QLatin1String("800") ? kSmall : kLarge;
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

void openContentRow(Dataset* content, const QString& id) {
    content->close();
    content->clearParams();
    content->setSql(QStringLiteral("select * from tab_exer where A1=:A1"));
    content->setParam(QStringLiteral("A1"), id);
    content->open();
}

} // namespace

// ---------------------------------------------------------------------------------------------

TFrmLxxt::TFrmLxxt(QWidget* owner)
    : QDialog(owner), session_(*DM1, DM1->Cn1Query_tm), CurrentRecNo(session_.currentRecNo),
      GroupStart(session_.group().start), GroupCount(session_.group().count) {
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

void TFrmLxxt::wire(EffectButton* b, void (TFrmLxxt::*handler)()) {
    connect(b, &QAbstractButton::clicked, this,
            [this, handler] { Dialogs::guarded([&] { (this->*handler)(); }); });
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

    Panel1 = new QuestionPane({}, this);
    Re1 = Panel1->upper();
    FlatSplitter1 = Panel1->splitter();
    Re2 = Panel1->lower();
    Panel2 = new AnswerPanel({}, Panel1, this);
    Lb_answtip = Panel2->verdict();
    Memo1 = Panel2->mine();
    Memo2 = Panel2->key();

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

    const auto board = [this](const char* name, int hSpacing, int vSpacing) {
        auto* w = new QWidget(this);
        w->setObjectName(QString::fromLatin1(name));
        auto* grid = new QGridLayout(w);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->setHorizontalSpacing(hSpacing);
        grid->setVerticalSpacing(vSpacing);
        grid->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        auto* group = new QButtonGroup(this);
        group->setObjectName(QString::fromLatin1(name) + QStringLiteral("Group"));
        group->setExclusive(true);
        return std::pair{w, group};
    };
    epLabel4 = makeLabel(this, QStringLiteral("epLabel4"), QStringLiteral("题型指示板"));
    std::tie(fcBG_tx, fcBG_txGroup) = board("fcBG_tx", 2, 1);
    connect(fcBG_txGroup, &QButtonGroup::buttonToggled, this,
            [this](QAbstractButton* b, bool checked) {
                onTypeTabToggled(static_cast<PictureButton*>(b), checked);
            });

    epLabel3 = makeLabel(this, QStringLiteral("epLabel3"), QStringLiteral("题目指示板"));
    std::tie(fcBG_th, fcBG_thGroup) = board("fcBG_th", 0, 4);
    auto* thGrid = static_cast<QGridLayout*>(fcBG_th->layout());
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
                    Dialogs::guarded([this] { fcBG_thChange(); });
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

    const auto button = [this](const char* name, const QString& caption,
                               void (TFrmLxxt::*handler)()) {
        auto* b = new EffectButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setDefault(false);
        wire(b, handler);
        return b;
    };
    const PracticeConfig& c = session_.config();
    FlatSpeedButton1 =
        button("FlatSpeedButton1", QStringLiteral("<-上一组"), &TFrmLxxt::FlatSpeedButton1Click);
    FlatSpeedButton2 =
        button("FlatSpeedButton2", QStringLiteral("下一组->"), &TFrmLxxt::FlatSpeedButton2Click);
    epEfTrBtn1 = button("epEfTrBtn1", QStringLiteral("上一题"), &TFrmLxxt::epEfTrBtn1Click);
    epEfTrBtn2 = button("epEfTrBtn2", QStringLiteral("下一题"), &TFrmLxxt::epEfTrBtn2Click);
    epEfTrBtn3 = button("epEfTrBtn3", QStringLiteral("完成"), &TFrmLxxt::epEfTrBtn3Click);
    epEfTrBtn4 = button("epEfTrBtn4", QStringLiteral("解析"), &TFrmLxxt::epEfTrBtn4Click);
    epEfTrBtn5 = button("epEfTrBtn5", QStringLiteral("笔记"), &TFrmLxxt::epEfTrBtn5Click);
    epEfTrBtn6 = button("epEfTrBtn6", kAnswerCaption, &TFrmLxxt::epEfTrBtn6Click);
    epEfTrBtn7 = button("epEfTrBtn7", QStringLiteral("桌面"), &TFrmLxxt::epEfTrBtn7Click);
    epEfTrBtn8 = button("epEfTrBtn8", QStringLiteral("设置"), &TFrmLxxt::epEfTrBtn8Click);
    epEfTrBtn9 = button("epEfTrBtn9", QStringLiteral("考点"), &TFrmLxxt::epEfTrBtn9Click);
    epEfTrBtn10 = button("epEfTrBtn10", c.voidCaption, &TFrmLxxt::epEfTrBtn10Click);
    epEfTrBtn11 = button("epEfTrBtn11", QStringLiteral("修改本题"), &TFrmLxxt::epEfTrBtn11Click);
    epEfTrBtn99 = button("epEfTrBtn99", QStringLiteral("关闭"), &TFrmLxxt::epEfTrBtn99Click);
    voidToggle_ = {epEfTrBtn10, Label21};
    QFont big = base;
    big.setPointSize(11);
    big.setBold(true);
    epEfTrBtn1->setFont(big);
    epEfTrBtn2->setFont(big);

    LayOut();
}

void TFrmLxxt::LayOut() {
    const Geometry& g = geometryFor(App::ScreenMode);
    setFixedSize(g.window);
    const std::pair<QWidget*, QRect> placed[] = {
        {epLabel2, g.hint},
        {findChild<QWidget*>(QStringLiteral("QuestionLine")), g.line},
        {Label21, g.notice},
        {Label24, g.modified},
        {Panel1, g.pane},
        {epIndiGauge1, g.gauge},
        {epEfTrBtn8, g.settings},
        {epEfTrBtn7, g.desktop},
        {Label1, g.clockLabel},
        {epLabel1, g.clock},
        {RxGIFAnimator1, g.animation},
        {epLabel4, g.typeBoard},
        {fcBG_tx, g.typeTabs},
        {epLabel3, g.questionBoard},
        {fcBG_th, g.questionButtons},
        {FlatSpeedButton1, g.prevGroup},
        {FlatSpeedButton2, g.nextGroup},
        {Notebook1, g.pad},
        {epEfTrBtn1, g.prevQuestion},
        {epEfTrBtn2, g.nextQuestion},
    };
    for (const auto& [w, r] : placed)
        w->setGeometry(r);
    // 共 x 组 y 道题 over 第 z 组, in the 140-pixel column.
    int x = g.counters.x();
    const auto place = [&x](QLabel* l, int top, int width) {
        l->setGeometry(x, top, width, 18);
        x += width;
    };
    for (const auto& [l, width] :
         {std::pair{Label2, 16}, {Lb_zs, 26}, {Label4, 16}, {Lb_ts, 34}, {Label6, 34}})
        place(l, g.counters.y(), width);
    x = g.counters.x() + 32;
    for (const auto& [l, width] : {std::pair{Label7, 16}, {Lb_zb, 26}, {Label9, 16}})
        place(l, g.countersTop2, width);
    EffectButton* rows[2][4] = {{epEfTrBtn3, epEfTrBtn6, epEfTrBtn4, epEfTrBtn5},
                                {epEfTrBtn9, epEfTrBtn11, epEfTrBtn10, epEfTrBtn99}};
    for (int r = 0; r < 2; ++r) {
        for (int i = 0; i < 4; ++i)
            rows[r][i]->setGeometry(g.rowLefts[i], g.rowTops[r], 75, 25);
    }
    Panel2->follow();
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

void TFrmLxxt::failPictures() {
    picturesMissing_ = true;
    ShowDlg(QStringLiteral("错误"), QStringLiteral("无法提取资源文件！"), 1, QStringLiteral("NO"),
            2);
    ProgramEnd::request();
}

void TFrmLxxt::FormCreate() {
    background_.load(App::AppPath + QStringLiteral("pic/bg_window.png"));
    if (!faces_.load(App::AppPath)) {
        failPictures();
        return;
    }
    for (PictureButton* b : questionButtons)
        faces_.set(b, Face::Unanswered, Face::Unanswered);
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
    if (!session_.load(App::PracticeQuerySql))
        return false;
    Dataset* list = session_.list();
    App::FirstQuestionId = list->text(QStringLiteral("a1"));

    if (!LoadPictures(App::AppPath, TypeTabPictures(), tabPictures_)) {
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
        session_.applyTypeFilter(PracticeSession::FilterFor(code));
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
        Dialogs::guarded([this] { FormShow(); });
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
    openContentRow(DM1->cn1query_nr, App::FirstQuestionId);
    Panel1->setLowerPane(0, 0);
    closeAnswerPanelNow();

    epLabel2->setText(App::ChapterHeading);
    session_.currentRecNo = 0;
    if (!typeTabs.isEmpty())
        pressTypeTab(typeTabs.first());

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
    Dialogs::guarded([&] { fcBG_txChange(old, tab); });
}

void TFrmLxxt::fcBG_txChange(PictureButton* oldTab, PictureButton* newTab) {
    if (!newTab)
        return;
    Dataset* list = session_.list();
    if (CurrentRecNo > 0) {
        const int recNo = CurrentRecNo;
        session_.currentRecNo = 0;
        JudgeAnswer(recNo, Notebook1->page(), GroupStart, groupEnd(), list, DM1->cn1query_nr, 2);
    }
    const int t = newTab->tag();
    if (session_.config().subjectiveLabelFollowsTab)
        Notebook1->setSubjectiveCaption(t != 0 ? newTab->text() : QStringLiteral("主观"));
    ApplyTypeFilter(PracticeSession::FilterFor(t), list);
    if (session_.total() > 0) {
        FillGroup(QStringLiteral("1"), session_.total(), list);
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

void TFrmLxxt::ApplyTypeFilter(const QString& filterText, Dataset*) {
    session_.applyTypeFilter(filterText);
}

void TFrmLxxt::showGroupCounters() {
    Lb_zs->setText(QString::number(session_.groupTotal()));
    Lb_ts->setText(QString::number(session_.totalAtFirstGroup()));
    Lb_zb->setText(QString::number(session_.groupNumber()));
    FlatSpeedButton1->setEnabled(session_.previousGroupEnabled());
    FlatSpeedButton2->setEnabled(session_.nextGroupEnabled());
}

void TFrmLxxt::FillGroup(const QString& mode, int, Dataset*) {
    if (mode == QLatin1String("1"))
        session_.firstGroup();
    else if (mode == QLatin1String("2"))
        session_.previousGroup();
    else if (mode == QLatin1String("3"))
        session_.nextGroup();
    showGroupCounters();
    for (int i = 0; i < kGroupSize; ++i) {
        PictureButton* b = questionButtons[size_t(i)];
        const int recNo = GroupStart + i;
        if (i < GroupCount && session_.list()->setRecNo(recNo)) {
            b->setEnabled(true);
            b->setTag(recNo);
            const Face face = session_.faceOf(recNo);
            faces_.set(b, face, face);
        } else {
            b->setEnabled(false);
            b->setTag(0);
            faces_.set(b, Face::Unanswered, Face::Unanswered);
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
    Panel2->closeNow();
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
    epEfTrBtn1->setEnabled(session_.previousQuestionEnabled(r));
    epEfTrBtn2->setEnabled(session_.nextQuestionEnabled(r));
    GoToQuestion(CurrentRecNo, r, GroupStart, groupEnd(), session_.list(), DM1->cn1query_nr);
    const PracticeSession::Notices n = session_.noticesOfCurrent();
    voidToggle_.show(n);
    Label24->setText(n.modified);
}

void TFrmLxxt::GoToQuestion(int oldRecNo, int recNo, int groupStart, int groupEnd, Dataset* list,
                            Dataset* content) {
    JudgeAnswer(oldRecNo, Notebook1->page(), groupStart, groupEnd, list, content, 0);
    session_.currentRecNo = recNo;
    list->setRecNo(recNo);
    openContentRow(content, list->text(QStringLiteral("a1")));

    const qint64 e3 = list->whole(QStringLiteral("E3"));
    Label15->setText(e3 > 0 ? QString::number(e3 + 1) : QStringLiteral("1"));
    Label12->setText(QString::number(recNo - GroupStart + 1));

    Notebook1->selectPage(TypePage(int(list->whole(QStringLiteral("A13")))));
    PresentQuestion(Notebook1->page(), list, content);
    ShowStem(list->text(QStringLiteral("A1")));

    if (PictureButton* b = questionButton(ButtonOfRecord(recNo)))
        faces_.setDown(
            b, FaceFor(list->text(QStringLiteral("E2_1")), list->text(QStringLiteral("A2"))));

    const int v = session_.answerTimerInterval(App::TypeCodes, App::TypeTimes);
    epIndiGauge1->setValue(0);
    Timer1->stop();
    if (v > 0) {
        Timer1->setInterval(v);
        Timer1->start();
    }
}

void TFrmLxxt::ShowStem(const QString& questionId) {
    Panel1->ShowStem(questionId, DM1->cn1query_nr, DM1->Cn1Query2);
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
    const PracticeSession::Outcome out =
        session_.record(recNo, Notebook1->answerText(page), Clock::today());
    const bool inGroup = groupStart <= recNo && recNo <= groupEnd;
    PictureButton* leaving =
        inGroup ? questionButtons[size_t(std::clamp(recNo - groupStart, 0, kGroupSize - 1))]
                : nullptr;
    if (!out.answered) {
        if (mode == 1)
            ShowDlg(QStringLiteral("提示"), session_.config().noAnswerText, 1, QStringLiteral("NO"),
                    1);
        else if (mode == 0 && leaving)
            faces_.setUp(leaving, Face::Unanswered);
        return;
    }
    if (mode == 1) {
        const int typeCode = int(list->whole(QStringLiteral("A13")));
        const ButtonStates s = StatesFor(true, hasExplanation(content),
                                         list->text(QStringLiteral("k3")), typeCode, QString());
        epEfTrBtn4->setEnabled(s.explanation);
        epEfTrBtn9->setEnabled(s.points);
        if (PictureButton* b = questionButton(ButtonOfRecord(recNo)))
            faces_.setDown(b, out.face);
        epEfTrBtn6->setEnabled(!IsSubjective(typeCode));
    } else if (mode == 0 && leaving) {
        faces_.setUp(leaving, out.face);
    }
}

void TFrmLxxt::ToggleAnswerPanel() {
    const bool open = epEfTrBtn6->text() == kAnswerCaption;
    epEfTrBtn6->setText(open ? kBackCaption : kAnswerCaption);
    Panel2->slide(open);
}

// ---------------------------------------------------------------------------------------------

void TFrmLxxt::Timer1Timer() {
    if (epIndiGauge1->value() < 100) {
        epIndiGauge1->setValue(epIndiGauge1->value() + 1);
        return;
    }
    Timer1->stop();
    ShowDlg(QStringLiteral("提示"), QStringLiteral("到时间了"), 1, QStringLiteral("NO"), 1);
    Dialogs::guarded([this] { session_.markTimeUp(); });
}

void TFrmLxxt::KZTimeCounter1Timer() {
    epLabel1->setText(KZTimeCounter1->text());
}

void TFrmLxxt::epEfTrBtn1Click() {
    const PracticeSession::Step step = session_.previousQuestion(session_.list()->recNo());
    if (step.kind == PracticeSession::Step::Button)
        pressQuestionButton(step.button);
    else if (step.kind == PracticeSession::Step::Group)
        FillGroup(QStringLiteral("0"), 0, nullptr); // the session has moved to the group
}

void TFrmLxxt::epEfTrBtn2Click() {
    const PracticeSession::Step step = session_.nextQuestion(session_.list()->recNo());
    if (step.kind == PracticeSession::Step::Button)
        pressQuestionButton(step.button);
    else if (step.kind == PracticeSession::Step::Group)
        FillGroup(QStringLiteral("0"), 0, nullptr);
}

void TFrmLxxt::FlatSpeedButton1Click() {
    FillGroup(QStringLiteral("2"), 0, nullptr);
}

void TFrmLxxt::FlatSpeedButton2Click() {
    FillGroup(QStringLiteral("3"), 0, nullptr);
}

void TFrmLxxt::epEfTrBtn3Click() {
    Dataset* list = session_.list();
    if (list->active() && list->recNo() >= 1)
        JudgeAnswer(list->recNo(), Notebook1->page(), GroupStart, groupEnd(), list,
                    DM1->cn1query_nr, 1);
}

void TFrmLxxt::epEfTrBtn6Click() {
    if (epEfTrBtn6->text() == kAnswerCaption) {
        const int page = Notebook1->page();
        Panel2->setAnswer(PanelAnswerText(page, Notebook1->state(page)),
                          PanelKeyText(page, session_.list()->text(QStringLiteral("A2"))));
    }
    ToggleAnswerPanel();
}

void TFrmLxxt::epEfTrBtn10Click() {
    const PracticeSession::Notices n = session_.toggleVoid(epEfTrBtn10->text());
    if (!n.voidCaption.isEmpty())
        voidToggle_.show(n);
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
        window.BindNote(session_.list(), QStringLiteral("A14"));
        window.exec();
    }
    epEfTrBtn5->setText(App::NoteHasContent ? QStringLiteral("有内容") : QStringLiteral("笔记"));
}

void TFrmLxxt::epEfTrBtn9Click() {
    if (!WindowRegistry::has(WindowNames::QuestionPoints))
        return;
    WindowRegistry::open(WindowNames::QuestionPoints, this,
                         session_.list()->text(QStringLiteral("A1")));
    if (!isVisible())
        show();
}

void TFrmLxxt::epEfTrBtn11Click() {
    if (!WindowRegistry::has(WindowNames::EditQuestion))
        return;
    Timer1->stop();
    WindowRegistry::open(WindowNames::EditQuestion, this,
                         session_.list()->text(QStringLiteral("A1")));
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
        Dialogs::guarded([this] { FormCloseQuery(); });
    }
    QDialog::done(result);
}

void TFrmLxxt::FormCloseQuery() {
    ScreenCursor::hourglass();
    Timer1->stop();
    KZTimeCounter1->stop();
    const QString elapsed = KZTimeCounter1->text();
    RxGIFAnimator1->stop();
    const auto closeShared = [] {
        for (Dataset* ds :
             {DM1->Cn1Query1, DM1->Cn1Query2, DM1->Cn1Query_tm, DM1->Cn1Table_cj, DM1->Cn1Table_tx})
            ds->close();
    };
    try {
        Dataset* list = session_.list();
        if (list->active() && list->recNo() >= 1)
            JudgeAnswer(list->recNo(), Notebook1->page(), GroupStart, groupEnd(), list,
                        DM1->cn1query_nr, 2);
        DM1->AddStudyTime(elapsed);
    } catch (...) {
        // What is left to close is closed all the same; the error is reported by the caller.
        closeShared();
        ScreenCursor::normal();
        throw;
    }
    Panel1->unbind();
    closeShared();
    faces_.clear();
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
    Dialogs::guarded([&] { FormKeyDown(key); });
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
    if (event->type() == QEvent::MouseMove && watched->isWidgetType() &&
        (watched == Notebook1 || Notebook1->isAncestorOf(static_cast<QWidget*>(watched))))
        Notebook1MouseMove();
    return QDialog::eventFilter(watched, event);
}
