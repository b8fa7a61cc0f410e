#include "authoring/point_picker.h"

#include "authoring/authored_question.h"

#include "platform/dialogs.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/effect_button.h"
#include "widgets/window_art.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

constexpr int kWidth = 460;
constexpr int kHeight = 420;
constexpr int kTitleHeight = 34;

QLabel* makeTitle(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setAlignment(Qt::AlignCenter);
    QFont f = l->font();
    f.setPixelSize(17);
    f.setBold(true);
    l->setFont(f);
    l->setStyleSheet(
        QStringLiteral("QLabel { color: white; background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                       " stop:0 #3a6096, stop:1 #22406e); }"));
    l->setGeometry(0, 0, kWidth, kTitleHeight);
    return l;
}

} // namespace

TFrmSelectFG::TFrmSelectFG(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("FrmSelectFG"));
    setWindowTitle(QStringLiteral("欢迎"));
    setModal(true);
    setFixedSize(kWidth, kHeight);

    query_ = new Dataset(&DM1->ADOCn1, this);

    Notebook1 = new QStackedWidget(this);
    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    Notebook1->setGeometry(0, 0, kWidth, kHeight);

    // Page 0: the picker.
    auto* picker = new QWidget(Notebook1);
    Label1 = makeTitle(picker, "Label1", QStringLiteral("考 点 选 择"));
    WindowArt::MakeLabel(picker, "Label3", QStringLiteral("考点："))
        ->setGeometry(20, kTitleHeight + 12, 60, 22);
    ComboBox1 = new QComboBox(picker);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(20, kTitleHeight + 36, kWidth - 40, 24);
    ComboBox2 = new QComboBox(picker);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setGeometry(ComboBox1->geometry());
    ComboBox2->hide();
    WindowArt::MakeLabel(picker, "Label4", QStringLiteral("条文："))
        ->setGeometry(20, kTitleHeight + 70, 60, 22);
    CheckListBox1 = WindowArt::MakeList(picker, "CheckListBox1");
    CheckListBox1->setGeometry(20, kTitleHeight + 94, kWidth - 40, kHeight - kTitleHeight - 150);
    CheckListBox2 = new QListWidget(picker);
    CheckListBox2->setObjectName(QStringLiteral("CheckListBox2"));
    CheckListBox2->setGeometry(CheckListBox1->geometry());
    CheckListBox2->hide();
    epEfButton1 = EffectButton::Make(picker, "epEfButton1", QStringLiteral("确  定"));
    epEfButton1->setGeometry(kWidth - 200, kHeight - 44, 80, 28);
    epEfButton2 = EffectButton::Make(picker, "epEfButton2", QStringLiteral("关  闭"));
    epEfButton2->setGeometry(kWidth - 104, kHeight - 44, 80, 28);
    Notebook1->addWidget(picker);

    // Page 1: the usage instructions.
    auto* usage = new QWidget(Notebook1);
    Label2 = makeTitle(usage, "Label2", QStringLiteral("使 用 说 明"));
    Memo1 = new QPlainTextEdit(usage);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setPlainText(UsageLines().join(QLatin1Char('\n')));
    Memo1->setGeometry(20, kTitleHeight + 12, kWidth - 40, kHeight - kTitleHeight - 68);
    Memo1->setStyleSheet(
        QStringLiteral("QPlainTextEdit { background: white; border: 1px solid #b9c4d4; }"));
    epEfButton3 = EffectButton::Make(usage, "epEfButton3", QStringLiteral("关  闭"));
    epEfButton3->setGeometry(kWidth - 104, kHeight - 44, 80, 28);
    Notebook1->addWidget(usage);

    connect(ComboBox1, &QComboBox::currentIndexChanged, this,
            [this] { Dialogs::guarded([this] { ComboBox1Change(); }); });
    connect(CheckListBox1, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        CheckListBox1->setCurrentItem(item);
        CheckListBox1ClickCheck();
    });
    connect(epEfButton1, &QAbstractButton::clicked, this,
            Dialogs::guardedSlot(this, &TFrmSelectFG::epEfButton1Click));
    connect(epEfButton2, &QAbstractButton::clicked, this, &TFrmSelectFG::epEfButton2Click);
    connect(epEfButton3, &QAbstractButton::clicked, this, &TFrmSelectFG::epEfButton3Click);
}

TFrmSelectFG::~TFrmSelectFG() = default;

void TFrmSelectFG::setPage(int page) {
    Notebook1->setCurrentIndex(page == 1 ? 1 : 0);
    setWindowTitle(page == 1 ? QStringLiteral("使用说明") : QStringLiteral("欢迎"));
}

int TFrmSelectFG::page() const {
    return Notebook1->currentIndex();
}

void TFrmSelectFG::setOpener(int tag, const QListWidget* openerIds) {
    Tag = tag;
    openerIds_ = openerIds;
}

QStringList TFrmSelectFG::UsageLines() {
    return {
        QStringLiteral("使用方法如下："),
        QString(),
        QStringLiteral("   首先将试题的内容填写在试题内容框内，这是必须填写项，如果试题有对应的"),
        QStringLiteral("讲解，请把内容填写进解析框内。"),
        QString(),
        QStringLiteral("   然后选择或录入待选答案的个数，主要是选择题，例如试题："),
        QString(),
        QStringLiteral("   7月有几天？"),
        QStringLiteral("   A. 30"),
        QStringLiteral("   B. 28"),
        QStringLiteral("   C. 31"),
        QStringLiteral("   "),
        QStringLiteral("   这里的待选答案是A B C，共为3个，也就是我们这里的待选答案个数为3。"),
        QStringLiteral("   "),
        QStringLiteral("   接下来填入答案："),
        QStringLiteral("   如果是单选，例如上面的试题，就填写C；"),
        QStringLiteral("   如果是多选把答案直接填入框内。例如答案是ABD那么答案框内就写ABD；"),
        QStringLiteral("   如果是判断题则答案正确填写A，答案错误填写B；"),
        QStringLiteral("   如果试题是主观题，则把实际答案同解析内容一起填入解析栏中。答案框中自"),
        QStringLiteral("动填写1；"),
        QString()};
}

void TFrmSelectFG::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (parentWidget())
        move(parentWidget()->geometry().center() - rect().center());
    Dialogs::guarded([this] { FormShow(); });
}

void TFrmSelectFG::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    WindowArt::PaintPaper(p, rect());
    // The buttons sit on the notebook's pages; their plates are drawn here, under the pages.
    p.setRenderHint(QPainter::Antialiasing);
    for (const EffectButton* b : {epEfButton1, epEfButton2, epEfButton3})
        if (b->isVisibleTo(this))
            WindowArt::PaintButtonPlate(p, QRect(b->mapTo(this, QPoint(0, 0)), b->size()));
    QDialog::paintEvent(event);
}

void TFrmSelectFG::FormShow() {
    if (page() == 0)
        LoadCatalogueEntries();
}

void TFrmSelectFG::LoadCatalogueEntries() {
    Dataset* q = query_;
    q->close();
    q->clearParams();
    // Top-level entries and their chapters, in the catalogue's own order.
    q->setSql(QStringLiteral(
        "select id, n from tab_fgmc where length(id) = 6 or length(id) = 2 order by bh, id"));
    q->open();
    const QSignalBlocker quiet(ComboBox1);
    ComboBox1->clear();
    ComboBox2->clear();
    for (q->first(); !q->eof(); q->next()) {
        ComboBox1->addItem(q->text(QStringLiteral("n")));
        ComboBox2->addItem(q->text(QStringLiteral("id")));
    }
    q->close();
    // The top-level entries hold no points of their own: the list opens on the first entry
    // that has some, so the learner sees points to tick at once.
    int first = ComboBox1->count() > 0 ? 0 : -1;
    for (int i = 0; i < ComboBox2->count(); ++i) {
        if (hasPoints(ComboBox2->itemText(i))) {
            first = i;
            break;
        }
    }
    ComboBox1->setCurrentIndex(first);
    ComboBox2->setCurrentIndex(first);
    if (first < 0)
        loadPoints(QString());
    else
        ComboBox1Change(); // the question's own points show ticked here too
}

bool TFrmSelectFG::hasPoints(const QString& entryId) {
    Dataset* q = query_;
    q->close();
    q->clearParams();
    q->setSql(QStringLiteral("select 1 as found from tab_rule where id = :id limit 1"));
    q->setParam(QStringLiteral("id"), entryId);
    q->open();
    const bool found = q->recordCount() > 0;
    q->close();
    return found;
}

void TFrmSelectFG::loadPoints(const QString& entryId) {
    const QSignalBlocker quiet(CheckListBox1);
    CheckListBox1->clear();
    CheckListBox2->clear();
    if (!entryId.isEmpty()) {
        Dataset* q = query_;
        q->close();
        q->clearParams();
        q->setSql(QStringLiteral("select ftid, sn from tab_rule where id = :id order by ftid"));
        q->setParam(QStringLiteral("id"), entryId);
        q->open();
        for (q->first(); !q->eof(); q->next()) {
            for (QListWidget* list : {CheckListBox1, CheckListBox2}) {
                auto* item = new QListWidgetItem(
                    q->text(list == CheckListBox1 ? QStringLiteral("sn") : QStringLiteral("ftid")),
                    list);
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
                item->setCheckState(Qt::Unchecked);
            }
        }
        q->close();
    }
    if (CheckListBox1->count() > 0) {
        CheckListBox1->setCurrentRow(0);
        CheckListBox2->setCurrentRow(0);
    }
}

void TFrmSelectFG::ComboBox1Change() {
    const int row = ComboBox1->currentIndex();
    if (row < 0)
        return;
    ComboBox2->setCurrentIndex(row);
    loadPoints(ComboBox2->currentText());
    // The identifiers the question has already are shown ticked; only the visible list carries
    // these marks, so they hand nothing back twice.
    if ((Tag == 1 || Tag == 2) && openerIds_) {
        const QSignalBlocker quiet(CheckListBox1);
        for (int i = 0; i < CheckListBox2->count(); ++i) {
            const QString id = CheckListBox2->item(i)->text();
            for (int j = 0; j < openerIds_->count(); ++j) {
                if (openerIds_->item(j)->text().compare(id, Qt::CaseInsensitive) == 0) {
                    CheckListBox1->item(i)->setCheckState(Qt::Checked);
                    break;
                }
            }
        }
    }
    if (CheckListBox1->count() > 0) {
        CheckListBox1->setCurrentRow(0);
        CheckListBox2->setCurrentRow(0);
    }
}

void TFrmSelectFG::CheckListBox1ClickCheck() {
    const int row = CheckListBox1->currentRow();
    if (row < 0 || row >= CheckListBox2->count())
        return;
    CheckListBox2->item(row)->setCheckState(CheckListBox1->item(row)->checkState());
}

void TFrmSelectFG::epEfButton1Click() {
    int ticked = 0;
    for (int i = 0; i < CheckListBox2->count() && i < CheckListBox1->count(); ++i)
        if (CheckListBox1->item(i)->checkState() == Qt::Checked)
            ++ticked;
    if (ticked == 0) {
        Dialogs::messageBox(QStringLiteral("提示"),
                            QStringLiteral("请选择对应考点，退出请按关闭按钮！"),
                            Dialogs::Icon::Information);
        return;
    }
    if (App::ChosenPointCount + ticked > Authoring::kMaxPicked) {
        Dialogs::messageBox(
            QStringLiteral("提示"),
            QStringLiteral("对应考点最多不能超过7条，已有考点%1条！").arg(App::ChosenPointCount),
            Dialogs::Icon::Information);
        return;
    }
    accept();
}

void TFrmSelectFG::epEfButton2Click() {
    reject();
}

void TFrmSelectFG::epEfButton3Click() {
    reject();
}

void TFrmSelectFG::AddPickedPoints(QListWidget* listBox1, QListWidget* listBox2) const {
    for (int i = 0; i < CheckListBox2->count(); ++i) {
        if (CheckListBox2->item(i)->checkState() != Qt::Checked)
            continue;
        const QString id = CheckListBox2->item(i)->text();
        bool known = false;
        for (int j = 0; j < listBox2->count() && !known; ++j)
            known = listBox2->item(j)->text().compare(id, Qt::CaseInsensitive) == 0;
        if (known)
            continue;
        listBox2->addItem(id);
        QString heading = CheckListBox1->item(i)->text();
        while (!heading.isEmpty() && heading.back().isSpace())
            heading.chop(1);
        listBox1->addItem(ComboBox1->currentText() + QLatin1Char('[') + heading + QLatin1Char(']'));
    }
}
