#pragma once
// The media player control of the clip editor, seen through its six properties. Positions
// count from the movie's first picture: in seconds in time mode (DisplayMode 0), in frames in
// frame mode (1), where frame n is the n-th picture and Duration is the number of pictures.
// Results are not reported; a movie that cannot be played shows why in the control itself.
#include "platform/windows/CWnd.h"
#include "platform/windows/DialogTemplate.h"

#include <QObject>
#include <memory>

class CMediaPlayer2Events;
class MediaPlayerWidget;

class CMediaPlayer2 : public CWnd
{
public:
    static constexpr long TimeMode = 0;
    static constexpr long FrameMode = 1;

    // A program path; the movie loads paused on its first picture.
    void SetFileName(LPCTSTR path);
    double GetCurrentPosition() const;
    void SetCurrentPosition(double position);
    double GetDuration() const;
    void SetSelectionStart(double seconds);
    void SetSelectionEnd(double seconds);
    void SetDisplayMode(long mode);
    // Plays from the position, or pauses when playing.
    void TogglePlay();

    // Connects the control's events to sink (borrowed; null disconnects).
    void SetEventSink(CMediaPlayer2Events* sink);

    // Makes dialog templates build the control from its class id.
    static void RegisterControlClass();
    static QWidget* CreateControl(const DialogItem& item, const QRect& rect, QWidget* parent);

private:
    MediaPlayerWidget* Face() const;

    long m_displayMode = TimeMode;
    double m_selectionStart = -1.0;
    double m_selectionEnd = -1.0;
    std::unique_ptr<QObject> m_connections;
};
