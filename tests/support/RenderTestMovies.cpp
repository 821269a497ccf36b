#include "tests/support/RenderTestMovies.h"

#include "tests/support/TestEnv.h"
#include "tests/support/TestPrograms.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace rendertest
{
namespace
{
constexpr int kBits = 12;
constexpr int kSoundRate = 48000;

QByteArray Run(const QStringList& arguments)
{
    return testprograms::RunProgram("ffmpeg", QStringList{"-loglevel", "error", "-y"} + arguments,
                                    120000)
        .output;
}

QByteArray Probe(const QString& movie, const QString& stream, const QString& entries)
{
    return testprograms::RunProgram("ffprobe",
                                    {"-v", "error", "-select_streams", stream, "-show_entries",
                                     entries, "-of", "default=nw=1:nk=1", movie},
                                    120000)
        .output;
}

// Of a movie's first stream of a kind ("v", "a"); 0 when it has none.
double StartTime(const QString& movie, const QString& kind)
{
    return Probe(movie, kind + ":0", "stream=start_time").split('\n').value(0).toDouble();
}
} // namespace

QString Movie(const MovieRecipe& recipe)
{
    const QString path = QDir(TestEnv::Folder()).filePath(recipe.name);
    if (QFile::exists(path))
        return path;
    QStringList arguments;
    const QString seconds = QString::number(recipe.seconds);
    if (!recipe.size.isEmpty())
        arguments << "-f"
                  << "lavfi"
                  << "-i"
                  << QStringLiteral("color=c=black:s=%1:r=%2:d=%3,geq=lum='if(bitand(N+%4\\,"
                                    "pow(2\\,floor(X*%5/W)))\\,235\\,16)':cb=128:cr=128")
                         .arg(recipe.size)
                         .arg(recipe.rate)
                         .arg(seconds)
                         .arg(recipe.offset)
                         .arg(kBits);
    if (recipe.sound)
        arguments << "-f"
                  << "lavfi"
                  << "-i"
                  << QStringLiteral("aevalsrc='0.5*sin(2*PI*(200*t+300*t*t))':s=%1:d=%2")
                         .arg(kSoundRate)
                         .arg(seconds);
    Run(arguments + recipe.encoding + QStringList{path});
    return path;
}

MovieRecipe H264Spec(const QString& name, int offset, bool sound)
{
    QStringList encoding{"-c:v", "libx264",       "-g", "10",       "-bf",
                         "2",    "-sc_threshold", "0",  "-pix_fmt", "yuv420p"};
    if (sound)
        encoding << "-c:a"
                 << "aac";
    return {name, "160x120", 25, 2, offset, sound, encoding};
}

std::vector<QByteArray> Pictures(const QString& movie, int width, int height)
{
    const QByteArray raw =
        Run({"-noautorotate", "-i", movie, "-map", "0:v:0", "-vsync", "passthrough", "-vf",
             QStringLiteral("scale=%1:%2:flags=neighbor").arg(width).arg(height), "-f", "rawvideo",
             "-pix_fmt", "gray", "-"});
    std::vector<QByteArray> pictures;
    for (qsizetype at = 0; at + width * height <= raw.size(); at += width * height)
        pictures.push_back(raw.mid(at, width * height));
    return pictures;
}

std::vector<double> PictureTimes(const QString& movie)
{
    std::vector<double> times;
    for (const QByteArray& line :
         Probe(movie, "v:0", "frame=best_effort_timestamp_time").split('\n'))
        if (!line.trimmed().isEmpty())
            times.push_back(line.toDouble());
    const double first = times.empty() ? 0 : times.front();
    for (double& time : times)
        time -= first;
    return times;
}

std::vector<int> PictureNumbers(const QString& movie)
{
    constexpr int width = 96, height = 8; // enough to read the stripes at any size
    std::vector<int> numbers;
    for (const QByteArray& picture : Pictures(movie, width, height)) {
        int n = 0;
        for (int bit = 0; bit < kBits; ++bit) {
            const int x = (2 * bit + 1) * width / (2 * kBits);
            n |= (uchar(picture[width * (height / 2) + x]) > 128) << bit;
        }
        numbers.push_back(n);
    }
    return numbers;
}

// Sample 0 is at the first picture's time, as the movie's own timestamps place its sound.
std::vector<float> Sound(const QString& movie)
{
    const QByteArray raw = Run({"-i", movie, "-map", "0:a:0", "-ac", "1", "-ar",
                                QString::number(kSoundRate), "-f", "f32le", "-"});
    std::vector<float> samples(size_t(raw.size()) / sizeof(float));
    std::memcpy(samples.data(), raw.constData(), samples.size() * sizeof(float));
    const double lead = StartTime(movie, "v") - StartTime(movie, "a");
    samples.erase(samples.begin(),
                  samples.begin() + std::clamp<long long>(std::llround(lead * kSoundRate), 0,
                                                          (long long)samples.size()));
    return samples;
}

Match BestLag(const std::vector<float>& a, long long aFrom, const std::vector<float>& b,
              long long bFrom, int length, int maxLag)
{
    Match best{maxLag + 1, -1};
    const double bLoudness = Loudness(b, bFrom, length);
    for (int lag = -maxLag; lag <= maxLag; ++lag) {
        double dot = 0;
        for (int i = 0; i < length; ++i) {
            const long long x = aFrom + lag + i, y = bFrom + i;
            if (x >= 0 && y >= 0 && x < (long long)a.size() && y < (long long)b.size())
                dot += double(a[size_t(x)]) * b[size_t(y)];
        }
        const double norm = Loudness(a, aFrom + lag, length) * bLoudness * length;
        const double score = norm > 0 ? dot / norm : 0;
        if (score > best.score)
            best = {lag, score};
    }
    return best;
}

double Loudness(const std::vector<float>& samples, long long from, int length)
{
    double sum = 0;
    for (long long i = std::max(0LL, from); i < from + length && i < (long long)samples.size(); ++i)
        sum += double(samples[size_t(i)]) * samples[size_t(i)];
    return std::sqrt(sum / length);
}
} // namespace rendertest
