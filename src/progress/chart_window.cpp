#include "progress/chart_window.h"

#include "progress/chart_page.h"
#include "progress/chart_printer.h"

#include "platform/dialogs.h"
#include "platform/screen_cursor.h"
#include "practice/dialog_placement.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/effect_button.h"
#include "widgets/window_art.h"
#include "widgets/window_registry.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QButtonGroup>
#include <QChart>
#include <QCheckBox>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLegend>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPieSeries>
#include <QPieSlice>
#include <QRadioButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QValueAxis>

namespace {

// One screen layout. The large one places the controls as designed for 1024 screens; the small
// one keeps the same arrangement in the designed 790 x 472.
struct Geometry {
    QSize window;
    QRect chartFrame, panelFrame, notebook;
    QRect settings, chartType, legend, style;
    QRect saveAs, print, close;
};

const Geometry kSmall = {QSize(790, 472),          QRect(4, 3, 661, 466),   QRect(669, 3, 117, 466),
                         QRect(10, 10, 649, 454),  QRect(690, 20, 75, 25),  QRect(679, 58, 97, 89),
                         QRect(679, 156, 97, 105), QRect(679, 270, 97, 89), QRect(684, 370, 86, 26),
                         QRect(684, 404, 86, 26),  QRect(684, 438, 86, 26)};

const Geometry kLarge = {QSize(934, 600),          QRect(4, 3, 789, 574),   QRect(803, 3, 117, 574),
                         QRect(10, 10, 783, 559),  QRect(823, 33, 75, 25),  QRect(813, 96, 97, 89),
                         QRect(813, 216, 97, 105), QRect(813, 352, 97, 89), QRect(818, 456, 86, 26),
                         QRect(818, 496, 86, 26),  QRect(818, 536, 86, 26)};

const Geometry& layoutFor() {
    return App::ScreenMode == QLatin1String("800") ? kSmall : kLarge;
}

// The total under the distribution chart sits this far above the chart's bottom edge (at 400 in
// the chart of 466 as designed), or higher by kTotalRaise while
// the legend is at the bottom.
constexpr int kTotalAboveBottom = 66;
constexpr int kTotalRaise = 30;

QChart* makeChart(ChartPage* page, const QString& title) {
    QChart* chart = page->chart();
    chart->setTitle(title);
    QFont titleFont = chart->titleFont();
    titleFont.setPixelSize(16);
    titleFont.setBold(true);
    chart->setTitleFont(titleFont);
    QLinearGradient background(0, 0, 0, 1);
    background.setCoordinateMode(QGradient::ObjectBoundingMode);
    background.setColorAt(0, QColor(255, 255, 255));
    background.setColorAt(1, QColor(205, 220, 240));
    chart->setBackgroundBrush(background);
    chart->setBackgroundRoundness(0);
    chart->legend()->setAlignment(Qt::AlignTop);
    QFont legendFont = chart->legend()->font();
    legendFont.setPixelSize(10);
    chart->legend()->setFont(legendFont);
    chart->setAnimationOptions(QChart::NoAnimation);
    return chart;
}

// A bar chart's axes: the chapters along the bottom, hidden; the values up the left.
void addBarAxes(QChart* chart, QBarSeries* series, const QStringList& categories,
                const QString& valueTitle, const QString& categoryTitle) {
    auto* bottom = new QBarCategoryAxis;
    bottom->append(categories);
    bottom->setTitleText(categoryTitle);
    chart->addAxis(bottom, Qt::AlignBottom);
    series->attachAxis(bottom);
    bottom->setVisible(false);
    auto* left = new QValueAxis;
    left->setTitleText(valueTitle);
    left->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(left, Qt::AlignLeft);
    series->attachAxis(left);
}

QGroupBox* makeRadioGroup(QWidget* parent, const char* name, const QString& title,
                          const QStringList& items, QButtonGroup*& group) {
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QLatin1String(name));
    group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QRadioButton(items[i], box);
        item->setObjectName(QStringLiteral("%1Item%2").arg(QLatin1String(name)).arg(i));
        item->setGeometry(10, 18 + i * 20, 84, 18);
        group->addButton(item, i);
    }
    return box;
}

QCheckBox* makeCheck(QGroupBox* box, const char* name, const QString& caption, int top) {
    auto* c = new QCheckBox(caption, box);
    c->setObjectName(QLatin1String(name));
    c->setGeometry(8, top, 86, 17);
    c->setChecked(true);
    return c;
}

Qt::Alignment legendAlignment(int index) {
    switch (index) {
    case 1:
        return Qt::AlignBottom;
    case 2:
        return Qt::AlignLeft;
    case 3:
        return Qt::AlignRight;
    default:
        return Qt::AlignTop;
    }
}

} // namespace

QColor Tfrmchart::PointColor(int i) {
    const quint32 value = quint32(255 + 80000LL * i) & 0xFFFFFFu;
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

Tfrmchart::Tfrmchart(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmchart"));
    setWindowTitle(QStringLiteral("成绩统计图"));

    epBevel2 = new QFrame(this);
    epBevel2->setObjectName(QStringLiteral("epBevel2"));
    epBevel1 = new QFrame(this);
    epBevel1->setObjectName(QStringLiteral("epBevel1"));

    Notebook1 = new QStackedWidget(this);
    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    DBChart1 = new ChartPage(Notebook1);
    DBChart1->setObjectName(QStringLiteral("DBChart1"));
    DBChart2 = new ChartPage(Notebook1);
    DBChart2->setObjectName(QStringLiteral("DBChart2"));
    DBChart3 = new ChartPage(Notebook1);
    DBChart3->setObjectName(QStringLiteral("DBChart3"));
    for (ChartPage* page : {DBChart1, DBChart2, DBChart3})
        Notebook1->addWidget(page);
    makeChart(DBChart1, QStringLiteral("频 度 统 计 图"));
    makeChart(DBChart2, QStringLiteral("习题分布统计图"));
    makeChart(DBChart3, QStringLiteral("进度统计图"));

    Label1 = WindowArt::MakeLabel(DBChart2, "Label1", QStringLiteral("习题总数:"));
    Label2 = WindowArt::MakeLabel(DBChart2, "Label2", QStringLiteral("0"));

    epEfTrBtn1 = EffectButton::Make(this, "epEfTrBtn1", QStringLiteral("设置"));
    RadioGroup1 = makeRadioGroup(
        this, "RadioGroup1", QStringLiteral("统计图类型"),
        {QStringLiteral("习题分布"), QStringLiteral("频度统计"), QStringLiteral("进度统计")},
        group1_);
    RadioGroup2 = makeRadioGroup(this, "RadioGroup2", QStringLiteral("图例位置"),
                                 {QStringLiteral("上方"), QStringLiteral("下方"),
                                  QStringLiteral("左侧"), QStringLiteral("右侧")},
                                 group2_);
    group2_->button(0)->setChecked(true);
    GroupBox1 = new QGroupBox(QStringLiteral("显示风格"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    CheckBox1 = makeCheck(GroupBox1, "CheckBox1", QStringLiteral("立体显示"), 18);
    CheckBox2 = makeCheck(GroupBox1, "CheckBox2", QStringLiteral("显示图例"), 42);
    CheckBox3 = makeCheck(GroupBox1, "CheckBox3", QStringLiteral("显示标签"), 66);
    epFocusButton3 = EffectButton::Make(this, "epFocusButton3", QStringLiteral("存为..."));
    epFocusButton1 = EffectButton::Make(this, "epFocusButton1", QStringLiteral("打印"));
    epFocusButton2 = EffectButton::Make(this, "epFocusButton2", QStringLiteral("关闭"));

    for (QGroupBox* box : {RadioGroup1, RadioGroup2, GroupBox1})
        box->setStyleSheet(WindowArt::GroupStyle());

    connect(group1_, &QButtonGroup::idClicked, this,
            Dialogs::guardedSlot(this, &Tfrmchart::RadioGroup1Click));
    connect(group2_, &QButtonGroup::idClicked, this,
            Dialogs::guardedSlot(this, &Tfrmchart::RadioGroup2Click));
    connect(CheckBox1, &QCheckBox::clicked, this,
            Dialogs::guardedSlot(this, &Tfrmchart::CheckBox1Click));
    connect(CheckBox2, &QCheckBox::clicked, this,
            Dialogs::guardedSlot(this, &Tfrmchart::CheckBox2Click));
    connect(CheckBox3, &QCheckBox::clicked, this,
            Dialogs::guardedSlot(this, &Tfrmchart::CheckBox3Click));
    connect(epFocusButton1, &QAbstractButton::clicked, this,
            Dialogs::guardedSlot(this, &Tfrmchart::epFocusButton1Click));
    connect(epFocusButton2, &QAbstractButton::clicked, this, &Tfrmchart::epFocusButton2Click);
    connect(epFocusButton3, &QAbstractButton::clicked, this,
            Dialogs::guardedSlot(this, &Tfrmchart::epFocusButton3Click));
    connect(epEfTrBtn1, &QAbstractButton::clicked, this,
            Dialogs::guardedSlot(this, &Tfrmchart::epEfTrBtn1Click));
    LayOut();
}

Tfrmchart::~Tfrmchart() = default;

int Tfrmchart::radioGroup1Index() const {
    return group1_->checkedId();
}

void Tfrmchart::setRadioGroup1Index(int index) {
    group1_->button(index)->setChecked(true);
    RadioGroup1Click();
}

int Tfrmchart::radioGroup2Index() const {
    return group2_->checkedId();
}

void Tfrmchart::setRadioGroup2Index(int index) {
    group2_->button(index)->setChecked(true);
    RadioGroup2Click();
}

QRadioButton* Tfrmchart::radioGroup1Item(int index) const {
    return qobject_cast<QRadioButton*>(group1_->button(index));
}

QRadioButton* Tfrmchart::radioGroup2Item(int index) const {
    return qobject_cast<QRadioButton*>(group2_->button(index));
}

ChartPage* Tfrmchart::currentChart() const {
    return static_cast<ChartPage*>(Notebook1->currentWidget());
}

void Tfrmchart::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous() || shown_)
        return;
    shown_ = true;
    Dialogs::guarded([this] { FormShow(); });
}

void Tfrmchart::LayOut() {
    const Geometry& g = layoutFor();
    // The window flags are set once, before the window shows: setting them hides a shown window.
    if (!isVisible())
        Placement::makeFixedDialog(this, g.window.width(), g.window.height());
    setFixedSize(g.window);
    epBevel2->setGeometry(g.chartFrame);
    epBevel1->setGeometry(g.panelFrame);
    Notebook1->setGeometry(g.notebook);
    epEfTrBtn1->setGeometry(g.settings);
    RadioGroup1->setGeometry(g.chartType);
    RadioGroup2->setGeometry(g.legend);
    GroupBox1->setGeometry(g.style);
    epFocusButton3->setGeometry(g.saveAs);
    epFocusButton1->setGeometry(g.print);
    epFocusButton2->setGeometry(g.close);
    placeTotal();
}

void Tfrmchart::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    WindowArt::PaintPaper(p, rect());
    for (const QFrame* bevel : {epBevel1, epBevel2}) {
        QPainterPath frame;
        frame.addRoundedRect(QRectF(bevel->geometry()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        p.fillPath(frame, QColor(255, 255, 255, 110));
        p.setPen(QPen(QColor(120, 142, 176), 1.2));
        p.drawPath(frame);
    }
    for (const EffectButton* b : {epEfTrBtn1, epFocusButton1, epFocusButton2, epFocusButton3})
        WindowArt::PaintButtonPlate(p, b->geometry());
    QDialog::paintEvent(event);
}

void Tfrmchart::FormShow() {
    ScreenCursor::hourglass();
    LayOut();
    Placement::centreOnDesktop(this);
    readChapters();
    Notebook1->setCurrentIndex(FrequencyPage);
    setRadioGroup1Index(1);
    ScreenCursor::normal();
}

void Tfrmchart::readChapters() {
    rows_.clear();
    Dataset* q = DM1->ADOQ_kmmc;
    q->close();
    q->clearParams();
    q->setSql(QStringLiteral("select * from tab_kmmc where C7='0'"));
    q->open();
    rows_.reserve(q->recordCount());
    for (q->first(); !q->eof(); q->next())
        rows_.push_back({q->text(QStringLiteral("C2")), q->whole(QStringLiteral("C3")),
                         q->whole(QStringLiteral("C4")), q->whole(QStringLiteral("D1")),
                         q->whole(QStringLiteral("D2"))});
    filled_[0] = filled_[1] = filled_[2] = false;
}

void Tfrmchart::fillPage(int page) {
    if (filled_[page])
        return;
    filled_[page] = true;
    switch (page) {
    case FrequencyPage:
        fillFrequency();
        break;
    case DistributionPage:
        fillDistribution();
        break;
    default:
        fillProgress();
        break;
    }
}

void Tfrmchart::fillFrequency() {
    QChart* chart = DBChart1->chart();
    auto* series = new QBarSeries;
    Series1 = new QBarSet(QString());
    Series1->setObjectName(QStringLiteral("Series1"));
    Series1->setColor(QColor(0, 128, 0));
    Series4 = new QBarSet(QString());
    Series4->setObjectName(QStringLiteral("Series4"));
    Series4->setColor(QColor(255, 0, 0));
    QStringList names;
    names.reserve(rows_.size());
    qint64 answers = 0;
    qint64 wrong = 0;
    QList<qreal> given;
    QList<qreal> missed;
    for (const ChapterRow& r : rows_) {
        names << r.name;
        given << qreal(r.answers);
        missed << qreal(r.wrong);
        answers += r.answers;
        wrong += r.wrong;
    }
    Series1->append(given);
    Series4->append(missed);
    // The legend lists the two series with their totals.
    Series1->setLabel(QStringLiteral("已做题次 %1").arg(answers));
    Series4->setLabel(QStringLiteral("做错题次 %1").arg(wrong));
    series->append(Series1);
    series->append(Series4);
    chart->addSeries(series);
    addBarAxes(chart, series, names, QStringLiteral("题  次"), QStringLiteral("章    节"));
}

void Tfrmchart::fillDistribution() {
    QChart* chart = DBChart2->chart();
    Series2 = new QPieSeries;
    Series2->setObjectName(QStringLiteral("Series2"));
    qint64 total = 0;
    for (const ChapterRow& r : rows_)
        total += r.questions;
    for (int i = 0; i < rows_.size(); ++i) {
        const ChapterRow& r = rows_[i];
        const qreal share = total > 0 ? 100.0 * qreal(r.questions) / qreal(total) : 0.0;
        QPieSlice* slice = Series2->append(
            QStringLiteral("%1 %2 (%3%)").arg(r.name).arg(r.questions).arg(share, 0, 'f', 1),
            qreal(r.questions));
        slice->setColor(PointColor(i));
        slice->setBorderColor(PointColor(i).darker(130));
    }
    Series2->setPieSize(0.62);
    Series2->setHorizontalPosition(0.5);
    Series2->setVerticalPosition(0.47);
    chart->addSeries(Series2);
    DBChart2->setPie(Series2);
}

void Tfrmchart::fillProgress() {
    QChart* chart = DBChart3->chart();
    Series3 = new QBarSeries;
    Series3->setObjectName(QStringLiteral("Series3"));
    for (int i = 0; i < rows_.size(); ++i) {
        const ChapterRow& r = rows_[i];
        if (r.questions == 0)
            continue;
        // Whole percents, truncated toward zero: 3 of 7 is 42.
        const qint64 percent = r.done * 100 / r.questions;
        auto* bar = new QBarSet(QStringLiteral("%1 %2").arg(r.name).arg(percent));
        bar->append(qreal(percent));
        bar->setColor(PointColor(i));
        bar->setBorderColor(PointColor(i).darker(130));
        Series3->append(bar);
    }
    chart->addSeries(Series3);
    addBarAxes(chart, Series3, {QStringLiteral("章   节")}, QStringLiteral("进度(%)"),
               QStringLiteral("章   节"));
}

void Tfrmchart::RadioGroup1Click() {
    const int index = radioGroup1Index();
    const int page = index == 0 ? DistributionPage : index == 2 ? ProgressPage : FrequencyPage;
    // The options are reset on the page still on show, then the chosen page shows with them.
    fillPage(Notebook1->currentIndex());
    setRadioGroup2Index(0);
    for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3})
        box->setChecked(true);
    CheckBox1Click();
    CheckBox2Click();
    CheckBox3Click();
    fillPage(page);
    Notebook1->setCurrentIndex(page);
    if (page == DistributionPage)
        showTotal();
    // The new page takes the options as they stand now.
    RadioGroup2Click();
    CheckBox1Click();
    CheckBox2Click();
    CheckBox3Click();
}

void Tfrmchart::showTotal() {
    Dataset* q = DM1->Cn1Query1;
    q->close();
    q->clearParams();
    q->setSql(QStringLiteral("select sum(C3) as sumc3 from tab_kmmc where C7='0'"));
    q->open();
    q->first();
    Label2->setText(q->eof() ? QStringLiteral("0")
                             : QString::number(q->whole(QStringLiteral("sumc3"))));
    q->close();
    placeTotal();
}

void Tfrmchart::placeTotal() {
    const int base = Notebook1->height() - kTotalAboveBottom;
    const int top = radioGroup2Index() == 1 ? base - kTotalRaise : base;
    Label1->setGeometry(32, top, 63, 14);
    Label2->adjustSize();
    Label2->setGeometry(104, top, Label2->width(), Label1->height());
}

void Tfrmchart::RadioGroup2Click() {
    currentChart()->chart()->legend()->setAlignment(legendAlignment(radioGroup2Index()));
    if (Notebook1->currentIndex() == DistributionPage)
        placeTotal();
}

void Tfrmchart::CheckBox1Click() {
    currentChart()->setDepth(CheckBox1->isChecked());
}

void Tfrmchart::CheckBox2Click() {
    QLegend* legend = currentChart()->chart()->legend();
    legend->setVisible(CheckBox2->isChecked());
    RadioGroup2->setEnabled(CheckBox2->isChecked());
}

void Tfrmchart::CheckBox3Click() {
    const bool on = CheckBox3->isChecked();
    if (Notebook1->currentIndex() == DistributionPage) {
        if (Series2)
            Series2->setLabelsVisible(on);
    } else {
        currentChart()->setBarLabels(on);
    }
}

void Tfrmchart::epFocusButton1Click() {
    ChartPrinter& printer = ChartPrinter::current();
    if (!printer.hasPrinter()) {
        ShowDlg(QStringLiteral("提示"), QStringLiteral("没有发现打印机！"), 1, QStringLiteral("NO"),
                1);
        return;
    }
    ChartPage* chart = currentChart();
    try {
        printer.printLandscape([chart](QPainter& painter, const QRect& page) {
            // The chart keeps its shape on the page, as large as the page allows.
            QSize size = chart->size();
            size.scale(page.size(), Qt::KeepAspectRatio);
            const QRect target(QPoint(page.left() + (page.width() - size.width()) / 2,
                                      page.top() + (page.height() - size.height()) / 2),
                               size);
            painter.setRenderHint(QPainter::Antialiasing);
            chart->render(&painter, target, chart->rect());
        });
    } catch (const std::exception&) {
        ShowDlg(QStringLiteral("错误"), QStringLiteral("打印时发生错误！"), 1, QStringLiteral("NO"),
                2);
    }
}

void Tfrmchart::epFocusButton2Click() {
    close();
}

void Tfrmchart::epFocusButton3Click() {
    QString file = Dialogs::saveFileName(QString(), QString(),
                                         QStringLiteral("Bitmaps图片 (*.bmp);;PNG图片 (*.png)"));
    if (file.isEmpty())
        return;
    // A name without a picture suffix is saved as the bitmap the filter offers first.
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix != QLatin1String("bmp") && suffix != QLatin1String("png"))
        file += QStringLiteral(".bmp");
    ChartPage* chart = currentChart();
    QImage picture(chart->size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        chart->render(&painter, picture.rect(), chart->rect());
    }
    if (!picture.save(file))
        ShowDlg(QStringLiteral("错误"), QStringLiteral("无法保存文件！"), 1, QStringLiteral("NO"),
                2);
}

void Tfrmchart::epEfTrBtn1Click() {
    if (!WindowRegistry::has(WindowNames::Settings))
        return;
    App::ConfigMode = 0;
    WindowRegistry::open(WindowNames::Settings, this);
}

void Tfrmchart::done(int result) {
    if (DM1)
        DM1->ADOQ_kmmc->close();
    QDialog::done(result);
}
