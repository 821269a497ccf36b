// A show file of any bytes, opened the way the program opens one: it loads or is reported.
#include "platform/files/HostPath.h"
#include "platform/windows/AfxMessageBox.h"
#include "show/CReelmixDoc.h"

#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace
{
CString FileHolding(const std::uint8_t* data, std::size_t size)
{
    static const int fd = ::memfd_create("show", 0);
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != ssize_t(size))
        std::abort();
    CString path;
    FromHostPath("/proc/self/fd/" + std::to_string(fd), path);
    return path;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SetMessageBoxHook([](const CString&, UINT) { return IDOK; });
    CReelmixDoc doc;
    doc.OnOpenDocument(FileHolding(data, size));
    return 0;
}
