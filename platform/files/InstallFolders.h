#pragma once
// The folders of an installed program, found from where its own binary lies, so that an
// installation keeps working wherever it is put as a whole (an unpacked package included).
// Host paths; they need not exist, as a program run from its build folder is not installed.
#include <QString>

class InstallFolders
{
public:
    InstallFolders() = delete;

    // <prefix>/libexec/reelmix: the programs that only the program itself starts.
    static QString Helpers();
    // <prefix>/share: desktop entries, MIME types and icons.
    static QString Data();
};
