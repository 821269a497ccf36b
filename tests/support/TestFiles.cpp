#include "tests/support/TestFiles.h"

#include "platform/files/HostPath.h"
#include "tests/support/TestEnv.h"
#include "tests/support/TestPrograms.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <sstream>

namespace testfiles
{

std::string NewPath(const std::string& name)
{
    static std::atomic<int> counter{0}; // tests run programs from several threads at once
    return TestEnv::Folder().toStdString() + "/" + std::to_string(++counter) + "-" + name;
}

CString Program(const std::string& hostPath)
{
    CString path;
    FromHostPath(hostPath, path);
    return path;
}

std::string ReadBytes(const std::string& hostPath)
{
    std::ifstream in(hostPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& hostPath, const std::string& bytes)
{
    std::ofstream(hostPath, std::ios::binary) << bytes;
}

std::string Hex(const std::string& pairs)
{
    std::string bytes;
    std::istringstream in(pairs);
    std::string pair;
    while (in >> pair)
        bytes += char(std::stoi(pair, nullptr, 16));
    return bytes;
}

QStringList TestPicture(double seconds)
{
    return {"-f", "lavfi", "-i", QString("testsrc=duration=%1:size=160x120:rate=25").arg(seconds)};
}

bool MakeMovieAt(const std::string& hostPath, const QStringList& arguments)
{
    const testprograms::Run ffmpeg =
        testprograms::RunProgram("ffmpeg",
                                 QStringList{"-loglevel", "error", "-y"} + arguments +
                                     QStringList{QString::fromStdString(hostPath)},
                                 60000);
    EXPECT_EQ(ffmpeg.exitCode, 0) << "ffmpeg could not make " << hostPath << ": "
                                  << ffmpeg.errors.toStdString();
    return ffmpeg.exitCode == 0;
}

std::string MakeMovie(const std::string& name, const QStringList& arguments)
{
    const std::string path = NewPath(name);
    return MakeMovieAt(path, arguments) ? path : std::string();
}

} // namespace testfiles
