// Exporting and importing a show of 100,000 clips of four movies in every list format, beside
// saving and loading the same show as a .rlx file in the same run. Run: scripts/bench.sh
#include "platform/files/HostPath.h"
#include "render/formats/ExportContext.h"
#include "render/formats/ListFile.h"
#include "render/formats/ListFormat.h"
#include "render/formats/ListFormats.h"
#include "render/formats/MovieCatalog.h"
#include "render/formats/ShowClips.h"
#include "show/CReelmixDoc.h"
#include "show/Clip.h"

#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <filesystem>

namespace
{
constexpr int kClips = 100000;
constexpr int kMovies = 4;

QTemporaryDir& Folder()
{
    static QTemporaryDir folder;
    return folder;
}

// Real movies, so that the formats that count frames probe them (once each).
const std::vector<std::string>& Movies()
{
    static const std::vector<std::string> movies = [] {
        std::vector<std::string> made;
        for (int i = 0; i < kMovies; ++i) {
            made.push_back(Folder().filePath(QString("movie %1.avi").arg(i)).toStdString());
            QProcess::execute("ffmpeg", {"-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                         "testsrc=duration=60:size=64x48:rate=25", "-c:v", "mpeg4",
                                         QString::fromStdString(made.back())});
        }
        return made;
    }();
    return movies;
}

void Fill(CReelmixDoc& doc)
{
    for (int i = 0; i < kClips; ++i) {
        CString path;
        FromHostPath(Movies()[std::size_t(i % kMovies)], path);
        const int slash = path.ReverseFind('\\');
        auto* clip = new Clip(path.Left(slash), path.Mid(slash + 1));
        clip->m_start = (i % 1000) * 0.04;
        clip->m_end = clip->m_start + 12.5;
        doc.m_clips.AddTail(clip);
    }
}

std::string ListPath(const ListFormat& format)
{
    return Folder().filePath(QString("show.") + format.Extension()).toStdString() + "." +
           format.Key();
}

bool ExportShow(const ListFormat& format, const CReelmixDoc& doc, std::string& error)
{
    MovieCatalog movies;
    ExportContext context(movies);
    return ListFile::Export(ShowClips::FromDocument(doc), format, ListPath(format), context, error);
}

void BM_ExportList(benchmark::State& state)
{
    const ListFormat& format = *ListFormats::Exporters()[std::size_t(state.range(0))];
    CReelmixDoc doc;
    Fill(doc);
    std::string error;
    for (auto _ : state)
        if (!ExportShow(format, doc, error))
            state.SkipWithError(error.c_str());
    state.SetLabel(format.Name());
    state.counters["file_bytes"] = double(std::filesystem::file_size(ListPath(format)));
}

void BM_ImportList(benchmark::State& state)
{
    const ListFormat& format = *ListFormats::Exporters()[std::size_t(state.range(0))];
    std::string error;
    {
        CReelmixDoc doc;
        Fill(doc);
        if (!ExportShow(format, doc, error))
            state.SkipWithError(error.c_str());
    }
    for (auto _ : state) {
        MovieCatalog movies;
        std::vector<ListClip> clips;
        FormatNotes notes;
        CReelmixDoc doc;
        if (!ListFile::Import(ListPath(format), movies, clips, notes, error))
            state.SkipWithError(error.c_str());
        ShowClips::AddToDocument(clips, doc);
        if (doc.m_clips.GetCount() != kClips)
            state.SkipWithError("the show did not come back whole");
    }
    state.SetLabel(format.Name());
}

// The anchor: the same show saved and loaded in the program's own format.
void BM_ShowFileAnchor(benchmark::State& state)
{
    CString path;
    FromHostPath(Folder().filePath("anchor.rlx").toStdString(), path);
    CReelmixDoc doc;
    Fill(doc);
    for (auto _ : state) {
        doc.OnSaveDocument(path);
        CReelmixDoc loaded;
        benchmark::DoNotOptimize(loaded.OnOpenDocument(path));
    }
    state.SetLabel("save and load as .rlx");
}
} // namespace

BENCHMARK(BM_ShowFileAnchor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportList)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportList)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);
