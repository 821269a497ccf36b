// Movies made by others, with the traits that once led the frame server astray (cut-off files,
// edit lists, timestamp gaps, variable rates, packed B-pictures, elementary streams, rotation):
// every picture, by every path the editor takes to it, must be the picture FFmpeg's own
// sequential decode gives that number, scaled and converted the same way.
#include "tests/platform/media/FrameReference.h"

#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>

namespace
{
// Jumps decode from a key picture each: long groups of large pictures get fewer, so that every
// movie costs about the same and the corpus stays within a minute.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int MostJumps = 100;
#else
constexpr int MostJumps = 300;
#endif
constexpr double JumpWork = 640.0 * 480 * 30 * 300;
} // namespace

TEST(CorpusConformance, EveryPathGivesFFmpegsPicture)
{
    const QDir corpus(REELMIX_CORPUS_DIR "/movies");
    const QStringList movies = corpus.entryList({"*.avi", "*.mov", "*.mpg"}, QDir::Files);
    if (movies.isEmpty())
        GTEST_SKIP() << "no movies at " << corpus.path().toStdString();
    for (const QString& name : movies) {
        SCOPED_TRACE(name.toStdString());
        const QString movie = corpus.filePath(name);
        const double work = framereference::DecodingWork(movie);
        framereference::CheckWalks(movie, std::clamp(int(JumpWork / work), 20, MostJumps));
    }
}
