#pragma once
// How far a render has come.
#include <QString>

struct RenderProgress {
    double done = 0; // in units of work: a picture encoded is one
    double total = 1;
    QString stage; // what is being done, for the user
    double Fraction() const { return total > 0 ? done / total : 0; }
};
