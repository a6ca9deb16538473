// Saves the slots through the INI store in an endless loop, each round a new generation, and
// reports every finished save on stdout. Killed by the reliability test at random moments.
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "SaveLoopSlots.h"
#include "platform/linux/IniSettingsStore.h"
#include "storage/SlotSettings.h"

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    brisko::IniSettingsStore store(argv[1]);
    for (long generation = std::atol(argv[2]);; ++generation) {
        brisko::SlotModel slots;
        brisko::testing::FillGeneration(slots, generation);
        brisko::SaveSlotSettings(store, slots);
        std::string line = std::to_string(generation) + "\n";
        if (::write(1, line.data(), line.size()) < 0)
            return 1;
    }
}
