// Any bytes as the settings file: the store reads them without a crash, the slots restored from
// them hold only catalogue actions, and a value written afterwards leaves every other readable
// value as it was (read again from the rewritten file by a fresh store). The write and the second
// read cost four times the first read in file work, so only one input in eight (picked by its
// bytes, so a crash replays) goes through them.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hotkeys/BriskoError.h"
#include "platform/linux/IniSettingsStore.h"
#include "storage/SlotSettings.h"

using namespace brisko;

namespace {

const std::string& Home() {
    static const std::string home = [] {
        std::string pattern =
            std::filesystem::temp_directory_path().string() + "/brisko-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        std::filesystem::create_directories(pattern + "/Orvalde");
        return pattern;
    }();
    static const struct Cleanup {
        ~Cleanup() {
            std::error_code ignored;
            std::filesystem::remove_all(home, ignored);
        }
    } cleanup;
    return home;
}

const std::vector<std::string>& Names() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all = {"Lang", "Style", "Path", "Willkommen", "FirstStart"};
        for (int n = 1; n <= kSlotCount; ++n) {
            for (const char* suffix : {"", "a", "b", "c", "aa"})
                all.push_back("F" + std::to_string(n) + suffix);
        }
        return all;
    }();
    return names;
}

// Every value that reads as a string; the others (wrong type) are left out.
std::map<std::string, std::string> Readable(SettingsStore& store) {
    std::map<std::string, std::string> values;
    SettingsKey key = OpenSettingsKey(store);
    for (const std::string& name : Names()) {
        try {
            if (key.exists(name))
                values[name] = key.read(name);
        } catch (const BriskoError&) {
        }
    }
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file = Home() + "/Orvalde/Brisko.ini";
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    std::map<std::string, std::string> before;
    bool written = false;
    std::size_t hash =
        std::hash<std::string_view>{}(std::string_view(reinterpret_cast<const char*>(data), size));
    const bool roundTrip = hash % 8 == 0;
    std::optional<IniSettingsStore> first;
    first.emplace(Home());
    before = Readable(*first);
    if (roundTrip) {
        IniSettingsStore& store = *first;
        try {
            SettingsKey key = OpenSettingsKey(store);
            key.write("Lang", "English");
            key.close();
            written = true;
        } catch (const BriskoError&) {
            // A file the store cannot read is never overwritten.
        }
        first.reset();
    }
    std::optional<IniSettingsStore> reread;
    if (roundTrip)
        reread.emplace(Home());
    IniSettingsStore& again = roundTrip ? *reread : *first;
    std::map<std::string, std::string> after = roundTrip ? Readable(again) : before;
    if (written) {
        before["Lang"] = "English";
        // A value of another type (a hand-edited @Variant number) may come back as its text;
        // every value that read as text must read the same.
        for (const auto& [name, value] : before) {
            const auto is = after.find(name);
            if (is == after.end() || is->second != value) {
                std::fprintf(stderr, "%s changed: '%s' -> '%s'\n", name.c_str(), value.c_str(),
                             is == after.end() ? "<none>" : is->second.c_str());
                std::abort();
            }
        }
    }

    SlotModel slots;
    try {
        StoredSlotSettings stored = ReadSlotSettings(again, slots);
        ApplySlotSettings(again, stored, slots, true);
    } catch (const BriskoError&) {
        return 0;
    }
    for (int n = 1; n <= kSlotCount; ++n) {
        if (slots.action(n) < -1 || slots.action(n) >= kActionCount)
            std::abort();
    }
    return 0;
}
