#include "tests/platform/media/FrameReference.h"

#include "platform/media/FrameServer.h"
#include "platform/media/YuvConverter.h"
#include "platform/media/YuvPicture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPrograms.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <cmath>
#include <numeric>
#include <random>

namespace framereference
{
namespace
{
const QSize Display(160, 120);
constexpr int SmallCache = 12; // pictures: jumps and steps back decode
constexpr int BackSteps = 120;
constexpr int FreshOpens = 2;
constexpr int Wait = 60000;

using Hashes = QList<QByteArray>;

QByteArray Hash(const QImage& image)
{
    if (image.isNull())
        return {};
    QCryptographicHash hash(QCryptographicHash::Md5);
    for (int y = 0; y < image.height(); ++y)
        hash.addData(QByteArrayView(image.constScanLine(y), image.width() * 4));
    return hash.result().toHex();
}

// What program writes to the file named last, run as the tests run programs (not through
// QProcess, which blinds the thread sanitizer).
QByteArray Output(const QString& program, const QStringList& arguments)
{
    const QString path = QString::fromStdString(testfiles::NewPath("output"));
    testprograms::RunProgram(program, arguments + QStringList{path}, Wait);
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    file.remove();
    return bytes;
}

// FFmpeg's sequential decode of the movie at the server's picture size, each picture turned
// into an image as the server does; hashed, and kept in the build tree.
Hashes Reference(const QString& movie, QSize size, int rotation)
{
    const QString kept = QString("%1/%2-%3x%4-%5.md5")
                             .arg(REELMIX_REFERENCE_DIR, QFileInfo(movie).fileName())
                             .arg(size.width())
                             .arg(size.height())
                             .arg(rotation);
    QFile file(kept);
    if (file.open(QIODevice::ReadOnly))
        return file.readAll().split('\n').mid(0, file.size() / 33);
    const QByteArray raw = Output(
        "ffmpeg", {"-loglevel", "quiet", "-y", "-noautorotate", "-i", movie, "-map", "0:v:0",
                   "-vsync", "passthrough", "-vf",
                   QString("scale=%1:%2:flags=bilinear").arg(size.width()).arg(size.height()),
                   "-pix_fmt", "yuv420p", "-f", "rawvideo"});
    const int w = size.width();
    const int h = size.height();
    const qsizetype frameBytes = w * h * 3 / 2;
    YuvConverter converter;
    Hashes hashes;
    QByteArray lines;
    for (qsizetype at = 0; at + frameBytes <= raw.size(); at += frameBytes) {
        YuvPicture picture;
        picture.Allocate(size);
        const char* source = raw.constData() + at;
        for (int plane = 0; plane < 3; ++plane) {
            const int width = plane ? w / 2 : w;
            for (int y = 0; y < (plane ? h / 2 : h); ++y, source += width)
                memcpy(picture.Plane(plane) + y * picture.LineSize(plane), source, width);
        }
        hashes.push_back(Hash(converter.ToImage(picture, rotation)));
        lines += hashes.back() + '\n';
    }
    QDir().mkpath(REELMIX_REFERENCE_DIR);
    QSaveFile save(kept);
    if (!hashes.empty() && save.open(QIODevice::WriteOnly)) {
        save.write(lines);
        save.commit();
    }
    return hashes;
}

struct Movie {
    QString path;
    Hashes reference;
    size_t smallCache = 0;
};

// Asks each frame in turn, and reports by path which picture came instead.
void Expect(FrameServer& server, const Movie& movie, const std::vector<int>& frames,
            const char* path)
{
    int wrong = 0;
    for (int n : frames) {
        const QByteArray got = Hash(server.FrameNow(n, Wait));
        if (got == movie.reference[n] || ++wrong > 5)
            continue;
        const auto found = std::find(movie.reference.begin(), movie.reference.end(), got);
        ADD_FAILURE() << path << ": asked " << n << ", got "
                      << (got.isEmpty() ? std::string("no picture")
                          : found == movie.reference.end()
                              ? std::string("a picture not in it")
                              : std::to_string(found - movie.reference.begin()));
    }
    EXPECT_EQ(wrong, 0) << path;
}

void Open(FrameServer& server, const Movie& movie, size_t cacheBytes)
{
    server.SetCacheLimit(cacheBytes);
    ASSERT_TRUE(server.Open(movie.path, Display)) << server.ErrorText().toStdString();
}

} // namespace

double Difference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}
double DecodingWork(const QString& movie)
{
    const QByteArray figures = Output(
        "ffprobe", {"-v", "error", "-select_streams", "v:0", "-count_packets", "-show_entries",
                    "stream=width,height,nb_read_packets", "-of", "csv=p=0", movie, "-o"});
    double work = 1;
    for (const QByteArray& figure : figures.trimmed().split(','))
        work *= std::max(1.0, figure.toDouble());
    return work;
}

void CheckWalks(const QString& path, int jumps)
{
    Movie movie{path, {}};
    FrameServer server;
    Open(server, movie, 100 << 20);
    const QImage first = server.FrameNow(0, Wait);
    ASSERT_FALSE(first.isNull());
    const int rotation = server.Rotation();
    const QSize size = rotation % 180 ? first.size().transposed() : first.size();
    movie.reference = Reference(path, size, rotation);
    const int count = int(movie.reference.size());
    ASSERT_EQ(server.FrameCount(), count);
    YuvPicture one;
    one.Allocate(size);
    movie.smallCache = SmallCache * one.Bytes();

    std::vector<int> frames(count);
    std::iota(frames.begin(), frames.end(), 0);
    // A time gives its frame back, also written with three decimals as playlists hold it.
    for (int n : frames) {
        EXPECT_EQ(server.FrameAtTime(server.TimeOfFrame(n)), n);
        EXPECT_EQ(server.FrameAtTime(std::round(server.TimeOfFrame(n) * 1000) / 1000), n);
    }
    Expect(server, movie, frames, "forward");

    std::mt19937 random(count);
    std::uniform_int_distribution<int> any(0, count - 1);
    Open(server, movie, movie.smallCache);
    frames.clear();
    for (int i = 0; i < jumps; ++i)
        frames.push_back(any(random));
    Expect(server, movie, frames, "jumps");

    frames.clear();
    for (int n = count - 1; n >= std::max(0, count - 1 - BackSteps); --n)
        frames.push_back(n);
    Expect(server, movie, frames, "back steps");

    for (int i = 0; i < FreshOpens; ++i) {
        Open(server, movie, movie.smallCache);
        Expect(server, movie, {any(random)}, "jump after opening");
    }
}
} // namespace framereference
