#pragma once
// The choices for rendering a show into a movie, asked after the target has been chosen: how
// the movie is made, its quality and speed, its picture size, and the check after writing.
#include "render/movie/RenderSettings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QSpinBox;

class ExportMovieDlg : public QDialog
{
    Q_OBJECT
public:
    ExportMovieDlg(const QString& target, QWidget* parent = nullptr);

    RenderSettings Settings() const;

private:
    QString m_target;
    QComboBox* m_mode;
    QSpinBox* m_quality;
    QComboBox* m_preset;
    QComboBox* m_size;
    QCheckBox* m_verify;
};
