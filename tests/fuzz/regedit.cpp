// Any text given to the settings tool's import, into a store of its own.
#include "platform/registry/RegistryText.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char* tmp = std::getenv("TMPDIR");
    static std::string folder = std::string(tmp ? tmp : "/tmp") + "/fuzz-regedit.XXXXXX";
    if (!::mkdtemp(folder.data()))
        std::abort();
    ::setenv("REELMIX_REGISTRY", (folder + "/registry.db").c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string error;
    RegistryText::Import(std::string(reinterpret_cast<const char*>(data), size), error);
    return 0;
}
