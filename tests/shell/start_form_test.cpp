#include "shell_test_support.h"

#include "shell/menu_movie.h"
#include "shell/start_form.h"

#include "platform/dialogs.h"
#include "platform/music_player.h"
#include "store/app_state.h"
#include "store/data_module.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>

using ShellTest::ShellFixture;

TEST(ScreenMode, EightHundredWideOrSixHundredHighIsTheSmallLayout) {
    for (QSize s : {QSize(800, 600), QSize(800, 480), QSize(640, 600), QSize(800, 1200)})
        EXPECT_EQ(ScreenModeFor(s), QStringLiteral("800")) << s.width() << "x" << s.height();
    for (QSize s : {QSize(1024, 768), QSize(1280, 1024), QSize(1152, 864), QSize(640, 480),
                    QSize(1920, 1080)})
        EXPECT_EQ(ScreenModeFor(s), QStringLiteral("1024")) << s.width() << "x" << s.height();
}

TEST(WaveVolume, LevelsAreClampedAndSpreadOverBothChannels) {
    EXPECT_EQ(WaveVolumeWord(0), 0u); // clamped to 1: silence
    EXPECT_EQ(WaveVolumeWord(-5), 0u);
    EXPECT_EQ(WaveVolumeWord(1), 0u);
    EXPECT_EQ(WaveVolumeWord(2), 4369u | (4369u << 16));
    EXPECT_EQ(WaveVolumeWord(10), 39321u | (39321u << 16));
    EXPECT_EQ(WaveVolumeWord(16), 0xFFFFFFFFu);
    EXPECT_EQ(WaveVolumeWord(40), 0xFFFFFFFFu); // clamped to 16: full volume
}

TEST(AnswerTime, MinutesBecomeTenthsOfASecondTruncated) {
    EXPECT_EQ(AnswerTimeTenths(1.5), 900);
    EXPECT_EQ(AnswerTimeTenths(0.25), 150);
    EXPECT_EQ(AnswerTimeTenths(1), 600);
    EXPECT_EQ(AnswerTimeTenths(0.1), 60);
    EXPECT_EQ(AnswerTimeTenths(2.3), 1380); // not 1379 from 2.3 * 600 = 1379.9999...
    EXPECT_EQ(AnswerTimeTenths(0.0004), 0);
    EXPECT_EQ(AnswerTimeTenths(30), 18000);
}

class StartForm : public ShellFixture {};

TEST_F(StartForm, CreationChoosesTheLayoutOfTheScreen) {
    App::ScreenMode = QStringLiteral("none");
    FrmStart = new TFrmStart();
    // The headless screen is 800 x 600 at 96 pixels per inch.
    EXPECT_TRUE(IsSmallFonts());
    EXPECT_EQ(App::ScreenMode, ScreenModeFor(QGuiApplication::primaryScreen()->size()));
    EXPECT_TRUE(dialogs->requests.isEmpty());
    EXPECT_FALSE(end->ended());
    EXPECT_EQ(FrmStart->windowTitle(), QStringLiteral("Tarnwick"));
    EXPECT_TRUE(FrmStart->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(FrmStart->findChild<TMenuMovie*>(QStringLiteral("ShockwaveFlash1")),
              FrmStart->ShockwaveFlash1);
}

TEST_F(StartForm, ShowingLoadsTheAnswerTimesOfTheCurrentExamKind) {
    FrmStart = new TFrmStart();
    FrmStart->FormShow();
    EXPECT_FALSE(end->ended());
    EXPECT_EQ(App::PaperKind, 1);
    EXPECT_EQ(App::TypeCodes, QVector<int>({11, 14, 22}));
    EXPECT_EQ(App::TypeTimes, QVector<int>({600, 900, 150}));
    EXPECT_TRUE(App::MusicOn);
    EXPECT_EQ(App::VolumeLevel, 10);
    EXPECT_EQ(music->volume, WaveVolumeWord(10));
    EXPECT_TRUE(music->played.isEmpty()); // no music is started
    EXPECT_EQ(FrmStart->size(), QGuiApplication::primaryScreen()->size());
    EXPECT_EQ(FrmStart->ShockwaveFlash1->movie(), folder->path() + QStringLiteral("pic/main.svg"));
    EXPECT_TRUE(FrmStart->ShockwaveFlash1->isValid());
    EXPECT_TRUE(FrmStart->ShockwaveFlash1->isPlaying());
    EXPECT_TRUE(dialogs->requests.isEmpty());
}

TEST_F(StartForm, TheKindInUseSelectsTheQuestionTypeTable) {
    sql(QStringLiteral("delete from tab_tx3"));
    sql(QStringLiteral("insert into tab_tx3 (A1, B1, B2, B3, time) values (31, 'a', 1, 1, 2.5), "
                       "(32, 'b', 1, 1, 0.1)"));
    App::PaperKind = 3;
    FrmStart = new TFrmStart();
    FrmStart->FormShow();
    EXPECT_EQ(App::PaperKind, 3);
    EXPECT_EQ(App::TypeCodes, QVector<int>({31, 32}));
    EXPECT_EQ(App::TypeTimes, QVector<int>({1500, 60}));
}

TEST_F(StartForm, AnEmptyTypeTableKeepsTheAnswerTimes) {
    sql(QStringLiteral("delete from tab_tx2"));
    App::PaperKind = 2;
    FrmStart = new TFrmStart();
    FrmStart->FormShow();
    EXPECT_TRUE(App::TypeTimes.isEmpty()); // empty at the first show
    App::TypeTimes = {600, 900};
    App::TypeCodes = {11, 14};
    FrmStart->FormShow();
    EXPECT_EQ(App::TypeTimes, QVector<int>({600, 900}));
    EXPECT_EQ(App::TypeCodes, QVector<int>({11, 14}));
    EXPECT_FALSE(end->ended());
}

TEST_F(StartForm, TwentyFourHoursOfStudyTodayEndsTheProgramSilently) {
    logToday(300, QStringLiteral("24:00:00"));
    FrmStart = new TFrmStart();
    FrmStart->FormShow();
    EXPECT_TRUE(end->ended());
    EXPECT_TRUE(dialogs->requests.isEmpty());
}

TEST_F(StartForm, JustUnderTwentyFourHoursGoesOn) {
    logToday(300, QStringLiteral("23:59:59"));
    FrmStart = new TFrmStart();
    FrmStart->FormShow();
    EXPECT_FALSE(end->ended());
    EXPECT_EQ(App::TypeTimes.size(), 3);
}

TEST_F(StartForm, OnlyTodaysRowCounts) {
    sql(QStringLiteral("insert into tab_rz (A1, A2, D1) values (:A1, 5, '30:00:00')"),
        {{QStringLiteral("A1"), today().addDays(-1)}});
    FrmStart = new TFrmStart();
    FrmStart->FormShow();
    EXPECT_FALSE(end->ended());
}

TEST_F(StartForm, ADamagedStudyTimeDoesNotStopTheProgram) {
    logToday(3, QStringLiteral("xx:yy"));
    FrmStart = new TFrmStart();
    FrmStart->FormShow();
    EXPECT_FALSE(end->ended());
    EXPECT_TRUE(dialogs->requests.isEmpty());
    EXPECT_EQ(App::TypeTimes.size(), 3);
}

TEST_F(StartForm, ShowingTheWindowRunsItsShowStep) {
    FrmStart = new TFrmStart();
    FrmStart->show();
    EXPECT_EQ(App::PaperKind, 1);
    EXPECT_EQ(App::TypeTimes.size(), 3);
}

TEST_F(StartForm, ClosingClosesTheBankAndEndsTheProgram) {
    FrmStart = new TFrmStart();
    FrmStart->show();
    FrmStart->close();
    EXPECT_FALSE(DM1->ADOCn1.isOpen());
    EXPECT_FALSE(DM1->Cn1Table_rz->active());
    EXPECT_FALSE(DM1->Cn1Table_plan->active());
    EXPECT_TRUE(end->ended());
    EXPECT_TRUE(dialogs->requests.isEmpty());
}

TEST_F(StartForm, WithoutASoundDeviceMusicAlwaysReportsTheMissingCard) {
    FrmStart = new TFrmStart();
    music->device = false;
    for (bool play : {false, true}) {
        dialogs->requests.clear();
        FrmStart->PlayMusic(folder->path() + QStringLiteral("sound/乐曲01.mid"), play);
        ASSERT_EQ(dialogs->requests.size(), 1) << play;
        const Dialogs::Request& r = dialogs->last();
        EXPECT_EQ(r.kind, Dialogs::Kind::ShowDlg);
        EXPECT_EQ(r.title, QStringLiteral("提示"));
        EXPECT_EQ(r.text, QStringLiteral("没发现声卡！"));
        EXPECT_EQ(r.buttons, 1);
        EXPECT_EQ(r.mode, QStringLiteral("NO"));
        EXPECT_EQ(r.picture, 1);
    }
    EXPECT_TRUE(music->played.isEmpty());
    EXPECT_EQ(music->closes, 0);
}

TEST_F(StartForm, PlayingStartsTheFileAndStoppingClosesThePlayer) {
    FrmStart = new TFrmStart();
    const QString file = folder->path() + QStringLiteral("sound/乐曲03.mid");
    FrmStart->PlayMusic(file, true);
    EXPECT_EQ(music->played, QStringList({file}));
    EXPECT_TRUE(music->playing);
    FrmStart->PlayMusic(file, false);
    EXPECT_FALSE(music->playing);
    EXPECT_EQ(music->played.size(), 1);
    EXPECT_TRUE(dialogs->requests.isEmpty());
}

TEST_F(StartForm, AFileThatCannotBePlayedIsReported) {
    FrmStart = new TFrmStart();
    music->playSucceeds = false;
    FrmStart->PlayMusic(folder->path() + QStringLiteral("sound/乐曲07.mid"), true);
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->last().text, QStringLiteral("无法播放背景音乐！"));
    EXPECT_EQ(dialogs->last().buttons, 1);
    EXPECT_EQ(dialogs->last().picture, 1);
}

TEST_F(StartForm, TheRealPlayerReportsAMissingMusicFile) {
    // The real synthesiser, rendering to a file so that any machine has an output.
    QTemporaryDir out;
    FluidMusicPlayer::Options o;
    o.drivers = {QStringLiteral("file")};
    o.outputFile = out.filePath(QStringLiteral("out.raw"));
    FluidMusicPlayer real(o);
    Platform::setMusic(&real);
    FrmStart = new TFrmStart();
    FrmStart->PlayMusic(folder->path() + QStringLiteral("sound/乐曲01.mid"), true);
    Platform::setMusic(music.get());
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->last().text, QStringLiteral("无法播放背景音乐！"));
}
