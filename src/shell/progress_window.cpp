#include "shell/progress_window.h"

#include "shell/start_form.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

TFrmProgress::TFrmProgress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FrmProgress"));
    setWindowTitle(QStringLiteral("进度条"));
    setFixedSize(358, 63);
    setCursor(Qt::WaitCursor);
    setAutoFillBackground(true);

    epBevel1 = new QFrame(this);
    epBevel1->setObjectName(QStringLiteral("epBevel1"));
    epBevel1->setFrameShape(QFrame::Panel);
    epBevel1->setFrameShadow(QFrame::Raised);
    epBevel1->setLineWidth(2);
    epBevel1->setGeometry(0, 0, 358, 63);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont f = font();
    f.setPixelSize(16);
    f.setBold(true);
    Label1->setFont(f);
    Label1->setStyleSheet(QStringLiteral("color: #800000;"));
    Label1->move(16, 24);
    Label1->setText(QStringLiteral("请等待..."));
    Label1->adjustSize();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
}

void TFrmProgress::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desk = screen->geometry();
        move(desk.x() + (desk.width() - width()) / 2, desk.y() + (desk.height() - height()) / 2);
    }
}

void TFrmProgress::Begin(const QString& stageText) {
    show();
    raise();
    repaint();
    if (FrmStart)
        FrmStart->repaint();
    Stage(stageText);
}

void TFrmProgress::Stage(const QString& stageText) {
    Label1->setText(stageText);
    Label1->adjustSize();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFrmProgress::End() {
    hide();
}
