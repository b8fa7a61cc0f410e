#include "progress/study_log_window.h"

#include "widgets/dataset_table_model.h"
#include "widgets/effect_button.h"
#include "widgets/window_art.h"
#include "widgets/window_registry.h"

#include "platform/dialogs.h"
#include "practice/dialog_placement.h"
#include "store/app_state.h"
#include "store/data_module.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QShowEvent>
#include <QTableView>

namespace {

// Where everything sits in one of the two layouts.
struct Geometry {
    QSize window;
    QRect picture; // the layout's background picture
    QRect grid;
    int firstColumn;
    QRect labels[3];  // Label1..Label3
    QRect values[3];  // epLabel2..epLabel4
    QRect settings;   // SpeedButton1
    QRect closeSmall; // SpeedButton2
    QRect closeLarge; // SpeedButton3
    bool largeClose;  // which of the two close buttons the layout shows
    int titleHeight;
    QRect board; // the totals are framed on it
};

// For 800 wide screens: the window as designed, 761 x 480; its picture one pixel to the left.
const Geometry kSmall = {
    QSize(761, 480),
    QRect(-1, 0, 762, 482),
    QRect(16, 46, 606, 366),
    198,
    {QRect(660, 120, 56, 28), QRect(660, 196, 56, 28), QRect(660, 270, 56, 14)},
    {QRect(640, 152, 95, 34), QRect(640, 228, 95, 34), QRect(640, 288, 95, 34)},
    QRect(446, 428, 85, 36),
    QRect(537, 428, 85, 36),
    QRect(968, 521, 85, 36),
    false,
    36,
    QRect(632, 108, 112, 224),
};

// For every other screen. SpeedButton2 lies beyond the window's right edge there.
const Geometry kLarge = {
    QSize(934, 611),
    QRect(0, 0, 936, 611),
    QRect(20, 53, 773, 474),
    252,
    {QRect(829, 157, 56, 28), QRect(829, 243, 56, 28), QRect(829, 326, 56, 14)},
    {QRect(812, 195, 95, 34), QRect(812, 276, 95, 34), QRect(812, 346, 95, 34)},
    QRect(585, 541, 85, 36),
    QRect(968, 521, 64, 62),
    QRect(676, 541, 85, 36),
    true,
    42,
    QRect(804, 140, 112, 252),
};

// Design widths of the columns after the date.
constexpr int kDesignWidths[] = {60, 60, 60, 60, 80, 71};
constexpr int kWideColumn = 80;

// The background of one layout: a title band, a frame round the log, the board of the totals
// and a plate under each button it shows.
QPixmap drawBackground(const Geometry& g) {
    QPixmap pm(g.picture.size());
    pm.fill(QColor(246, 241, 230));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(-g.picture.topLeft()); // paint in the window's coordinates

    const QRect window(QPoint(0, 0), g.window);
    WindowArt::PaintPaper(p, window);
    WindowArt::PaintTitleBand(p, QRect(0, 0, g.window.width(), g.titleHeight),
                              QStringLiteral("学习日志"), g.largeClose ? 24 : 20);

    QPainterPath frame;
    frame.addRoundedRect(QRectF(g.grid).adjusted(-6.5, -6.5, 6.5, 6.5), 6, 6);
    p.fillPath(frame, QColor(255, 255, 255, 120));
    p.setPen(QPen(QColor(120, 142, 176), 1.5));
    p.drawPath(frame);

    WindowArt::PaintBoard(p, g.board);

    WindowArt::PaintButtonPlate(p, g.settings);
    WindowArt::PaintButtonPlate(p, g.largeClose ? g.closeLarge : g.closeSmall);

    WindowArt::PaintWindowEdge(p, window);
    return pm;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    QLabel* l = WindowArt::MakeLabel(parent, name, text);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QLabel* makeValue(QWidget* parent, const char* name) {
    auto* l = new QLabel(QStringLiteral("0"), parent);
    l->setObjectName(QLatin1String(name));
    l->setAlignment(Qt::AlignCenter);
    QFont f = l->font();
    f.setPixelSize(20);
    f.setBold(true);
    l->setFont(f);
    l->setStyleSheet(QStringLiteral("QLabel { color: #b0281c; background: white;"
                                    " border: 1px solid #b9c4d4; border-radius: 4px; }"));
    return l;
}

} // namespace

TFrmRz::TFrmRz(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FrmRz"));
    setWindowTitle(QStringLiteral("日志"));
    setModal(true);
    WindowArt::UseWindowFont(this);

    Image1 = WindowArt::MakePicture(this, "Image1", drawBackground(kSmall));
    Image2 = WindowArt::MakePicture(this, "Image2", drawBackground(kLarge));

    DBGrid1 = WindowArt::MakeGrid(this, "DBGrid1");
    DBGrid1->verticalHeader()->hide();
    DBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const Qt::Alignment centre = Qt::AlignCenter;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    DBGrid1Model = new DatasetTableModel(
        DM1 ? DM1->Cn1Table_rz : nullptr,
        {{QStringLiteral("A1"), QStringLiteral("日期"), centre, 113},
         {QStringLiteral("B1"), QStringLiteral("做过题数"), centre, kDesignWidths[0]},
         {QStringLiteral("B2"), QStringLiteral("做错题数"), centre, kDesignWidths[1]},
         {QStringLiteral("A2"), QStringLiteral("做过道次"), centre, kDesignWidths[2]},
         {QStringLiteral("A3"), QStringLiteral("做错道次"), centre, kDesignWidths[3]},
         {QStringLiteral("D1"), QStringLiteral("总用时"), right, kDesignWidths[4]},
         {QStringLiteral("A4"), QStringLiteral("平均成绩"), right, kDesignWidths[5]}},
        this);
    DBGrid1->setModel(DBGrid1Model);
    DBGrid1Model->applyWidths(DBGrid1);

    Label1 = makeLabel(this, "Label1", QStringLiteral("已做习题\n（道次）"));
    Label2 = makeLabel(this, "Label2", QStringLiteral("做错习题\n（道次）"));
    Label3 = makeLabel(this, "Label3", QStringLiteral("综合成绩"));
    epLabel2 = makeValue(this, "epLabel2");
    epLabel3 = makeValue(this, "epLabel3");
    epLabel4 = makeValue(this, "epLabel4");

    SpeedButton1 = EffectButton::Make(this, "SpeedButton1", QStringLiteral("设置"));
    SpeedButton2 = EffectButton::Make(this, "SpeedButton2", QStringLiteral("关闭"));
    SpeedButton3 = EffectButton::Make(this, "SpeedButton3", QStringLiteral("关闭"));
    connect(SpeedButton1, &QPushButton::clicked, this,
            Dialogs::guardedSlot(this, &TFrmRz::SpeedButton1Click));
    connect(SpeedButton2, &QPushButton::clicked, this, &TFrmRz::SpeedButton3Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TFrmRz::SpeedButton3Click);

    LayOut(800);
    Dialogs::guarded([this] { FormCreate(); });
}

TFrmRz::~TFrmRz() = default;

QString TFrmRz::OverallScore(qint64 answers, qint64 wrong) {
    if (answers < 1)
        return QStringLiteral("0");
    return QString::asprintf("%2.2f", double(answers - wrong) / double(answers) * 100.0);
}

int TFrmRz::ScreenWidth() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->size().width() : 1024;
}

void TFrmRz::FormCreate() {
    if (!DM1)
        return;
    Dataset* rz = DM1->Cn1Table_rz;
    if (!rz->active())
        rz->open();
    rz->sort(QStringLiteral("A1"), Qt::DescendingOrder); // newest day first

    if (ScreenWidth() != 800) {
        QHeaderView* columns = DBGrid1->horizontalHeader();
        columns->resizeSection(0, 192);
        for (int c = 1; c < DBGrid1Model->columnCount(); ++c)
            columns->resizeSection(c, kWideColumn);
    }

    // Over all days; an empty log sums to nothing, which reads as 0.
    Dataset* q = DM1->Cn1Query1;
    q->close();
    q->setSql(QStringLiteral("select sum(A2) as count_d1,sum(A3) as count_d2 from tab_rz "));
    q->open();
    const qint64 answers = q->whole(QStringLiteral("count_d1"));
    const qint64 wrong = q->whole(QStringLiteral("count_d2"));
    q->close();
    epLabel2->setText(QString::number(answers));
    epLabel3->setText(QString::number(wrong));
    epLabel4->setText(OverallScore(answers, wrong));
}

void TFrmRz::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Dialogs::guarded([this] { FormShow(); });
}

void TFrmRz::FormShow() {
    LayOut(ScreenWidth());
    Placement::centreOnDesktop(this);
}

void TFrmRz::LayOut(int screenWidth) {
    const bool small = screenWidth == 800;
    const Geometry& g = small ? kSmall : kLarge;
    setFixedSize(g.window);
    Image1->setGeometry(kSmall.picture);
    Image2->setGeometry(kLarge.picture);
    Image1->setVisible(small);
    Image2->setVisible(!small);
    Image1->lower();
    Image2->lower();

    DBGrid1->setGeometry(g.grid);
    QHeaderView* columns = DBGrid1->horizontalHeader();
    columns->resizeSection(0, g.firstColumn);
    if (!small) {
        for (int c = 1; c < DBGrid1Model->columnCount(); ++c)
            columns->resizeSection(c, kWideColumn);
    }

    QLabel* labels[] = {Label1, Label2, Label3};
    QLabel* values[] = {epLabel2, epLabel3, epLabel4};
    for (int i = 0; i < 3; ++i) {
        labels[i]->setGeometry(g.labels[i]);
        values[i]->setGeometry(g.values[i]);
    }
    SpeedButton1->setGeometry(g.settings);
    SpeedButton2->setGeometry(g.closeSmall);
    SpeedButton3->setGeometry(g.closeLarge);
    SpeedButton2->setVisible(!g.largeClose);
    SpeedButton3->setVisible(g.largeClose);
}

void TFrmRz::SpeedButton1Click() {
    if (!WindowRegistry::has(WindowNames::Settings))
        return;
    App::ConfigMode = 0;
    WindowRegistry::open(WindowNames::Settings, this);
}

void TFrmRz::SpeedButton3Click() {
    close();
}

void TFrmRz::done(int result) {
    Dialogs::guarded([this] { FormCloseQuery(); });
    QDialog::done(result);
}

void TFrmRz::FormCloseQuery() {
    if (DM1)
        DM1->Cn1Table_rz->close();
}
