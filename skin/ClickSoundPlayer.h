#pragma once

#include <QHash>
#include <QSet>

#include <memory>

class QSoundEffect;

// Plays the game's short interface sounds (WAVE resources by number) without waiting: a sound
// already playing starts again. On a machine without an audio output it stays silent, since the
// sound effect would report "playing" for ever there.
class CClickSoundPlayer
{
public:
    CClickSoundPlayer();
    virtual ~CClickSoundPlayer();

    CClickSoundPlayer(const CClickSoundPlayer&) = delete;
    CClickSoundPlayer& operator=(const CClickSoundPlayer&) = delete;

    virtual void Play(int waveNumber);

    // The player the windows use; tests may put their own in place (none gives the default).
    static CClickSoundPlayer& Instance();
    static void SetInstance(CClickSoundPlayer* player);

private:
    bool HasAudioOutput();

    QHash<int, std::shared_ptr<QSoundEffect>> m_sounds;
    QSet<int> m_broken;
    int m_audio = -1; // unknown until the first sound
};
