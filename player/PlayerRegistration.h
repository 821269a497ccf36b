#pragma once
// Records where the player is installed, as its installer would, so that Reelmix finds it:
// HKEY_LOCAL_MACHINE\Software\Microsoft\MediaPlayer, value "Installation Directory".
#include <QString>

class PlayerRegistration
{
public:
    PlayerRegistration() = delete;

    // hostDirectory is the folder that holds mplayer2. False with error set on failure.
    static bool Register(const QString& hostDirectory, QString& error);
};
