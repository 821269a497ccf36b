#include "platform/media/FrameWorker.h"

#include <algorithm>
#include <thread>

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

std::shared_ptr<FrameWorker> FrameWorker::Start(const QString& hostPath, QSize displaySize,
                                                size_t cacheBytes, Opened opened, Deliver deliver)
{
    auto worker = std::make_shared<FrameWorker>(hostPath, displaySize, cacheBytes,
                                                std::move(opened), std::move(deliver));
    std::thread([worker] { worker->Main(); }).detach();
    return worker;
}

FrameWorker::FrameWorker(const QString& hostPath, QSize displaySize, size_t cacheBytes,
                         Opened opened, Deliver deliver)
    : m_path(hostPath), m_displaySize(displaySize), m_cacheBytes(cacheBytes), m_cache(cacheBytes),
      m_opened(std::move(opened)), m_deliver(std::move(deliver))
{
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

void FrameWorker::Stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_opened = nullptr;
        m_deliver = nullptr;
    }
    m_wake.notify_all();
}

// Nothing thrown here may end the program: a failure to open is reported as such, and one
// while serving (memory running out) drops the pictures kept and fails the request at hand.
// Anything else ends the thread, saying so to whoever still waits.
void FrameWorker::Main()
{
    try {
        if (!OpenMovie())
            return;
        while (TakeWork()) {
            try {
                if (m_pending)
                    Serve();
                else
                    m_prefetchLeft = Prefetch();
            } catch (const std::exception& error) {
                Recover(error.what());
            }
        }
    } catch (const std::exception& error) {
        GiveUp(error.what());
    } catch (...) {
        GiveUp("an unknown failure");
    }
}

void FrameWorker::GiveUp(const char* what) noexcept
{
    try {
        const QString text = QString(m_numbered ? "The picture could not be decoded: %1."
                                                : "The movie could not be opened: %1.")
                                 .arg(what);
        std::lock_guard lock(m_mutex);
        if (!m_numbered && m_opened)
            m_opened(nullptr, text);
        else if (m_pending && m_deliver)
            m_deliver(m_target, m_serial, QImage(), text);
    } catch (...) {
        // Nothing is left to tell it with.
    }
}

bool FrameWorker::OpenMovie()
{
    auto decoder = std::make_unique<MovieDecoder>();
    YuvPicture first;
    const bool opened =
        decoder->Open(m_path, &m_stop) && decoder->BuildIndex(m_index, m_displaySize, first);
    std::lock_guard lock(m_mutex);
    if (!m_opened)
        return false;
    m_numbered = true;
    if (!opened) {
        m_opened(nullptr, decoder->ErrorText());
        return false;
    }
    m_opened(std::make_shared<const MovieIndex>(m_index), QString());
    if (!m_index.hasVideo)
        return false;
    m_here.decoder = std::move(decoder);
    m_pictureBytes = first.Bytes();
    PlanWindow();
    Keep(0, std::make_shared<YuvPicture>(std::move(first)));
    return true;
}

// Waits for a request or background work; a new request replaces one not served yet.
bool FrameWorker::TakeWork()
{
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return m_stop || m_request >= 0 || m_pending || m_prefetchLeft; });
    if (m_stop)
        return false;
    if (m_request >= 0) {
        m_target = std::clamp(std::exchange(m_request, -1), 0, m_index.FrameCount() - 1);
        m_serial = m_requestSerial;
        m_pending = true;
        m_prefetchLeft = true;
        lock.unlock();
        PlanWindow();
    }
    return true;
}

void FrameWorker::Tell(int frame, const QImage& picture, const QString& error)
{
    std::lock_guard lock(m_mutex);
    if (m_deliver)
        m_deliver(frame, m_serial, picture, error);
}

void FrameWorker::Serve()
{
    if (const PicturePtr picture = m_cache.Find(m_target)) {
        const QImage image = m_converter.ToImage(*picture, m_index.rotation);
        Tell(m_target, image,
             image.isNull() ? QString("Frame %1 could not be converted for showing.").arg(m_target)
                            : QString());
        m_pending = false;
    } else if (!Step(RunFor(m_target), m_target, true)) {
        Tell(m_target, QImage(),
             m_errorText.isEmpty() ? QString("Frame %1 could not be decoded.").arg(m_target)
                                   : m_errorText);
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

void FrameWorker::Recover(const char* what)
{
    m_cache.Clear();
    m_here.next = NoPosition;
    m_back.next = NoPosition;
    m_prefetchLeft = false;
    if (m_pending)
        Tell(m_target, QImage(), QString("The picture could not be decoded: %1.").arg(what));
    m_pending = false;
}

// The window, in order of need: a few pictures ahead, the group back to its key picture, the
// previous group (steps back across the key picture), the last group (going to the end), the
// rest of the current group. What does not fit under the cap is left out from the end of that
// list; ranges behind the position keep their pictures nearest to it.
void FrameWorker::PlanWindow()
{
    const int count = m_index.FrameCount();
    const auto& keys = m_index.keys;
    const int group = m_index.GroupOf(m_target);
    const int current = keys[m_index.KeyIndexFor(m_target)].frame;
    const int next = group + 1 < int(keys.size()) ? keys[group + 1].frame : count;
    const int previous = current > 0 ? keys[m_index.KeyIndexFor(current - 1)].frame : current;
    const int ahead = std::min(m_target + Ahead, count);
    m_window.position = m_target;
    m_window.ranges = {{m_target, ahead},
                       {current, m_target},
                       {previous, current},
                       {keys[m_index.KeyIndexFor(count - 1)].frame, count},
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
        if (decoder->Open(m_path, &m_stop) && decoder->Use(m_index))
            m_back.decoder = std::move(decoder);
    }
    return m_back.decoder ? m_back : m_here;
}

// Decoding on reaches frame without passing a key it could have started from.
bool FrameWorker::CanReach(const Run& run, int frame) const
{
    if (run.next == NoPosition || run.next > frame || frame < run.firstWanted)
        return false;
    const int keyIndex = m_index.KeyIndexFor(frame);
    return keyIndex == run.keyIndex || m_index.keys[keyIndex].frame <= run.next;
}

// Decoding on, the pictures before frame are not kept: where pictures are known by their
// timestamps, those nothing refers to are not even decoded.
void FrameWorker::PassOver(Run& run, int frame)
{
    run.decoder->PassOver(frame);
    run.firstWanted = std::max(run.firstWanted, frame);
    run.next = std::max(run.next, frame);
}

void FrameWorker::Seek(Run& run, int keyIndex, int firstWanted)
{
    run.decoder->SeekToKey(keyIndex, firstWanted);
    run.keyIndex = keyIndex;
    run.firstWanted = std::max(firstWanted, m_index.keys[keyIndex].frame);
    run.next = run.firstWanted;
}

// Decodes one picture on the way to frame; false when the movie has none for it. In a hurry,
// the pictures before frame are not kept, so fewer need decoding. A key that does not give its
// picture is not started from again.
bool FrameWorker::Step(Run& run, int frame, bool hurry)
{
    if (!CanReach(run, frame))
        Seek(run, m_index.KeyIndexFor(frame), hurry ? frame : 0);
    else if (hurry)
        PassOver(run, frame);
    int number = 0;
    YuvPicture decoded;
    switch (run.decoder->DecodeNext(number, decoded)) {
    case MovieDecoder::Result::Picture: {
        const bool passed = number > frame;
        Keep(number, std::make_shared<YuvPicture>(std::move(decoded)));
        run.next = number + 1;
        return !passed;
    }
    case MovieDecoder::Result::BadKey:
        run.next = NoPosition;
        if (run.keyIndex == 0)
            m_errorText = "The movie's pictures could not be decoded from its start.";
        m_index.keys[run.keyIndex].usable = run.keyIndex == 0;
        return run.keyIndex > 0;
    case MovieDecoder::Result::Error:
        m_errorText = run.decoder->ErrorText();
        break;
    case MovieDecoder::Result::End:
        break;
    }
    run.next = NoPosition;
    return false;
}

void FrameWorker::Keep(int frame, const PicturePtr& picture)
{
    if (frame >= 0 && frame < m_index.FrameCount() && m_window.Contains(frame))
        m_cache.Put(frame, picture, m_window);
}
