#pragma once
// What a show actually played, for checking a player without a screen: one line per entry
// played, "file<TAB>first position<TAB>last position<TAB>first frame<TAB>last frame".
// Positions are in seconds from the movie's first picture, as start times are; frames are the
// numbers of the first and last picture shown (see FrameServer.h), "-" where nothing was
// numbered (sound only, addresses). In the file name a backslash, tab, line feed and carriage
// return are written \\, \t, \n and \r, other control characters \xHH.
#include <QString>
#include <vector>

class PlayReport
{
public:
    struct Line {
        QString hostPath;
        double firstPosition;
        double lastPosition;
        // Where the last picture shown lies: the last position, or just before the entry's
        // end when the sound played on to it.
        double lastPicture;
        int firstFrame = -1;
        int lastFrame = -1;
    };

    void Add(const QString& hostPath, double firstPosition, double lastPosition,
             double lastPicture);
    std::vector<Line>& Lines() { return m_lines; }
    // Written whole or not at all; false with error set when it cannot be.
    bool Save(const QString& hostPath, QString& error) const;

private:
    std::vector<Line> m_lines;
};
