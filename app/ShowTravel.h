#pragma once
// File > Import and Export Show: a playlist or edit list of another program becomes a new show
// (also when it is opened), and the show is written as one. Reading and writing happen off the
// user-interface thread; what a format could not carry is said once, in one message.
#include "platform/core/CString.h"

class CDocTemplate;
class CDocument;
class CReelmixDoc;
class CWnd;

class ShowTravel
{
public:
    ShowTravel() = delete;

    // Whether Open should import path (a program path) instead of loading it as a show.
    static bool IsImportable(const CString& path);
    // The open dialog's filter: shows, then the lists that are imported, then all files.
    static CString OpenFilter(const CDocTemplate& shows);

    // The list at path as a new show, untitled and modified, after the question about unsaved
    // changes. When the list cannot be read, or holds no clips, the show that was open stays as
    // it was and a message says why (where, for a list that cannot be read). Null when nothing
    // was imported.
    static CDocument* Import(CDocTemplate& shows, const CString& path);
    // Asks for a list to import.
    static void OnFileImport(CDocTemplate& shows, CWnd* frame);
    // Asks for a format and a file, and writes the show there.
    static void OnFileExportShow(const CReelmixDoc& show, CWnd* frame);
};
