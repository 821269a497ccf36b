#include "platform/files/FileStatus.h"

#include "platform/files/HostPath.h"

#include <cerrno>
#include <cstring>

int _stat(const char* path, struct _stat* buffer)
{
    if (!path || !buffer) {
        errno = EINVAL;
        return -1;
    }
    if (std::strpbrk(path, "*?")) {
        errno = ENOENT;
        return -1;
    }
    struct stat st {
    };
    if (::stat(ToHostPath(path).c_str(), &st) != 0)
        return -1;
    buffer->st_mode = (S_ISDIR(st.st_mode)   ? _S_IFDIR
                       : S_ISREG(st.st_mode) ? _S_IFREG
                                             : 0) |
                      ((st.st_mode & S_IRUSR) ? _S_IREAD : 0) |
                      ((st.st_mode & S_IWUSR) ? _S_IWRITE : 0);
    buffer->st_size = st.st_size;
    buffer->st_mtim = st.st_mtim;
    return 0;
}
