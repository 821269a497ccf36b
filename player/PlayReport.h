#pragma once
// What a show actually played, for checking a player without a screen: one line per entry
// played, "file<TAB>first position<TAB>last position", positions in seconds. In the file name a
// backslash, tab, line feed and carriage return are written \\, \t, \n and \r, other control
// characters \xHH.
#include <QString>
#include <QStringList>

class PlayReport
{
public:
    void Add(const QString& hostPath, double firstPosition, double lastPosition);
    // Written whole or not at all; false with error set when it cannot be.
    bool Save(const QString& hostPath, QString& error) const;

private:
    QStringList m_lines;
};
