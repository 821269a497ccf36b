#pragma once
// A movie made by ffmpeg and the clip editor run over it, for the preview tests.
#include "platform/core/CString.h"

#include <functional>
#include <memory>
#include <string>

class Clip;
class EditClipDlg;

namespace previewtest
{
// 4 seconds at 25 fps, 100 pictures; made once.
const std::string& FourSecondMovie();
std::unique_ptr<Clip> ClipOf(const std::string& hostPath, double start, double end);
// How a run of the editor ended: its result and the marks it leaves for the caller.
struct EditorRun {
    int result;
    double start, end;
    bool operator==(const EditorRun&) const = default;
};
// Runs the editor over a movie with marks start and end; act runs once the movie is loaded (or
// failed to load), and should end the dialog.
EditorRun RunEditor(const std::string& hostPath, double start, double end,
                    const std::function<void(EditClipDlg&)>& act);
// One character each: > and < arrow keys on the up-down control, S and E the mark buttons,
// ] and [ go to end and go to start.
void Act(EditClipDlg& dialog, const std::string& actions);
CString Text(EditClipDlg& dialog, int id);
} // namespace previewtest
