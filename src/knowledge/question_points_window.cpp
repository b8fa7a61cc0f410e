#include "knowledge/question_points_window.h"

#include "platform/dialogs.h"
#include "platform/screen_cursor.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/db_rich_view.h"
#include "widgets/effect_button.h"
#include "widgets/window_art.h"
#include "widgets/window_registry.h"

#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QShowEvent>
#include <QSplitter>

namespace {

// One layout: the client size, the widths of the list and the splitter handle.
struct Geometry {
    QSize window;
    int listWidth;
    int handleWidth;
};
const Geometry kSmall = {QSize(657, 421), 185, 3};
const Geometry kLarge = {QSize(917, 585), 401, 5};

constexpr int kTitleHeight = 33;
constexpr int kBottomHeight = 36;

} // namespace

TfrmAnswFagui::TfrmAnswFagui(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmAnswFagui"));
    setWindowTitle(QStringLiteral("相关考点"));
    setModal(true);
    background_.load(App::AppPath + QStringLiteral("pic/bg_window.png"));

    epLabel1 = new QLabel(QStringLiteral("考点："), this);
    epLabel1->setObjectName(QStringLiteral("epLabel1"));
    epLabel1->setIndent(10);
    QFont titleFont = epLabel1->font();
    titleFont.setPixelSize(16);
    titleFont.setBold(true);
    epLabel1->setFont(titleFont);
    epLabel1->setStyleSheet(
        QStringLiteral("QLabel { color: white; background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                       " stop:0 #3a6096, stop:1 #22406e); }"));

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);
    ListBox1 = WindowArt::MakeList(Splitter1, "ListBox1");
    Re = new DbRichView(Splitter1);
    Re->setObjectName(QStringLiteral("Re"));
    Re->setReadOnly(true);
    Re->setStyleSheet(
        QStringLiteral("QTextBrowser { background: white; border: 1px solid #b9c4d4; }"));
    Splitter1->addWidget(ListBox1);
    Splitter1->addWidget(Re);
    Splitter1->setStretchFactor(1, 1);
    connect(Splitter1, &QSplitter::splitterMoved, this, &TfrmAnswFagui::Splitter1Moved);
    connect(ListBox1, &QListWidget::currentRowChanged, this,
            Dialogs::guardedSlot(this, &TfrmAnswFagui::ListBox1Click));

    epEfTrBtn1 = new EffectButton(QStringLiteral("关  闭"), this);
    epEfTrBtn1->setObjectName(QStringLiteral("epEfTrBtn1"));
    connect(epEfTrBtn1, &QAbstractButton::clicked, this, &TfrmAnswFagui::epEfTrBtn1Click);

    m_listbox = new QListWidget(this);
    m_listbox->setObjectName(QStringLiteral("m_listbox"));
    m_listbox->setVisible(false);

    ADOQuery1 = new Dataset(&DM1->ADOCn1, this);
    ADOQuery2 = new Dataset(&DM1->ADOCn1, this);
    LayOut();
}

TfrmAnswFagui::~TfrmAnswFagui() {
    Re->unbind();
}

int TfrmAnswFagui::ShowPointsOf(QWidget* owner, const QString& questionId) {
    TfrmAnswFagui window(owner);
    if (!window.LoadQuestionPoints(questionId))
        return WindowRegistry::kNotShown;
    return window.exec();
}

bool TfrmAnswFagui::LoadQuestionPoints(const QString& questionId) {
    ADOQuery1->close();
    ADOQuery1->clearParams();
    ADOQuery1->setSql(
        QStringLiteral("select k3,k4,k5,k6,k7,k8,k9,k10,k11,k12 from tab_answ where a1=:a1"));
    ADOQuery1->setParam(QStringLiteral("a1"), questionId);
    ADOQuery1->open();
    if (ADOQuery1->isEmpty())
        return false;
    m_listbox->clear();
    for (int slot = 3; slot <= 12; ++slot) {
        const QString field = QStringLiteral("k%1").arg(slot);
        if (!ADOQuery1->isNull(field) && !ADOQuery1->text(field).isEmpty())
            m_listbox->addItem(ADOQuery1->text(field));
    }
    ADOQuery1->close();
    return m_listbox->count() > 0;
}

void TfrmAnswFagui::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Dialogs::guarded([this] { FormShow(); });
}

void TfrmAnswFagui::LayOut() {
    const Geometry& g = App::ScreenMode == QLatin1String("800") ? kSmall : kLarge;
    setFixedSize(g.window);
    const int w = g.window.width();
    const int h = g.window.height();
    epLabel1->setGeometry(0, 0, w, kTitleHeight);
    Splitter1->setGeometry(0, kTitleHeight, w, h - kTitleHeight - kBottomHeight);
    Splitter1->setHandleWidth(g.handleWidth);
    Splitter1->setSizes({g.listWidth, w - g.listWidth - g.handleWidth});
    epEfTrBtn1->setGeometry(w - 90, h - kBottomHeight + 6, 75, 25);
}

void TfrmAnswFagui::FormShow() {
    ScreenCursor::hourglass();
    LayOut();
    if (parentWidget())
        move(parentWidget()->geometry().center() - rect().center());
    else if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());

    // The knowledge points in the order of the question's slots; an id that names no knowledge
    // point yields no row.
    QStringList marks;
    QString order;
    ADOQuery1->close();
    ADOQuery1->clearParams();
    for (int i = 0; i < m_listbox->count(); ++i) {
        const QString name = QStringLiteral("f%1").arg(i);
        marks.append(QLatin1Char(':') + name);
        order += QStringLiteral(" when :%1 then %2").arg(name).arg(i);
        ADOQuery1->setParam(name, m_listbox->item(i)->text());
    }
    ADOQuery1->setSql(QStringLiteral("select id,n,sn,ftid from tab_rule where ftid in (") +
                      marks.join(QLatin1Char(',')) + QStringLiteral(") order by case ftid") +
                      order + QStringLiteral(" end"));
    ADOQuery1->open();
    ADOQuery1->first();
    Re->bind(ADOQuery1, QStringLiteral("n"));

    {
        const QSignalBlocker quiet(ListBox1);
        ListBox1->clear();
        for (int row = 0; row < ADOQuery1->recordCount(); ++row)
            ListBox1->addItem(ADOQuery1->textAt(row, QStringLiteral("sn")));
    }
    showChapterOf(ADOQuery1->text(QStringLiteral("id")));
    if (ListBox1->count() > 0) {
        const QSignalBlocker quiet(ListBox1);
        ListBox1->setCurrentRow(0);
        ADOQuery1->first();
    } else {
        epLabel1->clear();
    }
    ScreenCursor::normal();
}

void TfrmAnswFagui::showChapterOf(const QString& chapterId) {
    ADOQuery2->close();
    ADOQuery2->clearParams();
    ADOQuery2->setSql(QStringLiteral("select * from tab_fgmc where id=:id"));
    ADOQuery2->setParam(QStringLiteral("id"), chapterId);
    ADOQuery2->open();
    epLabel1->setText(ADOQuery2->text(QStringLiteral("n")));
    ADOQuery2->close();
}

void TfrmAnswFagui::ListBox1Click() {
    if (!ADOQuery1->active() || ListBox1->currentRow() < 0)
        return;
    ADOQuery1->setRecNo(ListBox1->currentRow() + 1);
    // The chapter is that of the selected knowledge point itself, also when another point
    // shares its heading.
    showChapterOf(ADOQuery1->text(QStringLiteral("id")));
}

void TfrmAnswFagui::Splitter1Moved() {
    Re->viewport()->update();
}

void TfrmAnswFagui::epEfTrBtn1Click() {
    close();
}

void TfrmAnswFagui::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TfrmAnswFagui::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!background_.isNull())
        p.drawTiledPixmap(rect(), background_);
    WindowArt::PaintButtonPlate(p, epEfTrBtn1->geometry());
    QDialog::paintEvent(event);
}

void TfrmAnswFagui::FormClose() {
    Re->unbind();
    ADOQuery1->close();
    ADOQuery2->close();
}
