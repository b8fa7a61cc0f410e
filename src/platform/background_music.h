#pragma once

#include <QString>

// The background music as the windows switch it: the main form and the settings window both play
// and stop it through here, over the platform's music service (Platform::music()).

// Plays (play yes) or stops (play no) the music file. No sound device: "没发现声卡！"; a file
// that cannot be played: "无法播放背景音乐！" (both as notices; nothing plays then).
void PlayBackgroundMusic(const QString& file, bool play);

// The wave-out volume word for a level: the level clamped to 1..16, each channel
// (level - 1) * 4369, left in the low half and right in the high half.
quint32 WaveVolumeWord(int level);

// Applies a volume level to the music output.
void SetWaveVolume(int level);
