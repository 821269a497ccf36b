#include "res/Icons.h"

#include "res/StringIds.h"

namespace {
// The program icon: a film reel with its film running off to the right.
const char* const kProgramIcon[] = {
    "32 32 5 1",
    "  c None",
    "r c #2E3440",
    "m c #8FA1B3",
    "h c #F0F0F0",
    "f c #3B4252",
    "                                ",
    "            rrrrrrr             ",
    "         rrrmmmmmmmrrr          ",
    "        rrmmmmmmmmmmmrr         ",
    "      rrmmmmmmhhhmmmmmmrr       ",
    "     rrmmmmmmhhhhhmmmmmmrr      ",
    "     rmmmmmmmhhhhhmmmmmmmr      ",
    "    rmmmmmmmmhhhhhmmmmmmmmr     ",
    "   rrmmmmmmmmhhhhhmmmmmmmmrr    ",
    "   rmmmhhhmmmmhhhmmmmhhhmmmr    ",
    "   rmmhhhhhmmmmmmmmmhhhhhmmr    ",
    "  rmmhhhhhhmmmmhmmmmhhhhhhmmr   ",
    "  rmmhhhhhhmmhhhhhmmhhhhhhmmr   ",
    "  rmmmhhhhhmmhrrrhmmhhhhhmmmr   ",
    "  rmmmhhhhmmhhrrrhhmmhhhhmmmr   ",
    "  rmmmmmmmmmmhrrrhmmmmmmmmmmr   ",
    "  rmmmmmmmmmmhhhhhmmmmmmmmmmr   ",
    "  rmmmmmmmmmmmmhmmmmmmmmmmmmr   ",
    "   rmmmmmhhhhmmmmmhhhhmmmmmr    ",
    "   rmmmmhhhhhhmmmhhhhhhmmmmr    ",
    "   rrmmmhhhhhhmmmhhhhhhmmmrr    ",
    "    rmmmhhhhhhmmmhhhhhhmmmr     ",
    "     rmmmhhhhmmmmmhhhhmmmr      ",
    "     rrmmmhhmmmmmmmhhmmmrr      ",
    "      rrmmmmmmmmmmmmmmmrrfffffff",
    "        rrmmmmmmmmmmmrrf ff ff f",
    "         rrrmmmmmmmrrrffffffffff",
    "            rrrrrrrfffffffffffff",
    "              f ff ff ff ff ff f",
    "              ffffffffffffffffff",
    "                                ",
    "                                "};
} // namespace

const char* const* FindResourceIcon(UINT id)
{
    return id == IDR_MAINFRAME ? kProgramIcon : nullptr;
}
