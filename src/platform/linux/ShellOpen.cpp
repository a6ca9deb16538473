#include "ShellOpen.h"

#include <sys/stat.h>

#include <cctype>
#include <regex>

#include "Launcher.h"

namespace brisko::desktop {

namespace {
std::string TrimSlashes(std::string path) {
    for (char& c : path)
        if (c == '\\')
            c = '/';
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}
}  // namespace

std::string NativePath(const std::string& file) {
    if (file.empty() || file.front() != '/' || file.find('\\') == std::string::npos || Exists(file))
        return file;
    std::string native = file;
    for (char& c : native)
        if (c == '\\')
            c = '/';
    return native;
}

std::string AddressForOpener(const std::string& address) {
    std::string start = address.substr(0, 4);
    for (char& c : start)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return start == "www." ? "http://" + address : address;
}

OpenKind ClassifyOpen(const std::string& file, const std::string& dataDirectory) {
    if (file.empty())
        return OpenKind::Missing;
    const auto cut = file.find_last_of("\\/");
    if (cut != std::string::npos) {
        const std::string name = file.substr(cut + 1);
        if (TrimSlashes(file.substr(0, cut)) == TrimSlashes(dataDirectory)) {
            if (name == "Desktop anzeigen.scf")
                return OpenKind::ShowDesktop;
            if (name == "Google.exe")
                return OpenKind::GoogleSearch;
            if (name == "EBay.exe")
                return OpenKind::EbaySearch;
        }
    }
    std::string lower = file;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "control.exe")
        return OpenKind::ControlPanel;
    static const std::regex scheme("^[A-Za-z][A-Za-z0-9+.-]+:.*");
    if (std::regex_match(file, scheme) || lower.rfind("www.", 0) == 0)
        return OpenKind::Address;
    if (cut == std::string::npos && !Exists(file))
        return FindProgram(file).empty() ? OpenKind::Missing : OpenKind::Program;
    if (IsExecutableFile(file))
        return OpenKind::Program;
    return Exists(file) ? OpenKind::Document : OpenKind::Missing;
}

}  // namespace brisko::desktop
