// Any H.264 decoder record and packet a movie may hold, as the renderer reads them: the first
// byte says how many of the following bytes are the record.
#include "render/movie/H264Stream.h"

#include <algorithm>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t record = std::min<std::size_t>(data[0], size - 1);
    const H264Stream stream(data + 1, record);
    const std::uint8_t* packet = data + 1 + record;
    const std::size_t packetSize = size - 1 - record;
    stream.HasUnit(packet, packetSize, H264Stream::IdrSlice);
    stream.AnnexB(packet, packetSize, true);
    return 0;
}
