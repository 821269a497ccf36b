#pragma once
// Shows a render's progress (how the movie is made, what is being done, the percentage and the
// time left) while a worker renders; Cancel, Escape and the close box stop the render, and the
// dialog closes once it has stopped.
#include "render/dialog/RenderWorker.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class RenderProgressDlg : public QDialog
{
    Q_OBJECT
public:
    RenderProgressDlg(std::vector<RenderClip> clips, const RenderSettings& settings,
                      QWidget* parent = nullptr);

    // Starts the render, shows the dialog until the render ends and returns how it ended.
    RenderResult Run();
    const RenderResult& Result() const { return m_result; }
    void Start() { m_worker.Start(); }

    void reject() override;

private:
    void OnProgress(const RenderProgress& progress);
    void OnFinished(const RenderResult& result);

    RenderWorker m_worker;
    RenderResult m_result;
    bool m_finished = false;
    QLabel* m_mode;
    QLabel* m_stage;
    QLabel* m_left;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
};
