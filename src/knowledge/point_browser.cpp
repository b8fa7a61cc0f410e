#include "knowledge/point_browser.h"

#include "knowledge/point_catalogue.h"
#include "knowledge/point_practice_window.h"

#include "platform/dialogs.h"
#include "platform/program_end.h"
#include "platform/screen_cursor.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/db_rich_view.h"
#include "widgets/effect_button.h"
#include "widgets/window_art.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QShowEvent>
#include <QStandardItemModel>
#include <QTableView>

#include <exception>
#include <memory>

namespace {

const QString kTitle = QStringLiteral("考点目录");
const QString kTitleAgain = QStringLiteral("考 点 目 录");
const QString kKeyPoints = QStringLiteral("重点(&M)");
const QString kAllPoints = QStringLiteral("全部(&A)");

// Where everything sits in one of the two layouts. The title, the body and the grid take the
// window's width, so the five columns fit in either.
struct Geometry {
    QSize window;
    int bodyHeight;
    int controlsTop;
    int firstColumn;
    int dataRowHeight;
    int headingHeight;
    int listWidth; // the knowledge-point list of the chapter view
};

const Geometry kSmall = {QSize(760, 504), 380, 425, 410, 30, 30, 230};
const Geometry kLarge = {QSize(900, 599), 474, 520, 554, 30, 36, 300};

const Geometry& geometryFor(const QString& screenMode) {
    return screenMode == QLatin1String("800") ? kSmall : kLarge;
}

constexpr int kOtherColumns = 80;
constexpr int kTitleHeight = 39;

EffectButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* b = EffectButton::Make(parent, name, caption);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

// ---------------------------------------------------------------------------------------------

TfrmLawDetail::TfrmLawDetail(QAbstractButton* practise, QWidget* owner)
    : QDialog(owner), practise_(practise) {
    setObjectName(QStringLiteral("frmLawDetail"));
    m_Pdetail = new QWidget(this);
    m_Pdetail->setObjectName(QStringLiteral("m_Pdetail"));
    m_LBmenu = WindowArt::MakeList(m_Pdetail, "m_LBmenu");
    // A long heading wraps instead of hiding behind a sideways scroll.
    m_LBmenu->setWordWrap(true);
    m_LBmenu->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Re = new DbRichView(m_Pdetail);
    Re->setObjectName(QStringLiteral("Re"));
    Re->setReadOnly(true);
    Re->setStyleSheet(
        QStringLiteral("QTextBrowser { background: white; border: 1px solid #b9c4d4; }"));
    m_pNote = new QLabel(m_Pdetail);
    m_pNote->setObjectName(QStringLiteral("m_pNote"));
    m_pNote->setMinimumHeight(28);
    m_pNote->setIndent(6);
    m_pNote->setStyleSheet(QStringLiteral(
        "QLabel { background: #dfe7f2; color: #7a1d1d; border: 1px solid #b9c4d4; }"));

    auto* right = new QVBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(4);
    right->addWidget(Re, 1);
    right->addWidget(m_pNote);
    auto* row = new QHBoxLayout(m_Pdetail);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    row->addWidget(m_LBmenu);
    row->addLayout(right, 1);

    connect(m_LBmenu, &QListWidget::currentRowChanged, this,
            Dialogs::guardedSlot(this, &TfrmLawDetail::m_lBmenuClick));
}

TfrmLawDetail::~TfrmLawDetail() {
    Re->unbind();
    // The panel lives in the browser's body once it has been moved there.
    delete m_Pdetail;
}

void TfrmLawDetail::FillList() {
    Dataset* points = DM1->m_queryDetail;
    const QSignalBlocker quiet(m_LBmenu);
    m_LBmenu->clear();
    for (int row = 0; row < points->recordCount(); ++row) {
        m_LBmenu->addItem(
            PointCatalogue::ListText(points->textAt(row, QStringLiteral("sn")),
                                     points->valueAt(row, QStringLiteral("q")).toLongLong()));
    }
}

void TfrmLawDetail::WriteNote() {
    Dataset* points = DM1->m_queryDetail;
    const qint64 q = points->whole(QStringLiteral("q"));
    m_pNote->setText(PointCatalogue::NoteLine(q, points->whole(QStringLiteral("q1")),
                                              points->whole(QStringLiteral("q2")),
                                              points->whole(QStringLiteral("q4"))));
    practise_->setEnabled(PointCatalogue::HasExercises(q));
}

void TfrmLawDetail::m_lBmenuClick() {
    if (m_LBmenu->currentRow() < 0) {
        if (m_LBmenu->count() == 0)
            return;
        const QSignalBlocker quiet(m_LBmenu);
        m_LBmenu->setCurrentRow(0);
    }
    Dataset* points = DM1->m_queryDetail;
    if (!points->active())
        return;
    points->setRecNo(m_LBmenu->currentRow() + 1);
    WriteNote();
}

// ---------------------------------------------------------------------------------------------

TfrmLawsFaGui::TfrmLawsFaGui(QWidget* owner)
    : StepAsideDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmLawsFaGui"));
    setWindowTitle(kTitle);
    setModal(true);
    background_.load(App::AppPath + QStringLiteral("pic/bg_window.png"));

    m_pTiltel = new QWidget(this);
    m_pTiltel->setObjectName(QStringLiteral("m_pTiltel"));
    m_Ltiltle = new QLabel(kTitle, m_pTiltel);
    m_Ltiltle->setObjectName(QStringLiteral("m_Ltiltle"));
    m_Ltiltle->setAlignment(Qt::AlignCenter);
    QFont titleFont = m_Ltiltle->font();
    titleFont.setPixelSize(22);
    titleFont.setBold(true);
    m_Ltiltle->setFont(titleFont);
    m_Ltiltle->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    m_pBody = new QWidget(this);
    m_pBody->setObjectName(QStringLiteral("m_pBody"));
    m_pMuLu = new QWidget(m_pBody);
    m_pMuLu->setObjectName(QStringLiteral("m_pMuLu"));

    m_grid = WindowArt::MakeGrid(m_pMuLu, "m_grid");
    m_gridModel = new QStandardItemModel(0, 5, this);
    m_grid->setModel(m_gridModel);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { m_gridSelectCell(current.row()); });
    connect(m_grid, &QTableView::doubleClicked, this,
            Dialogs::guardedSlot(this, &TfrmLawsFaGui::m_gridDblClick));
    m_grid->installEventFilter(this);

    m_editFind = new QLineEdit(this);
    m_editFind->setObjectName(QStringLiteral("m_editFind"));
    connect(m_editFind, &QLineEdit::returnPressed, this,
            [this] { m_editFindKeyDown(Qt::Key_Return); });

    m_btnFind = makeButton(this, "m_btnFind", QStringLiteral("检索(&F)"));
    m_btnSelect = makeButton(this, "m_btnSelect", QStringLiteral("选定(&S)"));
    m_btnMost = makeButton(this, "m_btnMost", kKeyPoints);
    m_btnQuestion = makeButton(this, "m_btnQuestion", QStringLiteral("练习(&P)"));
    m_btnBack = makeButton(this, "m_btnBack", QStringLiteral("返回(&B)"));
    m_btnExit = makeButton(this, "m_btnExit", QStringLiteral("退出(&E)"));
    setToggle(0);
    m_btnMost->setEnabled(false);
    m_btnQuestion->setEnabled(false);
    m_btnBack->setVisible(false);
    connect(m_btnFind, &QPushButton::clicked, this, &TfrmLawsFaGui::m_btnFindClick);
    connect(m_btnSelect, &QPushButton::clicked, this,
            Dialogs::guardedSlot(this, &TfrmLawsFaGui::m_btnSelectClick));
    connect(m_btnMost, &QPushButton::clicked, this,
            Dialogs::guardedSlot(this, &TfrmLawsFaGui::m_btnMostClick));
    connect(m_btnQuestion, &QPushButton::clicked, this, &TfrmLawsFaGui::m_btnQuestionClick);
    connect(m_btnBack, &QPushButton::clicked, this,
            Dialogs::guardedSlot(this, &TfrmLawsFaGui::m_btnBackClick));
    connect(m_btnExit, &QPushButton::clicked, this, &TfrmLawsFaGui::m_btnExitClick);

    ADOQuery1 = new Dataset(&DM1->ADOCn1, this);
    Dialogs::guarded([this] { FormCreate(); });
    LayOut();
}

TfrmLawsFaGui::~TfrmLawsFaGui() = default;

void TfrmLawsFaGui::FormCreate() {
    rowIds_.clear();
    InitGrid();
    LoadCatalogue();
}

void TfrmLawsFaGui::InitGrid() {
    const Geometry& g = geometryFor(App::ScreenMode);
    const bool small = App::ScreenMode == QLatin1String("800");
    const QString headings[] = {QString(small ? 19 : 29, QLatin1Char(' ')) +
                                    QStringLiteral("考 点 名 称"),
                                QStringLiteral("  题  数"), QStringLiteral(" 已做题数"),
                                QStringLiteral(" 已做道次"), QStringLiteral(" 做错道次")};
    for (int c = 0; c < 5; ++c)
        m_gridModel->setHorizontalHeaderItem(c, new QStandardItem(headings[c]));
    QHeaderView* h = m_grid->horizontalHeader();
    h->resizeSection(0, g.firstColumn);
    for (int c = 1; c < 5; ++c)
        h->resizeSection(c, kOtherColumns);
    h->setFixedHeight(36);
    m_grid->verticalHeader()->setDefaultSectionSize(36);
}

void TfrmLawsFaGui::LoadCatalogue() {
    Dataset* q = DM1->m_query;
    q->close();
    q->clearParams();
    q->setSql(QStringLiteral("select * from tab_fgmc order by bh"));
    q->open();
    if (q->isEmpty())
        return;
    m_gridModel->removeRows(0, m_gridModel->rowCount());
    rowIds_.clear();
    const auto counter = [](qint64 v) {
        auto* item = new QStandardItem(PointCatalogue::CounterCell(v));
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return item;
    };
    for (int row = 0; row < q->recordCount(); ++row) {
        const auto whole = [&](const char* f) {
            return q->valueAt(row, QLatin1String(f)).toLongLong();
        };
        const QList<QStandardItem*> cells = {new QStandardItem(q->textAt(row, QStringLiteral("n"))),
                                             counter(whole("q")), counter(whole("q1")),
                                             counter(whole("q2")), counter(whole("q4"))};
        // A top-level entry (a whole subject) stands out from the chapters under it.
        if (PointCatalogue::IsTopLevel(q->textAt(row, QStringLiteral("id")))) {
            for (QStandardItem* c : cells) {
                QFont bold = m_grid->font();
                bold.setBold(true);
                c->setFont(bold);
                c->setBackground(QColor(236, 241, 248));
            }
        }
        m_gridModel->appendRow(cells);
        rowIds_.append(q->textAt(row, QStringLiteral("id")));
    }
    q->close();
}

void TfrmLawsFaGui::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmLawsFaGui::FormShow() {
    LayOut();
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void TfrmLawsFaGui::LayOut() {
    const Geometry& g = geometryFor(App::ScreenMode);
    setFixedSize(g.window);
    const int w = g.window.width();
    m_pTiltel->setGeometry(0, 0, w, kTitleHeight);
    m_Ltiltle->setGeometry(0, 0, w, kTitleHeight);
    m_pBody->setGeometry(0, kTitleHeight, w, g.bodyHeight);
    m_pMuLu->setGeometry(4, 4, w - 8, g.bodyHeight - 8);
    m_grid->setGeometry(m_pMuLu->rect());
    if (detail_) {
        detail_->m_Pdetail->setGeometry(m_pMuLu->rect());
        detail_->m_LBmenu->setFixedWidth(g.listWidth);
    }
    m_grid->horizontalHeader()->setFixedHeight(g.headingHeight);
    m_grid->verticalHeader()->setDefaultSectionSize(g.dataRowHeight);

    const int top = g.controlsTop;
    m_editFind->setGeometry(8, top, 180, 21);
    const std::pair<EffectButton*, int> buttons[] = {{m_btnFind, 218}, {m_btnSelect, 316},
                                                     {m_btnMost, 400}, {m_btnQuestion, 484},
                                                     {m_btnBack, 568}, {m_btnExit, 652}};
    for (const auto& [b, left] : buttons)
        b->setGeometry(left, top, 75, 22);
}

void TfrmLawsFaGui::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!background_.isNull())
        p.drawTiledPixmap(rect(), background_);
    else
        p.fillRect(rect(), QColor(246, 241, 230));
    WindowArt::PaintTitleBand(p, m_pTiltel->geometry(), QString(), 22);
    // A bar behind the row of controls, down to the window's bottom edge.
    const int barTop = m_editFind->y() - 10;
    p.fillRect(QRect(0, barTop, width(), height() - barTop), QColor(58, 96, 150, 28));
    p.setPen(QColor(120, 142, 176));
    p.drawLine(0, barTop, width(), barTop);
    for (const EffectButton* b :
         {m_btnFind, m_btnSelect, m_btnMost, m_btnQuestion, m_btnBack, m_btnExit}) {
        if (b->isVisible())
            WindowArt::PaintButtonPlate(p, b->geometry());
    }
    QDialog::paintEvent(event);
}

bool TfrmLawsFaGui::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_grid) {
                Dialogs::guarded([this] { m_btnSelectClick(); });
                return true;
            }
            if (detail_ && watched == detail_->m_LBmenu) {
                if (m_btnQuestion->isEnabled())
                    m_btnQuestionClick();
                return true;
            }
        }
    }
    return StepAsideDialog::eventFilter(watched, event);
}

int TfrmLawsFaGui::currentRow() const {
    return m_grid->currentIndex().row();
}

void TfrmLawsFaGui::selectRow(int row) {
    if (row < 0 || row >= m_gridModel->rowCount())
        return;
    m_grid->setCurrentIndex(m_gridModel->index(row, 0));
    m_grid->selectRow(row);
    m_grid->scrollTo(m_gridModel->index(row, 0));
}

void TfrmLawsFaGui::setToggle(int toggle) {
    m_btnMost->setProperty("tag", toggle);
    m_btnMost->setText(toggle == 0 ? kKeyPoints : kAllPoints);
}

// ---------------------------------------------------------------------------------------------

int TfrmLawsFaGui::FindRow() const {
    QStringList names;
    names.reserve(m_gridModel->rowCount());
    for (int row = 0; row < m_gridModel->rowCount(); ++row)
        names.append(m_gridModel->item(row, 0)->text());
    return PointCatalogue::FindRow(names, m_editFind->text());
}

void TfrmLawsFaGui::m_btnFindClick() {
    const int row = FindRow();
    if (row >= 0)
        selectRow(row);
}

void TfrmLawsFaGui::m_editFindKeyDown(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        m_btnFindClick();
}

void TfrmLawsFaGui::m_gridSelectCell(int row) {
    if (row < 0 || row >= m_gridModel->rowCount())
        return;
    m_grid->setToolTip(m_gridModel->item(row, 0)->text());
}

void TfrmLawsFaGui::m_gridDblClick() {
    m_btnSelectClick();
}

void TfrmLawsFaGui::m_btnSelectClick() {
    const int row = currentRow();
    if (row < 0 || row >= rowIds_.size())
        return;
    const QString id = rowIds_.at(row).trimmed();
    if (PointCatalogue::IsTopLevel(id)) {
        ShowDlg(QStringLiteral("提示"), QStringLiteral("请选择具体章节!"), 3, QString(), 1);
        return;
    }

    threshold_ = 1;
    try {
        ADOQuery1->close();
        ADOQuery1->clearParams();
        ADOQuery1->setSql(
            QStringLiteral("select count(*) as icou1 from tab_rule where (id = :id)"));
        ADOQuery1->setParam(QStringLiteral("id"), id);
        ADOQuery1->open();
        threshold_ = PointCatalogue::KeyPointThreshold(m_gridModel->item(row, 1)->text(),
                                                       ADOQuery1->whole(QStringLiteral("icou1")));
        ADOQuery1->close();
    } catch (const std::exception&) {
        threshold_ = 1; // the chapter opens all the same
    }

    SwitchView(false);

    Dataset* points = DM1->m_queryDetail;
    points->close();
    points->setFiltered(false);
    points->clearFilter();
    points->clearParams();
    points->setSql(QStringLiteral("select * from tab_rule where id=:id order by ftid"));
    points->setParam(QStringLiteral("id"), id);
    points->open();
    if (points->isEmpty()) {
        m_btnQuestion->setEnabled(false);
        Dialogs::messageBox(QStringLiteral("提示"),
                            QStringLiteral("请联系书店，购买Velmora《Tarnwick》一书!"),
                            Dialogs::Icon::Information);
        return;
    }
    detail_->FillList();
    {
        const QSignalBlocker quiet(detail_->m_LBmenu);
        detail_->m_LBmenu->setCurrentRow(0);
    }
    detail_->Re->bind(points, QStringLiteral("n"));
    points->first();
    detail_->WriteNote();
}

void TfrmLawsFaGui::SwitchView(bool catalogue) {
    m_editFind->setVisible(catalogue);
    m_btnFind->setVisible(catalogue);
    m_btnSelect->setVisible(catalogue);
    m_btnMost->setEnabled(!catalogue);
    m_btnQuestion->setEnabled(!catalogue);
    m_btnBack->setVisible(!catalogue);
    if (!catalogue) {
        if (!detail_) {
            detail_ = std::make_unique<TfrmLawDetail>(m_btnQuestion, this);
            detail_->m_LBmenu->installEventFilter(this);
            // A double click on a knowledge point practises it, as 练习 does.
            connect(detail_->m_LBmenu, &QListWidget::itemDoubleClicked, this, [this] {
                if (m_btnQuestion->isEnabled())
                    m_btnQuestionClick();
            });
        }
        detail_->m_Pdetail->setParent(m_pMuLu);
        detail_->m_Pdetail->setGeometry(m_pMuLu->rect());
        detail_->m_LBmenu->setFixedWidth(geometryFor(App::ScreenMode).listWidth);
        const int row = currentRow();
        if (row >= 0)
            m_Ltiltle->setText(m_gridModel->item(row, 0)->text().trimmed());
        detail_->m_Pdetail->show();
    } else {
        m_Ltiltle->setText(kTitleAgain);
    }
    m_grid->setVisible(catalogue);
    update();
}

// ---------------------------------------------------------------------------------------------

bool TfrmLawsFaGui::ApplyKeyPointFilter(int toggle) {
    Dataset* points = DM1->m_queryDetail;
    if (!points->active() || !detail_)
        return false;
    detail_->Re->unbind();
    points->setFiltered(false);
    if (toggle == 0) {
        const int threshold = threshold_;
        points->setFilter(
            [threshold](const RowRef& r) { return r.whole(QStringLiteral("q")) >= threshold; });
    } else {
        points->clearFilter();
    }
    points->setFiltered(true);

    const auto showAll = [&] {
        detail_->FillList();
        const QSignalBlocker quiet(detail_->m_LBmenu);
        detail_->m_LBmenu->setCurrentRow(detail_->m_LBmenu->count() > 0 ? 0 : -1);
    };
    const auto showFirst = [&] {
        detail_->Re->bind(points, QStringLiteral("n"));
        points->first();
        detail_->WriteNote();
    };
    if (!points->isEmpty()) {
        showAll();
        showFirst();
        return true;
    }
    if (toggle == 1)
        return false;
    // No point reaches the threshold: all points stay listed.
    points->setFiltered(false);
    points->clearFilter();
    points->setFiltered(true);
    showAll();
    if (!points->isEmpty())
        showFirst();
    return false;
}

void TfrmLawsFaGui::m_btnMostClick() {
    const int toggle = m_btnMost->property("tag").toInt();
    if (!ApplyKeyPointFilter(toggle)) {
        Dialogs::messageBox(QStringLiteral("提示"), QStringLiteral("此考点暂无重点内容！"),
                            Dialogs::Icon::Information);
        return;
    }
    setToggle(toggle == 0 ? 1 : 0);
}

void TfrmLawsFaGui::m_btnQuestionClick() {
    if (!detail_ || detail_->m_LBmenu->currentRow() < 0)
        return;
    Dataset* points = DM1->m_queryDetail;
    QString failure;
    bool shown = false;
    try {
        // The selected knowledge point's own record gives its id and heading, whatever the
        // heading holds.
        if (!points->active() || !points->setRecNo(detail_->m_LBmenu->currentRow() + 1))
            return;
        const QString pointId = points->text(QStringLiteral("ftid"));
        const QString heading = PointCatalogue::Heading(points->text(QStringLiteral("sn")));
        App::PracticeQuerySql = PointCatalogue::PracticeSql();
        App::PracticeQueryParams = PointCatalogue::PracticeParams(pointId);

        ScreenCursor::hourglass();
        auto practice = std::make_unique<TFrmRuleLxxt>(nullptr);
        practice->setWindowTitle(QString());
        if (practice->LoadQuestionSet()) {
            shown = true;
            stepAside();
            practice->epLabel2->setText(heading);
            ScreenCursor::normal();
            practice->exec();
        } else if (!ProgramEnd::requested()) {
            ScreenCursor::normal();
            ShowDlg(QStringLiteral("提示"), QStringLiteral("恭喜你，习题已做完！"), 1,
                    QStringLiteral("NO"), 0);
        }
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    }
    ScreenCursor::normal();
    Dialogs::guarded([this] { rereadPoints(); });
    if (shown)
        comeBack();
    if (!failure.isEmpty())
        Dialogs::reportError(failure);
}

void TfrmLawsFaGui::rereadPoints() {
    Dataset* points = DM1->m_queryDetail;
    if (!detail_ || ProgramEnd::requested())
        return;
    // The practice closed the shared datasets it used; the chapter's points are read again so
    // that the note line shows the counters the practice has just changed.
    if (points->active())
        points->requery();
    detail_->m_lBmenuClick();
}

void TfrmLawsFaGui::m_btnBackClick() {
    const int row = currentRow();
    SwitchView(true);
    InitGrid();
    LoadCatalogue();
    FormShow();
    selectRow(row);
    detail_.reset();
    Dataset* points = DM1->m_queryDetail;
    points->close();
    points->setFiltered(false);
    points->clearFilter();
    setToggle(0);
}

void TfrmLawsFaGui::m_btnExitClick() {
    close();
}

void TfrmLawsFaGui::done(int result) {
    Dialogs::guarded([this] { FormClose(); });
    StepAsideDialog::done(result);
}

void TfrmLawsFaGui::FormClose() {
    if (detail_)
        detail_->Re->unbind();
    for (Dataset* ds : {DM1->m_query, DM1->m_queryDetail, ADOQuery1}) {
        ds->close();
        ds->setFiltered(false);
        ds->clearFilter();
    }
}
