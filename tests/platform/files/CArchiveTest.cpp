#include "platform/files/CArchive.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

using namespace testfiles;

namespace
{
std::string Store(const CString& text)
{
    const std::string path = NewPath("string.bin");
    CFile file(Program(path), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    ar << text;
    ar.Close();
    file.Close();
    return ReadBytes(path);
}

CString Load(const std::string& bytes)
{
    const std::string path = NewPath("string.bin");
    WriteBytes(path, bytes);
    CFile file(Program(path), CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    CString text;
    ar >> text;
    return text;
}
} // namespace

TEST(CArchive, StringLengthPrefixes)
{
    struct Case {
        int length;
        std::string prefix;
    } cases[] = {
        {0, Hex("00")},
        {254, Hex("FE")},
        {255, Hex("FF FF 00")},
        {0xFFFD, Hex("FF FD FF")},
        {0xFFFE, Hex("FF FF FF FE FF 00 00")},
        {70000, Hex("FF FF FF 70 11 01 00")},
    };
    for (const Case& c : cases) {
        const CString text(std::string(std::size_t(c.length), 'x'));
        const std::string bytes = Store(text);
        EXPECT_EQ(bytes.substr(0, c.prefix.size()), c.prefix) << c.length;
        EXPECT_EQ(bytes.size(), c.prefix.size() + std::size_t(c.length)) << c.length;
        EXPECT_EQ(Load(bytes), text) << c.length;
    }
}

TEST(CArchive, WideStringsBecomeUtf8)
{
    // "Aé€" then a surrogate pair for U+1F3AC, in UTF-16LE.
    const std::string bytes = Hex("FF FE FF 05 41 00 E9 00 AC 20 3C D8 AC DF");
    EXPECT_EQ(Load(bytes), CString("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xAC"));
    const std::string longForm = Hex("FF FE FF FF 01 00") + std::string("\x42\x00", 2);
    EXPECT_EQ(Load(longForm), CString("B"));
}

TEST(CArchive, TypedReadsPastTheEndThrowButRawReadsComeShort)
{
    const std::string path = NewPath("short.bin");
    WriteBytes(path, Hex("01 02 03"));
    CFile file(Program(path), CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    char raw[8] = {};
    EXPECT_EQ(ar.Read(raw, 2), 2u);
    DWORD value = 0;
    try {
        ar >> value;
        FAIL() << "no exception";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
        EXPECT_NE(CString(e.GetErrorMessage()).Find("short.bin"), -1);
    }
}

TEST(CArchive, HugeLengthFieldsFailWithoutAllocating)
{
    for (const std::string& bytes :
         {Hex("FF FF FF FF FF FF FF"), Hex("FF FE FF FF FF FF FF FF FF 41"), Hex("FF 10 27 41")}) {
        EXPECT_THROW(Load(bytes), CArchiveException);
    }
}
