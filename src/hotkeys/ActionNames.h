#pragma once

// The names through which the engine asks the system for its actions. Every backend that gives
// these actions their meaning on its desktop recognises them by these same constants, so a
// name changed here changes on both sides at once.

namespace brisko::action_names {

/// Files expected in the system directory (the data directory here), opened with "open".
inline constexpr const char* kShowDesktop = "Desktop anzeigen.scf";  // minimise all windows
inline constexpr const char* kGoogleSearch = "Google.exe";
inline constexpr const char* kEbaySearch = "EBay.exe";

/// The control panel, opened with "open".
inline constexpr const char* kControlPanel = "control.exe";

/// The folder that the search dialog ("find") starts in.
inline constexpr const char* kSearchFolder = "C:\\";

/// The command line that opens a control-panel applet: this, then the applet's file name.
inline constexpr const char* kAppletCommand = "rundll32.exe shell32.dll,Control_RunDLL ";

/// The control-panel applets.
inline constexpr const char* kDisplayApplet = "desk.cpl";
inline constexpr const char* kDateTimeApplet = "timedate.cpl";
inline constexpr const char* kRegionalApplet = "intl.cpl";
inline constexpr const char* kMultimediaApplet = "mmsys.cpl";
inline constexpr const char* kSoftwareApplet = "appwiz.cpl";
inline constexpr const char* kSystemApplet = "sysdm.cpl";

}  // namespace brisko::action_names
