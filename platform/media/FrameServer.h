#pragma once
// One movie's pictures by frame number, served from a worker thread. Frame n is the n-th picture
// in display order counting from 0 at the first one, whatever timestamp the container starts at;
// times count in seconds from that first picture.
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
    // The worker's last delivery, for FrameNow; guarded by m_mutex.
    std::mutex m_mutex;
    std::condition_variable m_delivered;
    quint64 m_deliveredSerial = 0;
    QImage m_deliveredPicture;
};
