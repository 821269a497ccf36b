#include "render/dialog/RenderWorker.h"

#include <QMetaObject>

RenderWorker::RenderWorker(std::vector<RenderClip> clips, RenderSettings settings, QObject* parent)
    : QObject(parent),
      m_renderer(std::make_unique<MovieRenderer>(std::move(clips), std::move(settings)))
{
    // Reports cross to this object's thread; one made after this worker is gone is dropped.
    m_renderer->SetProgressSink([this](const RenderProgress& progress) {
        QMetaObject::invokeMethod(
            this, [this, progress] { emit Progressed(progress); }, Qt::QueuedConnection);
    });
}

RenderWorker::~RenderWorker()
{
    Cancel();
    if (m_thread.joinable())
        m_thread.join();
}

void RenderWorker::Start()
{
    m_thread = std::thread([this] { Run(); });
}

void RenderWorker::Cancel()
{
    m_renderer->Cancel();
}

void RenderWorker::Run()
{
    RenderResult result;
    try {
        result = m_renderer->Run();
    } catch (...) {
        result.error = QStringLiteral("The render failed unexpectedly.");
    }
    QMetaObject::invokeMethod(
        this, [this, result] { emit Finished(result); }, Qt::QueuedConnection);
}
