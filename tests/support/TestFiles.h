#pragma once
// Small helpers for tests that check bytes on disk.
#include "platform/core/CString.h"

#include <string>

namespace testfiles
{
// A fresh host path inside the test folder; distinct on every call.
std::string NewPath(const std::string& name);
// The program (backslash) spelling of a host path.
CString Program(const std::string& hostPath);
std::string ReadBytes(const std::string& hostPath);
void WriteBytes(const std::string& hostPath, const std::string& bytes);
// Bytes from a string of hexadecimal pairs, spaces ignored: "01 00 FF".
std::string Hex(const std::string& pairs);
} // namespace testfiles
