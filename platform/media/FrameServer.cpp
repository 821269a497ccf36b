#include "platform/media/FrameServer.h"

#include "platform/media/FrameWorker.h"
#include "platform/media/MovieIndex.h"

#include <algorithm>
#include <chrono>

FrameServer::FrameServer(QObject* parent)
    : QObject(parent), m_cacheBytes(FrameWorker::DefaultCacheBytes)
{
}

FrameServer::~FrameServer()
{
    Close();
}

void FrameServer::OpenAsync(const QString& hostPath, QSize displaySize)
{
    Close();
    m_opening = true;
    const quint64 generation = m_generation;
    m_worker = FrameWorker::Start(
        hostPath, displaySize, m_cacheBytes,
        [this, generation](std::shared_ptr<const MovieIndex> index, QString error) {
            Numbered(generation, std::move(index), std::move(error));
        },
        [this](int n, quint64 serial, const QImage& picture, QString error) {
            Delivered(n, serial, picture, error);
        });
}

bool FrameServer::Open(const QString& hostPath, QSize displaySize)
{
    OpenAsync(hostPath, displaySize);
    const quint64 generation = m_generation;
    {
        std::unique_lock lock(m_mutex);
        m_handed.wait(lock, [&] { return m_numberedGeneration == generation; });
    }
    Apply(generation);
    return m_index != nullptr;
}

void FrameServer::Close()
{
    if (m_worker)
        m_worker->Stop();
    m_worker.reset();
    ++m_serial; // pictures of this movie still queued for the GUI thread are not shown
    ++m_generation;
    m_opening = false;
    m_index.reset();
    m_errorText.clear();
}

// On the worker thread.
void FrameServer::Numbered(quint64 generation, std::shared_ptr<const MovieIndex> index,
                           QString error)
{
    {
        std::lock_guard lock(m_mutex);
        m_numberedGeneration = generation;
        m_numberedIndex = std::move(index);
        m_numberedError = std::move(error);
    }
    m_handed.notify_all();
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
            if (Apply(generation))
                emit Opened(m_index != nullptr);
        },
        Qt::QueuedConnection);
}

// Takes the worker's numbering of the movie now being opened; false when it was taken already.
bool FrameServer::Apply(quint64 generation)
{
    if (!m_opening || generation != m_generation)
        return false;
    std::lock_guard lock(m_mutex);
    m_opening = false;
    m_index = std::move(m_numberedIndex);
    m_errorText = m_numberedError;
    return true;
}

bool FrameServer::HasVideo() const
{
    return m_index && m_index->hasVideo;
}

int FrameServer::FrameCount() const
{
    return m_index ? m_index->FrameCount() : 0;
}

double FrameServer::FramesPerSecond() const
{
    return m_index ? m_index->fps : 0.0;
}

double FrameServer::DurationSeconds() const
{
    return m_index ? m_index->durationSeconds : 0.0;
}

double FrameServer::TimeOfFrame(int n) const
{
    return m_index ? m_index->TimeOfFrame(n) : 0.0;
}

int FrameServer::FrameAtTime(double seconds) const
{
    return m_index ? m_index->FrameAtTime(seconds) : 0;
}

double FrameServer::FirstPts() const
{
    return m_index ? m_index->FirstPts() : 0.0;
}

int FrameServer::Rotation() const
{
    return m_index ? m_index->rotation : 0;
}

void FrameServer::Request(int n)
{
    // While the movie is being numbered the worker clamps.
    if (m_worker && (m_opening || HasVideo()))
        m_worker->Request(m_opening ? std::max(0, n) : std::clamp(n, 0, FrameCount() - 1),
                          ++m_serial);
}

QImage FrameServer::FrameNow(int n, int timeoutMs)
{
    if (!m_worker || !HasVideo())
        return {};
    const quint64 serial = m_serial + 1;
    Request(n);
    std::unique_lock lock(m_mutex);
    if (!m_handed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [&] { return m_deliveredSerial >= serial; }))
        return {};
    return m_deliveredSerial == serial ? m_deliveredPicture : QImage();
}

// On the worker thread: hands the picture to a waiting FrameNow and, queued, to the GUI thread
// unless a newer request has been made meanwhile.
void FrameServer::Delivered(int n, quint64 serial, const QImage& picture, const QString& error)
{
    {
        std::lock_guard lock(m_mutex);
        m_deliveredSerial = serial;
        m_deliveredPicture = picture;
    }
    m_handed.notify_all();
    QMetaObject::invokeMethod(
        this,
        [this, n, serial, picture, error] {
            if (serial == m_serial)
                emit FrameReady(n, picture, error);
        },
        Qt::QueuedConnection);
}
