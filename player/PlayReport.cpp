#include "player/PlayReport.h"

#include <QObject>
#include <QSaveFile>

namespace
{
// A name may hold any character but "/" and NUL, so that what would split a line or a field is
// written escaped.
QString Escaped(const QString& name)
{
    QString escaped;
    for (const QChar ch : name) {
        if (ch == '\\')
            escaped += "\\\\";
        else if (ch == '\t')
            escaped += "\\t";
        else if (ch == '\n')
            escaped += "\\n";
        else if (ch == '\r')
            escaped += "\\r";
        else if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
            escaped += QStringLiteral("\\x%1").arg(ch.unicode(), 2, 16, QChar('0'));
        else
            escaped += ch;
    }
    return escaped;
}

QString Frame(int n)
{
    return n < 0 ? QStringLiteral("-") : QString::number(n);
}

QString Text(const PlayReport::Line& line)
{
    return QStringLiteral("%1\t%2\t%3\t%4\t%5")
        .arg(Escaped(line.hostPath))
        .arg(line.firstPosition, 0, 'f', 3)
        .arg(line.lastPosition, 0, 'f', 3)
        .arg(Frame(line.firstFrame), Frame(line.lastFrame));
}
} // namespace

void PlayReport::Add(const QString& hostPath, double firstPosition, double lastPosition,
                     double lastPicture)
{
    m_lines.push_back({hostPath, firstPosition, lastPosition, lastPicture});
}

bool PlayReport::Save(const QString& hostPath, QString& error) const
{
    QSaveFile file(hostPath);
    QByteArray text;
    for (const Line& line : m_lines)
        text += Text(line).toUtf8() + '\n';
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        error =
            QObject::tr("The report %1 cannot be written: %2.").arg(hostPath, file.errorString());
        return false;
    }
    return true;
}
