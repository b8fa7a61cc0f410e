#include "settings/upgrade_window.h"

#include "widgets/effect_button.h"
#include "widgets/window_art.h"

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/progress.h"
#include "practice/dialog_placement.h"
#include "store/bank_upgrade.h"
#include "store/data_module.h"
#include "store/database.h"
#include "store/learner_bank.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QShowEvent>
#include <QStandardPaths>
#include <QStyle>
#include <QToolButton>

namespace {

constexpr int kWidth = 305;
constexpr int kHeight = 158;
constexpr int kTitleHeight = 24;

const QString kTitle = QStringLiteral("题库升级");
const QString kNotice = QStringLiteral("提示");

} // namespace

Tfrmstxz::Tfrmstxz(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmstxz"));
    setWindowTitle(kTitle);
    setModal(true);
    setFixedSize(kWidth, kHeight);
    WindowArt::UseWindowFont(this);

    Label1 = WindowArt::MakeLabel(this, "Label1",
                                  QStringLiteral("建议先下载升级题库，然后选择本地升级！"));
    Label1->setGeometry(14, 30, 280, 16);

    RadioGroup1 = new QGroupBox(QStringLiteral("选择升级方式"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setStyleSheet(WindowArt::GroupStyle());
    RadioGroup1->setGeometry(10, 50, 285, 70);
    RadioGroup1Item0 = new QRadioButton(QStringLiteral("本地升级"), RadioGroup1);
    RadioGroup1Item0->setObjectName(QStringLiteral("RadioGroup1Item0"));
    RadioGroup1Item0->setGeometry(12, 18, 120, 18);

    Edit1 = new QLineEdit(RadioGroup1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(12, 40, 232, 22);
    Edit1->setPlaceholderText(QStringLiteral("升级文件的位置"));
    SpeedButton1 = new QToolButton(RadioGroup1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(248, 39, 26, 24);
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    SpeedButton1->setToolTip(QStringLiteral("选择升级文件"));
    Edit1->hide();
    SpeedButton1->hide();

    epFocusButton1 = EffectButton::Make(this, "epFocusButton1", QStringLiteral("开始升级"));
    epFocusButton1->setGeometry(124, 127, 80, 24);
    epFocusButton1->setAutoDefault(false);
    epFocusButton3 = EffectButton::Make(this, "epFocusButton3", QStringLiteral("关闭"));
    epFocusButton3->setGeometry(214, 127, 80, 24);
    epFocusButton3->setAutoDefault(false);

    connect(RadioGroup1Item0, &QRadioButton::toggled, this,
            [this](bool) { Dialogs::guarded([this] { RadioGroup1Click(); }); });
    connect(SpeedButton1, &QToolButton::clicked, this,
            Dialogs::guardedSlot(this, &Tfrmstxz::SpeedButton1Click));
    connect(Edit1, &QLineEdit::returnPressed, this,
            Dialogs::guardedSlot(this, &Tfrmstxz::epFocusButton1Click));
    connect(epFocusButton1, &QPushButton::clicked, this,
            Dialogs::guardedSlot(this, &Tfrmstxz::epFocusButton1Click));
    connect(epFocusButton3, &QPushButton::clicked, this, &Tfrmstxz::epFocusButton3Click);
}

Tfrmstxz::~Tfrmstxz() = default;

QString Tfrmstxz::FileFilter() {
    return QStringLiteral("升级文件 (*.db *.mdb);;所有文件 (*)");
}

void Tfrmstxz::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Dialogs::guarded([this] { FormShow(); });
    Placement::centreOnDesktop(this);
}

void Tfrmstxz::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    WindowArt::PaintPaper(p, rect());
    WindowArt::PaintTitleBand(p, QRect(0, 0, kWidth, kTitleHeight), kTitle, 13);
    WindowArt::PaintButtonPlate(p, epFocusButton1->geometry());
    WindowArt::PaintButtonPlate(p, epFocusButton3->geometry());
    WindowArt::PaintWindowEdge(p, rect());
}

void Tfrmstxz::FormShow() {
    RadioGroup1Item0->setChecked(true);
    RadioGroup1Click();
    Edit1->setFocus();
}

void Tfrmstxz::RadioGroup1Click() {
    // The local method is the only one offered: the path field and its folder button.
    const bool local = RadioGroup1Item0->isChecked();
    Edit1->setVisible(local);
    SpeedButton1->setVisible(local);
}

void Tfrmstxz::SpeedButton1Click() {
    QString start = Edit1->text().trimmed();
    if (start.isEmpty()) {
        // Upgrade files are downloaded; a desktop without a download folder starts at home.
        start = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        if (!QFileInfo(start).isDir())
            start = QDir::homePath();
    }
    const QString chosen =
        Dialogs::openFileName(QStringLiteral("选择升级文件"), start, FileFilter());
    if (!chosen.isEmpty())
        Edit1->setText(QDir::toNativeSeparators(chosen));
}

void Tfrmstxz::epFocusButton1Click() {
    const QString path = Edit1->text().trimmed();
    if (path.isEmpty()) {
        ShowDlg(kNotice, QStringLiteral("请点击文件夹按钮选择升级文件！"), 1, QStringLiteral("NO"),
                1);
        return;
    }
    ApplyUpgrade(QDir::fromNativeSeparators(path));
}

void Tfrmstxz::ApplyUpgrade(const QString& path) {
    TDM1& dm = *DM1;
    dm.Cn2Query1->close();
    dm.ADOCn2.close();
    bool opened = false;
    if (QFileInfo(path).isFile()) {
        try {
            dm.ADOCn2.openReadOnly(path);
            opened = BankUpgrade::isUpgradeFile(dm.ADOCn2);
        } catch (const DbError&) {
        }
    }
    if (!opened) {
        dm.ADOCn2.close();
        ShowDlg(QStringLiteral("错误"), QStringLiteral("无法打开升级文件！"), 1,
                QStringLiteral("NO"), 2);
        return;
    }

    BankUpgrade::Mark mark;
    dm.Cn2Query1->setSql(QStringLiteral("select * from tab_sj"));
    dm.Cn2Query1->open();
    if (dm.Cn2Query1->recordCount() > 0) {
        dm.Cn2Query1->first();
        mark = {dm.Cn2Query1->text(QStringLiteral("sjbs")),
                dm.Cn2Query1->text(QStringLiteral("cpbs"))};
    }
    dm.Cn2Query1->close();

    Dataset* q = dm.Cn1Query1;
    const auto registered = [q](const QString& column, const QString& value) {
        q->close();
        q->setSql(QStringLiteral("select * from tab_sj where %1=:%1").arg(column));
        q->setParam(column, value);
        q->open();
        const bool found = q->recordCount() > 0;
        q->close();
        return found;
    };
    if (mark.cpbs.isEmpty() || !registered(QStringLiteral("cpbs"), mark.cpbs)) {
        ShowDlg(kNotice, QStringLiteral("升级文件不属于本软件！"), 1, QStringLiteral("NO"), 1);
        return;
    }
    if (registered(QStringLiteral("sjbs"), mark.sjbs)) {
        ShowDlg(kNotice, QStringLiteral("您已升级过了！"), 1, QStringLiteral("NO"), 1);
        return;
    }

    bool applied = false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Progress::begin(QStringLiteral("正在升级题库，请等待..."));
    // The bank as it was before the upgrade is kept among the backups; without that copy
    // nothing is merged.
    if (!LearnerBank::backup(dm.ADOCn1, LearnerBank::backupFolder(), Clock::now()).isEmpty()) {
        try {
            BankUpgrade::merge(dm.ADOCn1, path, BankUpgrade::Rows::All, mark);
            applied = true;
        } catch (const DbError&) {
        }
    }
    Progress::end();
    QApplication::restoreOverrideCursor();
    if (applied)
        ShowDlg(kNotice, QStringLiteral("升级成功！"), 1, QStringLiteral("NO"), 0);
    else
        ShowDlg(kNotice, QStringLiteral("升级失败！"), 1, QStringLiteral("NO"), 2);
}

void Tfrmstxz::epFocusButton3Click() {
    close();
}

void Tfrmstxz::done(int result) {
    Dialogs::guarded([this] { FormCloseQuery(); });
    QDialog::done(result);
}

void Tfrmstxz::FormCloseQuery() {
    DM1->Cn2Query1->close();
    DM1->ADOCn2.close();
}
