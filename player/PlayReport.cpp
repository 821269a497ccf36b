#include "player/PlayReport.h"

#include <QObject>
#include <QSaveFile>

void PlayReport::Add(const QString& hostPath, double firstPosition, double lastPosition)
{
    m_lines.append(QStringLiteral("%1\t%2\t%3")
                       .arg(hostPath)
                       .arg(firstPosition, 0, 'f', 3)
                       .arg(lastPosition, 0, 'f', 3));
}

bool PlayReport::Save(const QString& hostPath, QString& error) const
{
    QSaveFile file(hostPath);
    QByteArray text;
    for (const QString& line : m_lines)
        text += line.toUtf8() + '\n';
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        error =
            QObject::tr("The report %1 cannot be written: %2.").arg(hostPath, file.errorString());
        return false;
    }
    return true;
}
