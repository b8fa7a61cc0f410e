#include "shell/program_entry.h"

#include "shell/message_dialog.h"
#include "shell/progress_window.h"
#include "shell/single_instance.h"
#include "shell/start_form.h"

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/platform_services.h"
#include "platform/program_end.h"
#include "platform/progress.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "store/learner_bank.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QSvgRenderer>
#include <QTranslator>

namespace {

QMessageBox::Icon boxIcon(Dialogs::Icon icon) {
    switch (icon) {
    case Dialogs::Icon::None:
        return QMessageBox::NoIcon;
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::Warning:
        return QMessageBox::Warning;
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

int showMessageBox(const Dialogs::Request& r) {
    QMessageBox box(boxIcon(r.icon), r.title, r.text,
                    r.boxButtons == Dialogs::BoxButtons::OkCancel
                        ? QMessageBox::Ok | QMessageBox::Cancel
                        : QMessageBox::Ok,
                    QApplication::activeWindow());
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    if (QAbstractButton* cancel = box.button(QMessageBox::Cancel))
        cancel->setText(QStringLiteral("取消"));
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? Dialogs::BoxOk : Dialogs::BoxCancel;
}

int showOwnDialog(const Dialogs::Request& r) {
    if (!FrmDlg)
        FrmDlg = new TFrmDlg(FrmStart);
    return FrmDlg->Execute(r.title, r.text, r.buttons, r.mode, r.picture);
}

} // namespace

bool FlashInstalled() {
    const QString movie = App::AppPath + QStringLiteral("pic/main.svg");
    if (!QFileInfo(movie).isFile())
        return false;
    QSvgRenderer renderer(movie);
    return renderer.isValid();
}

bool RestoreFromBackup() {
    const QString bank = LearnerBank::bankFile();
    if (!QFileInfo::exists(bank))
        return false;
    const QString backup = LearnerBank::newestUsableBackup(LearnerBank::backupFolder());
    if (backup.isEmpty())
        return false;
    const QString taken =
        LearnerBank::backupTime(backup).toString(QStringLiteral("yyyy年M月d日 HH:mm"));
    const QString question =
        QStringLiteral("题库文件无法打开，可能已经损坏。\n\n"
                       "是否用 %1 的备份恢复题库？该备份之后的练习记录无法找回。\n"
                       "无法打开的文件不会删除，将改名保留在原文件夹中。")
            .arg(taken);
    if (Dialogs::messageBox(QStringLiteral("恢复题库"), question, Dialogs::Icon::Question,
                            Dialogs::BoxButtons::OkCancel) != Dialogs::BoxOk)
        return false;
    if (!LearnerBank::restore(backup, bank, Clock::now())) {
        Dialogs::messageBox(QStringLiteral("错误"),
                            QStringLiteral("恢复题库失败，题库文件未作改动。"),
                            Dialogs::Icon::Critical);
        return false;
    }
    return true;
}

namespace ProgramEntry {

void installRealDialogs() {
    Dialogs::setShowDlgHandler(showOwnDialog);
    Dialogs::setMessageBoxHandler(showMessageBox);
}

bool installQtTranslation() {
    static QTranslator* translator = nullptr;
    if (translator)
        return true;
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (!qt->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                  QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    QCoreApplication::installTranslator(qt);
    translator = qt;
    return true;
}

QFont applicationFont() {
    const QStringList families = QFontDatabase::families();
    QString family = QStringLiteral("Noto Serif CJK SC");
    if (!families.contains(family))
        family = QStringLiteral("Noto Sans CJK SC");
    QFont font(family);
    font.setPixelSize(14);
    return font;
}

bool start(const Options& options) {
    QCoreApplication::setApplicationName(QStringLiteral("Tarnwick"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Tarnwick"));
    QApplication::setFont(applicationFont());
    installQtTranslation();
    installRealDialogs();

    if (CheckPrevInstance(options.instanceName))
        return false;

    const QString folder = options.programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                           : options.programFolder;
    App::AppPath = TDM1::AppPathFrom(folder);

    if (!FlashInstalled()) {
        Dialogs::messageBox(QStringLiteral("提示"), QStringLiteral("请安装Flash6插件文件！"),
                            Dialogs::Icon::Warning);
        ProgramEnd::request();
        return false;
    }

    DM1 = new TDM1(options.programFolder);
    if (!DM1->ConnectOk) {
        delete DM1;
        DM1 = nullptr;
        Dialogs::messageBox(QStringLiteral("错误"), QStringLiteral("无法连接数据库！"),
                            Dialogs::Icon::Critical);
        if (RestoreFromBackup())
            DM1 = new TDM1(options.programFolder);
        if (!DM1 || !DM1->ConnectOk) {
            delete DM1;
            DM1 = nullptr;
            ProgramEnd::request();
            return false;
        }
    }

    FrmStart = new TFrmStart();
    if (ProgramEnd::requested())
        return false;
    FrmProgress = new TFrmProgress(FrmStart);
    Progress::setHandler({[](const QString& t) { FrmProgress->Begin(t); },
                          [](const QString& t) { FrmProgress->Stage(t); },
                          [] { FrmProgress->End(); }});
    FrmDlg = new TFrmDlg(FrmStart);

    FrmStart->setWindowState(Qt::WindowMaximized);
    FrmStart->show();
    if (DM1->TemplateAdded > 0)
        ShowDlg(QStringLiteral("提示"),
                QStringLiteral("题库已更新，新增试题%1道。").arg(DM1->TemplateAdded), 1,
                QStringLiteral("NO"), 0);
    return !ProgramEnd::requested();
}

void finish() {
    delete FrmDlg;
    FrmDlg = nullptr;
    Progress::setHandler({});
    delete FrmProgress;
    FrmProgress = nullptr;
    delete FrmStart;
    FrmStart = nullptr;
    delete DM1;
    DM1 = nullptr;
    ReleaseInstanceGuard();
    Platform::shutdown();
}

} // namespace ProgramEntry
