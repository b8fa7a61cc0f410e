#include "shell/message_dialog.h"

#include "platform/dialogs.h"
#include "shell/shell_pictures.h"
#include "store/app_state.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>

#include <algorithm>

namespace {

constexpr int kDesignHeight = 110;
constexpr int kNarrowWidth = 200;

QPushButton* makeButton(QWidget* parent, const char* name, int left) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(left, 80, 73, 25);
    b->setFocusPolicy(Qt::StrongFocus);
    b->setStyleSheet(QStringLiteral(
        "QPushButton { color: #102040; border: 1px solid #33588f; border-radius: 4px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #c9d8ee); }"
        "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 #ffffff, stop:1 #a9c3e8); }"
        "QPushButton:pressed { background: #9db8df; }"
        "QPushButton:focus { border: 2px solid #33588f; }"));
    return b;
}

} // namespace

TFrmDlg::TFrmDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FrmDlg"));
    setWindowTitle(QStringLiteral("提示框"));
    setModal(true);
    resize(787, kDesignHeight);

    const QString appPath = App::AppPath;
    using ShellPictures::Kind;

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    Image1->setPixmap(ShellPictures::load(Kind::DialogBackground, appPath));

    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setScaledContents(true);
    Image2->setPixmap(ShellPictures::load(Kind::DialogTitle, appPath));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    // The title sits at left 6 in the middle of the strip: with the CJK font's tall line box, a
    // label placed at top 6 would run over the strip's lower edge.
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont titleFont = font();
    titleFont.setItalic(true);
    Label1->setFont(titleFont);
    Label1->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    epNoteBook1 = new QStackedWidget(this);
    epNoteBook1->setObjectName(QStringLiteral("epNoteBook1"));
    epNoteBook1->setGeometry(8, 32, 32, 32);
    const Kind pages[] = {Kind::Notice, Kind::Warning, Kind::Error};
    const char* pageNames[] = {"提示", "警告", "错误"};
    for (int i = 0; i < 3; ++i) {
        auto* page = new QLabel(epNoteBook1);
        page->setObjectName(QString::fromUtf8(pageNames[i]));
        page->setPixmap(ShellPictures::load(pages[i], appPath)
                            .scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        page->setAlignment(Qt::AlignCenter);
        epNoteBook1->addWidget(page);
    }

    fcLabel1 = new QLabel(this);
    fcLabel1->setObjectName(QStringLiteral("fcLabel1"));
    fcLabel1->move(56, 40);
    fcLabel1->setStyleSheet(QStringLiteral("color: #101828; background: transparent;"));

    fcShapeBtn1 = makeButton(this, "fcShapeBtn1", 64);
    fcShapeBtn3 = makeButton(this, "fcShapeBtn3", 160);
    fcShapeBtn2 = makeButton(this, "fcShapeBtn2", 256);
    connect(fcShapeBtn1, &QPushButton::clicked, this, &TFrmDlg::fcShapeBtn1Click);
    connect(fcShapeBtn2, &QPushButton::clicked, this, &TFrmDlg::fcShapeBtn2Click);
    connect(fcShapeBtn3, &QPushButton::clicked, this, &TFrmDlg::fcShapeBtn3Click);

    layoutToWidth();
    FormCreate();
}

void TFrmDlg::FormCreate() {
    designWidth_ = width();
}

void TFrmDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    layoutToWidth();
}

void TFrmDlg::layoutToWidth() {
    Image1->setGeometry(0, 0, width(), height());
    Image2->setGeometry(0, 0, width(), 25);
    Label1->setGeometry(6, 0, std::max(0, width() - 12), 25);
}

void TFrmDlg::centreOnDesktop() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (QWidget* main = parentWidget())
        screen = main->screen();
    if (!screen)
        return;
    const QRect desk = screen->geometry();
    move(desk.x() + (desk.width() - width()) / 2, desk.y() + (desk.height() - height()) / 2);
}

void TFrmDlg::Prepare(const QString& title, const QString& text, int buttons, const QString& mode,
                      int picture) {
    int w = designWidth_;

    setWindowTitle(title);
    Label1->setText(title);
    fcLabel1->setText(text);
    fcLabel1->adjustSize();

    switch (buttons) {
    case 0:
        fcShapeBtn1->setVisible(true);
        fcShapeBtn3->setVisible(false);
        fcShapeBtn2->setVisible(true);
        break;
    case 1:
        fcShapeBtn1->setVisible(false);
        fcShapeBtn3->setVisible(true);
        fcShapeBtn2->setVisible(false);
        break;
    case 2:
        fcShapeBtn1->setVisible(true);
        fcShapeBtn3->setVisible(true);
        fcShapeBtn2->setVisible(true);
        break;
    case 3:
        fcShapeBtn1->setVisible(true);
        fcShapeBtn3->setVisible(false);
        fcShapeBtn2->setVisible(false);
        w = kNarrowWidth;
        break;
    default: // the buttons stay as the previous call left them
        break;
    }
    resize(w, kDesignHeight);
    layoutToWidth(); // a hidden dialog gets its resize event only when shown

    // A page outside 0..2 leaves the page shown before.
    if (picture >= 0 && picture < epNoteBook1->count())
        epNoteBook1->setCurrentIndex(picture);

    if (mode == QLatin1String("Exam")) {
        fcShapeBtn1->setText(QStringLiteral("确定"));
        fcShapeBtn3->setText(QStringLiteral("取消"));
        fcShapeBtn2->setText(QStringLiteral("作废"));
    } else {
        fcShapeBtn1->setText(QStringLiteral("确定"));
        fcShapeBtn3->setText(QStringLiteral("确定"));
        fcShapeBtn2->setText(QStringLiteral("取消"));
    }

    // The first visible button from the left takes the keyboard.
    for (QPushButton* b : {fcShapeBtn1, fcShapeBtn3, fcShapeBtn2}) {
        if (!b->isHidden()) {
            b->setDefault(true);
            b->setFocus();
            break;
        }
    }
    centreOnDesktop();
}

int TFrmDlg::Execute(const QString& title, const QString& text, int buttons, const QString& mode,
                     int picture) {
    Prepare(title, text, buttons, mode, picture);
    return exec();
}

void installFilePickers() {
    Dialogs::setFilePickerHandler([](const Dialogs::Request& r) {
        QWidget* parent = QApplication::activeModalWidget();
        return r.kind == Dialogs::Kind::SaveFile
                   ? QFileDialog::getSaveFileName(parent, r.title, r.path, r.filter)
                   : QFileDialog::getOpenFileName(parent, r.title, r.path, r.filter);
    });
}
