#pragma once
// The framework's text file: unless opened with typeBinary, "\n" is written as CR LF and read
// lines lose their CR LF.
#include "platform/files/CFile.h"

#include <string>

class CStdioFile : public CFile
{
public:
    CStdioFile() = default;
    // Opens or throws CFileException.
    CStdioFile(const char* path, UINT flags);
    ~CStdioFile() override;

    BOOL Open(const char* path, UINT flags, CFileException* error = nullptr) override;
    void WriteString(const char* text);
    // Reads one line without its line end; false at the end of the file.
    BOOL ReadString(CString& line);
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    void Flush() override;
    void Close() override;

private:
    bool FillReadBuffer();

    bool m_text = true;
    std::string m_pending; // written, not yet handed to the file
    std::string m_readAhead;
    std::size_t m_readPos = 0;
};
