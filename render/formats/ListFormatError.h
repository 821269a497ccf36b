#pragma once
// Why a list could not be read, with the line or element where reading stopped.
#include <stdexcept>
#include <string>

class ListFormatError : public std::runtime_error
{
public:
    explicit ListFormatError(const std::string& what) : std::runtime_error(what) {}

    // "Line 12: <what>".
    static ListFormatError AtLine(long line, const std::string& what)
    {
        return ListFormatError("Line " + std::to_string(line) + ": " + what);
    }
};
