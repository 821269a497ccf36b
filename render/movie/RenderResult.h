#pragma once
// How a render ended, and what it made.
#include <QString>
#include <QStringList>

struct RenderResult {
    bool succeeded = false;
    bool canceled = false;
    QString error;       // for the user when it failed
    QStringList notices; // what the user should know about a movie that was made
    QString mode;        // how the movie was made, for the user
    long long pictures = 0;
    long long copiedPictures = 0;
    // From the check after writing: pictures compared and the worst re-encoded one.
    int checkedPictures = 0;
    int identicalPictures = 0;
    double lowestPsnr = 0;
};
