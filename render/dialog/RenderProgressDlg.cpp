#include "render/dialog/RenderProgressDlg.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

RenderProgressDlg::RenderProgressDlg(std::vector<RenderClip> clips, const RenderSettings& settings,
                                     QWidget* parent)
    : QDialog(parent), m_worker(std::move(clips), settings)
{
    setWindowTitle(tr("Rendering %1").arg(QFileInfo(settings.target).fileName()));
    auto* target = new QLabel(tr("Writing %1").arg(settings.target));
    m_mode = new QLabel(tr("Reading the clips..."));
    m_mode->setWordWrap(true);
    m_stage = new QLabel;
    m_bar = new QProgressBar;
    m_bar->setRange(0, 1000);
    m_bar->setFormat(QStringLiteral("%p %"));
    m_left = new QLabel;
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::rejected, this, &RenderProgressDlg::reject);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* widget : std::initializer_list<QWidget*>{target, m_mode, m_stage, m_bar, m_left})
        layout->addWidget(widget);
    layout->addWidget(buttons);
    setMinimumWidth(480);
    connect(&m_worker, &RenderWorker::Progressed, this, &RenderProgressDlg::OnProgress);
    connect(&m_worker, &RenderWorker::Finished, this, &RenderProgressDlg::OnFinished);
}

RenderResult RenderProgressDlg::Run()
{
    Start();
    exec();
    return m_result;
}

void RenderProgressDlg::OnProgress(const RenderProgress& progress)
{
    if (!progress.mode.isEmpty() && progress.mode != m_mode->text()) {
        m_mode->setText(progress.mode);
        adjustSize(); // room for the lines it wraps to
    }
    m_stage->setText(progress.stage + "...");
    m_bar->setValue(int(progress.Fraction() * 1000));
    m_left->setText(tr("Time left: %1").arg(progress.TimeLeftText()));
}

void RenderProgressDlg::OnFinished(const RenderResult& result)
{
    m_result = result;
    m_finished = true;
    accept();
}

// The dialog stays until the render has stopped, so that its files are gone when it closes.
void RenderProgressDlg::reject()
{
    if (m_finished)
        return QDialog::reject();
    m_worker.Cancel();
    m_cancel->setEnabled(false);
    m_stage->setText(tr("Cancelling..."));
}
