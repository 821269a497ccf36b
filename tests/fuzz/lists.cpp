// Any file given to Import or Open as a playlist or edit list. A first byte below 0x10 picks
// a reader (the formats sniff nothing then); any other input goes to the reader its text looks
// like, so that lists as other programs write them are seeds as they are.
#include "render/formats/ImportContext.h"
#include "render/formats/ListFormatError.h"
#include "render/formats/ListFormats.h"
#include "render/formats/ListReader.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > (1u << 20))
        return 0;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto& readers = ListFormats::Readers();
    const ListReader* reader = nullptr;
    std::string error;
    if (!text.empty() && text[0] < 0x10) {
        reader = readers[std::size_t(text[0]) % readers.size()];
        text.remove_prefix(1);
    } else {
        reader = ListFormats::ForFile("list", text, error);
    }
    ImportContext context("/lists");
    try {
        if (reader)
            reader->Read(text, context);
    } catch (const ListFormatError&) {
    }
    return 0;
}
