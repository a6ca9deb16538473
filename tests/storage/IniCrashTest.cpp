// A process saving the slots is killed at random moments; the settings file must always hold
// one complete save: the last one reported finished, or the one in flight.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <random>
#include <set>

#include "SaveLoopSlots.h"
#include "platform/linux/IniSettingsStore.h"

using namespace brisko;
namespace fs = std::filesystem;

namespace {

// 200 in the suite; the long run (bench/long-runs) sets BRISKO_KILLS.
int Kills() {
    const char* value = std::getenv("BRISKO_KILLS");
    return value && std::atoi(value) > 0 ? std::atoi(value) : 200;
}

// The generation whose complete save the file holds; nothing for a file without slots.
// Fails the test when the values are not one consistent save.
std::optional<long> GenerationInFile(const std::string& home) {
    IniSettingsStore store(home);
    SettingsKey key(store, SettingsRoot::CurrentUser, kSettingsKeyPath, false);
    if (!key.isOpen() || key.read("F1").empty())
        return std::nullopt;
    auto value = [&](int n, const char* suffix) { return key.read(SlotKeyName(n) + suffix); };
    // The first slot's used value names the generation.
    std::string first = value(1, "") == "17" ? value(1, "c") : value(1, "a");
    long g = -1;
    if (std::sscanf(first.c_str(), "gen %ld", &g) != 1) {
        ADD_FAILURE() << "unreadable value " << first;
        return std::nullopt;
    }
    for (int n = 1; n <= kSlotCount; ++n) {
        int action = brisko::testing::GenerationAction(g, n);
        EXPECT_EQ(value(n, ""), std::to_string(action)) << "slot " << n << " gen " << g;
        std::string text = brisko::testing::GenerationText(g, n);
        if (action == 17) {
            EXPECT_EQ(value(n, "c"), text + "\r\nsecond line") << "slot " << n;
        } else {
            EXPECT_EQ(value(n, "a"), text) << "slot " << n;
            EXPECT_EQ(value(n, "aa"), std::to_string(1 + g % 3)) << "slot " << n;
        }
    }
    return g;
}

}  // namespace

TEST(IniStoreReliability, SaveKilledAtRandomMomentsLeavesOldOrNewValues) {
    std::string pattern = (fs::temp_directory_path() / "brisko-kill-XXXXXX").string();
    const std::string home = ::mkdtemp(pattern.data());
    const std::string scratch = home + "/tmp";
    fs::create_directories(scratch);

    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> delayUs(0, 20000);
    std::optional<long> inFile;
    int roundsWithSave = 0;
    long saves = 0;
    int caughtInFlight = 0;
    std::set<long> generations;

    const int kills = Kills();
    for (int round = 0; round < kills; ++round) {
        long start = inFile ? *inFile + 1 : 0;
        int out[2];
        ASSERT_EQ(::pipe(out), 0);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::dup2(out[1], 1);
            ::close(out[0]);
            ::close(out[1]);
            ::setenv("TMPDIR", scratch.c_str(), 1);
            std::string first = std::to_string(start);
            ::execl(BRISKO_SAVE_LOOP, BRISKO_SAVE_LOOP, home.c_str(), first.c_str(), nullptr);
            ::_exit(127);
        }
        ::close(out[1]);
        // Wait until the loop has finished its first save, so that every kill lands among
        // saves rather than in the start of the process.
        std::string reported;
        char buffer[4096];
        pollfd ready{out[0], POLLIN, 0};
        while (reported.find('\n') == std::string::npos && ::poll(&ready, 1, 5000) > 0) {
            ssize_t n = ::read(out[0], buffer, sizeof buffer);
            if (n <= 0)
                break;
            reported.append(buffer, static_cast<std::size_t>(n));
        }
        ::usleep(static_cast<useconds_t>(delayUs(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the save loop ended by itself: " << status;

        for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
            reported.append(buffer, n);
        ::close(out[0]);
        std::optional<long> finished;
        if (std::string::size_type end = reported.rfind('\n'); end != std::string::npos) {
            std::string::size_type begin = reported.rfind('\n', end - 1);
            begin = begin == std::string::npos ? 0 : begin + 1;
            finished = std::stol(reported.substr(begin, end - begin));
        }

        std::optional<long> now = GenerationInFile(home);
        if (finished)
            saves += *finished - start + 1;
        if (finished) {
            ++roundsWithSave;
            ASSERT_TRUE(now) << "round " << round << ": saved values lost";
            ASSERT_TRUE(*now == *finished || *now == *finished + 1)
                << "round " << round << ": file holds " << *now << ", last save " << *finished;
            if (*now == *finished + 1)
                ++caughtInFlight;
        } else if (inFile) {
            ASSERT_TRUE(now) << "round " << round << ": file lost its values";
            ASSERT_TRUE(*now == *inFile || *now == *inFile + 1) << "round " << round;
        }
        if (now)
            generations.insert(*now);
        inFile = now;
        if (::testing::Test::HasFailure())
            break;
    }
    std::cout << "[ figures  ] SIGKILL during saves: " << kills << " kills, " << roundsWithSave
              << " after at least one finished save, " << saves << " saves finished, "
              << caughtInFlight << " found the save in flight already complete, "
              << generations.size() << " distinct saves seen, highest generation "
              << (inFile ? *inFile : -1) << std::endl;
    // Temporary files of killed saves are cleared by the next save: at most those of the last
    // kill remain.
    auto count = [](const std::string& dir) {
        int entries = 0;
        for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir))
            ++entries;
        return entries;
    };
    EXPECT_LE(count(home + "/Orvalde"), 2) << "stale temporary files pile up";
    EXPECT_LE(count(scratch), 3) << "stale scratch files pile up";
    fs::remove_all(home);
}
