#pragma once
// The shell's knowledge of a document type. The registry gets the framework's entries under
// HKEY_CLASSES_ROOT (type id and name, default icon, open, print and print-to commands, the
// extension with its "ShellNew" entry unless another type owns it). The desktop gets a
// freedesktop MIME type, a .desktop entry that opens such files with the program, and the
// program's icon, under ${XDG_DATA_HOME:-~/.local/share}; each file is written only when its
// content differs, and the desktop's caches are refreshed only then.
#include "platform/core/CString.h"

#include <QString>
#include <QStringList>

class CDocTemplate;

class ShellRegistration
{
public:
    ShellRegistration() = delete;

    struct DesktopType {
        QString name;       // the program's short name: file names and icon name ("reelmix")
        QString title;      // the program's title ("Reelmix")
        QString mimeType;   // "application/x-reelmix-show"
        QString comment;    // the type's name ("Reelmix Document")
        QString extension;  // ".rlx"
        QString program;    // the binary's host path
        QString iconSource; // the SVG artwork to install as the program's icon
    };

    // programPath: the binary as a program path. FALSE when a key could not be written.
    static BOOL RegisterFileType(const CDocTemplate& docTemplate, const CString& programPath,
                                 BOOL compat);
    // The host paths of the files it wrote (none when everything was already in place).
    static QStringList RegisterDesktopType(const DesktopType& type);
    static QString DataHome();
};
