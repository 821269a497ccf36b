#pragma once
// What a REF of a playlist leads to: a local file or an address the media library may open,
// or why it must not be tried. Only movies are handed on: a playlist cannot make the player open
// the media library's other protocols, folders, pipes or further playlists.
#include <QString>
#include <string>

class RefTarget
{
public:
    // href is a program path (\home\ann\a.avi), a host path or a URL; paths that are not
    // absolute are taken from folder (a host path).
    static RefTarget Resolve(const std::string& href, const QString& folder);
    // Why a reference that turned out to be a playlist is not played.
    static QString PlaylistProblem(const QString& target);
    // Local targets are absolute host paths; anything else is an address.
    static bool IsAddress(const QString& target) { return !target.startsWith('/'); }

    // What to open when m_problem is empty: a host path or a URL.
    QString m_target;
    // Why the reference is not tried, as the end of a sentence for the user.
    QString m_problem;

private:
    static RefTarget FileAddress(const QString& url);
    static RefTarget Local(const QString& hostPath);
    static RefTarget Address(const QString& url);
};
