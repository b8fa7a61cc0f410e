#include "practice/chapter_browser.h"

#include "practice/practice_window.h"
#include "widgets/dataset_table_model.h"
#include "widgets/effect_button.h"
#include "widgets/window_art.h"
#include "widgets/window_registry.h"

#include "platform/dialogs.h"
#include "platform/program_end.h"
#include "platform/screen_cursor.h"
#include "store/app_state.h"
#include "store/data_module.h"

#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLCDNumber>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QTableView>

#include <algorithm>
#include <memory>

namespace {

// Where everything sits in one of the two layouts.
struct Geometry {
    QSize window;
    QRect grid;
    int cellPointSize;
    int titlePointSize;
    int firstColumn;
    int otherColumns;
    QRect numbers[3]; // epNum_all, epNum_ok, epNum_Err
    QPoint labels[4]; // epLabel3..epLabel6
    QPoint score;     // Lb_fs
    QRect buttons[6]; // SpeedButton1..SpeedButton6
    QRect panel;      // the comment board framed by the background
};

// The small layout for 800 x 600 screens.
const Geometry kSmall = {
    QSize(761, 480),
    QRect(25, 136, 596, 176),
    11,
    8, // the four-character titles fit the 50-pixel columns

    308,
    50,
    {QRect(650, 133, 90, 30), QRect(650, 193, 90, 30), QRect(650, 253, 90, 30)},
    {QPoint(644, 113), QPoint(644, 173), QPoint(644, 233), QPoint(644, 293)},
    QPoint(672, 318),
    {QRect(114, 393, 69, 31), QRect(185, 393, 69, 31), QRect(255, 393, 69, 31),
     QRect(475, 387, 68, 29), QRect(325, 393, 69, 31), QRect(549, 387, 69, 29)},
    QRect(634, 96, 118, 264),
};

// The design layout, for every other screen.
const Geometry kLarge = {
    QSize(935, 611),
    QRect(33, 101, 733, 379),
    12,
    10,
    370,
    65,
    {QRect(800, 150, 110, 36), QRect(800, 230, 110, 36), QRect(800, 310, 110, 36)},
    {QPoint(792, 126), QPoint(792, 206), QPoint(792, 286), QPoint(792, 366)},
    QPoint(822, 396),
    {QRect(142, 501, 84, 38), QRect(229, 501, 84, 38), QRect(315, 501, 84, 38),
     QRect(583, 494, 86, 36), QRect(401, 501, 84, 38), QRect(676, 494, 86, 36)},
    QRect(782, 60, 140, 420),
};

const Geometry& geometryFor(const QString& screenMode) {
    return screenMode == QLatin1String("800") ? kSmall : kLarge;
}

// The background: the window texture with the grid framed under the title 目录, the totals framed
// as the comment board 评语板, and a bar behind the buttons.
QPixmap drawBackground(const Geometry& g) {
    QPixmap pm(g.window);
    pm.fill(QColor(246, 241, 230));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QPixmap texture(App::AppPath + QStringLiteral("pic/bg_window.png"));
    if (!texture.isNull())
        p.drawTiledPixmap(pm.rect(), texture);

    WindowArt::PaintTitleBand(p, QRect(0, 0, g.window.width(), g.grid.top() - 56),
                              QStringLiteral("章节练习"), g.window.width() > 800 ? 26 : 22);
    WindowArt::PaintTitledFrame(p, g.grid.adjusted(-10, -22, 10, 10), QStringLiteral("目录"), 80);
    WindowArt::PaintTitledFrame(p, g.panel, QStringLiteral("评语板"), 80);

    QRect bar = g.buttons[0].united(g.buttons[5]).adjusted(-16, -8, 16, 8);
    QPainterPath barPath;
    barPath.addRoundedRect(QRectF(bar), 10, 10);
    p.fillPath(barPath, QColor(58, 96, 150, 40));
    // A plate under each flat button.
    for (const QRect& b : g.buttons)
        WindowArt::PaintButtonPlate(p, b);
    return pm;
}

EffectButton* makeButton(QWidget* parent, const char* name, const QString& caption, int tag) {
    auto* b = new EffectButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setProperty("tag", tag);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

int tagOf(const QObject* o) {
    return o ? o->property("tag").toInt() : 0;
}

// The grid's row indicator: a marker in the row header of the current row.
class RowIndicator : public QIdentityProxyModel {
  public:
    using QIdentityProxyModel::QIdentityProxyModel;
    void setCurrent(int row) {
        const int old = current_;
        current_ = row;
        if (old >= 0 && old < rowCount())
            Q_EMIT headerDataChanged(Qt::Vertical, old, old);
        if (row >= 0 && row < rowCount())
            Q_EMIT headerDataChanged(Qt::Vertical, row, row);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Vertical && role == Qt::DisplayRole)
            return section == current_ ? QStringLiteral("\u25B8") : QString();
        if (orientation == Qt::Vertical && role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        return QIdentityProxyModel::headerData(section, orientation, role);
    }

  private:
    int current_ = -1;
};

const char kColumnsSelect[] = "select a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,"
                              "e2,e2_1,e3,e4,f1,xx,csbs,ecount from tab_answ where ";

} // namespace

TFrmkmmc::TFrmkmmc(QWidget* owner) : StepAsideDialog(owner) {
    setObjectName(QStringLiteral("Frmkmmc"));
    setWindowTitle(QStringLiteral("章节练习"));
    setModal(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(drawBackground(kSmall));
    Image11 = new QLabel(this);
    Image11->setObjectName(QStringLiteral("Image11"));
    Image11->setPixmap(drawBackground(kLarge));

    DBGrid1 = WindowArt::MakeGrid(this, "DBGrid1");
    DBGrid1->setShowGrid(true);
    DBGrid1->setAlternatingRowColors(false);
    DBGrid1->verticalHeader()->setFixedWidth(16); // the row indicator
    DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    const auto right = Qt::AlignRight | Qt::AlignVCenter;
    const auto centre = Qt::AlignCenter;
    DBGrid1Model =
        new DatasetTableModel(DM1 ? DM1->Cn1Table_kmmc : nullptr,
                              {{QStringLiteral("C2"), QStringLiteral("章节名称")},
                               {QStringLiteral("C3"), QStringLiteral("习题数目"), centre},
                               {QStringLiteral("C4"), QStringLiteral("已做题数"), centre},
                               {QStringLiteral("D1"), QStringLiteral("已做道次"), centre},
                               {QStringLiteral("D2"), QStringLiteral("做错道次"), centre},
                               {QStringLiteral("C6"), QStringLiteral("综合成绩"), right}},
                              this);
    auto* indicator = new RowIndicator(this);
    indicator->setSourceModel(DBGrid1Model);
    DBGrid1->setModel(indicator);
    connect(DBGrid1Model, &DatasetTableModel::currentRowChanged, indicator,
            &RowIndicator::setCurrent);
    connect(DBGrid1Model, &DatasetTableModel::currentRowChanged, this, &TFrmkmmc::FollowDatasetRow);
    // Every handler that reaches the bank runs guarded: an error it does not report itself is
    // reported, and the browser stays.
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            Dialogs::guardedSlot(this, &TFrmkmmc::FollowGridRow));
    connect(DBGrid1, &QTableView::doubleClicked, this,
            Dialogs::guardedSlot(this, &TFrmkmmc::DBGrid1DblClick));

    epLabel3 = WindowArt::MakeLabel(this, "epLabel3", QStringLiteral("总习题数"));
    epLabel4 = WindowArt::MakeLabel(this, "epLabel4", QStringLiteral("已做题道次"));
    epLabel5 = WindowArt::MakeLabel(this, "epLabel5", QStringLiteral("做错题道次"));
    epLabel6 = WindowArt::MakeLabel(this, "epLabel6", QStringLiteral("综合成绩"));
    epNum_all = WindowArt::MakeFigure(this, "epNum_all", 5);
    epNum_ok = WindowArt::MakeFigure(this, "epNum_ok", 5);
    epNum_Err = WindowArt::MakeFigure(this, "epNum_Err", 5);
    Lb_fs = WindowArt::MakeLabel(this, "Lb_fs", QStringLiteral("分数"));
    QFont scoreFont = Lb_fs->font();
    scoreFont.setPixelSize(18);
    scoreFont.setBold(true);
    Lb_fs->setFont(scoreFont);
    Lb_fs->setStyleSheet(QStringLiteral("color: #b0281c; background: transparent;"));

    SpeedButton1 = makeButton(this, "SpeedButton1", QStringLiteral("练习新题"), NewQuestions);
    SpeedButton2 = makeButton(this, "SpeedButton2", QStringLiteral("错题重做"), WrongQuestions);
    SpeedButton3 = makeButton(this, "SpeedButton3", QStringLiteral("习题重温"), DoneQuestions);
    SpeedButton4 = makeButton(this, "SpeedButton4", QStringLiteral("设置"), 0);
    SpeedButton5 = makeButton(this, "SpeedButton5", QStringLiteral("试题录入"), 0);
    SpeedButton6 = makeButton(this, "SpeedButton6", QStringLiteral("关闭"), 0);
    const auto practiceOn = [this](QPushButton* b) {
        connect(b, &QPushButton::clicked, this,
                [this, b] { Dialogs::guarded([this, b] { epEfButton1Click(b); }); });
    };
    for (QPushButton* b : {SpeedButton1, SpeedButton2, SpeedButton3})
        practiceOn(b);
    connect(SpeedButton4, &QPushButton::clicked, this, &TFrmkmmc::epEfButton5Click);
    connect(SpeedButton5, &QPushButton::clicked, this,
            Dialogs::guardedSlot(this, &TFrmkmmc::epEfButton6Click));
    connect(SpeedButton6, &QPushButton::clicked, this, &TFrmkmmc::SpeedButton6Click);

    const auto twin = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setVisible(false);
        return b;
    };
    epEfButton1 = twin("epEfButton1", QStringLiteral("练习新题"));
    epEfButton2 = twin("epEfButton2", QStringLiteral("错题重做"));
    epEfButton3 = twin("epEfButton3", QStringLiteral("习题重温"));
    practiceOn(epEfButton1);
    connect(epEfButton2, &QPushButton::clicked, this,
            Dialogs::guardedSlot(this, &TFrmkmmc::epEfButton2Click));
    connect(epEfButton3, &QPushButton::clicked, this,
            Dialogs::guardedSlot(this, &TFrmkmmc::epEfButton3Click));

    FormCreate();
    LayOut();
}

TFrmkmmc::~TFrmkmmc() = default;

void TFrmkmmc::FormCreate() {
    epEfButton1->setProperty("tag", NewQuestions);
    epEfButton2->setProperty("tag", WrongQuestions);
    epEfButton3->setProperty("tag", DoneQuestions);
}

bool TFrmkmmc::IsSubjectOrPart(const QString& code) {
    // A subject (1 character) or the level below it (2 characters) holds no questions of its
    // own. Without a current row there is no node at all.
    return code.size() <= 2;
}

QString TFrmkmmc::PracticeSql(int tag, const QString& code, bool byDoubleClick) {
    // The node's questions: every question whose chapter code begins with the node's code,
    // compared without regard to case as all text comparisons of the bank are.
    const QString node = QStringLiteral("(substr(A10,1,") + QString::number(code.size()) +
                         QStringLiteral(") = ") + Database::quoteText(code) +
                         QStringLiteral(" collate nocase)");
    // A question is voided when f1 is 1; an empty f1 is a bank question.
    const QString notVoided = QStringLiteral(" and (ifnull(f1,0)<>1)");
    const QString select = QString::fromLatin1(kColumnsSelect);
    switch (tag) {
    case NewQuestions:
        return select + node + QStringLiteral(" and (E2 = '' or E2 is null)") + notVoided +
               (byDoubleClick ? QStringLiteral(" order by a13,a10,xx")
                              : QStringLiteral(" order by a13,a10,xx,a1"));
    case WrongQuestions:
        return select + node + QStringLiteral(" and (E4 < 0)") + notVoided +
               QStringLiteral(" order by a13,e3,e4,e1,xx,a1");
    case DoneQuestions:
        // Answered before: the last answer is not empty ("zero" for a voided question).
        return select + node + QStringLiteral(" and (E2 <> '' and E2 is not null)") +
               QStringLiteral(" order by a13,e3,e4,e1,xx,a1");
    default:
        return {};
    }
}

void TFrmkmmc::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFrmkmmc::done(int result) {
    Dialogs::guarded([this] { FormCloseQuery(); });
    StepAsideDialog::done(result);
}

void TFrmkmmc::LayOut() {
    const bool small = App::ScreenMode == QLatin1String("800");
    const Geometry& g = geometryFor(App::ScreenMode);
    setFixedSize(g.window);
    Image1->setGeometry(0, 0, kSmall.window.width(), kSmall.window.height());
    Image11->setGeometry(0, 0, kLarge.window.width(), kLarge.window.height());
    Image1->setVisible(small);
    Image11->setVisible(!small);
    Image1->lower();
    Image11->lower();

    DBGrid1->setGeometry(g.grid);
    QFont cells = DBGrid1->font();
    cells.setPointSize(g.cellPointSize);
    DBGrid1->setFont(cells);
    // The grid's style sheet draws the titles, so their size goes there as well.
    QFont titles = DBGrid1->horizontalHeader()->font();
    titles.setPointSize(g.titlePointSize);
    DBGrid1->horizontalHeader()->setFont(titles);
    DBGrid1->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { font-size: %1pt; }").arg(g.titlePointSize));
    DBGrid1->verticalHeader()->setDefaultSectionSize(QFontMetrics(cells).height() + 4);
    // The score column must show "100.00" whole in the cell font; what it needs beyond the
    // other columns' width comes off the name column, so the grid keeps its width.
    const int scoreWidth =
        qMax(g.otherColumns, QFontMetrics(cells).horizontalAdvance(QStringLiteral("100.00")) + 12);
    DBGrid1->horizontalHeader()->resizeSection(0, g.firstColumn - (scoreWidth - g.otherColumns));
    for (int c = 1; c < 5; ++c)
        DBGrid1->horizontalHeader()->resizeSection(c, g.otherColumns);
    DBGrid1->horizontalHeader()->resizeSection(5, scoreWidth);

    QLCDNumber* numbers[] = {epNum_all, epNum_ok, epNum_Err};
    for (int i = 0; i < 3; ++i)
        numbers[i]->setGeometry(g.numbers[i]);
    QLabel* labels[] = {epLabel3, epLabel4, epLabel5, epLabel6};
    for (int i = 0; i < 4; ++i) {
        labels[i]->move(g.labels[i]);
        labels[i]->adjustSize();
    }
    Lb_fs->move(g.score);
    Lb_fs->adjustSize();

    EffectButton* buttons[] = {SpeedButton1, SpeedButton2, SpeedButton3,
                               SpeedButton4, SpeedButton5, SpeedButton6};
    for (int i = 0; i < 6; ++i)
        buttons[i]->setGeometry(g.buttons[i]);
}

void TFrmkmmc::FormShow() {
    if (!DM1)
        return;
    ScreenCursor::hourglass();
    Dataset* km = DM1->Cn1Table_kmmc;
    try {
        if (!km->active())
            km->open();
        km->first();
        km->setFiltered(false);
        km->setFilter([](const RowRef& r) {
            return r.text(QStringLiteral("C1")).compare(QLatin1String("xx"), Qt::CaseInsensitive) !=
                   0;
        });
        LayOut();
        km->setFiltered(true);

        ShowTotals();

        if (SelectedChapter.isEmpty() ||
            !km->locate(QStringLiteral("C1"), SelectedChapter, Qt::CaseInsensitive))
            km->first();
        FollowDatasetRow(DBGrid1Model->currentRow());
    } catch (const std::exception& e) {
        ScreenCursor::normal();
        Dialogs::reportError(QString::fromUtf8(e.what()));
        return;
    }
    ScreenCursor::normal();
}

void TFrmkmmc::ShowTotals() {
    // Sums over the chapters (the nodes with 6-character codes) straight from the table, so the
    // totals cost the same however many questions the bank holds.
    Dataset* q = DM1->Cn1Query1;
    q->close();
    q->setSql(QStringLiteral("select sum(C3) as count_c3,sum(D1) as count_d1,sum(D2) as count_d2 "
                             "from tab_kmmc where length(c1)=6"));
    q->open();
    const qint64 all = q->whole(QStringLiteral("count_c3"));
    const qint64 done = q->whole(QStringLiteral("count_d1"));
    const qint64 wrong = q->whole(QStringLiteral("count_d2"));
    q->close();
    epNum_all->display(static_cast<int>(all > 10000 ? 10000 : all));
    epNum_ok->display(static_cast<int>(done));
    epNum_Err->display(static_cast<int>(wrong));
    if (done > 0) {
        Lb_fs->setText(QString::asprintf("%2.2f", double(done - wrong) / double(done) * 100.0));
        Lb_fs->adjustSize();
    }
}

void TFrmkmmc::FollowDatasetRow(int row) {
    if (syncing_)
        return;
    syncing_ = true;
    if (row >= 0) {
        DBGrid1->selectRow(row);
        DBGrid1->scrollTo(DBGrid1->model()->index(row, 0));
    } else {
        DBGrid1->clearSelection();
    }
    syncing_ = false;
}

void TFrmkmmc::FollowGridRow() {
    if (syncing_ || !DM1)
        return;
    Dataset* km = DM1->Cn1Table_kmmc;
    const int row = DBGrid1->currentIndex().row();
    const int recNo = DBGrid1Model->recNoOf(row);
    if (!km->active() || recNo <= 0 || recNo == km->recNo())
        return;
    // A move that fails (a pending change the file refuses) must not leave the grid unfollowed.
    const QScopedValueRollback<bool> syncing(syncing_, true);
    km->setRecNo(recNo);
}

void TFrmkmmc::FormCloseQuery() {
    if (!DM1)
        return;
    DM1->Cn1Table_kmmc->close();
    DM1->Cn1Table_kmmc->clearFilter();
    DM1->Cn1Query1->close();
}

void TFrmkmmc::epEfButton1Click(QObject* pressed) {
    StartPractice(tagOf(pressed), false);
}

void TFrmkmmc::epEfButton2Click() {
    epEfButton1Click(sender() ? sender() : epEfButton2);
}

void TFrmkmmc::epEfButton3Click() {
    epEfButton1Click(sender() ? sender() : epEfButton3);
}

void TFrmkmmc::DBGrid1DblClick() {
    StartPractice(NewQuestions, true);
}

void TFrmkmmc::StartPractice(int tag, bool byDoubleClick) {
    if (!DM1 || !DM1->Cn1Table_kmmc->active())
        return;
    Dataset* km = DM1->Cn1Table_kmmc;
    const QString code = km->recNo() > 0 ? km->text(QStringLiteral("C1")) : QString();
    SelectedChapter = code;
    if (IsSubjectOrPart(code)) {
        Dialogs::messageBox(QStringLiteral("提示"), QStringLiteral("请选择具体章节目录！"),
                            Dialogs::Icon::Information);
        return;
    }
    const QString sql = PracticeSql(tag, code, byDoubleClick);
    if (sql.isEmpty())
        return;
    App::PracticeQuerySql = sql;
    App::PracticeQueryParams.clear();

    ScreenCursor::hourglass();
    QString failure;
    bool shown = false;
    {
        std::unique_ptr<TFrmLxxt> practice;
        try {
            practice = std::make_unique<TFrmLxxt>(nullptr);
            if (practice->LoadQuestionSet()) {
                shown = true;
                stepAside();
                practice->exec();
            } else if (ProgramEnd::requested()) {
                // The practice could not load its pictures and has already said so; the
                // program is ending, so no empty-set message follows.
                ScreenCursor::normal();
            } else {
                ScreenCursor::normal();
                if (tag == WrongQuestions && !byDoubleClick)
                    ShowDlg(QStringLiteral("提示"), QStringLiteral("本章节下没有错题！"), 1,
                            QStringLiteral("NO"), 1);
                else if (tag == DoneQuestions && !byDoubleClick)
                    ShowDlg(QStringLiteral("提示"), QStringLiteral("本章节习题还未曾做过！"), 1,
                            QStringLiteral("NO"), 1);
                else
                    ShowDlg(QStringLiteral("提示"),
                            QStringLiteral("请联系书店，购买Velmora《Tarnwick》一书！"), 1,
                            QStringLiteral("NO"), 0);
            }
        } catch (const std::exception& e) {
            failure = QString::fromUtf8(e.what());
        }
        ScreenCursor::normal();
    } // the practice window is destroyed here

    if (shown)
        comeBack();
    if (!failure.isEmpty())
        Dialogs::reportError(failure);
}

void TFrmkmmc::epEfButton5Click() {
    Dialogs::guarded([this] {
        if (!WindowRegistry::has(WindowNames::Settings))
            return;
        App::ConfigMode = 0;
        WindowRegistry::open(WindowNames::Settings, this);
    });
}

void TFrmkmmc::epEfButton6Click() {
    if (!DM1 || !DM1->Cn1Table_kmmc->active())
        return;
    Dataset* km = DM1->Cn1Table_kmmc;
    const QString code = km->recNo() > 0 ? km->text(QStringLiteral("C1")) : QString();
    if (IsSubjectOrPart(code)) {
        Dialogs::messageBox(QStringLiteral("提示"), QStringLiteral("请选择具体章节目录！"),
                            Dialogs::Icon::Information);
        return;
    }
    if (!WindowRegistry::has(WindowNames::QuestionEntry))
        return;
    int added = 0;
    bool failed = false;
    try {
        added = std::max(0, WindowRegistry::open(WindowNames::QuestionEntry, this, code));
    } catch (const std::exception&) {
        failed = true;
    }
    try {
        km->requery();
        km->locate(QStringLiteral("C1"), code, Qt::CaseInsensitive);
        FollowDatasetRow(DBGrid1Model->currentRow());
    } catch (const std::exception&) {
        failed = true;
    }
    epNum_all->display(epNum_all->intValue() + added);
    if (failed)
        Dialogs::messageBox(QStringLiteral("提示"), QStringLiteral("录入试题后出现异常!"),
                            Dialogs::Icon::Warning);
}

void TFrmkmmc::SpeedButton6Click() {
    close();
}
