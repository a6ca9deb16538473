#pragma once

#include <string>

namespace brisko {

/// The per-user autostart folder of the desktop ($XDG_CONFIG_HOME/autostart) seen as the
/// values of a key: value N is the desktop entry "N.desktop", whose Exec line starts the
/// command the value holds ("/path/BRZ -autostart").
class XdgAutostart {
public:
    explicit XdgAutostart(std::string directory) : directory_(std::move(directory)) {}

    const std::string& directory() const { return directory_; }
    /// True when the folder exists; with create, makes it first. False when it cannot.
    bool openFolder(bool create) const;

    bool exists(const std::string& name) const;
    /// The command the entry starts; "" when there is none.
    std::string read(const std::string& name) const;
    /// Writes the entry atomically. Raises "Fehler beim Setzen der Daten für '%s'".
    void write(const std::string& name, const std::string& command) const;
    /// Removes the entry; a missing entry is no error.
    void remove(const std::string& name) const;

    /// The content of the desktop entry for a command.
    static std::string DesktopEntry(const std::string& command);
    /// The Exec value for a command: the program path quoted as a single argument, followed
    /// by " -autostart" when the command ends with it.
    static std::string ExecValue(const std::string& command);

private:
    std::string fileOf(const std::string& name) const;

    std::string directory_;
};

}  // namespace brisko
