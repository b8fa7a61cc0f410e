#include "settings/config_window.h"

#include "widgets/effect_button.h"
#include "widgets/switch_button.h"
#include "widgets/window_art.h"

#include "platform/background_music.h"
#include "platform/dialogs.h"
#include "practice/dialog_placement.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "store/database.h"
#include "store/time_text.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QShowEvent>
#include <QSlider>

namespace {

constexpr int kWidth = 364;
constexpr int kDesignHeight = 312;
constexpr int kMusicHeight = 130; // the music controls and the volume row
constexpr int kTimesHeight = 170;

constexpr int kRowPitch = 20;

const QString kDefaultTrack = QStringLiteral("乐曲01");

QString trackFile(const QString& track) {
    return App::AppPath + QStringLiteral("sound/") + track + QStringLiteral(".mid");
}

} // namespace

TFrmConfig::TFrmConfig(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FrmConfig"));
    setWindowTitle(QStringLiteral("系统设置"));
    setModal(true);
    setFixedSize(kWidth, kDesignHeight);
    WindowArt::UseWindowFont(this);

    Label1 = WindowArt::MakeLabel(this, "Label1", QStringLiteral("背景音乐"));
    Label1->setGeometry(16, 24, 76, 16);
    RxSwitch1 = new SwitchButton(this);
    RxSwitch1->setObjectName(QStringLiteral("RxSwitch1"));
    RxSwitch1->setGeometry(96, 18, 58, 24);

    Label5 = WindowArt::MakeLabel(this, "Label5", QStringLiteral("声音列表"));
    Label5->setGeometry(16, 60, 76, 16);
    FlatComboBox1 = new QComboBox(this);
    FlatComboBox1->setObjectName(QStringLiteral("FlatComboBox1"));
    FlatComboBox1->setGeometry(93, 56, 160, 24);
    const QStringList tracks = TracksIn(App::AppPath + QStringLiteral("sound"));
    FlatComboBox1->addItems(tracks);
    FlatComboBox1->setCurrentIndex(-1);
    FlatComboBox1->setPlaceholderText(tracks.isEmpty() ? QStringLiteral("（没有乐曲）")
                                                       : QStringLiteral("请选择乐曲"));
    FlatComboBox1->setEnabled(!tracks.isEmpty());

    Label2 = WindowArt::MakeLabel(this, "Label2", QStringLiteral("音    量"));
    Label2->setGeometry(16, 96, 76, 16);
    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setRange(1, 16);
    TrackBar1->setPageStep(3);
    TrackBar1->setValue(std::clamp(App::VolumeLevel, 1, 16));
    TrackBar1->setGeometry(93, 92, 160, 24);
    TrackBar1->setToolTip(QStringLiteral("1为静音，16为最大音量"));
    Label3 = WindowArt::MakeLabel(this, "Label3", QString::number(TrackBar1->value()));
    Label3->setGeometry(260, 96, 30, 16);

    Label4 = WindowArt::MakeLabel(this, "Label4", QStringLiteral("答题时间设置"));
    Label4->setGeometry(8, 112, 120, 16);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setGeometry(9, 136, 345, 168);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ScrollBox1->setWidgetResizable(false);
    QPalette white = ScrollBox1->palette();
    white.setColor(QPalette::Window, Qt::white);
    ScrollBox1->setPalette(white);
    ScrollBox1->setBackgroundRole(QPalette::Window);
    ScrollBox1->setAutoFillBackground(true);

    epFocusButton3 = EffectButton::Make(this, "epFocusButton3", QStringLiteral("关闭"));
    epFocusButton3->setGeometry(270, 23, 75, 26);
    epFocusButton3->setAutoDefault(false);

    connect(RxSwitch1, &SwitchButton::switchedOn, this,
            Dialogs::guardedSlot(this, &TFrmConfig::RxSwitch1On));
    connect(RxSwitch1, &SwitchButton::switchedOff, this,
            Dialogs::guardedSlot(this, &TFrmConfig::RxSwitch1Off));
    connect(FlatComboBox1, &QComboBox::currentIndexChanged, this,
            [this](int) { Dialogs::guarded([this] { FlatComboBox1Change(); }); });
    connect(TrackBar1, &QSlider::valueChanged, this,
            [this](int) { Dialogs::guarded([this] { TrackBar1Change(); }); });
    connect(epFocusButton3, &QPushButton::clicked, this, &TFrmConfig::epFocusButton3Click);
}

TFrmConfig::~TFrmConfig() = default;

QStringList TFrmConfig::TracksIn(const QString& soundFolder) {
    QStringList tracks;
    const QFileInfoList files =
        QDir(soundFolder).entryInfoList({QStringLiteral("*.mid")}, QDir::Files, QDir::Name);
    for (const QFileInfo& f : files)
        tracks << f.completeBaseName();
    tracks.sort();
    return tracks;
}

void TFrmConfig::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Dialogs::guarded([this] { FormShow(); });
    Placement::centreOnDesktop(this);
}

void TFrmConfig::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    WindowArt::PaintPaper(p, rect());
    WindowArt::PaintButtonPlate(p, epFocusButton3->geometry());
    WindowArt::PaintWindowEdge(p, rect());
}

void TFrmConfig::FormShow() {
    RxSwitch1->setChecked(true);
    if (App::PaperKind == 0)
        App::PaperKind = 1;
    if (App::ConfigMode == 1) {
        setFixedSize(kWidth, kTimesHeight);
        Label2->hide();
        TrackBar1->hide();
        Label3->hide();
        Dataset* tx = DM1->Cn1Table_tx;
        tx->close();
        tx->setTableName(QStringLiteral("tab_tx") + QString::number(App::PaperKind));
        tx->open();
        tx->first();
        BuildTimeEditors();
    } else {
        setFixedSize(kWidth, kMusicHeight);
        Label4->hide();
        ScrollBox1->hide();
    }
}

void TFrmConfig::BuildTimeEditors() {
    auto* rows = new QWidget;
    rows->setObjectName(QStringLiteral("ScrollBox1Rows"));
    rows->setAutoFillBackground(false);
    Dataset* tx = DM1->Cn1Table_tx;
    int b = 0;
    for (tx->first(); !tx->eof(); tx->next(), ++b) {
        auto* name = new QLabel(tx->text(QStringLiteral("B1")).trimmed(), rows);
        name->setGeometry(16, b * kRowPitch + 8, 82, 16);
        auto* field = new QDoubleSpinBox(rows);
        field->setObjectName(QStringLiteral("Currencyedit%1").arg(b + 1));
        field->setDecimals(1);
        field->setRange(0.1, 30.0);
        field->setSingleStep(0.1);
        field->setButtonSymbols(QAbstractSpinBox::NoButtons);
        field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        field->setValue(tx->real(QStringLiteral("time")));
        field->setProperty("tag", tx->whole(QStringLiteral("A1")));
        field->setToolTip(QStringLiteral("答题时间：0.1～30分钟"));
        field->setGeometry(100, b * kRowPitch + 5, 40, 20);
        auto* unit = new QLabel(QStringLiteral("分钟"), rows);
        unit->setGeometry(150, b * kRowPitch + 8, 40, 16);
        editors_ << field;
    }
    if (b == 0) {
        auto* none = new QLabel(QStringLiteral("当前考试类型没有题型，无需设置答题时间。"), rows);
        none->setObjectName(QStringLiteral("NoTypesLabel"));
        none->setGeometry(16, 8, 300, 16);
    }
    rows->resize(ScrollBox1->viewport()->width(), qMax(1, b) * kRowPitch + 12);
    ScrollBox1->setWidget(rows);
    tx->first();
}

void TFrmConfig::RxSwitch1On() {
    App::MusicOn = true;
    if (FlatComboBox1->currentText().isEmpty()) {
        // No track chosen: the first track, or the first of the folder when it has another set.
        QString track = kDefaultTrack;
        if (FlatComboBox1->findText(track) < 0 && FlatComboBox1->count() > 0)
            track = FlatComboBox1->itemText(0);
        App::MusicFile = trackFile(track);
    }
    PlayBackgroundMusic(App::MusicFile, true);
}

void TFrmConfig::RxSwitch1Off() {
    App::MusicOn = false;
    PlayBackgroundMusic(App::MusicFile, false);
}

void TFrmConfig::FlatComboBox1Change() {
    if (FlatComboBox1->currentIndex() < 0)
        return;
    App::MusicFile = trackFile(FlatComboBox1->currentText().trimmed());
    PlayBackgroundMusic(App::MusicFile, RxSwitch1->isChecked());
}

void TFrmConfig::TrackBar1Change() {
    App::VolumeLevel = TrackBar1->value();
    Label3->setText(QString::number(App::VolumeLevel));
    SetWaveVolume(App::VolumeLevel);
}

void TFrmConfig::epFocusButton3Click() {
    close();
}

void TFrmConfig::done(int result) {
    if (!closing_) {
        closing_ = true;
        Dialogs::guarded([this] { FormCloseQuery(); });
    }
    QDialog::done(result);
}

void TFrmConfig::FormCloseQuery() {
    if (App::ConfigMode != 1)
        return;
    SaveAnswerTimes();
}

void TFrmConfig::SaveAnswerTimes() {
    Dataset* tx = DM1->Cn1Table_tx;
    QVector<int> times = App::TypeTimes;
    QVector<int> codes = App::TypeCodes;
    try {
        tx->close();
        tx->setTableName(QStringLiteral("tab_tx") + QString::number(App::PaperKind));
        tx->open();
        const int rows = int(editors_.size());
        times.resize(rows);
        codes.resize(rows);
        // Every time is stored, or none: the answer-time table changes only when all are.
        Transaction transaction(DM1->ADOCn1);
        for (int i = 0; i < rows; ++i) {
            const QDoubleSpinBox* field = editors_[i];
            const qint64 code = field->property("tag").toLongLong();
            if (!tx->locate(QStringLiteral("A1"), code))
                continue;
            tx->edit();
            tx->setValue(QStringLiteral("time"), field->value());
            tx->post();
            times[i] = AnswerTimeTenths(field->value());
            codes[i] = int(code);
        }
        transaction.commit();
    } catch (const std::exception&) {
        try {
            tx->close();
        } catch (const std::exception&) {
        }
        ShowDlg(QStringLiteral("错误"), QStringLiteral("保存设置失败！"), 1, QStringLiteral("No"),
                2);
        return;
    }
    App::TypeTimes = times;
    App::TypeCodes = codes;
}
