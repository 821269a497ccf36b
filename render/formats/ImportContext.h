#pragma once
// What a reader builds while it reads a list: the clips in show order, with names relative to
// the list made whole, and the notes on what was left out.
#include "render/formats/FormatNotes.h"
#include "render/formats/ListClip.h"

#include <string>
#include <vector>

class MovieCatalog;

class ImportContext
{
public:
    // folder: the host folder of the list; movies: where frame rates are looked up, or null.
    explicit ImportContext(std::string folder, MovieCatalog* movies = nullptr)
        : m_folder(std::move(folder)), m_movies(movies)
    {
    }

    const std::string& Folder() const { return m_folder; }
    // The clip's movie name resolved against the list's folder.
    void Add(ListClip clip);
    // The frame rate of a movie named by the list (resolved), or 0 when it cannot be read.
    double MovieRate(const std::string& file);

    std::vector<ListClip> clips;
    FormatNotes notes;

private:
    std::string m_folder;
    MovieCatalog* m_movies;
};
