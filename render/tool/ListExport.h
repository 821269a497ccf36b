#pragma once
// The tool's export: a show read from its file and written as a list of another program.
#include <iosfwd>
#include <string>

class ListExport
{
public:
    ListExport() = delete;

    // Returns the exit code: 0 done, 1 failed (said on errors); notes go to errors as well.
    static int Run(const std::string& format, const std::string& show, const std::string& out,
                   std::ostream& errors);
};
