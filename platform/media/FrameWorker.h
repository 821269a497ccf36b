#pragma once
// The thread that owns a movie's decoders. It serves the newest requested frame first, then
// keeps the pictures around the position decoded: a few ahead and the rest of the current group
// with one decoder, the previous group and the movie's last group with a second one, so that
// steps either way and a jump to the end find their picture ready.
#include "platform/media/FrameCache.h"
#include "platform/media/MovieDecoder.h"
#include "platform/media/YuvConverter.h"

#include <QImage>
#include <QString>
#include <condition_variable>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

class FrameWorker
{
public:
    // Called on the worker thread with a request's frame, its serial and the picture (null when
    // the frame could not be decoded).
    using Deliver = std::function<void(int frame, quint64 serial, const QImage& picture)>;

    static constexpr size_t DefaultCacheBytes = size_t(200) << 20;

    FrameWorker(std::unique_ptr<MovieDecoder> decoder, const QString& hostPath, YuvPicture first,
                size_t cacheBytes, Deliver deliver);
    ~FrameWorker();
    FrameWorker(const FrameWorker&) = delete;
    FrameWorker& operator=(const FrameWorker&) = delete;

    void Request(int frame, quint64 serial);

private:
    static constexpr int NoPosition = std::numeric_limits<int>::min();
    struct Run {
        std::unique_ptr<MovieDecoder> decoder;
        int keyIndex = 0;
        int keyCursor = 0;     // the last key picture this run has passed
        int firstWanted = 0;   // pictures before it are not given (see MovieDecoder::SeekToKey)
        int next = NoPosition; // the number the next picture should carry; NoPosition: seek
        bool fresh = false;    // nothing decoded since the seek
        int last = -1;         // the last number decoded in this run
        PicturePtr lastPicture;
    };
    struct Job {
        Run* run;
        int frame;
    };

    void Loop();
    bool TakeWork();
    void Serve();
    bool Prefetch();
    bool NextJob(Job& job);
    void PlanWindow();
    Run& RunFor(int frame);
    Run& Background();
    bool CanReach(const Run& run, int frame) const;
    void Seek(Run& run, int keyIndex, int firstWanted);
    bool Step(Run& run, int frame, bool hurry);
    void Postpone(int keyIndex, int frame);
    void Abandon(int keyIndex);
    void Store(Run& run, int frame, PicturePtr picture);
    void Keep(int frame, const PicturePtr& picture);

    // The worker thread's alone: the constructor sets them up before the thread starts.
    MovieIndex m_index; // key estimates corrected while decoding
    const QString m_path;
    Deliver m_deliver;
    FrameCache m_cache;
    const size_t m_pictureBytes;
    FrameWindow m_window;
    YuvConverter m_converter;
    Run m_here;
    Run m_back;
    bool m_backTried = false;
    std::set<int> m_failed; // frames the movie has no picture for

    // The worker thread's alone: the request being served, taken from the mailbox below, and
    // whether pictures around it are left to fetch.
    int m_target = 0;
    quint64 m_serial = 0;
    bool m_pending = false;
    bool m_prefetchLeft = true;

    // The mailbox: Request and the destructor write it, the worker takes from it; all of it
    // guarded by m_mutex.
    std::mutex m_mutex;
    std::condition_variable m_wake;
    int m_request = -1;
    quint64 m_requestSerial = 0;
    bool m_stop = false;
    std::thread m_thread; // the owner's: started by the constructor, joined by the destructor
};
