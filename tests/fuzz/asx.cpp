// Any text given to the show player as its playlist.
#include "util/AsxReader.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    AsxPlaylist playlist;
    QString error;
    AsxReader::Read(std::string_view(reinterpret_cast<const char*>(data), size), playlist, error);
    return 0;
}
