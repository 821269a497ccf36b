#include "util/Generic.h"

#include "platform/files/CFile.h"
#include "platform/files/Environment.h"
#include "platform/files/FileFind.h"
#include "platform/files/FileStatus.h"
#include "platform/files/ProfileString.h"

#include <memory>
#include <new>

CString Generic::FileFromPath(const CString& path)
{
    const int slash = path.ReverseFind('\\');
    return slash < 0 ? path : path.Mid(slash + 1);
}

CString Generic::DirFromPath(const CString& path)
{
    const int slash = path.ReverseFind('\\');
    return slash < 0 ? path : path.Left(slash);
}

CString Generic::TitleFromPath(const CString& path)
{
    const CString file = FileFromPath(path);
    const int dot = file.ReverseFind('.');
    return dot < 0 ? file : file.Left(dot);
}

CString Generic::ExtFromPath(const CString& path)
{
    const CString file = FileFromPath(path);
    const int dot = file.ReverseFind('.');
    return dot < 0 ? CString() : file.Mid(dot + 1);
}

CString Generic::DirAndFileFromPath(const CString& path)
{
    const int slash = path.ReverseFind('\\');
    if (slash < 0)
        return path;
    return path.Mid(path.Left(slash).ReverseFind('\\') + 1);
}

int Generic::ReverseFindOneOf(const CString& text, const CString& set, int start)
{
    if (set.IsEmpty() || text.IsEmpty())
        return -1;
    if (start == -1 || start >= text.GetLength())
        start = text.GetLength() - 1;
    for (int i = start; i >= 0; --i) {
        if (set.Str().find(text[i]) != std::string::npos)
            return i;
    }
    return -1;
}

bool Generic::RemoveTrailingSlash(CString& path)
{
    if (path.IsEmpty() || path[path.GetLength() - 1] != '\\')
        return false;
    path.Delete(path.GetLength() - 1);
    return true;
}

bool Generic::IsDirectory(const CString& path)
{
    struct _stat status {
    };
    return _stat(path, &status) == 0 && (status.st_mode & _S_IFDIR);
}

DWORD Generic::GetFileSize(const CString& path)
{
    _finddata_t found{};
    const std::intptr_t search = _findfirst(path, &found);
    if (search != -1)
        _findclose(search);
    return found.size;
}

bool Generic::AppendFiles(const CString& destination, const CString& source)
{
    constexpr UINT chunk = 65536;
    CFile target, origin;
    if (!target.Open(destination, CFile::modeReadWrite | CFile::modeCreate | CFile::modeNoTruncate |
                                      CFile::shareExclusive))
        return false;
    if (!origin.Open(source, CFile::modeRead | CFile::shareDenyWrite))
        return false;
    const std::unique_ptr<char[]> buffer(new (std::nothrow) char[chunk]);
    if (!buffer)
        return false;
    try {
        target.SeekToEnd();
        UINT read = 0;
        do {
            read = origin.Read(buffer.get(), chunk);
            target.Write(buffer.get(), read);
        } while (read == chunk);
        target.Close();
        origin.Close();
        return true;
    } catch (const CFileException&) {
        return false;
    }
}

bool Generic::RenameFile(const CString& oldPath, const CString& newPath)
{
    try {
        CFile::Rename(oldPath, newPath);
        return true;
    } catch (const CFileException&) {
        return false;
    }
}

bool Generic::RemoveFile(const CString& path)
{
    try {
        CFile::Remove(path);
        return true;
    } catch (const CFileException&) {
        return false;
    }
}

bool Generic::TranslateEnvPath(CString& path)
{
    constexpr DWORD valueSize = 128;
    CString result, rest = path;
    bool complete = true;
    for (int open = rest.Find('%'); open >= 0; open = rest.Find('%')) {
        result += rest.Left(open);
        const int close = rest.Find('%', open + 1);
        const CString name = close < 0 ? CString() : rest.Mid(open + 1, close - open - 1);
        rest = rest.Mid(close < 0 ? open + 1 : close + 1);
        char value[valueSize] = {};
        const DWORD length = GetEnvironmentVariableA(name, value, valueSize);
        if (length >= valueSize) {
            complete = false;
            break;
        }
        result += CString(value, int(length));
    }
    path = result + rest;
    return complete;
}

bool Generic::GetFromIniFile(const CString& file, const CString& section, const CString& key,
                             const CString& defaultText, CString& result, int size)
{
    if (size <= 0)
        return false;
    result.Empty();
    const int count = int(GetPrivateProfileStringA(section, key, defaultText,
                                                   result.GetBuffer(size), DWORD(size), file));
    result.ReleaseBuffer();
    if (count == size - 1 || count == size - 2)
        return false;
    return count == result.GetLength();
}
