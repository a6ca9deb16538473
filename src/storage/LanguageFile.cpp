#include "LanguageFile.h"

#include "TextFile.h"
#include "hotkeys/BriskoError.h"
#include "hotkeys/HotkeySlot.h"

namespace brisko {

namespace {

using Kind = LanguageTargetKind;

LanguageTarget Target(Kind kind, std::string window, std::string component, int index,
                      std::string builtIn) {
    return LanguageTarget{kind, std::move(window), std::move(component), index, std::move(builtIn)};
}

class TableBuilder {
public:
    TableBuilder() {
        lines_.resize(kLanguageLineCount);
        for (int k = 1; k <= kLanguageLineCount; ++k)
            lines_[k - 1].number = k;
    }

    // A line whose targets all start with the same built-in text.
    void caption(int line, const std::string& window, std::initializer_list<const char*> names,
                 const std::string& text) {
        for (const char* name : names)
            add(line, Target(Kind::Caption, window, name, 0, text));
        german(line, text);
    }
    void hints(int line, const std::string& prefix, int first, const std::string& text) {
        for (int n = 0; n < kSlotCount; ++n) {
            add(line, Target(Kind::Hint, "main", prefix + std::to_string(first + n), 0, text));
        }
        german(line, text);
    }
    void add(int line, LanguageTarget target) { lines_[line - 1].targets.push_back(target); }
    void german(int line, const std::string& text) { lines_[line - 1].german = text; }

    std::vector<LanguageLine> take() { return std::move(lines_); }

private:
    std::vector<LanguageLine> lines_;
};

std::vector<LanguageLine> BuildTable() {
    TableBuilder t;
    const char* const menus[5] = {"&Datei", "&Bearbeiten", "&Wechseln zu", "&Extras", "&?"};
    const int menuLines[5] = {1, 5, 7, 10, 13};
    for (int i = 0; i < 5; ++i) {
        t.add(menuLines[i], Target(Kind::MenuTitle, "main", "", i, menus[i]));
        t.german(menuLines[i], menus[i]);
    }
    t.caption(2, "main", {"HotKeyVerteilungladen1"}, "Hot Key-Verteilung &laden ...");
    t.caption(3, "main", {"HotKeyVerteilungspeichern1"}, "Hot Key-Verteilung &speichern ...");
    t.caption(4, "main", {"Beenden1"}, "&Beenden");
    t.caption(6, "main", {"AlleHotKeyslschen1"}, "Alle Hot Keys &löschen ...");
    t.caption(8, "main", {"Willkommen1"}, "&Willkommen");
    t.caption(9, "main", {"HotKeysetzen1"}, "&Hot Key setzen");
    t.caption(11, "main", {"Optionen1"}, "&Optionen ...");
    t.caption(12, "main", {"Briskoaktualisieren1"}, "Brisko &aktualisieren ...");
    t.caption(14, "main", {"Hilfe1"}, "&Hilfe");
    t.caption(15, "main", {"Info1"}, "In&fo");

    t.caption(18, "main", {"Label26"}, "Gehe zu");
    t.caption(19, "main", {"Label13", "SpeedButton4"}, "Willkommen");
    t.caption(20, "main", {"Label20", "SpeedButton5"}, "Hot Key setzen");
    t.caption(21, "main", {"Label28", "SpeedButton6"}, "Verstecken");
    t.caption(22, "main", {"Label24", "SpeedButton7"}, "Beenden");

    t.caption(28, "main", {"Label29"}, "Herzlich willkommen bei Brisko !");
    t.caption(29, "main", {"Label14"},
              "Mit diesem Program wird Ihr normaler Arbeitsalltag am Computer um einiges "
              "erleichert, denn mit Brisko können Sie:");
    t.caption(30, "main", {"Label15"},
              "bequem die Tasten F1 bis F11 mit von Ihnen gewünschten Aktionen belegen");
    t.caption(31, "main", {"Label16"},
              "die F-Tasten nicht nur mit Windows Aktionen belegen, sondern auch auf Knopfdruck "
              "Ihre Homepage oder Ihr Lieblingsprogramm starten");
    t.caption(32, "main", {"Label17"},
              "Ihre persönliche Verteilung der Hot Keys speichern und gegebenenfalls wieder "
              "laden");
    t.caption(33, "main", {"Label18"},
              "dadurch bei der Arbeit enorme Zeit sparen und diese schöneren Dingen widmen");
    t.caption(34, "main", {"Label19"}, "Viel Spaß mit Brisko wünscht Ihnen Orvalde !");
    t.caption(35, "main", {"Label1"},
              "Hier ist nun der Hauptteil von Brisko: Der Teil zum Setzen Ihrer eigenen Hot "
              "Keys. Um herauszufinden was ein Hot Key ist, oder wie man einen solchen setzt, "
              "klicken Sie auf das entsprechende Hilfe-Thema.");
    for (int k = 0; k < kActionCount; ++k) {
        t.add(36 + k, Target(Kind::ActionEntry, "main", "", k, kActionCaptions[k]));
        t.german(36 + k, kActionCaptions[k]);
    }
    t.hints(58, "ImageButton", 14, "Durchsuchen");
    t.hints(59, "ImageButton", 56, "Öffnungsart bestimmen");
    const char* const modes[3] = {"&Normal", "M&aximiert", "M&inimiert"};
    for (int i = 0; i < 3; ++i) {
        t.add(60 + i, Target(Kind::OpenModeEntry, "main", "", i, modes[i]));
        t.german(60 + i, modes[i]);
    }
    t.hints(63, "ImageButton", 45, "Text eingeben");
    t.hints(64, "ImageButton", 26, "Webseite auswählen");
    t.add(65, Target(Kind::ConfirmText, "main", "", 0, ""));
    t.german(65, "Wollen Sie wirklich alle Hot Keys löschen?");

    t.caption(66, "options", {"TabSheet1"}, "Autostart");
    t.caption(67, "options", {"TabSheet2"}, "Willkommen-Bildschirm");
    t.caption(68, "options", {"TabSheet3"}, "Oberfläche");
    t.caption(69, "options", {"TabSheet4"}, "Sprache");
    t.caption(70, "options", {"Label1"},
              "Wenn Sie möchten, dass Brisko immer mit Windows gestartet wird, so klicken Sie "
              "hier:");
    t.caption(71, "options", {"Label5"}, "Brisko platziert sich dann automatisch in der Taskbar");
    t.caption(72, "options", {"CheckBox1"}, "Brisko immer mit Windows starten");
    t.caption(73, "options", {"Label2"},
              "Hinweis: Ihre gesetzten Hot Keys sind nur dann gültig, wenn auch Brisko gestartet "
              "ist.");
    t.caption(74, "options", {"Label4"},
              "Wenn Sie möchten, dass bei jedem Programmstart der Willkommen-Bildschirm angezeigt "
              "wird klicken Sie hier:");
    t.caption(75, "options", {"CheckBox2"},
              "Willkommen-Bildschirm immer beim Programmstart anzeigen");
    t.caption(76, "options", {"Label3"},
              "Hier haben Sie nun die Möglichkeit die Programm- Oberfläche anzupassen:");
    t.caption(77, "options", {"RadioButton1"}, "Blue Style");
    t.caption(78, "options", {"RadioButton2"}, "Windows 95 Style (Grau)");
    t.caption(79, "options", {"Label6"},
              "Hinweis: Sie müssen Brisko neustarten, damit die Änderungen wirksam werden.");
    t.caption(80, "options", {"Label7"}, "Bitte wählen Sie die gewünschte Sprache aus:");
    t.caption(81, "options", {"Label9"},
              "Hinweis: Sie müssen Brisko neustarten, damit die Änderungen wirksam werden.");
    t.caption(82, "options", {"Imagebutton1"}, "Speichern");

    t.add(83, Target(Kind::WindowCaption, "update", "", 0, "Brisko aktalisieren"));
    t.caption(83, "update", {"Label1"}, "Brisko aktualisieren");
    t.caption(84, "update", {"Label2"},
              "Sie haben nun die Möglichkeit Ihre Version von Brisko auf den neuesten Stand zu "
              "bringen. Um nachzusehen, ob eine neue Version verfügbar ist klicken Sie \"Auf neue "
              "Version testen\". Wenn eine neue Version vorhanden ist, können Sie diese durch "
              "einen Klick auf \"Neue Version downloaden\" herunterladen.");
    t.caption(85, "update", {"Label3"}, "Ihre Version:");
    t.caption(86, "update", {"Label4"}, "Aktuelle Version:");
    t.caption(87, "update", {"SpeedButton1"}, "Auf neue Version testen");
    t.caption(88, "update", {"SpeedButton2"}, "Neue Version herunterladen");
    t.caption(89, "update", {"SpeedButton3"}, "Abbrechen");

    const std::string explanation =
        "Hier können Sie nun einen beliebigen Text, z.B. Ihre Signatur, einen Smilie oder "
        "anderes eingeben. Auf Knopfdruck wird dann dieser Text eingefügt. Vermeiden Sie aber "
        "bitte eine zu sehr verschachtelte Formatierung.";
    const std::string note =
        "Hinweis: Nach dem Einfügen eines Textes wird der Inhalt der Zwischenablage entfernt.";
    for (int n = 0; n < kSlotCount; ++n) {
        t.add(90,
              Target(Kind::Caption, "editor", "Label" + std::to_string(2 * n + 1), 0, explanation));
        t.add(91, Target(Kind::Caption, "editor", "Label" + std::to_string(2 * n + 2), 0, note));
    }
    t.german(90, explanation);
    t.german(91, note);
    t.caption(92, "editor", {"SpeedButton1"}, "Speichern");

    t.caption(100, "tray", {"Briskostarten1"}, "Brisko &starten");
    t.caption(101, "tray", {"Briskobeenden1"}, "Brisko &beenden");
    t.add(102, Target(Kind::WindowCaption, "options", "", 0, "Optionen"));
    t.german(102, "Optionen");
    t.add(103, Target(Kind::ConfirmTitle, "main", "", 0, ""));
    t.german(103, "Alle Hot Keys löschen");
    const char* const messages[3] = {
        "Die neue Version wird jetzt in Ihrem Browser heruntergeladen. Bitte beenden Sie Brisko, "
        "bevor Sie die neue Version installieren.",
        "Die Versionsinformation konnte nicht abgerufen werden. Bitte prüfen Sie Ihre "
        "Internetverbindung und versuchen Sie es erneut.",
        "Sie verwenden bereits die aktuelle Version von Brisko.",
    };
    for (int i = 0; i < 3; ++i) {
        t.add(104 + i, Target(Kind::UpdateMessage, "update", "", i, ""));
        t.german(104 + i, messages[i]);
    }
    return t.take();
}

struct ExtraTextEntry {
    const char* name;
    const char* german;
};

constexpr ExtraTextEntry kExtraTexts[kExtraTextCount] = {
    {"KeyHeld", "%1 ist für Brisko vergeben."},
    {"KeyOtherTrigger", "Der Desktop hat diese Aktion auf %2 gelegt statt auf %1."},
    {"KeyTakenElsewhere",
     "Ein anderes Programm belegt %1. Brisko übernimmt die Taste, sobald sie frei wird."},
    {"KeyNoTrigger",
     "Der Desktop hat dieser Aktion keine Taste gegeben; in seinen Einstellungen der "
     "Tastenkürzel lässt sich eine festlegen."},
    {"KeyRefused", "Der Desktop hat %1 nicht an Brisko vergeben."},
    {"KeyNoService", "Dieser Desktop bietet Programmen keine globalen Tastenkürzel an."},
    {"NoShortcutsNotice",
     "Dieser Desktop bietet Programmen keine globalen Tastenkürzel an: die Tasten F1 bis F11 "
     "erreichen Brisko hier nicht."},
    {"NoShortcutsRemedy",
     "Abhilfe: das Paket xdg-desktop-portal mit dem Portal Ihres Desktops installieren (GNOME "
     "48 oder neuer: xdg-desktop-portal-gnome; KDE Plasma: xdg-desktop-portal-kde; Hyprland: "
     "xdg-desktop-portal-hyprland) oder eine X11-Sitzung wählen."},
};

// A line "Name=text" after the fixed lines; anything else there is skipped.
void ReadExtraText(const std::string& line, ExtraTexts& extras) {
    const auto equals = line.find('=');
    if (equals == std::string::npos || equals + 1 == line.size())
        return;
    const std::string_view name(line.data(), equals);
    for (int i = 0; i < kExtraTextCount; ++i)
        if (name == kExtraTexts[i].name)
            extras[static_cast<ExtraText>(i)] = line.substr(equals + 1);
}

}  // namespace

const char* ExtraTextName(ExtraText text) {
    return kExtraTexts[static_cast<int>(text)].name;
}

const char* GermanExtraText(ExtraText text) {
    return kExtraTexts[static_cast<int>(text)].german;
}

ExtraTexts::ExtraTexts() {
    for (int i = 0; i < kExtraTextCount; ++i)
        texts_[i] = kExtraTexts[i].german;
}

LanguageLines ParseLanguageFile(std::string_view fileBytes) {
    TextLineReader reader(DecodeFileText(fileBytes));
    LanguageLines lines;
    for (std::string& line : lines) {
        if (reader.atEnd())
            break;
        line = reader.next();
    }
    while (!reader.atEnd())
        ReadExtraText(reader.next(), lines.extras);
    return lines;
}

std::optional<LanguageLines> ReadLanguageFile(const std::string& path) {
    try {
        return ParseLanguageFile(ReadTextFileStart(path, kTextFileReadLimit));
    } catch (const BriskoError&) {
        return std::nullopt;
    }
}

std::string JoinPath(const std::string& directory, const std::string& name) {
    if (!directory.empty() && directory.back() == '/')
        return directory + name;
    return directory + "/" + name;
}

std::string LanguageFileName(const std::string& lang) {
    if (lang == "German")
        return "German.lang";
    if (lang == "English")
        return "English.lang";
    return {};
}

int LanguageListItem(const std::string& lang) {
    if (lang == "German")
        return 0;
    if (lang == "English")
        return 1;
    return -1;
}

std::string LanguageValueForItem(int item) {
    if (item == 0)
        return "German";
    if (item == 1)
        return "English";
    return {};
}

std::string LanguageFileErrorMessage(const std::string& fileName) {
    return "Fehler beim Laden der Sprachdatei \"" + fileName + "\".";
}

const std::vector<LanguageLine>& LanguageTable() {
    static const std::vector<LanguageLine> table = BuildTable();
    return table;
}

}  // namespace brisko
