#pragma once
// Small helpers for tests that check bytes on disk.
#include "platform/core/CString.h"

#include <QStringList>
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
// ffmpeg's input of a test picture of seconds at 160x120, 25 a second (in an .avi, ffmpeg's
// default codec makes it MPEG-4 video).
QStringList TestPicture(double seconds);
// Makes hostPath with ffmpeg from arguments (inputs, codecs); false, failing the test, when
// ffmpeg fails.
bool MakeMovieAt(const std::string& hostPath, const QStringList& arguments);
// A movie made so under a fresh path; empty when ffmpeg fails.
std::string MakeMovie(const std::string& name, const QStringList& arguments);
} // namespace testfiles
