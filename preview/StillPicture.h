#pragma once
// A picture shown whole in the middle of a black area, scaled to fit without changing its shape,
// with a line of text over it when there is something to say (opening, a picture missing).
#include <QImage>
#include <QWidget>

class StillPicture : public QWidget
{
    Q_OBJECT
public:
    explicit StillPicture(QWidget* parent = nullptr);

    void SetPicture(const QImage& picture);
    void SetText(const QString& text);
    QString Text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
    QString m_text;
};
