// reelmix-registry: shows, backs up and restores the settings store as REGEDIT4 text.
#include "platform/registry/RegistryStore.h"
#include "platform/registry/RegistryText.h"

#include <QSaveFile>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace
{

// Far beyond any settings file; keeps a wrong file name from filling memory.
constexpr std::size_t kMaxImportSize = 64 << 20;

int Usage(std::ostream& out, int code)
{
    out << "usage: reelmix-registry list [KEY]\n"
           "       reelmix-registry export FILE [KEY]\n"
           "       reelmix-registry import FILE\n"
           "KEY is a hive name with an optional path, e.g. "
           "'HKEY_CURRENT_USER\\Software\\Brantwell\\Reelmix'.\n"
           "The store is "
        << RegistryStore::ForProcess().Path() << " ($REELMIX_REGISTRY when set).\n";
    return code;
}

int Fail(const std::string& message)
{
    std::cerr << "reelmix-registry: " << message << "\n";
    return 1;
}

bool WriteAtomically(const std::string& path, const std::string& text)
{
    QSaveFile file(QString::fromStdString(path));
    return file.open(QIODevice::WriteOnly) &&
           file.write(text.data(), qint64(text.size())) == qint64(text.size()) && file.commit();
}

int List(const std::string& key)
{
    std::string text;
    std::string error;
    if (!RegistryText::Export(key, text, error))
        return Fail(error);
    std::cout << text;
    return 0;
}

int Export(const std::string& path, const std::string& key)
{
    std::string text;
    std::string error;
    if (!RegistryText::Export(key, text, error))
        return Fail(error);
    if (!WriteAtomically(path, text))
        return Fail("cannot write " + path);
    return 0;
}

// Reads piece by piece, so that the limit holds for pipes and devices as well as for files.
int Import(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string text;
    // A file's size known beforehand spares the text the doubling of a growing string.
    std::error_code sizeError;
    if (const auto size = std::filesystem::file_size(path, sizeError); !sizeError)
        text.reserve(std::min<std::uintmax_t>(size, kMaxImportSize) + 1);
    std::vector<char> buffer(1 << 16);
    while (in && text.size() <= kMaxImportSize) {
        in.read(buffer.data(), std::streamsize(buffer.size()));
        text.append(buffer.data(), std::size_t(in.gcount()));
    }
    if (text.size() > kMaxImportSize)
        return Fail(path + " is too large for a settings file");
    if (!in.eof())
        return Fail("cannot read " + path);
    std::string error;
    if (!RegistryText::Import(text, error))
        return Fail(path + ": " + error + "; nothing was imported");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "--help" && argc == 2)
        return Usage(std::cout, 0);
    if (command == "list" && argc <= 3)
        return List(argc > 2 ? argv[2] : "");
    if (command == "export" && (argc == 3 || argc == 4))
        return Export(argv[2], argc > 3 ? argv[3] : "");
    if (command == "import" && argc == 3)
        return Import(argv[2]);
    return Usage(std::cerr, 2);
}
