#include "show/ClipTransfer.h"

#include "platform/files/HostPath.h"
#include "show/Clip.h"
#include "util/Generic.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>
#include <QUrl>
#include <cmath>

namespace
{
QString HostPathOf(const Clip& clip)
{
    return QString::fromStdString(ToHostPath(clip.GetFullPath()));
}

// A clip of the file at hostPath; null when that is no absolute path or the program cannot spell
// its name.
std::unique_ptr<Clip> ClipOf(const QString& hostPath)
{
    CString path;
    if (!hostPath.startsWith('/') || !FromHostPath(hostPath.toStdString(), path))
        return nullptr;
    return std::make_unique<Clip>(Generic::DirFromPath(path), Generic::FileFromPath(path));
}

double Mark(const QJsonValue& value)
{
    const double seconds = value.toDouble(-1.0);
    return std::isfinite(seconds) ? seconds : -1.0;
}
} // namespace

std::unique_ptr<QMimeData> ClipTransfer::Write(const std::vector<const Clip*>& clips)
{
    QJsonArray entries;
    QList<QUrl> urls;
    QStringList paths;
    for (const Clip* clip : clips) {
        const QString path = HostPathOf(*clip);
        entries.append(QJsonObject{{"path", path}, {"start", clip->m_start}, {"end", clip->m_end}});
        urls.append(QUrl::fromLocalFile(path));
        paths.append(path);
    }
    auto data = std::make_unique<QMimeData>();
    data->setData(kMimeType, QJsonDocument(entries).toJson(QJsonDocument::Compact));
    data->setUrls(urls);
    data->setText(paths.join('\n'));
    return data;
}

std::vector<std::unique_ptr<Clip>>
ClipTransfer::Read(const QMimeData& data,
                   const std::function<bool(const CString& fileName)>& isMovie)
{
    std::vector<std::unique_ptr<Clip>> clips;
    if (data.hasFormat(kMimeType)) {
        for (const QJsonValue& entry : QJsonDocument::fromJson(data.data(kMimeType)).array()) {
            std::unique_ptr<Clip> clip = ClipOf(entry["path"].toString());
            if (!clip)
                continue;
            clip->m_start = Mark(entry["start"]);
            clip->m_end = Mark(entry["end"]);
            clips.push_back(std::move(clip));
        }
        return clips;
    }
    for (const QUrl& url : data.urls()) {
        std::unique_ptr<Clip> clip = url.isLocalFile() ? ClipOf(url.toLocalFile()) : nullptr;
        if (clip && isMovie(clip->m_fileName))
            clips.push_back(std::move(clip));
    }
    return clips;
}

bool ClipTransfer::CanRead(const QMimeData& data)
{
    return data.hasFormat(kMimeType) || data.hasUrls();
}
