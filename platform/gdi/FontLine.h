#pragma once
// A line of text in a font as this platform draws it: from the top of the accents of capitals
// (É, Ü, Å), which desktop fonts draw above their ascent, to the bottom of the descenders. The
// system's own fonts keep that room inside their height as internal leading; these need it
// added, or accents are cut off at the top of a line.
#include <QFont>

class FontLine
{
public:
    explicit FontLine(const QFont& font);

    // From the line's top to the baseline.
    int Ascent() const { return m_ascent; }
    int Height() const { return m_height; }

private:
    int m_ascent;
    int m_height;
};
