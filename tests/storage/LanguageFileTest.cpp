#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "storage/LanguageFile.h"
#include "storage/TextFile.h"

using namespace brisko;

namespace {

std::string Lines(int count, const std::string& eol = "\r\n") {
    std::string text;
    for (int k = 1; k <= count; ++k)
        text += "line " + std::to_string(k) + eol;
    return text;
}

std::string DataFile(const std::string& name) {
    return ReadFileBytes(JoinPath(BRISKO_SOURCE_DATA_DIR, name));
}

}  // namespace

TEST(LanguageFile, ShortLongAndOddlyEndedFiles) {
    LanguageLines short57 = ParseLanguageFile(Lines(57));
    EXPECT_EQ(short57[0], "line 1");
    EXPECT_EQ(short57[56], "line 57");
    for (int k = 58; k <= kLanguageLineCount; ++k)
        EXPECT_EQ(short57[k - 1], "") << k;

    LanguageLines long200 = ParseLanguageFile(Lines(200, "\n"));
    EXPECT_EQ(long200[105], "line 106");

    // A lone CR is dropped, blanks are kept, Ctrl+Z ends the file.
    LanguageLines odd = ParseLanguageFile(
        "  &Datei \r\nHot\rKey\n\x1A"
        "line 3\r\n");
    EXPECT_EQ(odd[0], "  &Datei ");
    EXPECT_EQ(odd[1], "HotKey");
    EXPECT_EQ(odd[2], "");

    // Single-byte and UTF-8 files give the same text.
    EXPECT_EQ(ParseLanguageFile("L\xF6schen\r\n")[0], "Löschen");
    EXPECT_EQ(ParseLanguageFile("\xEF\xBB\xBFL\xC3\xB6schen\r\n")[0], "Löschen");
}

// The texts added after the fixed lines: a file of the old form keeps them German, and lines
// that do not name one of them change nothing.
TEST(LanguageFile, ExtraTextsAfterTheFixedLinesAreOptional) {
    const LanguageLines old = ParseLanguageFile(Lines(106));
    EXPECT_EQ(old[105], "line 106");
    for (int i = 0; i < kExtraTextCount; ++i)
        EXPECT_EQ(old.extras[static_cast<ExtraText>(i)],
                  GermanExtraText(static_cast<ExtraText>(i)));

    const LanguageLines lines = ParseLanguageFile(
        "KeyHeld=not read: a fixed line\r\n" + Lines(104) +
        "KeyRefused=too early\r\nKeyHeld=%1 is held\r\nKeyRefused\r\nKeyNoTrigger=\r\n"
        "keyrefused=case matters\r\n=\r\nUnknown=x\r\nKeyNoService=a=b\r\n");
    EXPECT_EQ(lines[0], "KeyHeld=not read: a fixed line");
    EXPECT_EQ(lines[105], "KeyRefused=too early");
    EXPECT_EQ(lines.extras[ExtraText::KeyHeld], "%1 is held");
    EXPECT_EQ(lines.extras[ExtraText::KeyRefused], GermanExtraText(ExtraText::KeyRefused));
    EXPECT_EQ(lines.extras[ExtraText::KeyNoTrigger], GermanExtraText(ExtraText::KeyNoTrigger));
    EXPECT_EQ(lines.extras[ExtraText::KeyNoService], "a=b");
}

TEST(LanguageFile, MissingFileGivesNothingAndTheMessageNamesIt) {
    EXPECT_FALSE(ReadLanguageFile("/nonexistent/English.lang"));
    EXPECT_EQ(LanguageFileErrorMessage(LanguageFileName("English")),
              "Fehler beim Laden der Sprachdatei \"English.lang\".");
    EXPECT_EQ(LanguageFileName("German"), "German.lang");
    EXPECT_EQ(LanguageFileName("english"), "");
    EXPECT_EQ(LanguageListItem("English"), 1);
    EXPECT_EQ(LanguageListItem("French"), -1);
    EXPECT_EQ(LanguageValueForItem(0), "German");
    EXPECT_EQ(LanguageValueForItem(-1), "");
}

TEST(LanguageFile, JoinPathPutsExactlyOneSeparator) {
    EXPECT_EQ(JoinPath("/opt/brisko", ""), "/opt/brisko/");
    EXPECT_EQ(JoinPath("/opt/brisko/", ""), "/opt/brisko/");
    EXPECT_EQ(JoinPath("/opt/brisko", "German.lang"), "/opt/brisko/German.lang");
    EXPECT_EQ(JoinPath("/opt/brisko/", "German.lang"), "/opt/brisko/German.lang");
    EXPECT_EQ(JoinPath(JoinPath("/opt/brisko", ""), "English.lang"), "/opt/brisko/English.lang");
}

TEST(LanguageTable, TargetsOfTheLines) {
    const auto& table = LanguageTable();
    ASSERT_EQ(table.size(), static_cast<std::size_t>(kLanguageLineCount));
    for (int k = 1; k <= kLanguageLineCount; ++k)
        EXPECT_EQ(table[k - 1].number, k);

    auto line = [&](int k) -> const LanguageLine& { return table[k - 1]; };
    for (int unused : {16, 17, 23, 27, 93, 99})
        EXPECT_TRUE(line(unused).targets.empty());
    for (int k = 0; k < 22; ++k) {
        ASSERT_EQ(line(36 + k).targets.size(), 1u);
        EXPECT_EQ(line(36 + k).targets[0].kind, LanguageTargetKind::ActionEntry);
        EXPECT_EQ(line(36 + k).targets[0].index, k);
    }
    EXPECT_EQ(line(36).german, "(Nichts)");
    EXPECT_EQ(line(57).german, "Windows abmelden");
    EXPECT_EQ(line(60).targets[0].kind, LanguageTargetKind::OpenModeEntry);
    EXPECT_EQ(line(62).targets[0].index, 2);
    EXPECT_EQ(line(13).targets[0].kind, LanguageTargetKind::MenuTitle);
    EXPECT_EQ(line(13).targets[0].index, 4);

    ASSERT_EQ(line(58).targets.size(), 11u);
    EXPECT_EQ(line(58).targets.front().component, "ImageButton14");
    EXPECT_EQ(line(58).targets.back().component, "ImageButton24");
    EXPECT_EQ(line(64).targets.back().component, "ImageButton36");
    EXPECT_EQ(line(64).targets[0].kind, LanguageTargetKind::Hint);
    ASSERT_EQ(line(90).targets.size(), 11u);
    EXPECT_EQ(line(90).targets.back().component, "Label21");
    EXPECT_EQ(line(91).targets.back().component, "Label22");
    EXPECT_EQ(line(90).targets[0].window, "editor");
    ASSERT_EQ(line(19).targets.size(), 2u);
    EXPECT_EQ(line(19).targets[1].component, "SpeedButton4");

    // Line 83 gives the update dialog's title and heading one text.
    ASSERT_EQ(line(83).targets.size(), 2u);
    EXPECT_EQ(line(83).targets[0].kind, LanguageTargetKind::WindowCaption);
    EXPECT_EQ(line(83).targets[0].builtIn, "Brisko aktalisieren");
    EXPECT_EQ(line(83).targets[1].builtIn, "Brisko aktualisieren");
    EXPECT_EQ(line(102).targets[0].window, "options");
    EXPECT_EQ(line(100).targets[0].window, "tray");

    // The five texts without a built-in text still have German wording.
    for (int k : {65, 103, 104, 105, 106}) {
        ASSERT_EQ(line(k).targets.size(), 1u) << k;
        EXPECT_EQ(line(k).targets[0].builtIn, "") << k;
        EXPECT_FALSE(line(k).german.empty()) << k;
    }
    EXPECT_EQ(line(65).targets[0].kind, LanguageTargetKind::ConfirmText);
    EXPECT_EQ(line(103).targets[0].kind, LanguageTargetKind::ConfirmTitle);
    EXPECT_EQ(line(106).targets[0].index, 2);
}

TEST(LanguageFiles, ShippedFilesHold106SingleByteCrLfLines) {
    for (const char* name : {"German.lang", "English.lang"}) {
        std::string bytes = DataFile(name);
        bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        EXPECT_TRUE(ascii || !IsValidUtf8(bytes)) << name << " must be Windows-1252";
        std::size_t crlf = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n') {
                EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << name << " byte " << i;
                ++crlf;
            } else if (bytes[i] == '\r') {
                EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << name;
            }
        }
        EXPECT_EQ(crlf, 106u + kExtraTextCount) << name;
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << name;
    }
}

TEST(LanguageFiles, GermanRepeatsTheTableAndEnglishTranslatesEveryUsedLine) {
    LanguageLines german = ParseLanguageFile(DataFile("German.lang"));
    LanguageLines english = ParseLanguageFile(DataFile("English.lang"));
    std::set<std::string> actionNames;
    int same = 0;  // words such as "Autostart" need no translation; whole texts do
    for (const LanguageLine& line : LanguageTable()) {
        const std::string& de = german[line.number - 1];
        const std::string& en = english[line.number - 1];
        EXPECT_EQ(de, line.german) << "German line " << line.number;
        if (line.targets.empty())
            continue;
        EXPECT_FALSE(en.empty()) << "English line " << line.number;
        if (en == de)
            ++same;
        // An accelerator where the German text has one, and at most one.
        auto amps = [](const std::string& s) { return std::count(s.begin(), s.end(), '&'); };
        EXPECT_EQ(amps(en), amps(de)) << "English line " << line.number;
        if (line.number >= 36 && line.number <= 57)
            actionNames.insert(en);
    }
    EXPECT_LE(same, 3);
    EXPECT_EQ(actionNames.size(), 22u) << "action names must differ";
    for (int i = 0; i < kExtraTextCount; ++i) {
        const auto text = static_cast<ExtraText>(i);
        EXPECT_EQ(german.extras[text], GermanExtraText(text)) << ExtraTextName(text);
        EXPECT_NE(english.extras[text], german.extras[text]) << ExtraTextName(text);
    }
    // The accelerators of each menu differ from each other.
    auto key = [&](int k) {
        const std::string& s = english[k - 1];
        return std::tolower(static_cast<unsigned char>(s[s.find('&') + 1]));
    };
    const std::vector<std::vector<int>> menus = {
        {1, 5, 7, 10, 13}, {2, 3, 4}, {8, 9}, {11, 12}, {14, 15}, {60, 61, 62}, {100, 101}};
    for (const auto& menu : menus) {
        std::set<int> keys;
        for (int k : menu)
            keys.insert(key(k));
        EXPECT_EQ(keys.size(), menu.size()) << "menu with line " << menu.front();
    }
}
