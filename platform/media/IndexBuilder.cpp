#include "platform/media/IndexBuilder.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

namespace
{
constexpr int64_t None = MovieIndex::NoTimestamp;
} // namespace

IndexBuilder::IndexBuilder(int64_t period, bool noTimestamps, bool reorders)
    : m_period(std::max<int64_t>(1, period)), m_noTimestamps(noTimestamps), m_reorders(reorders)
{
}

// Every picture has a timestamp of its own and no two share one: they name the pictures, and
// times holds them in order.
bool IndexBuilder::AllTimed(std::vector<int64_t>& times) const
{
    if (m_noTimestamps)
        return false;
    for (const Packet& packet : m_packets) {
        if (packet.pts == None)
            return false;
        times.push_back(packet.pts);
    }
    std::sort(times.begin(), times.end());
    return std::adjacent_find(times.begin(), times.end()) == times.end();
}

void IndexBuilder::FromPackets(MovieIndex& index) const
{
    index.times.clear();
    index.keys.clear();
    if (m_packets.empty())
        return;
    index.timed = AllTimed(index.times);
    if (index.timed) {
        AddKey(index, m_start, 0);
        for (const Packet& packet : m_packets) {
            if (packet.key)
                AddKey(index, packet, index.FrameOfTimestamp(packet.pts));
        }
        return;
    }
    const std::vector<int> order = DisplayOrder();
    index.times = SlotTimes(order);
    std::vector<int> shownAt(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        shownAt[order[i]] = int(i);
    AddKey(index, m_start, 0);
    for (size_t i = 0; i < m_packets.size(); ++i) {
        if (m_packets[i].key)
            AddKey(index, m_packets[i], shownAt[i]);
    }
}

// Which packet each picture comes from, in display order. Where pictures are reordered, the
// container gives a timestamp of its own only to some: a picture that others do not refer to
// is shown as soon as it is decoded (the library gives it its decoding time as its timestamp),
// and every other one waits for the next such reference picture.
std::vector<int> IndexBuilder::DisplayOrder() const
{
    std::vector<int> order;
    if (!m_reorders) {
        order.resize(m_packets.size());
        std::iota(order.begin(), order.end(), 0);
        return order;
    }
    int waiting = -1;
    for (int i = 0; i < int(m_packets.size()); ++i) {
        const Packet& packet = m_packets[i];
        const bool shownAtOnce = !packet.key && packet.pts != None && packet.pts == packet.dts;
        if (!shownAtOnce && waiting >= 0)
            order.push_back(waiting);
        if (shownAtOnce)
            order.push_back(i);
        else
            waiting = i;
    }
    if (waiting >= 0)
        order.push_back(waiting);
    return order;
}

// The pictures' times where the container has no timestamp for each: elementary streams are at
// the nominal rate; otherwise the pictures take the decoding times in order (one a slot, as the
// container spaced them), moved so that the first picture with a timestamp of its own keeps it.
std::vector<int64_t> IndexBuilder::SlotTimes(const std::vector<int>& order) const
{
    std::vector<int64_t> times;
    for (const Packet& packet : m_packets)
        times.push_back(m_noTimestamps ? None : packet.dts);
    if (!m_noTimestamps)
        std::stable_sort(times.begin(), times.end(),
                         [](int64_t a, int64_t b) { return a != None && (b == None || a < b); });
    if (times.front() == None)
        times.front() = m_noTimestamps ? 0 : m_packets.front().pts;
    if (times.front() == None)
        times.front() = 0;
    Rise(times);
    for (size_t i = 0; i < order.size() && !m_noTimestamps; ++i) {
        const int64_t own = m_packets[order[i]].pts;
        if (own != None) {
            const int64_t shift = own - times[i];
            for (int64_t& time : times)
                time += shift;
            break;
        }
    }
    return times;
}

// A time missing, or less than half the usual spacing after the one before (a muxer's nudge to
// keep a repeated time rising), takes the next slot.
void IndexBuilder::Rise(std::vector<int64_t>& times) const
{
    const int64_t period = Spacing(times);
    for (size_t i = 1; i < times.size(); ++i) {
        if (times[i] == None || times[i] - times[i - 1] < (period + 1) / 2)
            times[i] = times[i - 1] + period;
    }
}

// The median step between known times: containers' rates are often guessed wrong.
int64_t IndexBuilder::Spacing(const std::vector<int64_t>& times) const
{
    std::vector<int64_t> steps;
    for (size_t i = 1; i < times.size(); ++i) {
        if (times[i] != None && times[i - 1] != None && times[i] > times[i - 1])
            steps.push_back(times[i] - times[i - 1]);
    }
    if (steps.empty())
        return m_period;
    std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
    return steps[steps.size() / 2];
}

void IndexBuilder::FromPictures(const std::vector<Picture>& pictures, MovieIndex& index) const
{
    index.times.clear();
    index.keys.clear();
    if (pictures.empty())
        return;
    index.timed = !m_noTimestamps;
    for (const Picture& picture : pictures) {
        index.timed = index.timed && picture.pts != None &&
                      (index.times.empty() || picture.pts > index.times.back());
        index.times.push_back(picture.pts);
    }
    if (!index.timed) {
        for (size_t i = 0; i < pictures.size(); ++i)
            index.times[i] = m_noTimestamps ? int64_t(i) * m_period : pictures[i].bestEffort;
        if (index.times.front() == None)
            index.times.front() = 0;
        Rise(index.times);
    }
    // A picture starts a group where both its packet and the decoder say so: some decoders call
    // every picture a key picture.
    std::unordered_map<int64_t, const Packet*> packetAt;
    for (const Packet& packet : m_packets) {
        if (packet.pos >= 0)
            packetAt.emplace(packet.pos, &packet);
    }
    AddKey(index, m_start, 0);
    for (size_t i = 1; i < pictures.size(); ++i) {
        const auto found = packetAt.find(pictures[i].pos);
        if (pictures[i].key && found != packetAt.end() && found->second->key)
            AddKey(index, {pictures[i].pts, found->second->dts, pictures[i].pos, true}, int(i));
    }
}

// Keys rise by frame; one that would start at or before the previous one adds nothing. A later
// key is usable only where its picture can be told apart after a seek: by its own timestamp, or
// by its packet's position.
void IndexBuilder::AddKey(MovieIndex& index, const Packet& packet, int frame) const
{
    const bool first = index.keys.empty();
    if (!first && (frame <= index.keys.back().frame || frame < 0))
        return;
    const bool knowable = index.timed || packet.pts != None || packet.pos >= 0;
    index.keys.push_back({frame, packet.dts, packet.pos, packet.pts, first, first || knowable});
}
