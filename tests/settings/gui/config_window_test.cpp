// The settings window over a real sample bank: the music mode with the tracks of the program's
// sound folder (through the recording player, and once through FluidSynth rendering into a
// file), and the answer-time mode over the type table of the current exam kind, its limits, its
// all-or-nothing save and the menu's re-layout.

#include "settings/config_window.h"
#include "settings/settings_commands.h"

#include "gui_bank_test.h"

#include "platform/music_player.h"
#include "platform/platform_services.h"
#include "shell/menu_movie.h"
#include "shell/start_form.h"
#include "store/app_state.h"
#include "widgets/effect_button.h"
#include "widgets/switch_button.h"
#include "widgets/window_registry.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QScrollArea>
#include <QSlider>
#include <QTest>

#include <memory>

#include <gtest/gtest.h>

namespace {

class ConfigWindowTest : public GuiBankTest {
  protected:
    void setUpWindows() override {
        QDir().mkpath(folder->path() + QStringLiteral("sound"));
        for (int i = 1; i <= 6; ++i) {
            const QString name = QStringLiteral("sound/乐曲%1.mid").arg(i, 2, 10, QLatin1Char('0'));
            QFile::copy(QStringLiteral(TARNWICK_SOURCE_DIR "/assets/") + name,
                        folder->path() + name);
        }
    }
    void tearDownWindows() override { window.reset(); }

    TFrmConfig* open(int mode) {
        App::ConfigMode = mode;
        window = std::make_unique<TFrmConfig>();
        window->show();
        return window.get();
    }
    QString track(int n) const {
        return folder->path() + QStringLiteral("sound/乐曲%1.mid").arg(n, 2, 10, QLatin1Char('0'));
    }
    void choose(const QString& name) {
        window->FlatComboBox1->setCurrentIndex(window->FlatComboBox1->findText(name));
    }

    std::unique_ptr<TFrmConfig> window;
};

TEST_F(ConfigWindowTest, TheMusicModeListsTheTracksAndPlaysStopsAndPlaysTheChosenOne) {
    open(0);
    EXPECT_EQ(window->height(), 130);
    EXPECT_TRUE(window->RxSwitch1->isChecked());
    EXPECT_FALSE(window->ScrollBox1->isVisible());
    QStringList items;
    for (int i = 0; i < window->FlatComboBox1->count(); ++i)
        items << window->FlatComboBox1->itemText(i);
    EXPECT_EQ(items, QStringList({QStringLiteral("乐曲01"), QStringLiteral("乐曲02"),
                                  QStringLiteral("乐曲03"), QStringLiteral("乐曲04"),
                                  QStringLiteral("乐曲05"), QStringLiteral("乐曲06")}));
    EXPECT_EQ(window->FlatComboBox1->currentIndex(), -1);
    EXPECT_TRUE(music->played.isEmpty()); // opening plays nothing

    choose(QStringLiteral("乐曲03"));
    EXPECT_EQ(music->played, QStringList{track(3)});
    EXPECT_TRUE(music->playing);
    QTest::mouseClick(window->RxSwitch1, Qt::LeftButton);
    EXPECT_FALSE(music->playing);
    EXPECT_FALSE(App::MusicOn);
    QTest::mouseClick(window->RxSwitch1, Qt::LeftButton);
    EXPECT_EQ(music->played, QStringList({track(3), track(3)}));
    EXPECT_TRUE(App::MusicOn);

    // Switched off, a new track is only remembered; the music keeps playing after closing.
    QTest::mouseClick(window->RxSwitch1, Qt::LeftButton);
    choose(QStringLiteral("乐曲05"));
    EXPECT_EQ(music->played.size(), 2);
    QTest::mouseClick(window->RxSwitch1, Qt::LeftButton);
    EXPECT_EQ(music->played.last(), track(5));
    window->epFocusButton3->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(music->playing);
    EXPECT_TRUE(dialogs->requests.isEmpty());

    // A new opening shows the switch on and no track chosen, whatever plays.
    open(0);
    EXPECT_TRUE(window->RxSwitch1->isChecked());
    EXPECT_EQ(window->FlatComboBox1->currentIndex(), -1);
}

TEST_F(ConfigWindowTest, WithoutAChosenTrackTheFirstPlays) {
    open(0);
    QTest::mouseClick(window->RxSwitch1, Qt::LeftButton);
    QTest::mouseClick(window->RxSwitch1, Qt::LeftButton);
    EXPECT_EQ(music->played, QStringList{track(1)});

    // A folder whose tracks are named otherwise plays its first one.
    window.reset();
    QFile::remove(track(1));
    App::MusicFile.clear();
    open(0);
    QTest::mouseClick(window->RxSwitch1, Qt::LeftButton);
    QTest::mouseClick(window->RxSwitch1, Qt::LeftButton);
    EXPECT_EQ(music->played.last(), track(2));
}

TEST_F(ConfigWindowTest, NoSoundDeviceNoTracksAndUnplayableFilesGiveTheirMessages) {
    open(0);
    music->device = false;
    choose(QStringLiteral("乐曲02"));
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->last().text, QStringLiteral("没发现声卡！"));
    EXPECT_EQ(dialogs->last().picture, 1);
    QTest::mouseClick(window->RxSwitch1, Qt::LeftButton); // off: still no sound card
    EXPECT_EQ(dialogs->requests.size(), 2);
    EXPECT_TRUE(music->played.isEmpty());

    music->device = true;
    music->playSucceeds = false;
    QTest::mouseClick(window->RxSwitch1, Qt::LeftButton);
    EXPECT_EQ(dialogs->last().text, QStringLiteral("无法播放背景音乐！"));

    // A sound folder without tracks: nothing to choose, and switching on says so.
    window.reset();
    QDir(folder->path() + QStringLiteral("sound")).removeRecursively();
    dialogs->requests.clear();
    open(0);
    EXPECT_FALSE(window->FlatComboBox1->isEnabled());
    EXPECT_EQ(window->FlatComboBox1->count(), 0);
    QTest::mouseClick(window->RxSwitch1, Qt::LeftButton);
    QTest::mouseClick(window->RxSwitch1, Qt::LeftButton);
    EXPECT_EQ(dialogs->last().text, QStringLiteral("无法播放背景音乐！"));
}

TEST_F(ConfigWindowTest, TheVolumeSliderSetsTheOutputLevel) {
    open(0);
    EXPECT_EQ(window->TrackBar1->value(), 10);
    window->TrackBar1->setValue(16);
    EXPECT_EQ(music->volume, WaveVolumeWord(16));
    EXPECT_EQ(App::VolumeLevel, 16);
    EXPECT_EQ(window->Label3->text(), QStringLiteral("16"));
    window->TrackBar1->setValue(1);
    EXPECT_EQ(music->volume, 0u);
}

// The real synthesiser, rendering into a file: the chosen delivered track comes out as sound,
// and a track that is no MIDI file is refused.
TEST_F(ConfigWindowTest, ADeliveredTrackPlaysThroughTheSynthesiser) {
    if (FluidMusicPlayer::findSoundFont().isEmpty())
        GTEST_SKIP() << "no General MIDI sound font";
    const QString out = folder->path() + QStringLiteral("out.raw");
    FluidMusicPlayer::Options o;
    o.drivers = {QStringLiteral("file")};
    o.outputFile = out;
    FluidMusicPlayer synth(o);
    Platform::setMusic(&synth);
    open(0);
    choose(QStringLiteral("乐曲03"));
    EXPECT_TRUE(synth.isPlaying());
    ASSERT_TRUE(GuiTest::waitUntil([&] { return QFileInfo(out).size() > 44100 * 4; }, 20000));
    QTest::mouseClick(window->RxSwitch1, Qt::LeftButton);
    EXPECT_FALSE(synth.isPlaying());
    QFile raw(out);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    const auto* samples = reinterpret_cast<const qint16*>(bytes.constData());
    int loud = 0;
    for (qsizetype i = 0; i < bytes.size() / 2; ++i)
        loud += qAbs(samples[i]) > 200;
    EXPECT_GT(loud, 1000) << "the rendered track is silent";
    EXPECT_TRUE(dialogs->requests.isEmpty());

    QFile notMidi(track(2));
    ASSERT_TRUE(notMidi.open(QIODevice::WriteOnly | QIODevice::Truncate));
    notMidi.write("这不是乐曲");
    notMidi.close();
    QTest::mouseClick(window->RxSwitch1, Qt::LeftButton);
    choose(QStringLiteral("乐曲02"));
    EXPECT_EQ(dialogs->last().text, QStringLiteral("无法播放背景音乐！"));
    EXPECT_FALSE(synth.isPlaying());
    window.reset();
    Platform::setMusic(music.get());
}

class AnswerTimes : public ConfigWindowTest {
  protected:
    void setUpWindows() override {
        ConfigWindowTest::setUpWindows();
        sql(QStringLiteral("delete from tab_tx2"));
        const struct {
            int code;
            const char* name;
            double minutes;
        } rows[] = {{11, " 单项选择题 ", 1},
                    {14, "多项选择题", 1.5},
                    {31, "判断题", 0.5},
                    {22, "案例分析题", 30}};
        for (const auto& r : rows)
            sql(QStringLiteral("insert into tab_tx2 (A1, B1, B2, B3, time) values (:a, :b, 1, 1, "
                               ":t)"),
                {{"a", r.code}, {"b", QString::fromUtf8(r.name)}, {"t", r.minutes}});
        App::PaperKind = 2;
    }
    QDoubleSpinBox* editor(int n) const {
        return window->findChild<QDoubleSpinBox*>(QStringLiteral("Currencyedit%1").arg(n));
    }
};

TEST_F(AnswerTimes, OneEditorPerTypeRowAndClosingStoresTheTimesAndTheAnswerTimeTable) {
    open(1);
    EXPECT_EQ(window->height(), 170);
    ASSERT_EQ(window->TimeEditors().size(), 4);
    for (int n = 1; n <= 4; ++n)
        ASSERT_NE(editor(n), nullptr) << n;
    EXPECT_EQ(window->findChild<QDoubleSpinBox*>(QStringLiteral("Currencyedit5")), nullptr);
    EXPECT_EQ(editor(2)->value(), 1.5);
    EXPECT_EQ(editor(2)->property("tag").toInt(), 14);
    // The names are trimmed.
    const QList<QLabel*> labels = window->ScrollBox1->widget()->findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                            [](QLabel* l) { return l->text() == QStringLiteral("单项选择题"); }));

    editor(1)->clear();
    QTest::keyClicks(editor(1), QStringLiteral("1.5"));
    editor(1)->interpretText();
    window->epFocusButton3->click();

    EXPECT_EQ(stored(QStringLiteral("select time from tab_tx2 where A1 = 11"), "time").toDouble(),
              1.5);
    EXPECT_EQ(App::TypeTimes, QVector<int>({900, 900, 300, 18000}));
    EXPECT_EQ(App::TypeCodes, QVector<int>({11, 14, 31, 22}));
    EXPECT_TRUE(dialogs->requests.isEmpty());
}

TEST_F(AnswerTimes, TimesStayWithinATenthOfAMinuteAndThirtyMinutes) {
    open(1);
    QDoubleSpinBox* field = editor(1);
    EXPECT_EQ(field->decimals(), 1);
    field->setValue(45);
    EXPECT_EQ(field->value(), 30.0);
    field->setValue(0);
    EXPECT_EQ(field->value(), 0.1);
    field->setValue(2.34);
    EXPECT_DOUBLE_EQ(field->value(), 2.3);
    // Typing past the limit is refused.
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("99"));
    field->interpretText();
    EXPECT_LE(field->value(), 30.0);
    window->close();
    EXPECT_EQ(App::TypeTimes[0], AnswerTimeTenths(field->value()));
}

TEST_F(AnswerTimes, AFailedSaveStoresNothingAndKeepsTheAnswerTimeTable) {
    App::TypeTimes = {600, 600};
    App::TypeCodes = {11, 14};
    sql(QStringLiteral("create trigger refuse before update on tab_tx2 when new.A1 = 31 "
                       "begin select raise(abort, 'locked'); end"));
    open(1);
    editor(1)->setValue(2);
    editor(3)->setValue(3);
    window->close();
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->last().title, QStringLiteral("错误"));
    EXPECT_EQ(dialogs->last().text, QStringLiteral("保存设置失败！"));
    EXPECT_EQ(dialogs->last().picture, 2);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(stored(QStringLiteral("select time from tab_tx2 where A1 = 11"), "time").toDouble(),
              1.0);
    EXPECT_EQ(App::TypeTimes, QVector<int>({600, 600}));
    EXPECT_EQ(App::TypeCodes, QVector<int>({11, 14}));
}

TEST_F(AnswerTimes, ATypeTableWithoutRowsOffersNothingToSet) {
    sql(QStringLiteral("delete from tab_tx2"));
    open(1);
    EXPECT_TRUE(window->TimeEditors().isEmpty());
    auto* none = window->findChild<QLabel*>(QStringLiteral("NoTypesLabel"));
    ASSERT_NE(none, nullptr);
    EXPECT_FALSE(none->text().isEmpty());
    window->close();
    EXPECT_TRUE(dialogs->requests.isEmpty());
    EXPECT_TRUE(App::TypeTimes.isEmpty());
}

// The menu's "sztime" opens the window re-laid for the answer times; the 设置 buttons of the
// other windows open the music mode.
TEST_F(AnswerTimes, TheMenuOpensEachModeAndTheWindowsButtonsOpenTheMusic) {
    registerSettingsCommands();
    FrmStart = new TFrmStart();
    struct Seen {
        int height = 0;
        bool musicHidden = false;
        QRect scroll;
        QPoint close;
        int editors = 0;
    } seen;
    const auto look = [&seen](TFrmConfig* w) {
        seen.height = w->height();
        seen.musicHidden =
            w->RxSwitch1->isHidden() && w->FlatComboBox1->isHidden() && w->TrackBar1->isHidden();
        seen.scroll = w->ScrollBox1->geometry();
        seen.close = w->epFocusButton3->pos();
        seen.editors = int(w->TimeEditors().size());
        w->epFocusButton3->click();
    };
    GuiTest::whenModal<TFrmConfig>(look);
    FrmStart->ShockwaveFlash1FSCommand(QStringLiteral("sztime"), QString());
    EXPECT_EQ(seen.height, 170);
    EXPECT_TRUE(seen.musicHidden);
    EXPECT_EQ(seen.scroll, QRect(9, 22, 345, 110));
    EXPECT_EQ(seen.close, QPoint(280, 137));
    EXPECT_EQ(seen.editors, 4);

    GuiTest::whenModal<TFrmConfig>(look);
    FrmStart->ShockwaveFlash1FSCommand(QStringLiteral("music"), QString());
    EXPECT_EQ(seen.height, 130);
    EXPECT_FALSE(seen.musicHidden);
    EXPECT_EQ(seen.editors, 0);

    App::ConfigMode = 1;
    GuiTest::whenModal<TFrmConfig>(look);
    WindowRegistry::open(WindowNames::Settings, FrmStart); // as the windows' buttons do
    EXPECT_EQ(seen.editors, 4);                            // the mode is the opener's choice

    delete FrmStart;
    FrmStart = nullptr;
    WindowRegistry::clear();
}

} // namespace
