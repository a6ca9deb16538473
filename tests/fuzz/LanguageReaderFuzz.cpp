// Any bytes give 106 lines of well-formed UTF-8 without line breaks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "storage/LanguageFile.h"
#include "storage/TextFile.h"

using namespace brisko;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    LanguageLines lines = ParseLanguageFile(bytes);
    for (const std::string& line : lines) {
        if (line.find_first_of("\r\n\x1A") != std::string::npos)
            std::abort();
        if (!IsValidUtf8(line))
            std::abort();
    }
    return 0;
}
