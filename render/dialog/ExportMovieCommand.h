#pragma once
// File > Export Show As Movie: asks where to write the movie and how, renders the show with a
// progress dialog, and says how it went.
#include "render/movie/RenderClip.h"
#include "render/movie/RenderResult.h"

#include <QString>
#include <vector>

class CWnd;

class ExportMovieCommand
{
public:
    // suggestedName: the movie's file name the file dialog offers, without a folder.
    static void Run(const std::vector<RenderClip>& clips, const QString& suggestedName,
                    CWnd* parent);
    // What the user is told when the render has ended.
    static QString Report(const RenderResult& result, const QString& target);
};
