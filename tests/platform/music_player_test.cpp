#include "platform/music_player.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// A Standard MIDI file (format 0) of a few short notes.
QByteArray smallMidi() {
    QByteArray track;
    auto note = [&track](char key) {
        track.append('\x00').append('\x90').append(key).append('\x60');
        track.append('\x30').append('\x80').append(key).append('\x00');
    };
    note(60);
    note(64);
    note(67);
    track.append("\x00\xFF\x2F\x00", 4);
    QByteArray file("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60", 14);
    file.append("MTrk", 4);
    const quint32 n = quint32(track.size());
    file.append(char(n >> 24)).append(char(n >> 16)).append(char(n >> 8)).append(char(n));
    file.append(track);
    return file;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(bytes);
    return path;
}

// Renders to a file instead of a sound card, so the real synthesiser runs on any machine.
FluidMusicPlayer::Options fileOutput(const QTemporaryDir& dir) {
    FluidMusicPlayer::Options o;
    o.drivers = {QStringLiteral("file")};
    o.outputFile = dir.filePath(QStringLiteral("out.raw"));
    return o;
}

} // namespace

TEST(FluidMusicPlayer, TheVolumeWordSetsTheGainByTheLouderChannel) {
    EXPECT_DOUBLE_EQ(FluidMusicPlayer::gainFor(0), 0.0);
    EXPECT_DOUBLE_EQ(FluidMusicPlayer::gainFor(0xFFFFFFFFu), FluidMusicPlayer::kMaxGain);
    const quint32 level10 = 39321u | (39321u << 16);
    EXPECT_NEAR(FluidMusicPlayer::gainFor(level10), 0.6 * FluidMusicPlayer::kMaxGain, 1e-9);
    EXPECT_NEAR(FluidMusicPlayer::gainFor(39321u), 0.6 * FluidMusicPlayer::kMaxGain, 1e-9);
    EXPECT_NEAR(FluidMusicPlayer::gainFor(39321u << 16), 0.6 * FluidMusicPlayer::kMaxGain, 1e-9);

    FluidMusicPlayer player(FluidMusicPlayer::Options{QStringList{}, {}, {}});
    player.setVolumeWord(level10);
    EXPECT_EQ(player.volumeWord(), level10);
}

TEST(FluidMusicPlayer, NoUsableDriverMeansNoDeviceAndNothingPlays) {
    QTemporaryDir dir;
    const QString midi = writeFile(dir, QStringLiteral("a.mid"), smallMidi());
    FluidMusicPlayer player(FluidMusicPlayer::Options{{QStringLiteral("no-such-driver")}, {}, {}});
    EXPECT_FALSE(player.hasOutputDevice());
    EXPECT_FALSE(player.play(midi));
    EXPECT_FALSE(player.isPlaying());
}

TEST(FluidMusicPlayer, FindsTheDistributionsGeneralMidiSoundFont) {
    const QString sf = FluidMusicPlayer::findSoundFont();
    if (!QFileInfo::exists(QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2")))
        GTEST_SKIP() << "fluid-soundfont-gm is not installed";
    ASSERT_FALSE(sf.isEmpty());
    EXPECT_TRUE(QFileInfo(sf).isFile());
    EXPECT_TRUE(sf.endsWith(QStringLiteral(".sf2")) || sf.endsWith(QStringLiteral(".sf3")));
}

TEST(FluidMusicPlayer, AFileThatIsMissingOrNoMidiCannotBePlayed) {
    QTemporaryDir dir;
    FluidMusicPlayer player(fileOutput(dir));
    EXPECT_FALSE(player.play(dir.filePath(QStringLiteral("乐曲09.mid"))));
    EXPECT_FALSE(player.play(QString()));
    const QString text =
        writeFile(dir, QStringLiteral("乐曲01.mid"), QByteArray("not a tune at all\n"));
    EXPECT_FALSE(player.play(text));
    EXPECT_FALSE(player.play(dir.path())); // a folder
    EXPECT_FALSE(player.isPlaying());
}

TEST(FluidMusicPlayer, PlaysAMidiFileThroughTheSynthesiserAndCloses) {
    if (FluidMusicPlayer::findSoundFont().isEmpty())
        GTEST_SKIP() << "no General MIDI sound font";
    QTemporaryDir dir;
    const QString midi = writeFile(dir, QStringLiteral("乐曲01.mid"), smallMidi());
    FluidMusicPlayer player(fileOutput(dir));
    ASSERT_TRUE(player.hasOutputDevice());
    ASSERT_TRUE(player.play(midi));
    EXPECT_TRUE(player.isPlaying());

    // The synthesiser renders into the output file while the tune plays.
    const QString out = dir.filePath(QStringLiteral("out.raw"));
    QElapsedTimer t;
    t.start();
    while (QFileInfo(out).size() == 0 && t.elapsed() < 5000)
        QThread::msleep(20);
    EXPECT_GT(QFileInfo(out).size(), 0);

    player.close();
    EXPECT_FALSE(player.isPlaying());
    // A second tune after the first was closed.
    ASSERT_TRUE(player.play(midi));
    EXPECT_TRUE(player.isPlaying());
    // A failing start leaves nothing playing.
    EXPECT_FALSE(player.play(dir.filePath(QStringLiteral("missing.mid"))));
    EXPECT_FALSE(player.isPlaying());
}

TEST(FluidMusicPlayer, AMissingSoundFontFailsThePlay) {
    QTemporaryDir dir;
    const QString midi = writeFile(dir, QStringLiteral("a.mid"), smallMidi());
    FluidMusicPlayer::Options o = fileOutput(dir);
    o.soundFont = dir.filePath(QStringLiteral("none.sf2"));
    FluidMusicPlayer player(o);
    EXPECT_FALSE(player.play(midi));
    EXPECT_FALSE(player.isPlaying());
}
