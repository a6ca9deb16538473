#include "XdgAutostart.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string_view>
#include <vector>

#include "hotkeys/BriskoError.h"
#include "storage/TextFile.h"

namespace brisko {

namespace {

constexpr std::string_view kSwitch = " -autostart";
constexpr std::string_view kValueKey = "X-Brisko-Command=";

// The escapes of a desktop entry string value.
std::string EscapeString(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case ' ':
                out += i == 0 ? "\\s" : " ";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string UnescapeString(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char c = text[++i];
        out += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
    }
    return out;
}

// One argument of an Exec line, quoted when it holds a reserved character.
std::string QuoteArgument(const std::string& arg) {
    constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string out;
    bool quote = arg.empty() || arg.find_first_of(reserved) != std::string::npos;
    if (quote)
        out += '"';
    for (char c : arg) {
        if (c == '%') {
            out += "%%";
            continue;
        }
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            out += '\\';
        out += c;
    }
    if (quote)
        out += '"';
    return out;
}

bool ValidName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\n\r") == std::string::npos;
}

}  // namespace

bool XdgAutostart::openFolder(bool create) const {
    std::error_code error;
    if (std::filesystem::is_directory(directory_, error))
        return true;
    if (!create)
        return false;
    std::filesystem::create_directories(directory_, error);
    return !error && std::filesystem::is_directory(directory_, error);
}

std::string XdgAutostart::fileOf(const std::string& name) const {
    return directory_ + "/" + name + ".desktop";
}

bool XdgAutostart::exists(const std::string& name) const {
    struct stat st {};
    return ValidName(name) && ::stat(fileOf(name).c_str(), &st) == 0;
}

std::string XdgAutostart::read(const std::string& name) const {
    if (!ValidName(name))
        return {};
    std::string text;
    try {
        text = DecodeFileText(ReadFileBytes(fileOf(name)));
    } catch (const BriskoError&) {
        return {};
    }
    TextLineReader lines(text);
    std::string exec;
    while (!lines.atEnd()) {
        std::string line = lines.next();
        if (line.rfind(kValueKey, 0) == 0)
            return UnescapeString(line.substr(kValueKey.size()));
        if (line.rfind("Exec=", 0) == 0 && exec.empty())
            exec = UnescapeString(line.substr(5));
    }
    return exec;
}

void XdgAutostart::write(const std::string& name, const std::string& command) const {
    try {
        if (!ValidName(name))
            throw BriskoError("invalid name");
        WriteFileAtomically(fileOf(name), DesktopEntry(command));
    } catch (const BriskoError&) {
        throw BriskoError(FormatMessage("Fehler beim Setzen der Daten für '%s'", name));
    }
}

void XdgAutostart::remove(const std::string& name) const {
    if (ValidName(name))
        ::unlink(fileOf(name).c_str());
}

std::string XdgAutostart::ExecValue(const std::string& command) {
    std::vector<std::string> args;
    if (command.size() > kSwitch.size() &&
        command.compare(command.size() - kSwitch.size(), kSwitch.size(), kSwitch) == 0) {
        args = {command.substr(0, command.size() - kSwitch.size()), "-autostart"};
    } else {
        args = {command};
    }
    std::string exec;
    for (const std::string& arg : args) {
        if (!exec.empty())
            exec += ' ';
        exec += QuoteArgument(arg);
    }
    return exec;
}

std::string XdgAutostart::DesktopEntry(const std::string& command) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Brisko\n"
           "Comment=Function keys F1 to F11 as hotkeys\n"
           "Exec=" +
           EscapeString(ExecValue(command)) +
           "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n" +
           std::string(kValueKey) + EscapeString(command) + "\n";
}

}  // namespace brisko
