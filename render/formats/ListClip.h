#pragma once
// One clip as playlists and edit lists carry it: the movie it names and the section of it that
// plays, before it becomes a clip of a show.
#include <string>

struct ListClip {
    // A host path, a Windows path as another program wrote it, or an address (http://...).
    std::string file;
    // Seconds from the movie's beginning; negative when the list sets no mark.
    double start = -1.0;
    double end = -1.0;
    // The clip's name where the list gives one.
    std::string title;
};
