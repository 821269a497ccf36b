#pragma once
// What an edit list needs to know of a movie without decoding it: its frame rate, how many
// pictures it has and how long it runs, read from the container's header and index.
#include <QString>
#include <cstdint>

class MovieProbe
{
public:
    struct Facts {
        // Pictures per second as the container states it; 0 for a file without video.
        int rateNum = 0;
        int rateDen = 1;
        // From the first picture (or first sound sample) to the end.
        double seconds = 0;
        // Pictures in the movie; counted from its rate and length when the container lists none.
        int64_t frames = 0;

        double Rate() const { return rateNum > 0 ? double(rateNum) / rateDen : 0.0; }
    };

    // False with error when the file cannot be opened or holds neither pictures nor sound.
    static bool Probe(const QString& hostPath, Facts& facts, QString& error);
};
