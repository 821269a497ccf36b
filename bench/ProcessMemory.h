#pragma once
// This process's memory as the system counts it, in KiB: "VmRSS" resident now, "VmHWM" the
// peak so far.
#include <fstream>
#include <string>

inline double MemoryKiB(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0)
            return std::stod(line.substr(field.size() + 1));
    return 0;
}
