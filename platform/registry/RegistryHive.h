#pragma once
// The hives by the names that registry text gives them.
#include "platform/registry/WinReg.h"

#include <array>
#include <string>

struct RegistryHive {
    const char* name = nullptr;
    HKEY key = nullptr;

    // In the order the registry editor lists them.
    static const std::array<RegistryHive, 3>& All();
    // The hive and the subkey path of "HKEY_...\sub\key", the hive's name in any case; false
    // for an unknown hive.
    static bool Split(const std::string& path, RegistryHive& hive, std::string& subKey);
};
