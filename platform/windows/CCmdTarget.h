#pragma once
// Commands (menu items, accelerators, toolbar buttons) are ids routed to command targets by
// direct virtual calls: the frame, its active view, the view's document, then the application;
// the first target that handles an id takes it.
//
// OnCmdMsg serves both sides of a command. With a null ui it runs the handler; with a ui it
// tells the command's state (a handled command is enabled unless the target says otherwise).
// It returns TRUE when this target handles id.
#include "platform/core/CObject.h"
#include "platform/windows/CCmdUI.h"

class CCmdTarget : public CObject
{
public:
    virtual BOOL OnCmdMsg(UINT, CCmdUI*) { return FALSE; }

protected:
    // The usual body of one handled command: run handler, or report it enabled.
    template <typename Handler> static BOOL Handle(CCmdUI* ui, Handler handler)
    {
        if (ui) {
            ui->Enable(TRUE);
            ui->m_bHandled = TRUE;
        } else {
            handler();
        }
        return TRUE;
    }
};
