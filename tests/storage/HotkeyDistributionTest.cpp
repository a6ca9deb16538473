#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "hotkeys/BriskoError.h"
#include "storage/HotkeyDistribution.h"
#include "storage/TextFile.h"

using namespace brisko;
namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "brisko-hkv-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(path_); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

void WriteRaw(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const BriskoError& e) {
        return e.what();
    }
    return "<no error>";
}

SlotModel AllFree() {
    SlotModel slots;
    slots.deleteAll();
    return slots;
}

}  // namespace

TEST(HotkeyDistribution, FreeSlotsGiveElevenZeroLines) {
    std::string expected;
    for (int i = 0; i < 11; ++i)
        expected += "0\r\n";
    EXPECT_EQ(FormatHotkeyDistribution(AllFree()), expected);
}

TEST(HotkeyDistribution, RecordsFollowTheActions) {
    SlotModel slots = AllFree();
    slots.setAction(1, 2);
    slots.setProgramPath(1, "/usr/bin/gimp");
    slots.setAction(2, 18);
    slots.setWebAddress(2, "example.org");
    slots.setAction(3, 17);
    slots.setInsertText(3, "not in the file");
    slots.setAction(4, -1);
    slots.setAction(5, 18);
    slots.setWebAddress(5, "a\x1A\r\nb");  // nothing that would end the line or the file
    EXPECT_EQ(
        FormatHotkeyDistribution(slots),
        "2\r\n/usr/bin/gimp\r\n18\r\nexample.org\r\n17\r\n-1\r\n18\r\nab\r\n0\r\n0\r\n0\r\n0\r\n"
        "0\r\n0\r\n");
}

TEST(HotkeyDistribution, SaveThenLoadReproducesActionsPathsAndAddresses) {
    TempDir dir;
    SlotModel saved = AllFree();
    saved.setAction(1, 2);
    saved.setProgramPath(1, "/home/jörg/Mein Programm");
    saved.setAction(2, 18);
    saved.setWebAddress(2, "https://example.org/?q=a,b");
    saved.setAction(6, 17);
    saved.setAction(11, -1);
    std::string path = dir.file("mine.hkv");
    SaveHotkeyDistribution(path, saved);
    // Written single-byte: the umlaut is one byte.
    EXPECT_NE(ReadFileBytes(path).find("j\xF6rg"), std::string::npos);

    SlotModel loaded;
    loaded.setShowMode(1, "2");
    loaded.setWebAddress(1, "kept");
    loaded.setProgramPath(2, "kept too");
    loaded.setInsertText(6, "kept text");
    LoadHotkeyDistribution(path, loaded);
    for (int n = 1; n <= kSlotCount; ++n)
        EXPECT_EQ(loaded.action(n), saved.action(n)) << n;
    EXPECT_EQ(loaded.programPath(1), "/home/jörg/Mein Programm");
    EXPECT_EQ(loaded.webAddress(2), "https://example.org/?q=a,b");
    EXPECT_EQ(loaded.showMode(1), "2");
    EXPECT_EQ(loaded.webAddress(1), "kept");
    EXPECT_EQ(loaded.programPath(2), "kept too");
    EXPECT_EQ(loaded.insertText(6), "kept text");
}

TEST(HotkeyDistribution, TextWithoutASingleByteFormIsWrittenAsUtf8AndReadBack) {
    TempDir dir;
    SlotModel saved = AllFree();
    saved.setAction(3, 2);
    saved.setProgramPath(3, "/home/иван/программа");
    saved.setAction(4, 2);
    saved.setProgramPath(4, "/Ã¤");  // single-byte form that would read back as UTF-8
    std::string path = dir.file("cyr.hkv");
    SaveHotkeyDistribution(path, saved);
    SlotModel loaded;
    LoadHotkeyDistribution(path, loaded);
    EXPECT_EQ(loaded.programPath(3), "/home/иван/программа");
    EXPECT_EQ(loaded.programPath(4), "/Ã¤");
}

TEST(HotkeyDistribution, LineRulesOfTheReader) {
    SlotModel slots = AllFree();
    // LF only, a lone CR inside the path, CR LF mixed in; Ctrl+Z ends the file.
    ReadHotkeyDistribution("2\n/bin/a\rb\n18\r\nx.org\n3\n4\n5\n6\n8\n9\n10\n11\n12\x1AGARBAGE",
                           slots);
    EXPECT_EQ(slots.action(1), 2);
    EXPECT_EQ(slots.programPath(1), "/bin/ab");
    EXPECT_EQ(slots.webAddress(2), "x.org");
    EXPECT_EQ(slots.action(11), 12);

    // Windows-1252 file from the old program.
    SlotModel old = AllFree();
    ReadHotkeyDistribution(
        "2\r\nC:\\Programme\\M\xFCller.exe\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"
        "0\r\n0\r\n0\r\n",
        old);
    EXPECT_EQ(old.programPath(1), "C:\\Programme\\Müller.exe");
}

TEST(HotkeyDistribution, IndexLinesAreTestedAsText) {
    SlotModel slots = AllFree();
    slots.setProgramPath(1, "old");
    // "02" selects action 2 but consumes no path line; "25" selects nothing.
    ReadHotkeyDistribution("02\r\n25\r\n2\r\n/p\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n",
                           slots);
    EXPECT_EQ(slots.action(1), 2);
    EXPECT_EQ(slots.programPath(1), "old");
    EXPECT_EQ(slots.action(2), kNoAction);
    EXPECT_EQ(slots.action(3), 2);
    EXPECT_EQ(slots.programPath(3), "/p");
}

TEST(HotkeyDistribution, ShortOrBrokenFileStopsAtTheFirstBadIndex) {
    SlotModel slots;
    for (int n = 1; n <= kSlotCount; ++n)
        slots.setAction(n, 8);
    std::string error = ErrorOf([&] { ReadHotkeyDistribution("1\r\n4\r\n18\r\n", slots); });
    // The address line is missing (empty), then slot 4's index line is missing.
    EXPECT_EQ(error, "'' ist kein gültiger Integerwert");
    EXPECT_EQ(slots.action(1), 1);
    EXPECT_EQ(slots.action(3), 18);
    EXPECT_EQ(slots.webAddress(3), "");
    EXPECT_EQ(slots.action(4), 8);
    EXPECT_EQ(slots.action(11), 8);

    error = ErrorOf([&] { ReadHotkeyDistribution("0\r\nvier\r\n", slots); });
    EXPECT_EQ(error, "'vier' ist kein gültiger Integerwert");
    EXPECT_EQ(slots.action(1), 0);
    EXPECT_EQ(slots.action(2), 4);  // unchanged
}

TEST(HotkeyDistribution, FileErrorsCarryTheirMessages) {
    TempDir dir;
    SlotModel slots = AllFree();
    EXPECT_EQ(ErrorOf([&] { LoadHotkeyDistribution(dir.file("none.hkv"), slots); }),
              "Datei nicht gefunden");
    EXPECT_EQ(ErrorOf([&] { LoadHotkeyDistribution(dir.file("no/such/dir.hkv"), slots); }),
              "Ungültiger Dateiname");
    EXPECT_EQ(ErrorOf([&] { LoadHotkeyDistribution("", slots); }), "Ungültiger Dateiname");
    fs::create_directory(dir.file("folder.hkv"));
    EXPECT_EQ(ErrorOf([&] { SaveHotkeyDistribution(dir.file("folder.hkv"), slots); }),
              "Dateizugriff verweigert");
    EXPECT_EQ(ErrorOf([&] { SaveHotkeyDistribution(dir.file("missing/x.hkv"), slots); }),
              "Ungültiger Dateiname");
    EXPECT_EQ(FileErrorMessage(ENOSPC), "Zu wenig Speicherplatz");
    EXPECT_EQ(FileErrorMessage(EIO), "E/A-Fehler 5");
    // A pipe is never replaced by a file.
    std::string fifo = dir.file("pipe.hkv");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ErrorOf([&] { SaveHotkeyDistribution(fifo, slots); }), "Dateizugriff verweigert");
    EXPECT_TRUE(fs::is_fifo(fifo));
    // Loading one does not wait for a writer that never comes.
    EXPECT_EQ(ErrorOf([&] { LoadHotkeyDistribution(fifo, slots); }), "Dateizugriff verweigert");
    EXPECT_EQ(ErrorOf([&] { LoadHotkeyDistribution(dir.file("folder.hkv"), slots); }),
              "Dateizugriff verweigert");
    // A read-only file is refused and kept, whoever runs the program.
    std::string locked = dir.file("locked.hkv");
    WriteRaw(locked, "18\r\n");
    ::chmod(locked.c_str(), 0444);
    EXPECT_EQ(ErrorOf([&] { SaveHotkeyDistribution(locked, slots); }), "Dateizugriff verweigert");
    EXPECT_EQ(ReadFileBytes(locked), "18\r\n");
}

TEST(HotkeyDistribution, SaveReplacesAtomicallyAndKeepsPermissions) {
    TempDir dir;
    std::string path = dir.file("keep.hkv");
    WriteRaw(path, "old content");
    ::chmod(path.c_str(), 0640);
    SaveHotkeyDistribution(path, AllFree());
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(ReadFileBytes(path).substr(0, 3), "0\r\n");
    // Through a symbolic link the target file is replaced, the link stays.
    std::string link = dir.file("link.hkv");
    fs::create_symlink(path, link);
    SlotModel one = AllFree();
    one.setAction(1, 5);
    SaveHotkeyDistribution(link, one);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFileBytes(path).substr(0, 3), "5\r\n");
    // No temporary files are left behind.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.file("")))
        ++entries;
    EXPECT_EQ(entries, 2);
}

TEST(HotkeyDistribution, OnlyTheStartOfAHugeFileIsRead) {
    TempDir dir;
    std::string path = dir.file("huge.hkv");
    {
        std::ofstream out(path, std::ios::binary);
        out << "18\r\nexample.org\r\n";
        std::string filler(1 << 20, 'x');
        for (int i = 0; i < 20; ++i)
            out << filler << "\r\n";
    }
    EXPECT_LE(ReadTextFileStart(path, 3u << 20).size(), 3u << 20);
    EXPECT_EQ(ReadTextFileStart(path, 3u << 20).substr(0, 15), "18\r\nexample.org");
    SlotModel slots = AllFree();
    EXPECT_EQ(ErrorOf([&] { LoadHotkeyDistribution(path, slots); }).substr(0, 4), "'xxx");
    EXPECT_EQ(slots.webAddress(1), "example.org");
}

TEST(HotkeyDistribution, DeleteAllKeepsShowModesAndTexts) {
    SlotModel slots;
    slots.setAction(2, 2);
    slots.setProgramPath(2, "/x");
    slots.setShowMode(2, "3");
    slots.setWebAddress(5, "y");
    slots.setInsertText(7, "text");
    DeleteAllHotkeys(slots);
    for (int n = 1; n <= kSlotCount; ++n) {
        EXPECT_EQ(slots.action(n), 0);
        EXPECT_EQ(slots.programPath(n), "");
        EXPECT_EQ(slots.webAddress(n), "");
    }
    EXPECT_EQ(slots.showMode(2), "3");
    EXPECT_EQ(slots.insertText(7), "text");
}
