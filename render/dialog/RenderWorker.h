#pragma once
// Runs a render on a thread of its own and reports on the thread that made it, by queued
// signals. Destroying the worker cancels the render and waits for its thread.
#include "render/movie/MovieRenderer.h"

#include <QObject>
#include <memory>
#include <thread>

class RenderWorker : public QObject
{
    Q_OBJECT
public:
    RenderWorker(std::vector<RenderClip> clips, RenderSettings settings, QObject* parent = nullptr);
    ~RenderWorker() override;

    void Start();
    // Returns at once; Finished follows within a fraction of a second.
    void Cancel();

signals:
    void Progressed(const RenderProgress& progress);
    void Finished(const RenderResult& result);

private:
    void Run();

    std::unique_ptr<MovieRenderer> m_renderer; // used by the thread, which ends before it goes
    std::thread m_thread;
};
