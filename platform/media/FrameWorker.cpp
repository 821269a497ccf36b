#include "platform/media/FrameWorker.h"

#include <algorithm>

namespace
{
// Pictures decoded ahead of the position before the groups around it are filled.
constexpr int Ahead = 8;
// How each range of the window (see PlanWindow) is filled and shrunk.
constexpr struct {
    bool background; // by the second decoder, so that the first stays at the position
    bool behind;     // before the position: shrunk from its start
} Ranges[] = {{false, false}, {false, true}, {true, true}, {true, true}, {false, false}};
} // namespace

FrameWorker::FrameWorker(std::unique_ptr<MovieDecoder> decoder, const QString& hostPath,
                         YuvPicture first, size_t cacheBytes, Deliver deliver)
    : m_index(decoder->Index()), m_path(hostPath), m_deliver(std::move(deliver)),
      m_cache(cacheBytes), m_pictureBytes(first.Bytes())
{
    m_here.decoder = std::move(decoder);
    PlanWindow();
    Store(m_here, 0, std::make_shared<YuvPicture>(std::move(first)));
    m_thread = std::thread([this] { Loop(); });
}

FrameWorker::~FrameWorker()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void FrameWorker::Request(int frame, quint64 serial)
{
    {
        std::lock_guard lock(m_mutex);
        m_request = frame;
        m_requestSerial = serial;
    }
    m_wake.notify_all();
}

void FrameWorker::Loop()
{
    while (TakeWork()) {
        if (m_pending)
            Serve();
        else
            m_prefetchLeft = Prefetch();
    }
}

// Waits for a request or background work; a new request replaces one not served yet.
bool FrameWorker::TakeWork()
{
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return m_stop || m_request >= 0 || m_pending || m_prefetchLeft; });
    if (m_stop)
        return false;
    if (m_request >= 0) {
        m_target = std::exchange(m_request, -1);
        m_serial = m_requestSerial;
        m_pending = true;
        m_prefetchLeft = true;
        lock.unlock();
        PlanWindow();
    }
    return true;
}

void FrameWorker::Serve()
{
    if (const PicturePtr picture = m_cache.Find(m_target)) {
        m_deliver(m_target, m_serial, m_converter.ToImage(*picture));
        m_pending = false;
    } else if (!Step(RunFor(m_target), m_target, true)) {
        m_deliver(m_target, m_serial, QImage());
        m_pending = false;
    }
}

bool FrameWorker::Prefetch()
{
    Job job{};
    if (!NextJob(job))
        return false;
    if (!Step(*job.run, job.frame, false))
        m_failed.insert(job.frame);
    return true;
}

// The window, in order of need: a few pictures ahead, the group back to its key picture, the
// previous group (steps back across the key picture), the last group (going to the end), the
// rest of the current group. What does not fit under the cap is left out from the end of that
// list; ranges behind the position keep their pictures nearest to it.
void FrameWorker::PlanWindow()
{
    const int count = m_index.frameCount;
    const auto& keys = m_index.keys;
    const int group = m_index.GroupOf(m_target);
    const int current = keys[group].frame;
    const int next = group + 1 < int(keys.size()) ? keys[group + 1].frame : count;
    const int previous = group > 0 ? keys[group - 1].frame : current;
    const int ahead = std::min(m_target + Ahead, count);
    m_window.position = m_target;
    m_window.ranges = {{m_target, ahead},
                       {current, m_target},
                       {previous, current},
                       {keys.back().frame, count},
                       {ahead, next}};
    int room = std::max(1, m_cache.Capacity(m_pictureBytes)); // the position's own picture
    for (size_t i = 0; i < m_window.ranges.size(); ++i) {
        auto& [first, end] = m_window.ranges[i];
        end = std::max(first, end);
        if (end - first > room && Ranges[i].behind)
            first = end - room;
        else if (end - first > room)
            end = first + room;
        room -= end - first;
    }
}

bool FrameWorker::NextJob(Job& job)
{
    for (size_t i = 0; i < m_window.ranges.size(); ++i) {
        const auto [first, end] = m_window.ranges[i];
        for (int frame = first; frame < end; ++frame) {
            if (!m_cache.Find(frame) && !m_failed.count(frame)) {
                job = {Ranges[i].background ? &Background() : &RunFor(frame), frame};
                return true;
            }
        }
    }
    return false;
}

FrameWorker::Run& FrameWorker::RunFor(int frame)
{
    if (!CanReach(m_here, frame) && m_back.decoder && CanReach(m_back, frame))
        return m_back;
    return m_here;
}

// The second decoder is opened on first use, so that opening a movie costs one.
FrameWorker::Run& FrameWorker::Background()
{
    if (!m_back.decoder && !m_backTried) {
        m_backTried = true;
        auto decoder = std::make_unique<MovieDecoder>();
        if (decoder->OpenIndexed(m_path, m_index))
            m_back.decoder = std::move(decoder);
    }
    return m_back.decoder ? m_back : m_here;
}

// Decoding on reaches frame without passing a key frame it could have started from (a seek
// that landed early still reaches its own group).
bool FrameWorker::CanReach(const Run& run, int frame) const
{
    if (run.next == NoPosition || run.next > frame || frame < run.firstWanted)
        return false;
    const int keyIndex = m_index.KeyIndexFor(frame);
    return keyIndex == run.keyIndex || m_index.keys[keyIndex].frame <= run.next;
}

void FrameWorker::Seek(Run& run, int keyIndex, int firstWanted)
{
    run.decoder->SeekToKey(m_index.keys[keyIndex], firstWanted);
    run.keyIndex = keyIndex;
    run.keyCursor = keyIndex;
    run.firstWanted = firstWanted;
    run.next = m_index.keys[keyIndex].frame;
    run.fresh = true;
    run.last = -1;
    run.lastPicture.reset();
}

// Decodes one picture on the way to frame; false when the movie has nothing for it. In a hurry,
// the pictures before frame are not kept, so fewer need decoding.
bool FrameWorker::Step(Run& run, int frame, bool hurry)
{
    if (!CanReach(run, frame))
        Seek(run, m_index.KeyIndexFor(frame), hurry ? frame : 0);
    int number = 0;
    YuvPicture decoded;
    const auto result = run.decoder->DecodeNext(number, decoded);
    if (result == MovieDecoder::Result::End) {
        if (run.fresh && run.firstWanted > 0) {
            Seek(run, run.keyIndex, 0); // past the end: the tail shows the last picture
            return true;
        }
        if (run.fresh && run.keyIndex == 0)
            return false;
        if (run.fresh)
            Abandon(run.keyIndex);
        for (int i = run.last + 1; run.lastPicture && i < m_index.frameCount; ++i)
            Keep(i, run.lastPicture); // the movie ended early: its last picture stands for the rest
        run.next = NoPosition;
        return true;
    }
    const PicturePtr picture = std::make_shared<YuvPicture>(std::move(decoded));
    if (run.fresh && number > frame && run.keyIndex > 0) {
        Postpone(run.keyIndex, number);
        run.next = NoPosition;
        return true;
    }
    for (int i = 0; run.fresh && number > frame && i < number; ++i)
        Keep(i, picture); // nothing shows before the first decodable picture
    if (!run.fresh && run.decoder->LastWasKey() && ++run.keyCursor < int(m_index.keys.size()) &&
        !m_index.keys[run.keyCursor].verified)
        m_index.Verify(run.keyCursor, number, run.decoder->LastPts());
    Store(run, number, picture);
    return true;
}

// The key picture lies later than its packet said (or the seek overshot it): frames before
// frame are decoded from an earlier key from now on.
void FrameWorker::Postpone(int keyIndex, int frame)
{
    auto& keys = m_index.keys;
    const int limit =
        keyIndex + 1 < int(keys.size()) ? keys[keyIndex + 1].frame : m_index.frameCount;
    keys[keyIndex].frame = std::max(keys[keyIndex].frame, std::min(frame, limit));
}

// A seek for the key never came to it: where pictures are counted, decoding starts from an
// earlier key until a continuous decode verifies this one again.
void FrameWorker::Abandon(int keyIndex)
{
    if (m_index.exactTimestamps)
        Postpone(keyIndex, m_index.frameCount);
    else
        m_index.keys[keyIndex].verified = false;
}

// Numbers the movie skipped show the picture before them.
void FrameWorker::Store(Run& run, int frame, PicturePtr picture)
{
    for (int i = run.last + 1; run.lastPicture && i < frame; ++i)
        Keep(i, run.lastPicture);
    Keep(frame, picture);
    run.fresh = false;
    run.last = frame;
    run.next = frame + 1;
    run.lastPicture = std::move(picture);
}

void FrameWorker::Keep(int frame, const PicturePtr& picture)
{
    if (frame >= 0 && frame < m_index.frameCount && m_window.Contains(frame))
        m_cache.Put(frame, picture, m_window);
}
