#pragma once
// A picture shown whole in the middle of a black area, scaled to fit without changing its shape.
#include <QImage>
#include <QWidget>

class StillPicture : public QWidget
{
    Q_OBJECT
public:
    explicit StillPicture(QWidget* parent = nullptr);

    void SetPicture(const QImage& picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};
