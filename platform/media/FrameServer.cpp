#include "platform/media/FrameServer.h"

#include "platform/media/FrameWorker.h"
#include "platform/media/MovieDecoder.h"

#include <chrono>
#include <cmath>

FrameServer::FrameServer(QObject* parent)
    : QObject(parent), m_cacheBytes(FrameWorker::DefaultCacheBytes)
{
}

FrameServer::~FrameServer()
{
    Close();
}

bool FrameServer::Open(const QString& hostPath, QSize displaySize)
{
    Close();
    auto decoder = std::make_unique<MovieDecoder>();
    YuvPicture first;
    if (!decoder->Open(hostPath, displaySize, first)) {
        m_errorText = decoder->ErrorText();
        return false;
    }
    const MovieIndex& index = decoder->Index();
    m_frameCount = index.frameCount;
    m_fps = index.fps;
    m_duration = index.durationSeconds;
    m_firstPts = index.firstPts;
    if (index.hasVideo) {
        m_worker = std::make_unique<FrameWorker>(
            std::move(decoder), hostPath, std::move(first), m_cacheBytes,
            [this](int n, quint64 serial, const QImage& picture) {
                Delivered(n, serial, picture);
            });
    }
    return true;
}

void FrameServer::Close()
{
    m_worker.reset();
    ++m_serial; // pictures of this movie still queued for the GUI thread are not shown
    m_errorText.clear();
    m_frameCount = 0;
    m_fps = 0;
    m_duration = 0;
    m_firstPts = 0;
}

double FrameServer::TimeOfFrame(int n) const
{
    return m_fps > 0 ? n / m_fps : 0.0;
}

int FrameServer::FrameAtTime(double seconds) const
{
    if (m_frameCount <= 0)
        return 0;
    const int n = int(std::floor(seconds * m_fps + 1e-6));
    return std::clamp(n, 0, m_frameCount - 1);
}

quint64 FrameServer::Send(int n)
{
    const quint64 serial = ++m_serial;
    m_worker->Request(std::clamp(n, 0, m_frameCount - 1), serial);
    return serial;
}

void FrameServer::Request(int n)
{
    if (m_worker)
        Send(n);
}

QImage FrameServer::FrameNow(int n, int timeoutMs)
{
    if (!m_worker)
        return {};
    const quint64 serial = Send(n);
    std::unique_lock lock(m_mutex);
    if (!m_delivered.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_deliveredSerial >= serial; }))
        return {};
    return m_deliveredSerial == serial ? m_deliveredPicture : QImage();
}

// On the worker thread: hands the picture to a waiting FrameNow and, queued, to the GUI thread
// unless a newer request has been made meanwhile.
void FrameServer::Delivered(int n, quint64 serial, const QImage& picture)
{
    {
        std::lock_guard lock(m_mutex);
        m_deliveredSerial = serial;
        m_deliveredPicture = picture;
    }
    m_delivered.notify_all();
    QMetaObject::invokeMethod(
        this,
        [this, n, serial, picture] {
            if (serial == m_serial)
                emit FrameReady(n, picture);
        },
        Qt::QueuedConnection);
}
