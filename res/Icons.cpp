#include "res/Icons.h"

#include <QFile>

QIcon LoadResourceIcon(UINT id)
{
    const QString path = id == 101 ? QStringLiteral(":/icons/app-101.svg")
                                   : QStringLiteral(":/icons/cmd-%1.svg").arg(id);
    return QFile::exists(path) ? QIcon(path) : QIcon();
}
