#pragma once
// What the user chose for a render.
#include <QSize>
#include <QString>

struct RenderSettings {
    enum class Mode {
        // Whole groups of pictures are copied wherever a clip's video joins the output's stream.
        Smart,
        // Every picture decoded and encoded again.
        Exact,
    };

    QString target; // host path; .mp4, .mkv or .mov
    Mode mode = Mode::Smart;
    QString preset = QStringLiteral("medium");
    int quality = 16; // the encoder's constant rate factor: lower is better
    QSize size;       // empty: the first clip's
    bool verify = true;
};
