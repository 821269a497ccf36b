#include "render/movie/NalStream.h"

namespace
{
constexpr uint8_t kStartCode[] = {0, 0, 0, 1};

// Unit types of H.264 and of HEVC.
constexpr int kAvcIdr = 5, kAvcSequenceParameters = 7;
constexpr int kHevcIdrWithLeading = 19, kHevcIdrAlone = 20, kHevcSequenceParameters = 33;

void AppendUnit(std::vector<uint8_t>& out, const uint8_t* unit, size_t size)
{
    out.insert(out.end(), std::begin(kStartCode), std::end(kStartCode));
    out.insert(out.end(), unit, unit + size);
}

// Where the next start code begins at or after from, or size.
size_t FindStartCode(const uint8_t* data, size_t size, size_t from)
{
    for (size_t i = from; i + 3 <= size; ++i)
        if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1)
            return i;
    return size;
}
} // namespace

bool NalStream::Supports(AVCodecID codec)
{
    return codec == AV_CODEC_ID_H264 || codec == AV_CODEC_ID_HEVC;
}

NalStream::NalStream(AVCodecID codec, const uint8_t* extradata, size_t size)
    : m_hevc(codec == AV_CODEC_ID_HEVC)
{
    if (size >= 7 && extradata[0] == 1)
        m_hevc ? ReadHevcRecord(extradata, size) : ReadAvcRecord(extradata, size);
    else if (size > 0)
        ForEachAnnexBUnit(extradata, size, [this](const uint8_t* unit, size_t n) {
            AppendUnit(m_parameterSets, unit, n);
        });
}

// version, profile, compatibility, level, length size, then counted runs of 16-bit-sized
// sequence and picture parameter sets.
void NalStream::ReadAvcRecord(const uint8_t* record, size_t size)
{
    m_lengthSize = (record[4] & 3) + 1;
    size_t at = 5;
    for (int list = 0; list < 2 && at < size; ++list) {
        const int count = list == 0 ? record[at] & 0x1f : record[at];
        ReadUnits(record, size, ++at, count);
    }
}

// 21 bytes of profile and format, the length size, then arrays of one unit type each: the type,
// a 16-bit count and 16-bit-sized units.
void NalStream::ReadHevcRecord(const uint8_t* record, size_t size)
{
    if (size < 23)
        return;
    m_lengthSize = (record[21] & 3) + 1;
    const int arrays = record[22];
    size_t at = 23;
    for (int i = 0; i < arrays && at + 3 <= size; ++i) {
        const int count = record[at + 1] << 8 | record[at + 2];
        ReadUnits(record, size, at += 3, count);
    }
}

void NalStream::ReadUnits(const uint8_t* record, size_t size, size_t& at, int count)
{
    for (int i = 0; i < count && at + 2 <= size; ++i) {
        const size_t length = size_t(record[at]) << 8 | record[at + 1];
        at += 2;
        if (length > size - at) {
            at = size;
            return;
        }
        AppendUnit(m_parameterSets, record + at, length);
        at += length;
    }
}

void NalStream::ForEachAnnexBUnit(const uint8_t* data, size_t size, const UnitVisitor& visit)
{
    size_t start = FindStartCode(data, size, 0);
    while (start < size) {
        const size_t unit = start + 3;
        const size_t next = FindStartCode(data, size, unit);
        size_t end = next;
        while (end > unit && data[end - 1] == 0) // the next start code's leading zero
            --end;
        if (end > unit)
            visit(data + unit, end - unit);
        start = next;
    }
}

void NalStream::ForEachUnit(const uint8_t* data, size_t size, const UnitVisitor& visit) const
{
    if (m_lengthSize == 0)
        return ForEachAnnexBUnit(data, size, visit);
    size_t at = 0;
    while (size - at > size_t(m_lengthSize)) {
        size_t length = 0;
        for (int i = 0; i < m_lengthSize; ++i)
            length = length << 8 | data[at + i];
        at += m_lengthSize;
        if (length == 0 || length > size - at)
            return;
        visit(data + at, length);
        at += length;
    }
}

int NalStream::UnitType(const uint8_t* unit) const
{
    return m_hevc ? (unit[0] >> 1) & 0x3f : unit[0] & 0x1f;
}

bool NalStream::HasUnit(const uint8_t* data, size_t size,
                        const std::function<bool(int)>& wanted) const
{
    bool found = false;
    ForEachUnit(data, size, [&](const uint8_t* unit, size_t) { found |= wanted(UnitType(unit)); });
    return found;
}

bool NalStream::OpensClosedGroup(const uint8_t* data, size_t size) const
{
    return HasUnit(data, size, [this](int type) {
        return m_hevc ? type == kHevcIdrWithLeading || type == kHevcIdrAlone : type == kAvcIdr;
    });
}

std::vector<uint8_t> NalStream::AnnexB(const uint8_t* data, size_t size, bool withParameters) const
{
    std::vector<uint8_t> out;
    out.reserve(size + m_parameterSets.size() + 64);
    const int sequence = m_hevc ? kHevcSequenceParameters : kAvcSequenceParameters;
    if (withParameters && !HasUnit(data, size, [sequence](int type) { return type == sequence; }))
        out = m_parameterSets;
    ForEachUnit(data, size, [&out](const uint8_t* unit, size_t n) { AppendUnit(out, unit, n); });
    return out;
}
