#include "render/formats/ListFile.h"
#include "render/formats/ListPath.h"
#include "render/formats/MovieCatalog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace
{
// A mark of the expected list: seconds, or null for none.
double Mark(const QJsonValue& value)
{
    return value.isNull() ? -1.0 : value.toDouble();
}
} // namespace

// Lists other programs wrote (their origins in the folder's INDEX.md) import to the clips they
// mean; where that is unclear they import, and say what they left out.
TEST(CorpusSamples, ImportToTheClipsTheyMean)
{
    const QDir corpus(REELMIX_CORPUS_DIR "/playlists");
    if (!corpus.exists())
        GTEST_SKIP() << "no sample playlists at " << corpus.path().toStdString();
    int compared = 0;
    for (QDirIterator it(corpus.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        if (path.endsWith(".json") || path.endsWith(".md"))
            continue;
        const std::string name = path.toStdString();
        MovieCatalog movies;
        std::vector<ListClip> clips;
        FormatNotes notes;
        std::string error;
        const bool imported = ListFile::Import(name, movies, clips, notes, error);
        QFile expectedFile(path + ".expected.json");
        if (!expectedFile.open(QIODevice::ReadOnly)) {
            EXPECT_TRUE(imported ? !notes.Empty() : error.find("MPlayer") != std::string::npos)
                << name << ": " << error;
            continue;
        }
        ASSERT_TRUE(imported) << error;
        const QJsonArray expected = QJsonDocument::fromJson(expectedFile.readAll()).array();
        ASSERT_EQ(clips.size(), std::size_t(expected.size())) << name;
        const std::string folder = QFileInfo(path).absolutePath().toStdString();
        for (qsizetype i = 0; i < expected.size(); ++i) {
            const QJsonObject clip = expected[i].toObject();
            const std::string file = clip["file"].toString().toStdString();
            EXPECT_EQ(clips[std::size_t(i)].file, ListPath::Resolve(folder, file)) << name << i;
            EXPECT_NEAR(clips[std::size_t(i)].start, Mark(clip["start"]), 0.001) << name << i;
            EXPECT_NEAR(clips[std::size_t(i)].end, Mark(clip["end"]), 0.001) << name << i;
        }
        ++compared;
    }
    EXPECT_GE(compared, 30);
}
