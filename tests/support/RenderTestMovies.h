#pragma once
// Small movies for render tests, made with the ffmpeg command: picture n shows offset + n in
// binary as twelve stripes (white for a one, lowest bit on the left), and the sound is a chirp,
// whose phase tells the time.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace rendertest
{
struct MovieRecipe {
    QString name; // with the extension that picks the container
    QString size; // "160x120"; empty for sound only
    int rate = 25;
    double seconds = 2;
    int offset = 0;
    bool sound = true;
    QStringList encoding; // ffmpeg's codec options
};

// In the test folder; made once per test program.
QString Movie(const MovieRecipe& recipe);
// Two seconds of H.264 with AAC sound, 160 x 120 at 25 pictures a second, a key picture every
// ten, numbered from offset.
MovieRecipe H264Spec(const QString& name, int offset, bool sound = true);
// Every picture in display order as the ffmpeg command decodes it, grey, at width x height.
std::vector<QByteArray> Pictures(const QString& movie, int width, int height);
// The times of the pictures from the first one's, as the ffmpeg command's decoder gives them.
std::vector<double> PictureTimes(const QString& movie);
// The number each picture shows, decoded by the ffmpeg command in display order; 0 for black.
std::vector<int> PictureNumbers(const QString& movie);
// The sound as mono samples at 48 kHz, from the start of the file.
std::vector<float> Sound(const QString& movie);
struct Match {
    int lag;      // in samples
    double score; // normalised correlation, 1 for the same sound
};
// Where, within maxLag samples of aFrom, a holds the length samples of b from bFrom.
Match BestLag(const std::vector<float>& a, long long aFrom, const std::vector<float>& b,
              long long bFrom, int length, int maxLag);
// The root mean square of length samples from from.
double Loudness(const std::vector<float>& samples, long long from, int length);
} // namespace rendertest
