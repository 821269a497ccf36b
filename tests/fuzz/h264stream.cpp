// Any H.264 or HEVC decoder record and packet a movie may hold, as the renderer reads them: the
// first byte's high bit picks HEVC, its other bits how many of the following bytes are the record.
#include "render/movie/NalStream.h"

#include <algorithm>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const AVCodecID codec = data[0] & 0x80 ? AV_CODEC_ID_HEVC : AV_CODEC_ID_H264;
    const std::size_t record = std::min<std::size_t>(data[0] & 0x7f, size - 1);
    const NalStream stream(codec, data + 1, record);
    const std::uint8_t* packet = data + 1 + record;
    const std::size_t packetSize = size - 1 - record;
    stream.OpensClosedGroup(packet, packetSize);
    stream.AnnexB(packet, packetSize, true);
    return 0;
}
