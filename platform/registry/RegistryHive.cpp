#include "platform/registry/RegistryHive.h"

#include <strings.h>

const std::array<RegistryHive, 3>& RegistryHive::All()
{
    static const std::array<RegistryHive, 3> hives = {{{"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
                                                       {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
                                                       {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}}};
    return hives;
}

bool RegistryHive::Split(const std::string& path, RegistryHive& hive, std::string& subKey)
{
    const std::size_t slash = path.find('\\');
    const std::string hiveName = path.substr(0, slash);
    subKey = slash == std::string::npos ? std::string() : path.substr(slash + 1);
    for (const RegistryHive& candidate : All()) {
        if (strcasecmp(candidate.name, hiveName.c_str()) == 0) {
            hive = candidate;
            return true;
        }
    }
    return false;
}
