// Any Windows command line, split every way the process layer splits one.
#include "platform/process/CommandLine.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    for (const CommandLineHead& head : CommandLineHeads(line)) {
        // Every reading's rest lies inside the line.
        if (!head.rest.empty() && (head.rest.data() < line.data() || head.rest.end() > line.end()))
            std::abort();
    }
    CommandLineToArgv(line);
    return 0;
}
