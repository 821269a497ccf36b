#include "platform/framework/LockKeyLights.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

namespace
{
constexpr qint64 kListingLifeMs = 1000;

// The lights' brightness files, as last listed; the main thread's only.
const QStringList& Lights()
{
    static QStringList lights;
    static QElapsedTimer listed;
    if (!listed.isValid() || listed.elapsed() >= kListingLifeMs) {
        lights.clear();
        const QDir folder(QStringLiteral("/sys/class/leds"));
        for (const QString& entry : folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
            lights << folder.filePath(entry + QStringLiteral("/brightness"));
        listed.start();
    }
    return lights;
}
} // namespace

bool LockKeyLights::IsOn(const char* led)
{
    const QString suffix = QStringLiteral("::") + QString::fromLatin1(led) + "/brightness";
    for (const QString& light : Lights()) {
        if (!light.endsWith(suffix, Qt::CaseInsensitive))
            continue;
        QFile brightness(light);
        if (brightness.open(QIODevice::ReadOnly) && brightness.readAll().trimmed() != "0")
            return true;
    }
    return false;
}
