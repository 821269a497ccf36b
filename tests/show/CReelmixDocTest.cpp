#include "show/CReelmixDoc.h"

#include "platform/windows/CView.h"
#include "show/Clip.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <sys/stat.h>

using namespace testfiles;

namespace
{
Clip* AddClip(CReelmixDoc& doc, const char* dir, const char* file, double start, double end)
{
    auto* clip = new Clip(dir, file);
    clip->m_start = start;
    clip->m_end = end;
    doc.m_clips.AddTail(clip);
    return clip;
}

Clip* ClipAt(const CReelmixDoc& doc, int index)
{
    return static_cast<Clip*>(doc.m_clips.GetAt(doc.m_clips.FindIndex(index)));
}

std::string Saved(CReelmixDoc& doc)
{
    const std::string path = NewPath("show.rlx");
    EXPECT_TRUE(doc.OnSaveDocument(Program(path)));
    return ReadBytes(path);
}

std::uint64_t Bits(double value)
{
    return std::bit_cast<std::uint64_t>(value);
}

const std::string kExample = Hex("01 00 00 00 09") + "C:\\Movies" + Hex("05") + "a.avi" +
                             Hex("00 00 00 00 00 00 F8 3F 00 00 00 00 00 00 10 40");
} // namespace

TEST(CReelmixDoc, StoresTheDocumentedBytes)
{
    CReelmixDoc empty;
    EXPECT_EQ(Saved(empty), Hex("00 00 00 00"));

    CReelmixDoc doc;
    AddClip(doc, "C:\\Movies", "a.avi", 1.5, 4.0);
    ASSERT_EQ(kExample.size(), 36u);
    EXPECT_EQ(Saved(doc), kExample);

    CReelmixDoc unset;
    unset.m_clips.AddTail(new Clip("d", "f"));
    EXPECT_EQ(Saved(unset), Hex("01 00 00 00 01") + "d" + Hex("01") + "f" +
                                Hex("00 00 00 00 00 00 F0 BF 00 00 00 00 00 00 F0 BF"));
}

TEST(CReelmixDoc, RoundTripKeepsOrderTextsAndExactMarks)
{
    const double marks[][2] = {{-1.0, -1.0},
                               {0.0, -0.0},
                               {1.0 / 3.0, 1e300},
                               {std::numeric_limits<double>::denorm_min(), 3600.0},
                               {std::nextafter(2.5, 3.0), 7200.125}};
    CReelmixDoc doc;
    int i = 0;
    for (const auto& m : marks) {
        const std::string dir(std::size_t(250 + i), 'd'); // lengths 250..254 and beyond
        AddClip(doc, dir.c_str(), (std::to_string(i) + std::string(300, 'f')).c_str(), m[0], m[1]);
        ++i;
    }
    const std::string path = NewPath("round.rlx");
    ASSERT_TRUE(doc.OnSaveDocument(Program(path)));
    EXPECT_FALSE(doc.IsModified());

    CReelmixDoc loaded;
    MessageCapture messages;
    ASSERT_TRUE(loaded.OnOpenDocument(Program(path)));
    EXPECT_TRUE(messages.Texts().empty());
    ASSERT_EQ(loaded.m_clips.GetCount(), 5);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(ClipAt(loaded, k)->GetFullPath(), ClipAt(doc, k)->GetFullPath());
        EXPECT_EQ(Bits(ClipAt(loaded, k)->m_start), Bits(marks[k][0])) << k;
        EXPECT_EQ(Bits(ClipAt(loaded, k)->m_end), Bits(marks[k][1])) << k;
    }
}

TEST(CReelmixDoc, CountOfZeroIsAnEmptyShowWhateverFollows)
{
    for (const std::string& bytes : {Hex("00 00 00 00"), Hex("00 00 00 00 41 42")}) {
        const std::string path = NewPath("empty.rlx");
        WriteBytes(path, bytes);
        CReelmixDoc doc;
        MessageCapture messages;
        EXPECT_TRUE(doc.OnOpenDocument(Program(path)));
        EXPECT_EQ(doc.m_clips.GetCount(), 0);
        EXPECT_TRUE(messages.Texts().empty());
    }
}

TEST(CReelmixDoc, WideStringsLoad)
{
    const std::string path = NewPath("wide.rlx");
    WriteBytes(path, Hex("01 00 00 00 FF FE FF 02 43 00 3A 00 01 78") +
                         Hex("00 00 00 00 00 00 F8 3F 00 00 00 00 00 00 10 40"));
    CReelmixDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(Program(path)));
    ASSERT_EQ(doc.m_clips.GetCount(), 1);
    EXPECT_EQ(ClipAt(doc, 0)->GetFullPath(), CString("C:\\x"));
}

// Every damaged file loads as an empty show after one report naming the file; nothing is
// allocated beyond what the file holds, and nothing hangs.
TEST(CReelmixDoc, DamagedFilesLoadEmptyAfterAReport)
{
    std::vector<std::string> files;
    for (std::size_t cut = 1; cut < kExample.size(); ++cut)
        files.push_back(kExample.substr(0, cut));
    files.push_back(Hex("FF FF FF 7F"));                      // 2,147,483,647 clips, no data
    files.push_back(Hex("01 00 00 00 FF FF FF FF FF FF FF")); // string length 0xFFFFFFFF
    files.push_back(Hex("02 00 00 00") + kExample.substr(4)); // one clip short
    std::mt19937 random(7);
    for (int i = 0; i < 50; ++i) {
        std::string garbage(std::size_t(random() % 64), '\0');
        for (char& c : garbage)
            c = char(random());
        garbage[0] = '\x03';
        garbage.resize(std::max<std::size_t>(garbage.size(), 4));
        files.push_back(garbage);
    }
    for (const std::string& bytes : files) {
        const std::string path = NewPath("damaged.rlx");
        WriteBytes(path, bytes);
        CReelmixDoc doc;
        MessageCapture messages;
        if (doc.OnOpenDocument(Program(path)))
            continue; // random bytes may happen to form a valid show
        EXPECT_EQ(doc.m_clips.GetCount(), 0);
        ASSERT_EQ(messages.Texts().size(), 1u);
        EXPECT_NE(messages.Texts()[0].Find(path.c_str()), -1) << messages.Texts()[0];
    }
}

TEST(CReelmixDoc, FilesThatCannotBeReadAreReported)
{
    const std::string folder = NewPath("folder.rlx");
    ::mkdir(folder.c_str(), 0755);
    const std::string fifo = NewPath("pipe.rlx");
    ::mkfifo(fifo.c_str(), 0644);
    const std::string empty = NewPath("empty.rlx");
    WriteBytes(empty, "");
    const std::string negative = NewPath("negative.rlx");
    WriteBytes(negative, Hex("FF FF FF FF 09") + kExample.substr(4));
    for (const std::string& path : {folder, fifo, NewPath("missing.rlx"), empty, negative}) {
        CReelmixDoc doc;
        AddClip(doc, "C:", "kept.avi", -1, -1);
        MessageCapture messages;
        EXPECT_FALSE(doc.OnOpenDocument(Program(path)));
        ASSERT_EQ(messages.Texts().size(), 1u) << path;
        EXPECT_NE(messages.Texts()[0].Find(path.c_str()), -1) << messages.Texts()[0];
        // A file that could not even be opened, or is told damaged by its start, leaves the
        // current show alone.
        EXPECT_EQ(doc.m_clips.GetCount(), 1);
    }
}

TEST(CReelmixDoc, MoveClipExchangesNeighboursOnly)
{
    CReelmixDoc doc;
    Clip* a = AddClip(doc, "d", "a", -1, -1);
    AddClip(doc, "d", "b", -1, -1);
    Clip* c = AddClip(doc, "d", "c", -1, -1);
    Clip stranger("d", "x");
    auto order = [&] {
        std::string names;
        for (int i = 0; i < doc.m_clips.GetCount(); ++i)
            names += ClipAt(doc, i)->m_fileName;
        return names;
    };
    doc.MoveClipUp(a);
    doc.MoveClipDown(c);
    doc.MoveClipUp(nullptr);
    doc.MoveClipDown(&stranger);
    EXPECT_EQ(order(), "abc");
    doc.MoveClipUp(c);
    EXPECT_EQ(order(), "acb");
    doc.MoveClipDown(a);
    EXPECT_EQ(order(), "cab");
}

namespace
{
class RecordingView : public CView
{
public:
    void OnUpdate(CView*, LPARAM hint, CObject*) override
    {
        hints.push_back(hint);
        clipsAtHint.push_back(static_cast<CReelmixDoc*>(GetDocument())->m_clips.GetCount());
    }
    std::vector<LPARAM> hints;
    std::vector<int> clipsAtHint;
};
} // namespace

TEST(CReelmixDoc, ClearingTellsViewsBeforeClipsGo)
{
    CReelmixDoc doc;
    RecordingView view;
    doc.AddView(&view);
    AddClip(doc, "d", "a", -1, -1);
    AddClip(doc, "d", "b", -1, -1);
    doc.SetModifiedFlag();
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.m_clips.GetCount(), 0);
    EXPECT_FALSE(doc.IsModified());
    ASSERT_EQ(view.hints.size(), 1u);
    EXPECT_EQ(view.hints[0], -1);
    EXPECT_EQ(view.clipsAtHint[0], 2);
    doc.RemoveView(&view);
}
