#pragma once
// One movie's pictures by frame number, served from a worker thread.
//
// The numbering rule. Every path obeys it (stepping either way, jumps, a freshly opened movie,
// the background decoding and the cache), and the show player and the renderer share it:
// - Frame n is the n-th picture, counting from 0, that the movie's decoder gives when the movie
//   is decoded from its start, in display order: what FFmpeg's own sequential decode counts
//   (`ffmpeg -i FILE -map 0:v:0 -vsync passthrough -f framemd5 -`). This holds at a constant
//   rate and at a variable one, across gaps in the timestamps, edit lists, packed B-pictures
//   and cut-off files, so every number names exactly one real picture.
// - The time of frame n, TimeOfFrame(n), is its presentation timestamp minus the first
//   picture's, in seconds; FirstPts() is the first picture's timestamp on the container's clock.
//   Where the container has no timestamps (elementary streams) frame n lies at n / fps; where
//   only some pictures carry one (program streams, AVI with B-pictures) the pictures take the
//   stream's decoding times in order. Times rise with n; gaps and a variable rate only make
//   them uneven.
// - A mark written for frame n is TimeOfFrame(n): a player that seeks exactly to
//   PtsOfFrame(n), which is FirstPts() + TimeOfFrame(n), starts on that very picture.
// - At a time t the picture shown is the last one whose time is at most t (FrameAtTime), with
//   half a millisecond of allowance so that marks written with three decimals give their frame
//   back; FrameAtPts answers the same for a timestamp on the container's clock.
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>

class FrameWorker;

class FrameServer : public QObject
{
    Q_OBJECT
public:
    explicit FrameServer(QObject* parent = nullptr);
    ~FrameServer() override;

    // Lists the movie's packets and decodes its first picture; pictures are scaled to fit in
    // displaySize (never enlarged). False with ErrorText() on failure.
    bool Open(const QString& hostPath, QSize displaySize);
    void Close();
    // Memory for decoded pictures, taken at the next Open (about 200 MiB by default): less
    // means more decoding, and with room for one picture every request decodes from its key.
    void SetCacheLimit(size_t bytes) { m_cacheBytes = bytes; }
    QString ErrorText() const { return m_errorText; }
    // False for sound-only files: FrameCount() 0, and frame 0 is the only position.
    bool HasVideo() const { return m_frameCount > 0; }
    int FrameCount() const { return m_frameCount; }
    double FramesPerSecond() const { return m_fps; }
    // From the first picture (or first sound sample when there is no video).
    double DurationSeconds() const { return m_duration; }
    double TimeOfFrame(int n) const;
    // The picture on screen at a time: the last one that starts at or before it.
    int FrameAtTime(double seconds) const;
    // The container's timestamp of the first picture, in seconds (for seeking players).
    double FirstPts() const { return m_firstPts; }
    // Where a player seeks to start on frame n, on the container's clock.
    double PtsOfFrame(int n) const { return m_firstPts + TimeOfFrame(n); }
    // The frame a player shows at a container timestamp.
    int FrameAtPts(double seconds) const { return FrameAtTime(seconds - m_firstPts); }

    // Asynchronous; the newest request wins. Out-of-range numbers are clamped.
    void Request(int n);
    // Waits for picture n; null after timeoutMs or without video.
    QImage FrameNow(int n, int timeoutMs);

signals:
    // On the GUI thread; a null picture when the movie had none to give for n.
    void FrameReady(int n, QImage picture);

private:
    quint64 Send(int n);
    void Delivered(int n, quint64 serial, const QImage& picture);

    std::unique_ptr<FrameWorker> m_worker;
    size_t m_cacheBytes;
    QString m_errorText;
    int m_frameCount = 0;
    double m_fps = 0;
    double m_duration = 0;
    double m_firstPts = 0;

    std::atomic<quint64> m_serial = 0;
    std::mutex m_mutex;
    std::condition_variable m_delivered;
    quint64 m_deliveredSerial = 0;
    QImage m_deliveredPicture;
};
