#include "platform/framework/CCommandLineInfo.h"
#include "platform/framework/CFileDialog.h"
#include "platform/framework/CRecentFileList.h"

#include <QDir>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace
{
// The dialog's buffer as the caller walks it: the text up to the offset, then each name.
std::vector<std::string> Walk(const CFileDialog& dialog)
{
    std::vector<std::string> parts{std::string(dialog.m_ofn.lpstrFile, dialog.m_ofn.nFileOffset)};
    for (const char* name = dialog.m_ofn.lpstrFile + dialog.m_ofn.nFileOffset; *name;
         name += std::strlen(name) + 1)
        parts.emplace_back(name);
    return parts;
}

struct DialogAnswer {
    std::vector<CString> chosen;
    ~DialogAnswer() { CFileDialog::SetHook(nullptr); }
    explicit DialogAnswer(std::vector<CString> files) : chosen(std::move(files))
    {
        CFileDialog::SetHook([this](const CFileDialog&, std::vector<CString>& out) {
            out = chosen;
            return IDOK;
        });
    }
};
} // namespace

TEST(CFileDialog, FillsTheCallersBufferInThePlatformsMultiSelectForm)
{
    const CString folder = QDir::currentPath().replace('/', '\\').toStdString();
    const std::string dir = folder.Str();
    const struct {
        std::vector<CString> chosen;
        std::size_t bufferSize;
        int result;
        std::vector<std::string> parts; // empty: the buffer is left alone
    } cases[] = {
        // One file: the folder ends in a backslash, not a zero byte.
        {{folder + "\\a.avi"}, 8320, IDOK, {dir + "\\", "a.avi"}},
        {{folder + "\\a.avi", folder + "\\b c.mpg"},
         8320,
         IDOK,
         {dir + std::string(1, '\0'), "a.avi", "b c.mpg"}},
        // A selection that does not fit fails the dialog.
        {{folder + "\\a.avi", folder + "\\b.avi"}, dir.size() + 8, IDCANCEL, {}},
    };
    for (const auto& c : cases) {
        DialogAnswer answer(c.chosen);
        std::vector<char> buffer(c.bufferSize, 'x');
        buffer[0] = 0;
        CFileDialog dialog(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT);
        dialog.m_ofn.lpstrFile = buffer.data();
        dialog.m_ofn.nMaxFile = DWORD(buffer.size());
        ASSERT_EQ(dialog.DoModal(), c.result) << c.chosen.size();
        if (c.chosen.size() == 1) {
            EXPECT_EQ(dialog.GetPathName(), c.chosen[0]);
        }
        if (c.parts.empty()) {
            EXPECT_EQ(buffer[0], 0);
            EXPECT_EQ(buffer[1], 'x');
        } else {
            EXPECT_EQ(Walk(dialog), c.parts);
        }
    }
}

TEST(CRecentFileList, MenuTextsNumberTheEntriesAndShortenLongPaths)
{
    CRecentFileList list(0, "Recent File List", "File%d", 16);
    for (int i = 16; i >= 1; --i)
        list.Add(CString("\\home\\ann\\shows\\s") + std::to_string(i).c_str() + ".rlx");
    list.Add("\\home\\ann\\shows\\s3.rlx"); // moves up, nothing falls off
    EXPECT_EQ(list[0], "\\home\\ann\\shows\\s3.rlx");
    EXPECT_EQ(list[15], "\\home\\ann\\shows\\s16.rlx");
    const struct {
        int index;
        const char* folder;
        const char* text;
    } cases[] = {
        {0, "\\home\\ann\\shows", "&1 s3.rlx"},
        {0, "\\tmp", "&1 /home/ann/shows/s3.rlx"},
        {9, "\\home\\ann\\shows", "1&0 s10.rlx"},
        {10, "\\home\\ann\\shows", "11 s11.rlx"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(list.GetMenuText(c.index, c.folder), c.text) << c.index << c.folder;

    list.Add("\\home\\ann\\a very long folder name\\more\\Tom & Jerry.rlx");
    EXPECT_EQ(list.GetMenuText(0, "\\tmp"), "&1 /.../more/Tom && Jerry.rlx");
    list.Remove(0);
    EXPECT_EQ(list[0], "\\home\\ann\\shows\\s3.rlx");
    EXPECT_TRUE(list[15].IsEmpty());
}

TEST(CCommandLineInfo, ReadsTheFrameworksForms)
{
    const CString cwd = QDir::currentPath().replace('/', '\\').toStdString();
    const struct {
        std::vector<std::pair<const char*, bool>> params;
        int command;
        CString file;
        CString printer;
    } cases[] = {
        {{}, CCommandLineInfo::FileNew, "", ""},
        {{{"show.rlx", false}}, CCommandLineInfo::FileOpen, cwd + "\\show.rlx", ""},
        {{{"/a/../b/s.rlx", false}}, CCommandLineInfo::FileOpen, "\\b\\s.rlx", ""},
        {{{"P", true}, {"/s.rlx", false}}, CCommandLineInfo::FilePrint, "\\s.rlx", ""},
        {{{"pt", true}, {"/s.rlx", false}, {"Laser", false}, {"drv", false}, {"lpt1", false}},
         CCommandLineInfo::FilePrintTo,
         "\\s.rlx",
         "Laser"},
        {{{"dde", true}}, CCommandLineInfo::FileDDE, "", ""},
    };
    for (const auto& c : cases) {
        CCommandLineInfo info;
        for (const auto& [param, flag] : c.params)
            info.ParseParam(param, flag, FALSE);
        EXPECT_EQ(int(info.m_nShellCommand), c.command);
        EXPECT_EQ(info.m_strFileName, c.file);
        EXPECT_EQ(info.m_strPrinterName, c.printer);
        EXPECT_FALSE(info.m_bUnusableName);
    }
    CCommandLineInfo odd;
    odd.ParseParam("/tmp/a\\b.rlx", FALSE, TRUE);
    EXPECT_TRUE(odd.m_bUnusableName);
}
