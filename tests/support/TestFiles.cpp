#include "tests/support/TestFiles.h"

#include "platform/files/HostPath.h"
#include "tests/support/TestEnv.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace testfiles
{

std::string NewPath(const std::string& name)
{
    static int counter = 0;
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

} // namespace testfiles
