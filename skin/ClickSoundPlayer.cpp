#include "skin/ClickSoundPlayer.h"

#include "resources/GP_Resources.h"
#include "shell/log/GP_LogFile.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace {
CClickSoundPlayer* s_instance = nullptr;
} // namespace

CClickSoundPlayer::CClickSoundPlayer() = default;

CClickSoundPlayer::~CClickSoundPlayer()
{
    if (s_instance == this)
        s_instance = nullptr;
}

CClickSoundPlayer& CClickSoundPlayer::Instance()
{
    static CClickSoundPlayer defaultPlayer;
    return s_instance ? *s_instance : defaultPlayer;
}

void CClickSoundPlayer::SetInstance(CClickSoundPlayer* player)
{
    s_instance = player;
}

bool CClickSoundPlayer::HasAudioOutput()
{
    if (m_audio < 0) {
        m_audio = QMediaDevices::audioOutputs().isEmpty() ? 0 : 1;
        if (m_audio == 0)
            GP_Log(QStringLiteral("CClickSoundPlayer: no audio output, sounds are silent\n"));
    }
    return m_audio == 1;
}

void CClickSoundPlayer::Play(int waveNumber)
{
    if (!HasAudioOutput())
        return;
    std::shared_ptr<QSoundEffect>& sound = m_sounds[waveNumber];
    if (!sound) {
        GP_InitResources();
        sound = std::make_shared<QSoundEffect>();
        sound->setSource(QUrl(QStringLiteral("qrc") + GP_WavePath(waveNumber)));
    }
    if (sound->status() == QSoundEffect::Error) {
        if (!m_broken.contains(waveNumber))
            GP_Log(QStringLiteral("CClickSoundPlayer::Play: sound %1 cannot be played\n").arg(waveNumber));
        m_broken.insert(waveNumber);
        return;
    }
    // A busy sound is not waited for: it starts again.
    sound->stop();
    sound->play();
}
