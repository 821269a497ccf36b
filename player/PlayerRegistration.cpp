#include "player/PlayerRegistration.h"

#include "platform/files/HostPath.h"
#include "platform/registry/WinReg.h"
#include "util/MyRegistry.h"

#include <QObject>

bool PlayerRegistration::Register(const QString& hostDirectory, QString& error)
{
    CString directory;
    if (!FromHostPath(hostDirectory.toStdString(), directory)) {
        error = QObject::tr("The player's folder \"%1\" cannot be named as a program path.")
                    .arg(hostDirectory);
        return false;
    }
    MyRegistry key(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\MediaPlayer", true);
    if (!key.IsOpen() || !key.SaveValueString("Installation Directory", directory)) {
        error = QObject::tr("Could not record the player's folder in the settings store.");
        return false;
    }
    return true;
}
