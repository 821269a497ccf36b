#pragma once
// The shell's knowledge of a document type. The registry gets the framework's entries under
// HKEY_CLASSES_ROOT (type id and name, default icon, open, print and print-to commands, the
// extension with its "ShellNew" entry unless another type owns it). The desktop gets the
// program's desktop entry and MIME type, the very files an installation puts in place, taken
// from the resources ":/linux/<name>.desktop" and ":/linux/<name>.xml", and its icon, under
// ${XDG_DATA_HOME:-~/.local/share}; each file is written only when its content differs, and the
// desktop's caches are refreshed only then. An installation whose entry the desktop finds
// serves on its own: nothing is written, so the desktop lists the program once.
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
        QString program;    // the binary's host path, for the entry's command
        QString iconSource; // the SVG artwork to install as the program's icon
    };

    // programPath: the binary as a program path. FALSE when a key could not be written.
    static BOOL RegisterFileType(const CDocTemplate& docTemplate, const CString& programPath,
                                 BOOL compat);
    // The host paths of the files it wrote (none when everything was already in place, the
    // program has no desktop entry, or an installed one serves).
    static QStringList RegisterDesktopType(const DesktopType& type);
    static QString DataHome();
};
