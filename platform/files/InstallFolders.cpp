#include "platform/files/InstallFolders.h"

#include <QCoreApplication>
#include <QDir>

namespace
{
QString FromBinary(const char* relative)
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + '/' + relative);
}
} // namespace

QString InstallFolders::Helpers()
{
    return FromBinary(REELMIX_HELPERS_FROM_BINARY);
}

QString InstallFolders::Data()
{
    return FromBinary(REELMIX_DATA_FROM_BINARY);
}
