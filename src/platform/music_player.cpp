#include "platform/music_player.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <fluidsynth.h>

#include <algorithm>

namespace {

// FluidSynth reports every driver it fails to open on the error output; the player answers with
// its own results instead.
void quietLog(int, const char*, void*) {}

void silenceLibraryLog() {
    static bool done = false;
    if (done)
        return;
    done = true;
    fluid_set_log_function(FLUID_PANIC, quietLog, nullptr);
    fluid_set_log_function(FLUID_ERR, quietLog, nullptr);
    fluid_set_log_function(FLUID_WARN, quietLog, nullptr);
    fluid_set_log_function(FLUID_INFO, quietLog, nullptr);
    fluid_set_log_function(FLUID_DBG, quietLog, nullptr);
}

} // namespace

struct FluidMusicPlayer::Engine {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_audio_driver_t* driver = nullptr;
    fluid_player_t* player = nullptr;

    // The audio driver's thread ticks the player (and loads its MIDI file there), so the driver
    // goes first: a player deleted while that thread runs can be read after it is freed.
    void stopPlayer() {
        if (!player)
            return;
        fluid_player_stop(player);
        if (driver) {
            delete_fluid_audio_driver(driver);
            driver = nullptr;
        }
        delete_fluid_player(player);
        player = nullptr;
    }

    ~Engine() {
        stopPlayer();
        if (driver)
            delete_fluid_audio_driver(driver);
        if (synth)
            delete_fluid_synth(synth);
        if (settings)
            delete_fluid_settings(settings);
    }
};

FluidMusicPlayer::FluidMusicPlayer() : FluidMusicPlayer(Options{}) {}

FluidMusicPlayer::FluidMusicPlayer(Options options) : options_(std::move(options)) {
    silenceLibraryLog();
}

FluidMusicPlayer::~FluidMusicPlayer() {
    releaseEngine();
}

QStringList FluidMusicPlayer::defaultDrivers() {
    // Never "jack" (it may start a sound server) nor "file".
    return {QStringLiteral("pulseaudio"), QStringLiteral("pipewire"), QStringLiteral("alsa"),
            QStringLiteral("sdl2"), QStringLiteral("oss")};
}

QString FluidMusicPlayer::findSoundFont() {
    const QStringList names = {
        QStringLiteral("sounds/sf2/FluidR3_GM.sf2"), QStringLiteral("sounds/sf2/default-GM.sf2"),
        QStringLiteral("soundfonts/FluidR3_GM.sf2"), QStringLiteral("soundfonts/default.sf2"),
        QStringLiteral("sounds/sf3/default-GM.sf3")};
    for (const QString& name : names) {
        const QString found = QStandardPaths::locate(QStandardPaths::GenericDataLocation, name);
        if (!found.isEmpty())
            return found;
        const QString usual = QStringLiteral("/usr/share/") + name;
        if (QFileInfo(usual).isFile())
            return usual;
    }
    // The sound font FluidSynth itself was built to use.
    fluid_settings_t* settings = new_fluid_settings();
    QString builtIn;
    char* def = nullptr;
    if (settings &&
        fluid_settings_getstr_default(settings, "synth.default-soundfont", &def) == FLUID_OK && def)
        builtIn = QFile::decodeName(def);
    if (settings)
        delete_fluid_settings(settings);
    if (!builtIn.isEmpty() && QFileInfo(builtIn).isFile())
        return builtIn;
    return {};
}

double FluidMusicPlayer::gainFor(quint32 word) {
    const quint32 left = word & 0xFFFFu;
    const quint32 right = word >> 16;
    return kMaxGain * static_cast<double>(std::max(left, right)) / 65535.0;
}

bool FluidMusicPlayer::hasOutputDevice() {
    if (engine_ && engine_->driver)
        return true;
    silenceLibraryLog();
    for (const QString& name : options_.drivers) {
        fluid_settings_t* settings = new_fluid_settings();
        if (!settings)
            return false;
        bool ok = false;
        if (fluid_settings_setstr(settings, "audio.driver", name.toUtf8().constData()) ==
            FLUID_OK) {
            if (!options_.outputFile.isEmpty())
                fluid_settings_setstr(settings, "audio.file.name",
                                      QFile::encodeName(options_.outputFile).constData());
            if (fluid_synth_t* synth = new_fluid_synth(settings)) {
                if (fluid_audio_driver_t* driver = new_fluid_audio_driver(settings, synth)) {
                    ok = true;
                    delete_fluid_audio_driver(driver);
                }
                delete_fluid_synth(synth);
            }
        }
        delete_fluid_settings(settings);
        if (ok) {
            workingDriver_ = name;
            return true;
        }
    }
    return false;
}

bool FluidMusicPlayer::ensureEngine() {
    if (engine_)
        return true;
    if (workingDriver_.isEmpty() && !hasOutputDevice())
        return false;
    const QString soundFont = options_.soundFont.isEmpty() ? findSoundFont() : options_.soundFont;
    if (soundFont.isEmpty() || !QFileInfo(soundFont).isFile())
        return false;

    auto engine = std::make_unique<Engine>();
    engine->settings = new_fluid_settings();
    if (!engine->settings)
        return false;
    fluid_settings_setstr(engine->settings, "audio.driver", workingDriver_.toUtf8().constData());
    if (!options_.outputFile.isEmpty())
        fluid_settings_setstr(engine->settings, "audio.file.name",
                              QFile::encodeName(options_.outputFile).constData());
    fluid_settings_setnum(engine->settings, "synth.gain", gainFor(volumeWord_));
    engine->synth = new_fluid_synth(engine->settings);
    if (!engine->synth)
        return false;
    if (fluid_synth_sfload(engine->synth, QFile::encodeName(soundFont).constData(), 1) ==
        FLUID_FAILED)
        return false;
    engine->driver = new_fluid_audio_driver(engine->settings, engine->synth);
    if (!engine->driver)
        return false;
    engine_ = std::move(engine);
    return true;
}

void FluidMusicPlayer::releaseEngine() {
    engine_.reset();
}

bool FluidMusicPlayer::play(const QString& file) {
    close();
    const QByteArray path = QFile::encodeName(file);
    if (file.isEmpty() || !QFileInfo(file).isFile() || !fluid_is_midifile(path.constData()))
        return false;
    if (!ensureEngine())
        return false;
    if (!engine_->driver) // stopped with the last tune
        engine_->driver = new_fluid_audio_driver(engine_->settings, engine_->synth);
    if (!engine_->driver)
        return false;
    fluid_player_t* player = new_fluid_player(engine_->synth);
    if (!player)
        return false;
    engine_->player = player;
    if (fluid_player_add(player, path.constData()) != FLUID_OK ||
        fluid_player_play(player) != FLUID_OK) {
        engine_->stopPlayer();
        return false;
    }
    return true;
}

void FluidMusicPlayer::close() {
    if (!engine_ || !engine_->player)
        return;
    engine_->stopPlayer();
    fluid_synth_all_sounds_off(engine_->synth, -1);
}

bool FluidMusicPlayer::isPlaying() const {
    return engine_ && engine_->player &&
           fluid_player_get_status(engine_->player) == FLUID_PLAYER_PLAYING;
}

void FluidMusicPlayer::setVolumeWord(quint32 word) {
    volumeWord_ = word;
    if (engine_ && engine_->synth)
        fluid_synth_set_gain(engine_->synth, static_cast<float>(gainFor(word)));
}
