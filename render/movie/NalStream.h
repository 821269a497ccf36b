#pragma once
// The few facts about H.264 and HEVC packets that joining streams needs: whether a packet opens
// a closed group, and the same packet with start codes (the form the muxers take and turn into
// their own), its parameter sets carried in front when asked.
extern "C" {
#include <libavcodec/avcodec.h>
}

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

class NalStream
{
public:
    static bool Supports(AVCodecID codec);

    // extradata is either the container's decoder record (lengths before units) or units with
    // start codes; empty extradata means start codes too.
    NalStream(AVCodecID codec, const uint8_t* extradata, size_t size);

    // Holds a picture that no later picture reaches back past (an IDR picture).
    bool OpensClosedGroup(const uint8_t* data, size_t size) const;
    // The packet with start codes; with parameter sets in front unless it has its own.
    std::vector<uint8_t> AnnexB(const uint8_t* data, size_t size, bool withParameters) const;
    // The parameter sets of the decoder record, with start codes.
    const std::vector<uint8_t>& ParameterSets() const { return m_parameterSets; }

private:
    using UnitVisitor = std::function<void(const uint8_t* unit, size_t size)>;
    // Damaged lengths end the walk: a unit never reaches past the packet.
    void ForEachUnit(const uint8_t* data, size_t size, const UnitVisitor& visit) const;
    static void ForEachAnnexBUnit(const uint8_t* data, size_t size, const UnitVisitor& visit);
    bool HasUnit(const uint8_t* data, size_t size, const std::function<bool(int)>& wanted) const;
    int UnitType(const uint8_t* unit) const;
    void ReadAvcRecord(const uint8_t* record, size_t size);
    void ReadHevcRecord(const uint8_t* record, size_t size);
    void ReadUnits(const uint8_t* record, size_t size, size_t& at, int count);

    bool m_hevc;
    int m_lengthSize = 0; // 0: start codes
    std::vector<uint8_t> m_parameterSets;
};
