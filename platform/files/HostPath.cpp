#include "platform/files/HostPath.h"

#include <algorithm>

std::string ToHostPath(const CString& programPath)
{
    std::string host = programPath.Str();
    std::replace(host.begin(), host.end(), '\\', '/');
    return host;
}

bool FromHostPath(const std::string& hostPath, CString& programPath)
{
    if (hostPath.find('\\') != std::string::npos)
        return false;
    std::string program = hostPath;
    std::replace(program.begin(), program.end(), '/', '\\');
    programPath = CString(std::move(program));
    return true;
}

std::string HostPathForMessage(const CString& programPath)
{
    return programPath.IsEmpty() ? "the file" : "\"" + ToHostPath(programPath) + "\"";
}
