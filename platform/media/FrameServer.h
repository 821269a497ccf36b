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
struct MovieIndex;

class FrameServer : public QObject
{
    Q_OBJECT
public:
    explicit FrameServer(QObject* parent = nullptr);
    ~FrameServer() override;

    // Starts opening the movie on the worker thread, which lists its packets (on a slow disk
    // that takes a while) and decodes picture 0; Opened follows. Pictures are scaled to fit in
    // displaySize (never enlarged). Until then the movie has no frames; requests wait.
    void OpenAsync(const QString& hostPath, QSize displaySize);
    // Opens and waits until the movie is numbered; false with ErrorText() on failure. For tools
    // and tests: a window uses OpenAsync.
    bool Open(const QString& hostPath, QSize displaySize);
    // Never waits: the worker lets go of the file on its own.
    void Close();
    bool IsOpening() const { return m_opening; }
    // Memory for decoded pictures, taken at the next Open (about 200 MiB by default): less
    // means more decoding, and with room for one picture every request decodes from its key.
    void SetCacheLimit(size_t bytes) { m_cacheBytes = bytes; }
    QString ErrorText() const { return m_errorText; }
    // False for sound-only files: FrameCount() 0, and frame 0 is the only position.
    bool HasVideo() const;
    int FrameCount() const;
    // The average rate over the whole movie.
    double FramesPerSecond() const;
    // From the first picture to the end of the last (or of the sound when there is no video).
    double DurationSeconds() const;
    double TimeOfFrame(int n) const;
    int FrameAtTime(double seconds) const;
    // The container's timestamp of the first picture, in seconds (for seeking players).
    double FirstPts() const;
    // Where a player seeks to start on frame n, on the container's clock.
    double PtsOfFrame(int n) const { return FirstPts() + TimeOfFrame(n); }
    // The frame a player shows at a container timestamp.
    int FrameAtPts(double seconds) const { return FrameAtTime(seconds - FirstPts()); }
    // Clockwise degrees the pictures are turned, as players turn them.
    int Rotation() const;

    // Asynchronous; the newest request wins. Out-of-range numbers are clamped.
    void Request(int n);
    // Waits for picture n; null after timeoutMs, without video, or when the movie has none.
    QImage FrameNow(int n, int timeoutMs);

signals:
    // On the GUI thread, once the movie is numbered or could not be (ErrorText() says why).
    void Opened(bool ok);
    // On the GUI thread; a null picture, with why, when the movie had none to give for n.
    void FrameReady(int n, QImage picture, QString error);

private:
    void Numbered(quint64 generation, std::shared_ptr<const MovieIndex> index, QString error);
    bool Apply(quint64 generation);
    void Delivered(int n, quint64 serial, const QImage& picture, const QString& error);

    std::shared_ptr<FrameWorker> m_worker;
    size_t m_cacheBytes;
    std::shared_ptr<const MovieIndex> m_index;
    QString m_errorText;
    bool m_opening = false;
    quint64 m_generation = 0;
    std::atomic<quint64> m_serial = 0;

    // What the worker has handed over, for Open and FrameNow; guarded by m_mutex.
    std::mutex m_mutex;
    std::condition_variable m_handed;
    quint64 m_numberedGeneration = 0;
    std::shared_ptr<const MovieIndex> m_numberedIndex;
    QString m_numberedError;
    quint64 m_deliveredSerial = 0;
    QImage m_deliveredPicture;
};
