#pragma once
// The few facts about H.264 packets that joining streams needs: which units a packet holds, and
// the same packet with start codes (the form the muxers take and turn into their own), its
// parameter sets carried in front when it opens a copied run.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

class H264Stream
{
public:
    static constexpr int IdrSlice = 5;
    static constexpr int SequenceParameters = 7;
    static constexpr int PictureParameters = 8;

    // extradata is either the container's decoder record (lengths before units) or units with
    // start codes; empty extradata means start codes too.
    explicit H264Stream(const uint8_t* extradata, size_t size);

    bool HasUnit(const uint8_t* data, size_t size, int type) const;
    // The packet with start codes; with parameter sets in front unless it has its own.
    std::vector<uint8_t> AnnexB(const uint8_t* data, size_t size, bool withParameters) const;
    // The parameter sets of the decoder record, with start codes.
    const std::vector<uint8_t>& ParameterSets() const { return m_parameterSets; }

private:
    using UnitVisitor = std::function<void(const uint8_t* unit, size_t size)>;
    // Damaged lengths end the walk: a unit never reaches past the packet.
    void ForEachUnit(const uint8_t* data, size_t size, const UnitVisitor& visit) const;
    static void ForEachAnnexBUnit(const uint8_t* data, size_t size, const UnitVisitor& visit);
    void ReadDecoderRecord(const uint8_t* record, size_t size);

    int m_lengthSize = 0; // 0: start codes
    std::vector<uint8_t> m_parameterSets;
};
