#include "shell_test_support.h"

#include "shell/message_dialog.h"
#include "shell/program_entry.h"
#include "shell/progress_window.h"
#include "shell/shell_pictures.h"

#include "platform/dialogs.h"
#include "store/app_state.h"

#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Which of the three buttons show, left to right: 1, 3, 2.
QString visibleButtons(const TFrmDlg& d) {
    QString s;
    if (!d.fcShapeBtn1->isHidden())
        s += QLatin1Char('1');
    if (!d.fcShapeBtn3->isHidden())
        s += QLatin1Char('3');
    if (!d.fcShapeBtn2->isHidden())
        s += QLatin1Char('2');
    return s;
}

QStringList captions(const TFrmDlg& d) {
    return {d.fcShapeBtn1->text(), d.fcShapeBtn3->text(), d.fcShapeBtn2->text()};
}

class MessageDialog : public testing::Test {
  protected:
    void SetUp() override {
        App::AppPath = dir.path() + QLatin1Char('/');
        dlg = std::make_unique<TFrmDlg>();
    }
    QTemporaryDir dir;
    std::unique_ptr<TFrmDlg> dlg;
};

} // namespace

TEST_F(MessageDialog, IsDesignedAsTheProgramsMessageBox) {
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("提示框"));
    EXPECT_TRUE(dlg->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(dlg->designWidth(), 787);
    EXPECT_EQ(dlg->height(), 110);
    EXPECT_EQ(dlg->epNoteBook1->count(), 3);
    EXPECT_EQ(dlg->epNoteBook1->geometry(), QRect(8, 32, 32, 32));
    EXPECT_EQ(dlg->fcShapeBtn1->geometry(), QRect(64, 80, 73, 25));
    EXPECT_EQ(dlg->fcShapeBtn3->geometry(), QRect(160, 80, 73, 25));
    EXPECT_EQ(dlg->fcShapeBtn2->geometry(), QRect(256, 80, 73, 25));
    EXPECT_EQ(dlg->fcLabel1->pos(), QPoint(56, 40));
    // The title at left 6, inside the 25-pixel strip.
    EXPECT_EQ(dlg->Label1->x(), 6);
    EXPECT_GE(dlg->Label1->geometry().top(), 0);
    EXPECT_LE(dlg->Label1->geometry().bottom(), 24);
    EXPECT_EQ(dlg->Image2->geometry(), QRect(0, 0, 787, 25));
    EXPECT_TRUE(dlg->Label1->font().italic());
    for (const char* name : {"Image1", "Image2", "Label1", "epNoteBook1", "fcLabel1", "fcShapeBtn1",
                             "fcShapeBtn2", "fcShapeBtn3"})
        EXPECT_NE(dlg->findChild<QWidget*>(QLatin1String(name)), nullptr) << name;
}

TEST_F(MessageDialog, ButtonSetsDecideTheButtonsAndTheWidth) {
    struct Case {
        int buttons;
        const char* visible;
        int width;
    };
    const Case cases[] = {{0, "12", 787}, {1, "3", 787}, {2, "132", 787}, {3, "1", 200}};
    for (const Case& c : cases) {
        dlg->Prepare(QStringLiteral("提示"), QStringLiteral("文本"), c.buttons,
                     QStringLiteral("NO"), 0);
        EXPECT_EQ(visibleButtons(*dlg), QString::fromLatin1(c.visible)) << c.buttons;
        EXPECT_EQ(dlg->width(), c.width) << c.buttons;
        // The title strip and the background follow the width.
        EXPECT_EQ(dlg->Image2->width(), c.width) << c.buttons;
        EXPECT_EQ(dlg->Image1->size(), QSize(c.width, 110)) << c.buttons;
    }
}

TEST_F(MessageDialog, TheNarrowSetAfterTheFullOneAndBackAgain) {
    dlg->Prepare(QStringLiteral("提示"), QStringLiteral("交卷吗？"), 2, QStringLiteral("Exam"), 0);
    dlg->Prepare(QStringLiteral("提示"), QStringLiteral("好"), 3, QStringLiteral("NO"), 0);
    EXPECT_EQ(visibleButtons(*dlg), QStringLiteral("1"));
    EXPECT_EQ(dlg->width(), 200);
    dlg->Prepare(QStringLiteral("提示"), QStringLiteral("好"), 1, QStringLiteral("NO"), 1);
    EXPECT_EQ(visibleButtons(*dlg), QStringLiteral("3"));
    EXPECT_EQ(dlg->width(), 787);
}

TEST_F(MessageDialog, AnUnknownButtonSetKeepsTheButtonsAtTheDesignWidth) {
    dlg->Prepare(QStringLiteral("提示"), QStringLiteral("a"), 3, QStringLiteral("NO"), 0);
    dlg->Prepare(QStringLiteral("提示"), QStringLiteral("b"), 7, QStringLiteral("NO"), 0);
    EXPECT_EQ(visibleButtons(*dlg), QStringLiteral("1"));
    EXPECT_EQ(dlg->width(), 787);
    dlg->Prepare(QStringLiteral("提示"), QStringLiteral("c"), 0, QStringLiteral("NO"), 0);
    dlg->Prepare(QStringLiteral("提示"), QStringLiteral("d"), -1, QStringLiteral("NO"), 0);
    EXPECT_EQ(visibleButtons(*dlg), QStringLiteral("12"));
}

TEST_F(MessageDialog, CaptionsFollowTheModeExactly) {
    const QStringList exam = {QStringLiteral("确定"), QStringLiteral("取消"),
                              QStringLiteral("作废")};
    const QStringList plain = {QStringLiteral("确定"), QStringLiteral("确定"),
                               QStringLiteral("取消")};
    dlg->Prepare(QStringLiteral("提示"), QStringLiteral("t"), 2, QStringLiteral("Exam"), 0);
    EXPECT_EQ(captions(*dlg), exam);
    for (const char* mode : {"exam", "EXAM", "NO", "No", "", "Exam "}) {
        dlg->Prepare(QStringLiteral("提示"), QStringLiteral("t"), 2, QString::fromLatin1(mode), 0);
        EXPECT_EQ(captions(*dlg), plain) << mode;
    }
}

TEST_F(MessageDialog, TitleTextAndPicturePageAreSetEachTime) {
    dlg->Prepare(QStringLiteral("错误"), QStringLiteral("无法连接数据库！"), 1,
                 QStringLiteral("NO"), 2);
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("错误"));
    EXPECT_EQ(dlg->Label1->text(), QStringLiteral("错误"));
    EXPECT_EQ(dlg->fcLabel1->text(), QStringLiteral("无法连接数据库！"));
    EXPECT_EQ(dlg->epNoteBook1->currentIndex(), 2);
    EXPECT_EQ(dlg->epNoteBook1->currentWidget()->objectName(), QStringLiteral("错误"));
    dlg->Prepare(QStringLiteral("提示"), QStringLiteral("升级成功！"), 1, QStringLiteral("NO"), 0);
    EXPECT_EQ(dlg->epNoteBook1->currentWidget()->objectName(), QStringLiteral("提示"));
    // A page that does not exist leaves the last one.
    dlg->Prepare(QStringLiteral("提示"), QStringLiteral("x"), 1, QStringLiteral("NO"), 5);
    EXPECT_EQ(dlg->epNoteBook1->currentIndex(), 0);
}

TEST_F(MessageDialog, IsCentredOnTheDesktopAtEitherWidth) {
    const QRect desk = QGuiApplication::primaryScreen()->geometry();
    for (int buttons : {2, 3}) {
        dlg->Prepare(QStringLiteral("提示"), QStringLiteral("t"), buttons, QStringLiteral("NO"), 0);
        const QRect r = dlg->frameGeometry();
        EXPECT_LE(std::abs(r.center().x() - desk.center().x()), 1) << buttons;
        EXPECT_LE(std::abs(r.center().y() - desk.center().y()), 1) << buttons;
    }
}

TEST_F(MessageDialog, ShowDlgReturnsTheResultOfTheButtonPressed) {
    ProgramEntry::installRealDialogs();
    FrmDlg = dlg.get();
    struct Case {
        int buttons;
        const char* mode;
        int press; // 1, 2 or 3
        const char* caption;
    };
    const Case cases[] = {{1, "Exam", 3, "取消"}, // the single middle button of the exam mode
                          {1, "NO", 3, "确定"},   {2, "Exam", 2, "作废"}, {2, "Exam", 1, "确定"},
                          {0, "No", 2, "取消"},   {3, "", 1, "确定"}};
    for (const Case& c : cases) {
        QString pressedCaption;
        QTimer::singleShot(0, [&] {
            QPushButton* b = c.press == 1   ? FrmDlg->fcShapeBtn1
                             : c.press == 2 ? FrmDlg->fcShapeBtn2
                                            : FrmDlg->fcShapeBtn3;
            if (!b->isVisible()) {
                FrmDlg->done(99);
                return;
            }
            pressedCaption = b->text();
            QTest::mouseClick(b, Qt::LeftButton);
        });
        const int result = ShowDlg(QStringLiteral("提示"), QStringLiteral("交卷吗？"), c.buttons,
                                   QString::fromLatin1(c.mode), 0);
        EXPECT_EQ(result, c.press) << c.buttons << c.mode;
        EXPECT_EQ(pressedCaption, QString::fromUtf8(c.caption)) << c.buttons << c.mode;
        EXPECT_FALSE(FrmDlg->isVisible());
    }
    FrmDlg = nullptr;
    Dialogs::setShowDlgHandler({});
    Dialogs::setMessageBoxHandler({});
}

TEST_F(MessageDialog, EscapeDoesNotCloseItOnlyAButtonDoes) {
    ProgramEntry::installRealDialogs();
    FrmDlg = dlg.get();
    bool stillOpenAfterEscape = false;
    QTimer::singleShot(0, [&] {
        QTest::keyClick(FrmDlg, Qt::Key_Escape);
        QTimer::singleShot(20, [&] {
            stillOpenAfterEscape = FrmDlg->isVisible();
            FrmDlg->fcShapeBtn2->click();
        });
    });
    EXPECT_EQ(ShowDlg(QStringLiteral("提示"), QStringLiteral("t"), 0, QStringLiteral("NO"), 1), 2);
    EXPECT_TRUE(stillOpenAfterEscape);
    FrmDlg = nullptr;
    Dialogs::setShowDlgHandler({});
    Dialogs::setMessageBoxHandler({});
}

TEST_F(MessageDialog, DrawsItsPicturesFromThePicFolderOrPlainOnesWhenMissing) {
    // Without pic/: every picture is drawn, at its place and size.
    for (auto kind :
         {ShellPictures::Kind::DialogTitle, ShellPictures::Kind::DialogBackground,
          ShellPictures::Kind::Notice, ShellPictures::Kind::Warning, ShellPictures::Kind::Error})
        EXPECT_FALSE(ShellPictures::load(kind, App::AppPath).isNull());
    auto* page = qobject_cast<QLabel*>(dlg->epNoteBook1->widget(1));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->pixmap().size(), QSize(32, 32));

    // With the delivered picture, that one is used.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("pic")));
    QPixmap red(32, 32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(App::AppPath + QStringLiteral("pic/dlg_warning.png")));
    TFrmDlg withPictures;
    page = qobject_cast<QLabel*>(withPictures.epNoteBook1->widget(1));
    EXPECT_EQ(page->pixmap().toImage().pixelColor(16, 16), QColor(Qt::red));
    // A damaged file falls back to the drawn picture.
    QFile broken(App::AppPath + QStringLiteral("pic/dlg_error.png"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    EXPECT_FALSE(ShellPictures::load(ShellPictures::Kind::Error, App::AppPath).isNull());
}

TEST(ProgressWindow, IsDesignedAsTheProgressBar) {
    TFrmProgress p;
    EXPECT_EQ(p.windowTitle(), QStringLiteral("进度条"));
    EXPECT_TRUE(p.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(p.size(), QSize(358, 63));
    EXPECT_EQ(p.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(p.Label1->text(), QStringLiteral("请等待..."));
    EXPECT_EQ(p.Label1->pos(), QPoint(16, 24));
    EXPECT_TRUE(p.Label1->font().bold());
    EXPECT_EQ(p.Label1->font().pixelSize(), 16);
    EXPECT_EQ(p.Timer1->interval(), 100);
    EXPECT_FALSE(p.Timer1->isActive());
    EXPECT_EQ(p.findChild<QWidget*>(QStringLiteral("epBevel1")), p.epBevel1);
}

TEST(ProgressWindow, ShowsEachStageAndKeepsTheLastTextAfterwards) {
    TFrmProgress p;
    p.Begin(QStringLiteral("正在出卷..."));
    EXPECT_TRUE(p.isVisible());
    EXPECT_FALSE(p.isModal());
    EXPECT_EQ(p.Label1->text(), QStringLiteral("正在出卷..."));
    const QRect desk = QGuiApplication::primaryScreen()->geometry();
    EXPECT_LE(std::abs(p.frameGeometry().center().x() - desk.center().x()), 1);
    p.Stage(QStringLiteral("正在导出试卷，请等待..."));
    EXPECT_EQ(p.Label1->text(), QStringLiteral("正在导出试卷，请等待..."));
    // The longest stage text fits inside the window.
    EXPECT_LE(p.Label1->geometry().right(), p.width());
    p.End();
    EXPECT_FALSE(p.isVisible());
    EXPECT_EQ(p.Label1->text(), QStringLiteral("正在导出试卷，请等待..."));
}
