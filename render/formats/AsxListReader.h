#pragma once
// ASX playlists as the show player reads them (the program's own and other players'), each
// entry's first reference a clip with the entry's start time and duration.
#include "render/formats/ListReader.h"

class AsxListReader : public ListReader
{
public:
    const char* Key() const override { return "asx"; }
    const char* Name() const override { return "ASX playlist"; }
    bool Claims(std::string_view text) const override;
    void Read(std::string_view text, ImportContext& context) const override;
};
