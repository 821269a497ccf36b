#pragma once
// What the show asks of the application object: the file extensions that count as movies.
#include "platform/core/CStringList.h"

class MovieTypes
{
public:
    virtual ~MovieTypes() = default;
    // Without dot, in the order in which they are offered and searched.
    virtual const CStringList& GetMovieExtensions() const = 0;
};
