#include "render/tool/ListExport.h"

#include "render/formats/ExportContext.h"
#include "render/formats/ListFile.h"
#include "render/formats/ListFormats.h"
#include "render/formats/MovieCatalog.h"
#include "render/formats/ShowClips.h"

#include <QFileInfo>
#include <ostream>

namespace
{
void Say(std::ostream& errors, const std::string& text)
{
    errors << "reelmix-render: " << text << "\n";
}

bool ReadShow(const std::string& show, MovieCatalog& movies, std::vector<ListClip>& clips,
              std::ostream& errors)
{
    std::string error;
    FormatNotes notes;
    const bool read = ShowClips::ReadShowOrList(show, movies, clips, notes, error);
    if (!read)
        Say(errors, error);
    else if (!notes.Empty())
        Say(errors, show + ": " + notes.Text());
    return read;
}
} // namespace

int ListExport::Run(const std::string& format, const std::string& show, const std::string& out,
                    std::ostream& errors)
{
    const ListFormat* exporter = ListFormats::ExporterByKey(format);
    MovieCatalog movies;
    std::vector<ListClip> clips;
    if (!exporter || !ReadShow(show, movies, clips, errors))
        return 1;
    ExportContext context(movies);
    context.title = QFileInfo(QString::fromStdString(show)).completeBaseName().toStdString();
    std::string error;
    if (!ListFile::Export(clips, *exporter, out, context, error)) {
        Say(errors, error);
        return 1;
    }
    if (!context.notes.Empty())
        Say(errors, out + ": " + context.notes.Text());
    return 0;
}
