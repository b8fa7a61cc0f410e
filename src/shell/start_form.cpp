#include "shell/start_form.h"

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/music_player.h"
#include "platform/platform_services.h"
#include "platform/program_end.h"
#include "shell/menu_movie.h"
#include "shell/message_dialog.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "store/time_text.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

QString ScreenModeFor(const QSize& screen) {
    if (screen.width() == 800 || screen.height() == 600)
        return QStringLiteral("800");
    return QStringLiteral("1024");
}

bool IsSmallFonts() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen && qRound(screen->logicalDotsPerInchX()) == 96;
}

TFrmStart::TFrmStart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FrmStart"));
    setWindowTitle(QStringLiteral("Tarnwick"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    ShockwaveFlash1 = new TMenuMovie(this);
    layout->addWidget(ShockwaveFlash1);
    // The menu's commands and the form's own events reach the bank and the program folder: they
    // run guarded, so an error none of them reports itself is reported and the form stays.
    connect(ShockwaveFlash1, &TMenuMovie::FSCommand, this,
            Dialogs::guardedSlot(this, &TFrmStart::ShockwaveFlash1FSCommand));

    FormCreate();
}

void TFrmStart::FormCreate() {
    if (!IsSmallFonts()) {
        Dialogs::messageBox(QStringLiteral("提示"),
                            QStringLiteral("推荐您在小字体下使用本软件，请在设置后重新运行！"),
                            Dialogs::Icon::Warning);
        ProgramEnd::request();
        return;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : QSize(1024, 768);
    App::ScreenMode = ScreenModeFor(screenSize);
    if (App::ScreenMode == QLatin1String("800"))
        resize(800, 600);
    else
        resize(1024, 768);
}

void TFrmStart::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A window restored by the window system is not shown anew.
    if (!event->spontaneous())
        Dialogs::guarded([this] { FormShow(); });
}

void TFrmStart::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    Dialogs::guarded([this] { FormShow(); });
}

void TFrmStart::FormShow() {
    if (DM1) {
        Dataset* rz = DM1->Cn1Table_rz;
        try {
            if (!rz->active())
                rz->open();
            if (rz->locate(QStringLiteral("A1"), Clock::today().toString(Qt::ISODate)) &&
                TimeStrToSecs(rz->text(QStringLiteral("D1"))) >= 86400) {
                ProgramEnd::request();
                return;
            }
        } catch (const TimeTextError&) {
            // A damaged time text counts as no time studied.
        } catch (const std::exception& e) {
            Dialogs::reportError(QString::fromUtf8(e.what()));
        }
    }

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->size());

    App::MusicOn = true;
    App::VolumeLevel = 10;
    SetWaveVolume(10);

    if (App::PaperKind == 0)
        App::PaperKind = 1;

    loadAnswerTimes();

    ShockwaveFlash1->setMovie(App::AppPath + QStringLiteral("pic/main.svg"));
    ShockwaveFlash1->play();
}

void TFrmStart::loadAnswerTimes() {
    if (!DM1)
        return;
    Dataset* q = DM1->Cn1Query1;
    try {
        q->close();
        q->setSql(QStringLiteral("select * from tab_tx") + QString::number(App::PaperKind));
        q->open();
        const int n = q->recordCount();
        if (n <= 0)
            return;
        QVector<int> times(n);
        QVector<int> codes(n);
        q->first();
        for (int i = 0; i < n && !q->eof(); ++i) {
            times[i] = AnswerTimeTenths(q->real(QStringLiteral("time")));
            codes[i] = static_cast<int>(q->whole(QStringLiteral("A1")));
            q->next();
        }
        App::TypeTimes = times;
        App::TypeCodes = codes;
    } catch (const std::exception& e) {
        Dialogs::reportError(QString::fromUtf8(e.what()));
    }
}

bool TFrmStart::FormCloseQuery() {
    if (DM1) {
        try {
            DM1->Cn1Table_plan->close();
            DM1->Cn1Table_rz->close();
            DM1->ADOCn1.close();
        } catch (...) {
            // The program ends either way.
        }
    }
    return true;
}

void TFrmStart::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
    ShockwaveFlash1->stop();
    // The main form is the application's main window: closing it ends the program.
    ProgramEnd::request();
}

void TFrmStart::PlayMusic(const QString& file, bool play) {
    PlayBackgroundMusic(file, play);
}

void RelayoutConfigForAnswerTimes(QWidget* config) {
    if (!config)
        return;
    auto child = [config](const char* name) {
        return config->findChild<QWidget*>(QLatin1String(name));
    };
    for (const char* name : {"Label1", "Label5", "RxSwitch1", "FlatComboBox1"}) {
        if (QWidget* w = child(name))
            w->hide();
    }
    if (QWidget* w = child("Label4"))
        w->move(w->x(), 4);
    if (QWidget* w = child("ScrollBox1"))
        w->setGeometry(w->x(), 22, w->width(), 110);
    if (QWidget* w = child("epFocusButton3"))
        w->move(280, 137);
}
