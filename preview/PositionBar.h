#pragma once
// The media player's position bar: a groove over the movie's length, the selection between two
// marks as a coloured band on it, and a thumb at the position. Clicking or dragging anywhere on
// it asks for that position.
#include <QWidget>

class PositionBar : public QWidget
{
    Q_OBJECT
public:
    explicit PositionBar(QWidget* parent = nullptr);

    // All in seconds; a length of 0 leaves the bar empty.
    void SetLength(double seconds);
    void SetPosition(double seconds);
    // Shown when both ends are set (not negative) and the end is not before the start.
    void SetSelection(double start, double end);

    QSize sizeHint() const override;

signals:
    void SeekRequested(double seconds);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QRect Groove() const;
    int XOf(double seconds) const;
    double SecondsAt(int x) const;

    double m_length = 0;
    double m_position = 0;
    double m_selectionStart = -1;
    double m_selectionEnd = -1;
};
