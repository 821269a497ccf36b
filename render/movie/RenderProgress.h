#pragma once
// How far a render has come.
#include <QString>

struct RenderProgress {
    double done = 0; // in units of work: a picture encoded is one
    double total = 1;
    double elapsed = 0; // seconds since the render began
    QString stage;      // what is being done, for the user
    QString mode;       // how the movie is made, once the clips have been read

    double Fraction() const { return total > 0 ? done / total : 0; }
    // Negative until there is enough to go by.
    double SecondsLeft() const { return Fraction() > 0.01 ? elapsed / Fraction() - elapsed : -1; }
    // "1:05", or "-:--" while unknown.
    QString TimeLeftText() const
    {
        const long long s = (long long)(SecondsLeft() + 0.5);
        return SecondsLeft() < 0
                   ? QStringLiteral("-:--")
                   : QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QChar('0'));
    }
};
