#pragma once
// The program's application object: brings up the show document with its main frame and clip
// list, keeps the list of movie file extensions, opens the clip editor for the show, and shows
// the about box.
#include "platform/core/CStringList.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CWinApp.h"
#include "show/ClipEditor.h"
#include "show/MovieTypes.h"

class CReelmixApp : public CWinApp, public MovieTypes, public ClipEditor
{
public:
    // view: the class of the view the main frame shows the show in (CReelmixView).
    explicit CReelmixApp(CDocTemplate::ViewClass view);

    BOOL InitInstance() override;
    // Playlists and edit lists of other programs are imported into a new show; the rest opens
    // as shows do.
    CDocument* OpenDocumentFile(LPCTSTR pathName) override;
    void OnAppAbout();
    // Open with the lists that are imported in the dialog's filter too.
    void OnFileOpen();
    BOOL OnCmdMsg(UINT id, CCmdUI* ui) override;
    const CStringList& GetMovieExtensions() const override { return m_movieExtensions; }
    bool EditClip(Clip& clip, CWnd* parent) override;

    // The file extensions, without dot, that count as movie files, in search order.
    CStringList m_movieExtensions{10};

private:
    CDocTemplate::ViewClass m_viewClass;
};
