#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QSettings>
#include <QStringList>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "hotkeys/BriskoError.h"
#include "platform/linux/IniSettingsStore.h"
#include "storage/SlotSettings.h"

using namespace brisko;
namespace fs = std::filesystem;

namespace {

class IniStore : public ::testing::Test {
protected:
    IniStore() {
        std::string pattern = (fs::temp_directory_path() / "brisko-ini-test-XXXXXX").string();
        home_ = ::mkdtemp(pattern.data());
    }
    ~IniStore() override { fs::remove_all(home_); }

    std::string ini() const { return home_ + "/Orvalde/Brisko.ini"; }
    std::string read(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void writeIni(const std::string& text) {
        fs::create_directories(home_ + "/Orvalde");
        std::ofstream(ini(), std::ios::binary) << text;
    }
    static std::string ErrorOf(const std::function<void()>& f) {
        try {
            f();
        } catch (const BriskoError& e) {
            return e.what();
        }
        return "<no error>";
    }

    std::string home_;
};

}  // namespace

TEST_F(IniStore, ValuesRoundTripThroughAReadableIniFile) {
    const std::map<std::string, std::string> values = {
        {"F1a", "C:\\Programme\\a, b; c.exe"},
        {"F2a", "  leading and trailing  "},
        {"F3c", "Grüße\r\n\"zitiert\"\r\n@not a variant"},
        {"Style", "Luna"},
        {"Empty", ""},
    };
    {
        IniSettingsStore store(home_);
        SettingsKey key = OpenSettingsKey(store);
        for (const auto& [name, value] : values)
            key.write(name, value);
        EXPECT_FALSE(fs::exists(ini()) && read(ini()).find("Luna") != std::string::npos)
            << "written before the key was closed";
        key.close();
    }
    // Qt reads the same strings from the file.
    QSettings qt(QString::fromStdString(ini()), QSettings::IniFormat);
    for (const auto& [name, value] : values) {
        QVariant v = qt.value(QString::fromStdString(name));
        EXPECT_EQ(v.typeId(), QMetaType::QString) << name;
        EXPECT_EQ(v.toString().toStdString(), value) << name;
    }
    EXPECT_NE(read(ini()).find("Style=Luna"), std::string::npos);

    IniSettingsStore again(home_);
    SettingsKey key(again, SettingsRoot::CurrentUser, kSettingsKeyPathRelative, false);
    ASSERT_TRUE(key.isOpen());
    for (const auto& [name, value] : values)
        EXPECT_EQ(key.read(name), value) << name;
    EXPECT_EQ(key.read("Missing"), "");
    EXPECT_FALSE(key.exists("Missing"));
    EXPECT_TRUE(key.exists("Empty"));
    key.remove("Missing");  // no error
    key.remove("Style");
    key.close();
    EXPECT_EQ(read(ini()).find("Style"), std::string::npos);
    // Only the settings file remains in its folder: no temporary or lock files.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(home_ + "/Orvalde"))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST_F(IniStore, FreshHomeOpensOnlyWithCreation) {
    IniSettingsStore store(home_);
    SettingsKey without(store, SettingsRoot::CurrentUser, kSettingsKeyPath, false);
    EXPECT_FALSE(without.isOpen());
    EXPECT_EQ(without.read("Lang"), "");
    EXPECT_EQ(ErrorOf([&] { without.write("Lang", "German"); }),
              "Fehler beim Setzen der Daten für 'Lang'");
    SettingsKey with(store, SettingsRoot::CurrentUser, kSettingsKeyPath, true);
    EXPECT_TRUE(with.isOpen());
    EXPECT_TRUE(fs::exists(ini()));
    SettingsKey other(store, SettingsRoot::CurrentUser, "Software\\Other", true);
    EXPECT_FALSE(other.isOpen());
}

TEST_F(IniStore, HandEditedListIsAnotherTypeAndSurvivesWrites) {
    writeIni("[General]\nF1=2\nF1a=one, two\nF2a=@ByteArray(xyz)\n");
    IniSettingsStore store(home_);
    {
        SettingsKey key = OpenSettingsKey(store);
        EXPECT_EQ(key.read("F1"), "2");
        EXPECT_EQ(ErrorOf([&] { key.read("F1a"); }), "Ungültiger Datentyp für 'F1a'");
        EXPECT_EQ(ErrorOf([&] { key.read("F2a"); }), "Ungültiger Datentyp für 'F2a'");
        EXPECT_TRUE(key.exists("F1a"));
        key.write("F1", "8");
    }
    QSettings qt(QString::fromStdString(ini()), QSettings::IniFormat);
    EXPECT_EQ(qt.value("F1").toString(), "8");
    EXPECT_EQ(qt.value("F1a").toStringList(), QStringList({"one", "two"}));
}

TEST_F(IniStore, AHandEditedKeyWithSlashesNeverOverwritesTheRealOne) {
    writeIni("[General]\nLang/=x\n/Style//=y\nF1=2\n");
    {
        IniSettingsStore store(home_);
        SettingsKey key = OpenSettingsKey(store);
        key.write("Lang", "English");
        key.write("Style", "Luna");
    }
    IniSettingsStore again(home_);
    SettingsKey key = OpenSettingsKey(again);
    EXPECT_EQ(key.read("Lang"), "English");
    EXPECT_EQ(key.read("Style"), "Luna");
    EXPECT_EQ(key.read("F1"), "2");
}

TEST_F(IniStore, UnwritableFileOrFolderFailsTheWrite) {
    // The settings folder's place is taken by a file: nothing can be created.
    std::ofstream(home_ + "/Orvalde") << "in the way";
    {
        IniSettingsStore store(home_);
        SettingsKey key = OpenSettingsKey(store);
        EXPECT_FALSE(key.isOpen());
        EXPECT_EQ(ErrorOf([&] { key.write("F1", "0"); }), "Fehler beim Setzen der Daten für 'F1'");
        SlotModel model;
        EXPECT_EQ(ErrorOf([&] { SaveSlotSettings(store, model); }),
                  "Fehler beim Setzen der Daten für 'F1'");
    }
    // A settings file made read-only keeps its content, whoever runs the program.
    fs::remove(home_ + "/Orvalde");
    writeIni("[General]\nStyle=Luna\n");
    fs::permissions(ini(), fs::perms::owner_read | fs::perms::group_read);
    {
        IniSettingsStore store(home_);
        SettingsKey key = OpenSettingsKey(store);
        EXPECT_EQ(key.read("Style"), "Luna");
        EXPECT_EQ(ErrorOf([&] { key.write("Style", "Blue"); }),
                  "Fehler beim Setzen der Daten für 'Style'");
    }
    EXPECT_EQ(read(ini()), "[General]\nStyle=Luna\n");
    // The settings file's place is taken by a folder.
    fs::remove_all(home_ + "/Orvalde");
    fs::create_directories(ini());
    IniSettingsStore store(home_);
    SettingsKey key = OpenSettingsKey(store);
    EXPECT_EQ(key.read("F1"), "");
    EXPECT_EQ(ErrorOf([&] { key.write("Style", "Blue"); }),
              "Fehler beim Setzen der Daten für 'Style'");
}

TEST_F(IniStore, WorksWithoutAUsableTemporaryFolder) {
    writeIni("[General]\nLang=English\n");
    const char* old = std::getenv("TMPDIR");
    std::string saved = old ? old : "";
    ::setenv("TMPDIR", (home_ + "/no/such/folder").c_str(), 1);
    {
        IniSettingsStore store(home_);
        SettingsKey key = OpenSettingsKey(store);
        EXPECT_EQ(key.read("Lang"), "English");
        key.write("Style", "Win95");
        key.close();
    }
    old ? ::setenv("TMPDIR", saved.c_str(), 1) : ::unsetenv("TMPDIR");
    EXPECT_NE(read(ini()).find("Lang=English"), std::string::npos);
    EXPECT_NE(read(ini()).find("Style=Win95"), std::string::npos);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(home_ + "/Orvalde"))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST_F(IniStore, ChangesByOthersAreSeenAtTheNextOpen) {
    IniSettingsStore store(home_);
    {
        SettingsKey key = OpenSettingsKey(store);
        key.write("Lang", "German");
    }
    IniSettingsStore editor(home_);
    {
        SettingsKey key = OpenSettingsKey(editor);
        key.write("Lang", "English");
    }
    SettingsKey key = OpenSettingsKey(store);
    EXPECT_EQ(key.read("Lang"), "English");
}

TEST_F(IniStore, SlotsSurviveARestartThroughTheFile) {
    SlotModel saved;
    saved.setAction(1, 2);
    saved.setProgramPath(1, "/usr/bin/gimp");
    saved.setShowMode(1, "3");
    saved.setAction(10, 17);
    saved.setInsertText(10, "eins\nzwei");
    {
        IniSettingsStore store(home_);
        SaveSlotSettings(store, saved);
    }
    IniSettingsStore store(home_);
    SlotModel loaded;
    StoredSlotSettings stored = ReadSlotSettings(store, loaded);
    ApplyStoredInsertTexts(stored, loaded);
    EXPECT_EQ(loaded.action(1), 2);
    EXPECT_EQ(loaded.programPath(1), "/usr/bin/gimp");
    EXPECT_EQ(loaded.showMode(1), "3");
    EXPECT_EQ(loaded.insertText(10), "eins\nzwei");
    QSettings qt(QString::fromStdString(ini()), QSettings::IniFormat);
    EXPECT_EQ(qt.value("F10c").toString(), "eins\r\nzwei");
}

TEST_F(IniStore, ReadOnlySettingsFileStillRestoresTheSlots) {
    const std::string text =
        "[General]\nF1=2\nF1a=/usr/bin/gimp\nF1aa=3\nF4=0\nF4a=left over\nF5=17\nF5c=text\n";
    writeIni(text);
    fs::permissions(ini(), fs::perms::owner_read | fs::perms::group_read);
    IniSettingsStore store(home_);
    SlotModel model;
    StoredSlotSettings stored;
    ASSERT_NO_THROW(stored = ReadSlotSettings(store, model));
    ApplyStoredInsertTexts(stored, model);
    ASSERT_NO_THROW(ApplySlotSettings(store, stored, model, true));
    EXPECT_EQ(model.action(1), 2);
    EXPECT_EQ(model.programPath(1), "/usr/bin/gimp");
    EXPECT_EQ(model.insertText(5), "text");
    // The clean-up could not be stored, so the value is still there, in memory as on disk.
    EXPECT_TRUE(OpenSettingsKey(store).exists("F4a"));
    EXPECT_EQ(read(ini()), text);
}

TEST_F(IniStore, RunKeyIsTheUserAutostartEntry) {
    IniSettingsStore store(home_);
    const std::string desktop = home_ + "/autostart/BRZ.desktop";
    {
        SettingsKey test(store, SettingsRoot::LocalMachine, kRunKeyPath, false);
        EXPECT_FALSE(test.exists(kRunValueName));
        test.remove(kRunValueName);  // nothing to delete, no error
    }
    const std::string command = "/opt/my apps/$HOME/BRZ -autostart";
    {
        SettingsKey run(store, SettingsRoot::LocalMachine, kRunKeyPath, true);
        ASSERT_TRUE(run.isOpen());
        run.write(kRunValueName, command);
    }
    ASSERT_TRUE(fs::exists(desktop));
    std::string entry = read(desktop);
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos);
    // Quoted as one argument, with the desktop entry's escapes.
    EXPECT_NE(entry.find("\nExec=\"/opt/my apps/\\\\$HOME/BRZ\" -autostart\n"), std::string::npos)
        << entry;
    SettingsKey test(store, SettingsRoot::LocalMachine, "\\" + std::string(kRunKeyPath), false);
    EXPECT_TRUE(test.exists(kRunValueName));
    EXPECT_EQ(test.read(kRunValueName), command);
    test.remove(kRunValueName);
    EXPECT_FALSE(fs::exists(desktop));
    EXPECT_FALSE(test.exists(kRunValueName));
}

namespace brisko {
namespace {

// The file holds the insert texts: only the user may read it, and a stricter mode stays.
TEST_F(IniStore, TheFileIsTheUsersAlone) {
    auto save = [this](const std::string& value) {
        IniSettingsStore store(home_);
        SettingsKey key = OpenSettingsKey(store);
        key.write("F1c", value);
        key.close();
    };
    const mode_t oldMask = ::umask(0);
    save("geheim");
    ::umask(oldMask);
    EXPECT_EQ(fs::status(ini()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(ini(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    save("noch geheimer");
    EXPECT_EQ(fs::status(ini()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write)
        << "a wider mode is narrowed";
}

}  // namespace
}  // namespace brisko
