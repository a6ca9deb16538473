#pragma once

#include <string>

#include "SystemControl.h"

namespace brisko {

/// The system directory, the text up to the first NUL; empty when the call fails.
std::string WindowsDirectory(SystemControl& system);

/// The directory with one trailing backslash removed, then "\" and the name.
std::string InWindowsDirectory(const std::string& windowsDirectory, const std::string& name);

/// One of "Windows 95", "Windows 98", "Windows 98SE", "Windows ME", "Windows NT",
/// "Windows 2000", "Whistler", "Unknown". Worked out once at start and kept.
std::string SystemVersionName(SystemControl& system);

/// Enables the shutdown privilege on the NT family, then asks the system to end the session.
/// True when the system accepted the request.
bool ExitWindowsWithPrivilege(SystemControl& system, unsigned flags);

/// Powers off the NT family and every unknown system; shuts down the 95/98/ME family.
void ShutdownForSystem(SystemControl& system, const std::string& systemVersionName);

/// Ends every process whose executable is named so (ASCII case-insensitive, by file name or
/// whole path). True when the last termination attempted succeeded; false when none matched.
/// Does not return when it reaches the caller's own process.
bool TerminateProcessesByName(SystemControl& system, const std::string& name);

/// Opens a control-panel applet such as "desk.cpl".
void OpenControlPanelApplet(SystemControl& system, const std::string& applet);

/// Upper-cases ASCII letters only.
std::string AsciiUpper(std::string text);

}  // namespace brisko
