#include "render/movie/MovieRenderer.h"

#include "tests/support/RenderTestMovies.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace rendertest;

namespace
{
constexpr int kWidth = 64, kHeight = 48;

double Distance(const QByteArray& a, const QByteArray& b)
{
    double sum = 0;
    for (qsizetype i = 0; i < a.size() && i < b.size(); ++i)
        sum += (uchar(a[i]) - uchar(b[i])) * (uchar(a[i]) - uchar(b[i]));
    return sum / std::max<qsizetype>(1, a.size());
}

// Pictures that repeat the one before (an unchanged screen) count as that one.
int FirstOfItsKind(const std::vector<QByteArray>& pictures, int i)
{
    while (i > 0 && Distance(pictures[size_t(i - 1)], pictures[size_t(i)]) < 4)
        --i;
    return i;
}

// Which reference picture from first to last each written picture is.
std::vector<int> Identify(const std::vector<QByteArray>& written,
                          const std::vector<QByteArray>& reference, int first, int last)
{
    std::vector<int> found;
    for (const QByteArray& picture : written) {
        int best = first;
        for (int i = first; i <= last; ++i)
            if (Distance(picture, reference[size_t(i)]) <
                Distance(picture, reference[size_t(best)]))
                best = i;
        found.push_back(FirstOfItsKind(reference, best));
    }
    return found;
}

bool Steady(const std::vector<double>& times, int a, int b)
{
    for (int i = a + 1; i < b; ++i)
        if (std::abs((times[size_t(i)] - times[size_t(i - 1)]) -
                     (times[size_t(a + 1)] - times[size_t(a)])) > 1e-4)
            return false;
    return true;
}
} // namespace

// Movies made by others, with edit lists, gaps in their timestamps, variable rates, B-pictures
// before the first key and packed ones: a clip marked at the times of pictures a and b of
// FFmpeg's own decode (as stored, not turned) shows pictures a to b - 1 in order, each once at
// a steady rate; checked after writing too.
TEST(MovieRenderer, CorpusClipsHoldTheirOwnPictures)
{
    const QDir corpus(REELMIX_CORPUS_DIR "/movies");
    const QStringList movies = corpus.entryList({"*.avi", "*.mov", "*.mpg"}, QDir::Files);
    if (movies.isEmpty())
        GTEST_SKIP() << "no corpus at " << corpus.path().toStdString();
    for (const QString& name : movies) {
        const QString movie = corpus.filePath(name);
        const std::vector<double> times = PictureTimes(movie);
        const std::vector<QByteArray> reference = Pictures(movie, kWidth, kHeight);
        const int a = int(times.size()) / 3;
        const int b = std::min(int(times.size()), a + 6);
        {
            SCOPED_TRACE(name.toStdString());
            RenderSettings settings;
            settings.preset = "ultrafast";
            settings.target = QDir(TestEnv::Folder()).filePath("corpus.mp4");
            const RenderResult result =
                MovieRenderer(
                    {{movie, times[size_t(a)], b < int(times.size()) ? times[size_t(b)] : -1}},
                    settings)
                    .Run();
            ASSERT_TRUE(result.succeeded) << result.error.toStdString();
            const std::vector<QByteArray> written = Pictures(settings.target, kWidth, kHeight);
            const std::vector<int> found = Identify(written, reference, std::max(0, a - 1),
                                                    std::min(b, int(reference.size()) - 1));
            ASSERT_FALSE(found.empty());
            EXPECT_EQ(found.front(), FirstOfItsKind(reference, a));
            EXPECT_TRUE(std::is_sorted(found.begin(), found.end()));
            // At a steady rate, which is the output's, every picture once; else the output's
            // rate may pass over a picture that shows only briefly.
            if (Steady(times, a, b)) {
                std::vector<int> expected;
                for (int n = a; n < b; ++n)
                    expected.push_back(FirstOfItsKind(reference, n));
                EXPECT_EQ(found, expected);
            }
        }
    }
}
