#include "preview/CMediaPlayer2.h"

#include "platform/files/HostPath.h"
#include "platform/windows/DialogTemplateBuilder.h"
#include "preview/CMediaPlayer2Events.h"
#include "preview/MediaPlayerWidget.h"
#include "res/DialogTemplates.h"

MediaPlayerWidget* CMediaPlayer2::Face() const
{
    return qobject_cast<MediaPlayerWidget*>(GetSafeHwnd());
}

void CMediaPlayer2::SetFileName(LPCTSTR path)
{
    if (MediaPlayerWidget* face = Face())
        face->Open(QString::fromStdString(ToHostPath(CString(path))));
}

double CMediaPlayer2::GetCurrentPosition() const
{
    const MediaPlayerWidget* face = Face();
    if (!face)
        return 0.0;
    return m_displayMode == FrameMode ? face->FramePosition() : face->Position();
}

void CMediaPlayer2::SetCurrentPosition(double position)
{
    MediaPlayerWidget* face = Face();
    if (face && m_displayMode == FrameMode)
        face->SeekFrame(position);
    else if (face)
        face->Seek(position);
}

double CMediaPlayer2::GetDuration() const
{
    const MediaPlayerWidget* face = Face();
    if (!face)
        return 0.0;
    return m_displayMode == FrameMode ? face->FrameCount() : face->Length();
}

void CMediaPlayer2::SetSelectionStart(double seconds)
{
    m_selectionStart = seconds;
    if (MediaPlayerWidget* face = Face())
        face->SetSelection(m_selectionStart, m_selectionEnd);
}

void CMediaPlayer2::SetSelectionEnd(double seconds)
{
    m_selectionEnd = seconds;
    if (MediaPlayerWidget* face = Face())
        face->SetSelection(m_selectionStart, m_selectionEnd);
}

void CMediaPlayer2::SetDisplayMode(long mode)
{
    m_displayMode = mode == FrameMode ? FrameMode : TimeMode;
}

void CMediaPlayer2::TogglePlay()
{
    if (MediaPlayerWidget* face = Face())
        face->TogglePlay();
}

void CMediaPlayer2::SetEventSink(CMediaPlayer2Events* sink)
{
    // Connections live as long as their context object.
    m_connections = std::make_unique<QObject>();
    MediaPlayerWidget* face = Face();
    if (!face || !sink)
        return;
    QObject* context = m_connections.get();
    // The events come on the user-interface thread once the current handler has returned, so
    // that a handler that moves the player and reads it back is not interrupted by them.
    QObject::connect(
        face, &MediaPlayerWidget::PositionChanged, context,
        [sink](double oldPosition, double newPosition) {
            sink->OnPositionChange(oldPosition, newPosition);
        },
        Qt::QueuedConnection);
    QObject::connect(
        face, &MediaPlayerWidget::PlayStateChanged, context,
        [sink](int oldState, int newState) { sink->OnPlayStateChange(oldState, newState); },
        Qt::QueuedConnection);
    QObject::connect(
        face, &MediaPlayerWidget::Warning, context,
        [sink](int type, int param, const QString& description) {
            sink->OnWarning(type, param, description.toUtf8().constData());
        },
        Qt::QueuedConnection);
    QObject::connect(
        face, &MediaPlayerWidget::Error, context, [sink] { sink->OnError(); },
        Qt::QueuedConnection);
}

void CMediaPlayer2::RegisterControlClass()
{
    DialogTemplateBuilder::RegisterControlClass(IDC_MEDIAPLAYER_CLASS,
                                                &CMediaPlayer2::CreateControl);
}

QWidget* CMediaPlayer2::CreateControl(const DialogItem&, const QRect& rect, QWidget* parent)
{
    auto* face = new MediaPlayerWidget(parent);
    face->setGeometry(rect);
    return face;
}
