#pragma once
// Inside the program every path is a Windows-style path with backslash separators
// (\home\ann\a.avi); the host spells it /home/ann/a.avi. These functions are the only place
// where one becomes the other.
#include "platform/core/CString.h"

#include <string>

// A program path as the host names it: backslashes become slashes.
std::string ToHostPath(const CString& programPath);
// A host path as the program names it; false when it cannot be represented (it holds a
// backslash, which the program would read as a separator).
bool FromHostPath(const std::string& hostPath, CString& programPath);
// A file as a message names it, for the user who knows files by their host names: the host
// path in quotes, or "the file" for an empty path.
std::string HostPathForMessage(const CString& programPath);
