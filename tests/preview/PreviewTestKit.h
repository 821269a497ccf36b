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
// Runs the editor over clip; act runs once the movie is loaded, and should end the dialog.
int RunEditor(Clip& clip, const std::function<void(EditClipDlg&)>& act);
// One character each: > and < arrow keys on the up-down control, S and E the mark buttons,
// ] and [ go to end and go to start.
void Act(EditClipDlg& dialog, const std::string& actions);
CString Text(EditClipDlg& dialog, int id);
} // namespace previewtest
