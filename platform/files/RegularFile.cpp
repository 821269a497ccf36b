#include "platform/files/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

RegularFile::Refusal RegularFile::Open(const QString& hostPath, QFile& file, QString& reason)
{
    struct stat status {
    };
    const int fd =
        ::open(QFile::encodeName(hostPath).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    Refusal refusal = Refusal::None;
    if (fd < 0 || ::fstat(fd, &status) != 0) {
        refusal = Refusal::Unreadable;
        reason = QString::fromLocal8Bit(std::strerror(errno));
    } else if (S_ISDIR(status.st_mode)) {
        refusal = Refusal::Folder;
    } else if (!S_ISREG(status.st_mode)) {
        refusal = Refusal::PipeOrDevice;
    } else if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        refusal = Refusal::Unreadable;
        reason = file.errorString();
    }
    if (fd >= 0 && !file.isOpen())
        ::close(fd);
    return refusal;
}
