#pragma once
// The movies of a list, each probed once however many clips it has, so that a long show of
// few movies is read and written at the speed of its text.
#include "platform/media/MovieProbe.h"

#include <optional>
#include <string>
#include <unordered_map>

class MovieCatalog
{
public:
    // What is known of the movie at a host path; null when it cannot be read, and always for
    // addresses and Windows paths, which are not looked for on this machine.
    const MovieProbe::Facts* Find(const std::string& file);
    // Takes facts as known without looking at the file.
    void Add(const std::string& file, const MovieProbe::Facts& facts) { m_known[file] = facts; }

private:
    std::unordered_map<std::string, std::optional<MovieProbe::Facts>> m_known;
};
