#pragma once
// An ASX playlist: its title, its entries in playing order, and what of it is not played as
// written (said to the user before the show).
#include "util/AsxEntry.h"

#include <QStringList>
#include <string>
#include <vector>

struct AsxPlaylist {
    std::string title;
    std::vector<AsxEntry> entries;
    QStringList notices;
};
