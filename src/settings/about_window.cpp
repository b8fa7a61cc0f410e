#include "settings/about_window.h"

#include "widgets/document_viewer.h"
#include "widgets/effect_button.h"
#include "widgets/window_art.h"

#include "platform/dialogs.h"
#include "practice/dialog_placement.h"
#include "store/app_state.h"

#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QShowEvent>

namespace {

constexpr int kWidth = 395;
constexpr int kHeight = 266;
constexpr int kBandHeight = 92;

const QRect kLogo(22, 14, 64, 64);
const QRect kButtons[3] = {QRect(16, 228, 84, 26), QRect(108, 228, 84, 26),
                           QRect(304, 228, 75, 26)};

QPixmap drawBackground() {
    QPixmap pm(kWidth, kHeight);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    WindowArt::PaintPaper(p, pm.rect());
    QLinearGradient band(0, 0, kWidth, kBandHeight);
    band.setColorAt(0, QColor(22, 52, 98));
    band.setColorAt(1, QColor(58, 112, 178));
    p.fillRect(QRect(0, 0, kWidth, kBandHeight), band);
    // A rising line of points across the band, as on the logo.
    p.setPen(QPen(QColor(255, 255, 255, 60), 2));
    const QPointF points[] = {{200, 78}, {250, 62}, {290, 70}, {335, 40}, {380, 24}};
    p.drawPolyline(points, 5);
    p.setBrush(QColor(255, 255, 255, 80));
    for (const QPointF& pt : points)
        p.drawEllipse(pt, 3, 3);
    for (const QRect& r : kButtons)
        WindowArt::PaintButtonPlate(p, r);
    WindowArt::PaintWindowEdge(p, pm.rect());
    return pm;
}

QLabel* bandLabel(QWidget* parent, const char* name, const QString& text, int pixels, bool bold) {
    QLabel* l = WindowArt::MakeLabel(parent, name, text);
    QFont f = l->font();
    f.setPixelSize(pixels);
    f.setBold(bold);
    l->setFont(f);
    l->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    return l;
}

} // namespace

TFrmAbout::TFrmAbout(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("关于"));
    setModal(true);
    setFixedSize(kWidth, kHeight);
    WindowArt::UseWindowFont(this);

    Image2 = WindowArt::MakePicture(this, "Image2", drawBackground());
    Image2->setGeometry(0, 0, kWidth, kHeight);
    QPixmap logo(App::AppPath + QStringLiteral("pic/logo.png"));
    Image1 = WindowArt::MakePicture(
        this, "Image1",
        logo.isNull() ? QPixmap()
                      : logo.scaled(kLogo.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    Image1->setGeometry(kLogo);

    Label2 = bandLabel(this, "Label2", QStringLiteral("Tarnwick 考试辅导学习软件"), 19, true);
    Label2->setGeometry(100, 18, 285, 30);
    Label3 = bandLabel(this, "Label3", QStringLiteral("版本 %1").arg(Version()), 12, false);
    Label3->setGeometry(100, 52, 285, 20);

    epBevel1 = new QFrame(this);
    epBevel1->setObjectName(QStringLiteral("epBevel1"));
    epBevel1->setFrameShape(QFrame::HLine);
    epBevel1->setFrameShadow(QFrame::Sunken);
    epBevel1->setGeometry(16, 160, kWidth - 32, 3);

    Label4 = WindowArt::MakeLabel(
        this, "Label4",
        QStringLiteral("本软件与 Velmora 出版的图书《Tarnwick》配套使用。软件及其题库、"
                       "图片、音乐与文档受著作权法保护，未经许可，不得复制、修改或传播。"));
    Label4->setWordWrap(true);
    Label4->setGeometry(16, 102, kWidth - 32, 52);

    Label1 = WindowArt::MakeLabel(this, "Label1",
                                  QStringLiteral("出版：Velmora\n制作：Tarnwick 软件组"));
    Label1->setGeometry(16, 170, kWidth - 32, 48);

    epEfTrBtn2 = EffectButton::Make(this, "epEfTrBtn2", QStringLiteral("出版社简介"));
    epEfTrBtn3 = EffectButton::Make(this, "epEfTrBtn3", QStringLiteral("产品目录"));
    epEfTrBtn1 = EffectButton::Make(this, "epEfTrBtn1", QStringLiteral("关 闭"));
    EffectButton* buttons[3] = {epEfTrBtn2, epEfTrBtn3, epEfTrBtn1};
    for (int i = 0; i < 3; ++i) {
        buttons[i]->setGeometry(kButtons[i]);
        buttons[i]->setAutoDefault(false);
    }
    Image2->lower();

    connect(epEfTrBtn1, &QPushButton::clicked, this, &TFrmAbout::epTransparentBtn5Clickcc);
    connect(epEfTrBtn2, &QPushButton::clicked, this,
            Dialogs::guardedSlot(this, &TFrmAbout::epEfTrBtn2Click));
    connect(epEfTrBtn3, &QPushButton::clicked, this,
            Dialogs::guardedSlot(this, &TFrmAbout::epEfTrBtn3Click));
}

TFrmAbout::~TFrmAbout() = default;

QString TFrmAbout::Version() {
    return QStringLiteral(TARNWICK_VERSION);
}

void TFrmAbout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Placement::centreOnDesktop(this);
}

void TFrmAbout::epTransparentBtn5Clickcc() {
    close();
}

void TFrmAbout::epEfTrBtn2Click() {
    ShowDocument(this, App::AppPath + QStringLiteral("htm/出版社简介.htm"));
}

void TFrmAbout::epEfTrBtn3Click() {
    ShowDocument(this, App::AppPath + QStringLiteral("htm/产品目录.htm"));
}
