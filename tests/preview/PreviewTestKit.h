#pragma once
// Movies made by ffmpeg and the clip editor run over them, for the preview tests.
#include "platform/core/CString.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <string>

class Clip;
class EditClipDlg;

namespace previewtest
{
// The host path of a movie made by ffmpeg from arguments (inputs, codecs); empty on failure.
std::string MakeMovie(const std::string& name, const QStringList& arguments);
// 4 seconds at 25 fps, 100 pictures; made once.
const std::string& FourSecondMovie();
std::unique_ptr<Clip> ClipOf(const std::string& hostPath, double start, double end);
// Runs the event loop until condition holds, for at most 30 seconds.
bool Await(const std::function<bool()>& condition);
// Runs the editor over clip; act runs once the movie is loaded, and should end the dialog.
int RunEditor(Clip& clip, const std::function<void(EditClipDlg&)>& act);
// One character each: > and < arrow keys on the up-down control, S and E the mark buttons,
// ] and [ go to end and go to start.
void Act(EditClipDlg& dialog, const std::string& actions);
CString Text(EditClipDlg& dialog, int id);
} // namespace previewtest
