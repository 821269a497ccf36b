#include "render/dialog/ExportMovieCommand.h"

#include "platform/files/HostPath.h"
#include "platform/framework/CFileDialog.h"
#include "platform/windows/CWnd.h"
#include "render/dialog/ExportMovieDlg.h"
#include "render/dialog/RenderProgressDlg.h"
#include "render/movie/MovieWriter.h"

#include <cmath>

void ExportMovieCommand::Run(const std::vector<RenderClip>& clips, const QString& suggestedName,
                             CWnd* parent)
{
    CFileDialog files(FALSE, "mp4", CString(suggestedName.toStdString()),
                      OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                      "Movies (*.mp4;*.mkv;*.mov)|*.mp4;*.mkv;*.mov|All Files (*.*)|*.*||", parent);
    files.m_ofn.lpstrTitle = "Export Show As Movie";
    if (files.DoModal() != IDOK)
        return;
    const QString target = QString::fromStdString(ToHostPath(files.GetPathName()));
    if (!MovieWriter::KnownExtension(target)) {
        AfxMessageBox("Choose a movie name that ends in .mp4, .mkv or .mov.", MB_ICONEXCLAMATION);
        return;
    }
    QWidget* window = parent ? parent->GetSafeHwnd() : nullptr;
    ExportMovieDlg options(target, window);
    if (options.exec() != QDialog::Accepted)
        return;
    RenderProgressDlg progress(clips, options.Settings(), window);
    const RenderResult result = progress.Run();
    AfxMessageBox(CString(Report(result, target).toStdString()),
                  result.succeeded ? MB_ICONINFORMATION : MB_ICONEXCLAMATION);
}

QString ExportMovieCommand::Report(const RenderResult& result, const QString& target)
{
    if (!result.succeeded)
        return result.error;
    QString text = QStringLiteral("The show is now the movie %1 (%2 pictures).\n\n%3")
                       .arg(target)
                       .arg(result.pictures)
                       .arg(result.mode);
    if (result.checkedPictures > 0) {
        text += QStringLiteral("\n\nChecked after writing: the first and last picture of every "
                               "clip, %1 of %2 identical to the source")
                    .arg(result.identicalPictures)
                    .arg(result.checkedPictures);
        if (std::isfinite(result.lowestPsnr))
            text += QStringLiteral(", the others at %1 dB PSNR or better")
                        .arg(result.lowestPsnr, 0, 'f', 1);
        text += ".";
    }
    for (const QString& notice : result.notices)
        text += "\n\n" + notice;
    return text;
}
