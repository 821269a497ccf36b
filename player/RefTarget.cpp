#include "player/RefTarget.h"

#include "platform/files/HostPath.h"

#include <QDir>
#include <QFile>
#include <QObject>
#include <QRegularExpression>
#include <QUrl>
#include <filesystem>

namespace
{

bool HasPlaylistName(const QString& path)
{
    static const QRegularExpression playlist(R"(\.(asx|wax|wvx|wpl|m3u8?|pls|xspf)$)",
                                             QRegularExpression::CaseInsensitiveOption);
    return playlist.match(path).hasMatch();
}

// Playlists named like movies are known by how they begin.
bool LooksLikePlaylist(const QString& hostPath)
{
    QFile file(hostPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray head = file.read(512).toLower();
    head.replace('\0', "");
    for (const char* mark : {"\xef\xbb\xbf", "\xff\xfe", "\xfe\xff"})
        if (head.startsWith(mark))
            head.remove(0, qsizetype(qstrlen(mark)));
    head = head.trimmed();
    return head.startsWith("#extm3u") || head.startsWith("[playlist]") || head.startsWith("<asx") ||
           head.startsWith("<?wpl");
}

QString Quoted(const QString& text)
{
    return "\"" + text + "\"";
}

} // namespace

QString RefTarget::PlaylistProblem(const QString& target)
{
    return QObject::tr("%1 is a playlist; playlists inside a playlist are not played")
        .arg(Quoted(target));
}

RefTarget RefTarget::Resolve(const std::string& href, const QString& folder)
{
    static const QRegularExpression scheme("^([A-Za-z][A-Za-z0-9+.-]*):(//)?");
    const QString text = QString::fromStdString(href);
    RefTarget target;
    if (href.find('\0') != std::string::npos) {
        target.m_problem = QObject::tr("the reference %1 holds a zero byte, which no name can")
                               .arg(Quoted(QString(text).replace(QChar(0), "\\0")));
        return target;
    }
    if (const auto match = scheme.match(text); match.hasMatch()) {
        if (match.captured(1).compare("file", Qt::CaseInsensitive) == 0)
            return FileAddress(text);
        if (match.hasCaptured(2))
            return Address(text);
    }
    const QString host = QString::fromStdString(ToHostPath(CString(href)));
    return Local(QDir::cleanPath(QDir(folder).filePath(host)));
}

// RFC 8089 makes "file:/path" and "file://localhost/path" the local path, as "file:///path".
RefTarget RefTarget::FileAddress(const QString& url)
{
    QUrl address(url);
    if (address.host().compare("localhost", Qt::CaseInsensitive) == 0)
        address.setHost(QString());
    const QString path = address.toLocalFile();
    if (QDir::isAbsolutePath(path))
        return Local(path);
    RefTarget target;
    target.m_problem = QObject::tr("the address %1 names no local file").arg(Quoted(url));
    return target;
}

RefTarget RefTarget::Local(const QString& hostPath)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(hostPath.toStdString(), error);
    RefTarget target;
    if (hostPath.isEmpty() || !fs::exists(status))
        target.m_problem = QObject::tr("the file %1 is missing").arg(Quoted(hostPath));
    else if (fs::is_directory(status))
        target.m_problem = QObject::tr("%1 is a folder, not a movie").arg(Quoted(hostPath));
    else if (!fs::is_regular_file(status))
        target.m_problem = QObject::tr("%1 is not a file but a pipe or device, which is not "
                                       "played")
                               .arg(Quoted(hostPath));
    else if (HasPlaylistName(hostPath) || LooksLikePlaylist(hostPath))
        target.m_problem = PlaylistProblem(hostPath);
    else
        target.m_target = hostPath;
    return target;
}

RefTarget RefTarget::Address(const QString& url)
{
    static const QStringList allowed{"http", "https", "mms", "rtsp"};
    RefTarget target;
    if (!allowed.contains(QUrl(url).scheme().toLower()))
        target.m_problem = QObject::tr("the address %1 is refused: only file, http, https, mms "
                                       "and rtsp addresses are played")
                               .arg(Quoted(url));
    else if (HasPlaylistName(QUrl(url).path()))
        target.m_problem = PlaylistProblem(url);
    else
        target.m_target = url;
    return target;
}
