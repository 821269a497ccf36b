#pragma once
// An ASX playlist: its title and its entries in playing order.
#include "player/AsxEntry.h"

#include <string>
#include <vector>

struct AsxPlaylist {
    std::string title;
    std::vector<AsxEntry> entries;
};
