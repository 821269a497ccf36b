#pragma once
// Shows the video of an MpvPlayer: each new frame is rendered into an image the widget's size
// and painted. A plain widget, so that it works on any screen, under Xvfb and offscreen.
#include <QImage>
#include <QWidget>

class MpvPlayer;

class MpvVideoWidget : public QWidget
{
    Q_OBJECT
public:
    // player is borrowed and must outlive the widget.
    explicit MpvVideoWidget(MpvPlayer* player, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    MpvPlayer* m_player;
    QImage m_image;
};
