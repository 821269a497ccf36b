#include "render/formats/MovieCatalog.h"

const MovieProbe::Facts* MovieCatalog::Find(const std::string& file)
{
    auto found = m_known.find(file);
    if (found == m_known.end()) {
        std::optional<MovieProbe::Facts> facts;
        if (!file.empty() && file[0] == '/') {
            MovieProbe::Facts probed;
            QString error;
            if (MovieProbe::Probe(QString::fromStdString(file), probed, error))
                facts = probed;
        }
        found = m_known.emplace(file, facts).first;
    }
    return found->second ? &*found->second : nullptr;
}
