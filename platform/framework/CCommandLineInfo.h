#pragma once
// The framework's reading of the command line. No argument asks for a new document, a file
// argument to open that file; "/p file" prints it and "/pt file printer driver port" prints
// it to a printer, both ending the program afterwards; "/dde" starts to wait for the shell's
// open requests. Switches start with "/" or "-" and compare without case.
#include "platform/core/CString.h"

class CCommandLineInfo
{
public:
    enum {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        FileNothing = -1
    } m_nShellCommand = FileNew;

    virtual ~CCommandLineInfo() = default;
    // One argument; flag tells that it was a switch (param is then without its "/" or "-").
    virtual void ParseParam(const char* param, BOOL flag, BOOL last);

    // The file as a full program path (a relative host name is taken from the current folder).
    CString m_strFileName;
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;
    // The file's host name holds a backslash, which a program path cannot carry; m_strFileName
    // is then the host name, for the report.
    BOOL m_bUnusableName = FALSE;

private:
    void ParseParamFlag(const char* param);
    void ParseParamNotFlag(const char* param);

    // Print-to collects three names after the file.
    int m_printToNamesWanted = 0;
};
