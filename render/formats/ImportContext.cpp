#include "render/formats/ImportContext.h"

#include "render/formats/ListPath.h"
#include "render/formats/MovieCatalog.h"

void ImportContext::Add(ListClip clip)
{
    clip.file = ListPath::Resolve(m_folder, clip.file);
    clips.push_back(std::move(clip));
}

double ImportContext::MovieRate(const std::string& file)
{
    const MovieProbe::Facts* facts =
        m_movies ? m_movies->Find(ListPath::Resolve(m_folder, file)) : nullptr;
    return facts ? facts->Rate() : 0.0;
}
