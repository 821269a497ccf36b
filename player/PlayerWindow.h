#pragma once
// The show's window: the video, a passing notice line at the bottom, and the player's keys
// (Space pause, Left/Right seek, F full screen, Q or Escape quit).
#include <QTimer>
#include <QWidget>

#include <array>

class MpvPlayer;
class QLabel;
class ShowPlayer;

class PlayerWindow : public QWidget
{
    Q_OBJECT
public:
    // All are borrowed and must outlive the window; the show tells which player is seen.
    PlayerWindow(std::array<MpvPlayer*, 2> players, ShowPlayer* show, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowNotice(const QString& text);
    void OnFinished();
    void ToggleFullScreen();
    void PlaceNotice();

    ShowPlayer* m_show;
    QLabel* m_notice;
    QTimer m_noticeTimer;
    bool m_finished = false;
};
