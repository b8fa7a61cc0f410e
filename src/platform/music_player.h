#pragma once

#include <QString>
#include <QStringList>

#include <memory>

// The background-music player: one MIDI file at a time through the system's audio output.
class MusicPlayer {
  public:
    virtual ~MusicPlayer() = default;

    // True when an audio output can be opened on this machine.
    virtual bool hasOutputDevice() = 0;
    // Closes whatever plays and starts the file. False when the file cannot be opened or played
    // (missing, not a MIDI file, no sound font, no audio output).
    virtual bool play(const QString& file) = 0;
    virtual void close() = 0;
    virtual bool isPlaying() const = 0;
    // The volume word of the wave-out call: left channel in the low 16 bits, right channel in the
    // high 16 bits, 0 silence to 65535 full volume.
    virtual void setVolumeWord(quint32 word) = 0;
    virtual quint32 volumeWord() const = 0;
};

// Plays MIDI files with FluidSynth and the General MIDI sound font of the distribution.
class FluidMusicPlayer : public MusicPlayer {
  public:
    struct Options {
        // Audio drivers tried in this order; the first that opens is used.
        QStringList drivers = defaultDrivers();
        // Empty: the distribution's General MIDI sound font (findSoundFont()).
        QString soundFont;
        // With the "file" driver: the file the rendered audio is written to.
        QString outputFile;
    };

    FluidMusicPlayer();
    explicit FluidMusicPlayer(Options options);
    ~FluidMusicPlayer() override;
    FluidMusicPlayer(const FluidMusicPlayer&) = delete;
    FluidMusicPlayer& operator=(const FluidMusicPlayer&) = delete;

    bool hasOutputDevice() override;
    bool play(const QString& file) override;
    void close() override;
    bool isPlaying() const override;
    void setVolumeWord(quint32 word) override;
    quint32 volumeWord() const override { return volumeWord_; }

    // The gain FluidSynth plays with for a volume word (0 to kMaxGain).
    static double gainFor(quint32 word);
    static constexpr double kMaxGain = 0.8;

    static QStringList defaultDrivers();
    // The first General MIDI sound font found in the usual places, or empty.
    static QString findSoundFont();

  private:
    struct Engine;
    bool ensureEngine();
    void releaseEngine();

    Options options_;
    quint32 volumeWord_ = 0xFFFFFFFFu;
    QString workingDriver_;
    std::unique_ptr<Engine> engine_;
};
