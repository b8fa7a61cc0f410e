#include "exam/exam_history.h"

#include "exam/exam_window.h"
#include "exam/paper.h"
#include "widgets/dataset_table_model.h"
#include "widgets/effect_button.h"
#include "widgets/window_art.h"
#include "widgets/window_registry.h"

#include "platform/dialogs.h"
#include "platform/progress.h"
#include "platform/screen_cursor.h"
#include "store/app_state.h"
#include "store/data_module.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QLCDNumber>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QTableView>

namespace {

// Where everything sits in one of the two layouts.
struct Geometry {
    QSize window;
    QRect picture; // the background picture of the layout
    QRect grid;
    int firstColumn;
    int otherColumns;
    QRect labels[3];  // Label1..Label3
    QRect numbers[3]; // epNumPanel1..epNumPanel3
    QRect tip;        // Lbtip
    QRect buttons[4]; // SpeedButton1..SpeedButton4
    QRect panel;      // the board the figures are framed on
};

// The small layout for 800 x 600 screens. Its picture is larger than the window and shifted one
// pixel to the left; the notice lies below the window's edge there, so only the design layout
// shows it.
const Geometry kSmall = {
    QSize(760, 479),
    QRect(-1, 0, 937, 617),
    QRect(83, 100, 476, 284),
    310,
    65,
    {QRect(600, 120, 56, 20), QRect(600, 208, 56, 20), QRect(600, 296, 56, 20)},
    {QRect(592, 144, 73, 41), QRect(592, 232, 73, 41), QRect(592, 320, 73, 41)},
    QRect(90, 395, 380, 18), // under the list: the design place (57, 512) lies below the window
    {QRect(470, 415, 68, 29), QRect(113, 421, 69, 30), QRect(544, 415, 68, 29),
     QRect(188, 421, 69, 30)},
    QRect(580, 90, 97, 294),
};

// The design layout, for every other screen.
const Geometry kLarge = {
    QSize(935, 612),
    QRect(0, 0, 935, 612),
    QRect(102, 123, 585, 350),
    388,
    80,
    {QRect(738, 148, 70, 22), QRect(738, 256, 70, 22), QRect(738, 364, 70, 22)},
    {QRect(728, 177, 90, 50), QRect(728, 285, 90, 50), QRect(728, 393, 90, 50)},
    QRect(102, 484, 420, 20),
    {QRect(578, 511, 84, 36), QRect(139, 518, 85, 37), QRect(669, 511, 84, 36),
     QRect(231, 518, 85, 37)},
    QRect(714, 112, 118, 361),
};

bool smallScreen() {
    return App::ScreenMode == QLatin1String("800");
}

const Geometry& geometryFor(const QString& screenMode) {
    return screenMode == QLatin1String("800") ? kSmall : kLarge;
}

// The background of one layout: a title band, the list framed under 试卷, the figures framed on
// a board and a plate under each button.
QPixmap drawBackground(const Geometry& g) {
    QPixmap pm(g.picture.size());
    pm.fill(QColor(246, 241, 230));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // The picture's origin is the window's (picture.topLeft()).
    p.translate(-g.picture.topLeft());

    WindowArt::PaintPaper(p, QRect(QPoint(0, 0), g.window));

    WindowArt::PaintTitleBand(p, QRect(0, 0, g.window.width(), g.grid.top() - 40),
                              QStringLiteral("考试记录"), g.window.width() > 800 ? 26 : 22);
    WindowArt::PaintTitledFrame(p, g.grid.adjusted(-10, -22, 10, 10), QStringLiteral("试卷"), 64);
    WindowArt::PaintTitledFrame(p, g.panel, QStringLiteral("统计"), 64);

    for (const QRect& b : g.buttons)
        WindowArt::PaintButtonPlate(p, b);
    return pm;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    QLabel* l = WindowArt::MakeLabel(parent, name, text);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

EffectButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* b = EffectButton::Make(parent, name, caption);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

const QString kDeleteQuestion = QStringLiteral("即将删除试卷，要继续么？");

} // namespace

TFrmCheck::TFrmCheck(QWidget* owner)
    : StepAsideDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FrmCheck"));
    setWindowTitle(QStringLiteral("查阅试卷"));
    setModal(true);
    WindowArt::UseWindowFont(this);

    Image1 = WindowArt::MakePicture(this, "Image1", drawBackground(kSmall));
    Image2 = WindowArt::MakePicture(this, "Image2", drawBackground(kLarge));

    DBGrid1 = WindowArt::MakeGrid(this, "DBGrid1");
    DBGrid1->verticalHeader()->hide();
    DBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const auto centre = Qt::AlignCenter;
    DBGrid1Model = new DatasetTableModel(DM1 ? DM1->Cn1Table_cj : nullptr,
                                         {{QStringLiteral("A3"), QStringLiteral("试卷名称")},
                                          {QStringLiteral("A6"), QStringLiteral("成绩"), centre},
                                          {QStringLiteral("D2"), QStringLiteral("用时"), centre}},
                                         this);
    DBGrid1->setModel(DBGrid1Model);
    connect(DBGrid1Model, &DatasetTableModel::currentRowChanged, this,
            &TFrmCheck::FollowDatasetRow);
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            Dialogs::guardedSlot(this, &TFrmCheck::FollowGridRow));
    connect(DBGrid1, &QTableView::doubleClicked, this,
            Dialogs::guardedSlot(this, &TFrmCheck::epEfTrBtn1Click));

    Label1 = makeLabel(this, "Label1", QStringLiteral("考试次数"));
    Label2 = makeLabel(this, "Label2", QStringLiteral("及格次数"));
    Label3 = makeLabel(this, "Label3", QStringLiteral("平均成绩"));
    epNumPanel1 = WindowArt::MakeFigure(this, "epNumPanel1", 3);
    epNumPanel2 = WindowArt::MakeFigure(this, "epNumPanel2", 3);
    epNumPanel3 = WindowArt::MakeFigure(this, "epNumPanel3", 3);
    Lbtip = new QLabel(this);
    Lbtip->setObjectName(QStringLiteral("Lbtip"));
    Lbtip->setStyleSheet(QStringLiteral("color: #b0281c; background: transparent;"));

    SpeedButton1 = makeButton(this, "SpeedButton1", QStringLiteral("设置"));
    SpeedButton2 = makeButton(this, "SpeedButton2", QStringLiteral("查阅"));
    SpeedButton3 = makeButton(this, "SpeedButton3", QStringLiteral("关闭"));
    SpeedButton4 = makeButton(this, "SpeedButton4", QStringLiteral("删除"));
    connect(SpeedButton1, &QPushButton::clicked, this,
            Dialogs::guardedSlot(this, &TFrmCheck::epEfButton3Click));
    connect(SpeedButton2, &QPushButton::clicked, this,
            Dialogs::guardedSlot(this, &TFrmCheck::epEfTrBtn1Click));
    connect(SpeedButton3, &QPushButton::clicked, this, &TFrmCheck::epEfTrBtn2Click);
    connect(SpeedButton4, &QPushButton::clicked, this,
            Dialogs::guardedSlot(this, &TFrmCheck::SpeedButton4Click));

    LayOut();
}

TFrmCheck::~TFrmCheck() = default;

void TFrmCheck::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Dialogs::guarded([this] { FormShow(); });
}

void TFrmCheck::done(int result) {
    Dialogs::guarded([this] { FormCloseQuery(); });
    StepAsideDialog::done(result);
}

void TFrmCheck::LayOut() {
    const bool small = smallScreen();
    const Geometry& g = geometryFor(App::ScreenMode);
    setFixedSize(g.window);
    Image1->setGeometry(kSmall.picture);
    Image2->setGeometry(kLarge.picture);
    Image1->setVisible(small);
    Image2->setVisible(!small);
    Image1->lower();
    Image2->lower();

    DBGrid1->setGeometry(g.grid);
    QLabel* labels[] = {Label1, Label2, Label3};
    QLCDNumber* numbers[] = {epNumPanel1, epNumPanel2, epNumPanel3};
    for (int i = 0; i < 3; ++i) {
        labels[i]->setGeometry(g.labels[i]);
        numbers[i]->setGeometry(g.numbers[i]);
    }
    Lbtip->setGeometry(g.tip);
    EffectButton* buttons[] = {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4};
    for (int i = 0; i < 4; ++i)
        buttons[i]->setGeometry(g.buttons[i]);
}

void TFrmCheck::FormShow() {
    LayOut();
    if (!DM1)
        return;
    ScreenCursor::hourglass();
    for (QLCDNumber* n : {epNumPanel1, epNumPanel2, epNumPanel3})
        n->display(0);
    try {
        Lbtip->setText(QStringLiteral("[提示]：成绩少于 ") +
                       QString::number(Paper::LeastMark(*DM1)) +
                       QStringLiteral(" 分的试卷，不被保留。"));

        Dataset* cj = DM1->Cn1Table_cj;
        if (!cj->active())
            cj->open();
        cj->sort(QStringLiteral("A3_1"), Qt::DescendingOrder);
        if (cj->recordCount() > 0)
            epNumPanel1->display(cj->recordCount());

        // Passed: a score of at least the pass line; a paper never graded has no score.
        const int line = PassLine(Paper::FullMarks(*DM1));
        cj->setFilter([line](const RowRef& r) {
            const QString a6 = QStringLiteral("A6");
            return !r.isNull(a6) && r.value(a6).toDouble() >= line;
        });
        cj->setFiltered(true);
        if (cj->recordCount() > 0)
            epNumPanel2->display(cj->recordCount());
        cj->clearFilter(); // filtering stays on with no filter: every row shows

        // The mean of the scores the register holds (rows without a score do not count).
        Dataset* q = DM1->Cn1Query1;
        q->close();
        q->setSql(QStringLiteral("select avg(A6) as avg_fs from tab_cj"));
        q->open();
        epNumPanel3->display(qRound(q->real(QStringLiteral("avg_fs"))));
        q->close();

        QHeaderView* columns = DBGrid1->horizontalHeader();
        const bool large = App::ScreenMode == QLatin1String("1024");
        columns->resizeSection(0, large ? kLarge.firstColumn : kSmall.firstColumn);
        for (int c = 1; c < 3; ++c)
            columns->resizeSection(c, large ? kLarge.otherColumns : kSmall.otherColumns);
        FollowDatasetRow(DBGrid1Model->currentRow());
    } catch (...) {
        ScreenCursor::normal();
        throw;
    }
    ScreenCursor::normal();
}

void TFrmCheck::FollowDatasetRow(int row) {
    if (syncing_)
        return;
    const QScopedValueRollback<bool> syncing(syncing_, true);
    if (row >= 0) {
        DBGrid1->selectRow(row);
        DBGrid1->scrollTo(DBGrid1Model->index(row, 0));
    } else {
        DBGrid1->clearSelection();
    }
}

void TFrmCheck::FollowGridRow() {
    if (syncing_ || !DM1)
        return;
    Dataset* cj = DM1->Cn1Table_cj;
    const int recNo = DBGrid1Model->recNoOf(DBGrid1->currentIndex().row());
    if (!cj->active() || recNo <= 0 || recNo == cj->recNo())
        return;
    const QScopedValueRollback<bool> syncing(syncing_, true);
    cj->setRecNo(recNo);
}

bool TFrmCheck::HasCurrentPaper() const {
    return DM1 && DM1->Cn1Table_cj->active() && DM1->Cn1Table_cj->recNo() > 0;
}

void TFrmCheck::epEfTrBtn1Click() {
    if (!HasCurrentPaper())
        return;
    Dataset* cj = DM1->Cn1Table_cj;
    Progress::begin(QStringLiteral("正在初始化数据..."));
    QCoreApplication::processEvents();
    stepAside();

    const QString table = cj->text(QStringLiteral("A1"));
    const QString title = cj->text(QStringLiteral("A3"));
    const QString timeUsed = cj->text(QStringLiteral("D2"));
    const double score = cj->real(QStringLiteral("A6"));
    Progress::stage(QStringLiteral("正在提取数据..."));

    QString failure;
    try {
        TFrmExam review(nullptr);
        review.SetPaper(table, title, QStringLiteral("old"), score, timeUsed);
        if (review.OpenPaper())
            review.exec();
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    }
    Progress::end();

    // Showing the history again runs FormShow, which works out the figures anew.
    comeBack();
    if (!failure.isEmpty())
        Dialogs::reportError(failure);
}

void TFrmCheck::SpeedButton4Click() {
    if (!HasCurrentPaper())
        return;
    if (Dialogs::messageBox(QStringLiteral("提示"), kDeleteQuestion, Dialogs::Icon::Question,
                            Dialogs::BoxButtons::OkCancel) != Dialogs::BoxOk)
        return;
    Dataset* cj = DM1->Cn1Table_cj;
    const QString table = cj->text(QStringLiteral("A1"));
    try {
        Paper::DropPaper(*DM1, table);
    } catch (const std::exception&) {
        // A table that cannot be dropped leaves its register rows to the delete below.
    }
    // Every register row of the paper, also one whose table no longer exists.
    DM1->execUpdate(QStringLiteral("delete from tab_cj where A1=:A1"),
                    {{QStringLiteral("A1"), table}});
    // The list without the paper, on the row that took its place.
    cj->requery();
    FollowDatasetRow(DBGrid1Model->currentRow());
}

void TFrmCheck::epEfButton3Click() {
    if (!WindowRegistry::has(WindowNames::Settings))
        return;
    App::ConfigMode = 0;
    WindowRegistry::open(WindowNames::Settings, this);
}

void TFrmCheck::epEfTrBtn2Click() {
    close();
}

void TFrmCheck::FormCloseQuery() {
    if (!DM1)
        return;
    DM1->Cn1Table_cj->clearFilter();
    DM1->Cn1Table_cj->close();
    DM1->Cn1Query1->close();
}
