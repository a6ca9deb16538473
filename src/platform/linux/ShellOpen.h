#pragma once

#include <string>

namespace brisko::desktop {

/// How ShellExecuteA treats a file: a built-in desktop action, an address, a program, or a
/// document for the desktop's opener.
enum class OpenKind {
    ShowDesktop,
    GoogleSearch,
    EbaySearch,
    ControlPanel,
    Address,
    Program,
    Document,
    Missing
};

/// The engine joins the Windows directory and a file name with a backslash: an absolute path
/// that does not exist as written is tried with slashes for its backslashes.
std::string NativePath(const std::string& file);

/// What the desktop's opener is given for an address: "www." addresses (any case) get
/// "http://", as a browser would add it.
std::string AddressForOpener(const std::string& address);

/// Classifies a file for the "open" verb; dataDirectory is where the built-in files live.
OpenKind ClassifyOpen(const std::string& file, const std::string& dataDirectory);

}  // namespace brisko::desktop
