#pragma once
// The thread that owns a movie's decoders. It opens and numbers the movie, then serves the
// newest requested frame first and keeps the pictures around the position decoded: a few ahead
// and the rest of the current group with one decoder, the previous group and the movie's last
// group with a second one, so that steps either way and a jump to the end find their picture
// ready. Stopping never waits: the thread lets go of the file at its next read and ends by
// itself, owning what it uses.
#include "platform/media/FrameCache.h"
#include "platform/media/MovieDecoder.h"
#include "platform/media/YuvConverter.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <set>

class FrameWorker : public std::enable_shared_from_this<FrameWorker>
{
public:
    // Called on the worker thread once the movie is numbered: its index, or null with why not.
    using Opened = std::function<void(std::shared_ptr<const MovieIndex> index, QString error)>;
    // Called on the worker thread with a request's frame, its serial and the picture (null,
    // with why, when the movie has none to give for the frame).
    using Deliver =
        std::function<void(int frame, quint64 serial, const QImage& picture, QString error)>;

    static constexpr size_t DefaultCacheBytes = size_t(200) << 20;

    // Starts the thread; it keeps the worker alive until it ends.
    static std::shared_ptr<FrameWorker> Start(const QString& hostPath, QSize displaySize,
                                              size_t cacheBytes, Opened opened, Deliver deliver);
    FrameWorker(const QString& hostPath, QSize displaySize, size_t cacheBytes, Opened opened,
                Deliver deliver);
    FrameWorker(const FrameWorker&) = delete;
    FrameWorker& operator=(const FrameWorker&) = delete;

    void Request(int frame, quint64 serial);
    // Makes the thread end soon, without waiting for it; no callback comes after it returns.
    void Stop();

private:
    static constexpr int NoPosition = std::numeric_limits<int>::min();
    struct Run {
        std::unique_ptr<MovieDecoder> decoder;
        int keyIndex = 0;
        int firstWanted = 0;   // pictures before it are passed over
        int next = NoPosition; // the least number the next picture can carry; NoPosition: seek
    };
    struct Job {
        Run* run;
        int frame;
    };

    void Main();
    void GiveUp(const char* what) noexcept;
    bool OpenMovie();
    bool TakeWork();
    void Serve();
    bool Prefetch();
    void Recover(const char* what);
    bool NextJob(Job& job);
    void PlanWindow();
    Run& RunFor(int frame);
    Run& Background();
    bool CanReach(const Run& run, int frame) const;
    void Seek(Run& run, int keyIndex, int firstWanted);
    void PassOver(Run& run, int frame);
    bool Step(Run& run, int frame, bool hurry);
    void Keep(int frame, const PicturePtr& picture);
    void Tell(int frame, const QImage& picture, const QString& error);

    // Set by the constructor, before the thread starts; read-only after.
    const QString m_path;
    const QSize m_displaySize;
    const size_t m_cacheBytes;

    // Set by Stop; read by the worker and its decoders' file reads.
    std::atomic<bool> m_stop = false;

    // The worker thread's alone.
    MovieIndex m_index; // keys marked where they turn out unusable
    FrameCache m_cache;
    size_t m_pictureBytes = 0;
    FrameWindow m_window;
    YuvConverter m_converter;
    Run m_here;
    Run m_back;
    bool m_backTried = false;
    std::set<int> m_failed; // frames the movie has no picture for
    QString m_errorText;
    // The request being served, taken from the mailbox below, and whether pictures around it
    // are left to fetch.
    int m_target = 0;
    quint64 m_serial = 0;
    bool m_pending = false;
    bool m_prefetchLeft = true;
    bool m_numbered = false; // the opened callback was called

    // The mailbox and the callbacks: Request and Stop write them, the worker takes from it and
    // calls them; all of it guarded by m_mutex.
    std::mutex m_mutex;
    std::condition_variable m_wake;
    Opened m_opened;
    Deliver m_deliver;
    int m_request = -1;
    quint64 m_requestSerial = 0;
};
