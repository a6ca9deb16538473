// Any bytes given to the .hkv reader either load or raise the conversion error; a loaded
// distribution written out (in the bytes a save writes) and read again gives the same slots.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "hotkeys/BriskoError.h"
#include "storage/HotkeyDistribution.h"
#include "storage/TextFile.h"

using namespace brisko;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    SlotModel slots;
    try {
        ReadHotkeyDistribution(bytes, slots);
    } catch (const BriskoError&) {
        return 0;
    }
    SlotModel again;
    ReadHotkeyDistribution(EncodeFileText(FormatHotkeyDistribution(slots)), again);
    for (int n = 1; n <= kSlotCount; ++n) {
        if (again.action(n) != slots.action(n))
            std::abort();
        if (slots.action(n) == 2 && again.programPath(n) != slots.programPath(n))
            std::abort();
        if (slots.action(n) == 18 && again.webAddress(n) != slots.webAddress(n))
            std::abort();
    }
    return 0;
}
