#include "render/movie/H264Stream.h"

namespace
{
constexpr uint8_t kStartCode[] = {0, 0, 0, 1};

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

H264Stream::H264Stream(const uint8_t* extradata, size_t size)
{
    if (size >= 7 && extradata[0] == 1)
        ReadDecoderRecord(extradata, size);
    else if (size > 0)
        ForEachAnnexBUnit(extradata, size, [this](const uint8_t* unit, size_t n) {
            AppendUnit(m_parameterSets, unit, n);
        });
}

// version, profile, compatibility, level, length size, then counted runs of 16-bit-sized
// sequence and picture parameter sets.
void H264Stream::ReadDecoderRecord(const uint8_t* record, size_t size)
{
    m_lengthSize = (record[4] & 3) + 1;
    size_t at = 5;
    for (int list = 0; list < 2 && at < size; ++list) {
        const int count = list == 0 ? record[at] & 0x1f : record[at];
        ++at;
        for (int i = 0; i < count && at + 2 <= size; ++i) {
            const size_t length = size_t(record[at]) << 8 | record[at + 1];
            at += 2;
            if (length > size - at)
                return;
            AppendUnit(m_parameterSets, record + at, length);
            at += length;
        }
    }
}

void H264Stream::ForEachAnnexBUnit(const uint8_t* data, size_t size, const UnitVisitor& visit)
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

void H264Stream::ForEachUnit(const uint8_t* data, size_t size, const UnitVisitor& visit) const
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

bool H264Stream::HasUnit(const uint8_t* data, size_t size, int type) const
{
    bool found = false;
    ForEachUnit(data, size,
                [&](const uint8_t* unit, size_t) { found |= (unit[0] & 0x1f) == type; });
    return found;
}

std::vector<uint8_t> H264Stream::AnnexB(const uint8_t* data, size_t size, bool withParameters) const
{
    std::vector<uint8_t> out;
    out.reserve(size + m_parameterSets.size() + 64);
    if (withParameters && !HasUnit(data, size, SequenceParameters))
        out = m_parameterSets;
    ForEachUnit(data, size, [&out](const uint8_t* unit, size_t n) { AppendUnit(out, unit, n); });
    return out;
}
