#pragma once
// Opens a file for reading only when it is a regular file. It is opened without waiting for a
// writer, so that a pipe named like a file cannot hang the reader, and its kind is checked on
// what was opened, not on the name.
#include <QFile>
#include <QString>

class RegularFile
{
public:
    enum class Refusal { None, Unreadable, Folder, PipeOrDevice };

    // Opens hostPath into file; on Unreadable, reason holds the system's words.
    static Refusal Open(const QString& hostPath, QFile& file, QString& reason);
};
