#include "platform/background_music.h"

#include "platform/dialogs.h"
#include "platform/music_player.h"
#include "platform/platform_services.h"

#include <algorithm>

void PlayBackgroundMusic(const QString& file, bool play) {
    MusicPlayer& player = Platform::music();
    if (!player.hasOutputDevice()) {
        ShowDlg(QStringLiteral("提示"), QStringLiteral("没发现声卡！"), 1, QStringLiteral("NO"), 1);
        return;
    }
    bool ok = true;
    player.close();
    if (play)
        ok = player.play(file);
    if (!ok)
        ShowDlg(QStringLiteral("提示"), QStringLiteral("无法播放背景音乐！"), 1,
                QStringLiteral("NO"), 1);
}

quint32 WaveVolumeWord(int level) {
    level = std::clamp(level, 1, 16);
    const quint32 channel = static_cast<quint32>(level - 1) * 4369u;
    return channel | (channel << 16);
}

void SetWaveVolume(int level) {
    Platform::music().setVolumeWord(WaveVolumeWord(level));
}
