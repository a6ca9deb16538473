#pragma once

#include <map>
#include <memory>
#include <string>

#include "XdgAutostart.h"
#include "storage/SettingsStore.h"

namespace brisko {

/// The settings store of the desktop. The settings key of the current user is the file
/// <config home>/Orvalde/Brisko.ini in Qt's INI format, every value a top-level string; the
/// Run key is the user's autostart folder (<config home>/autostart, see XdgAutostart).
/// Other keys cannot be opened.
///
/// Values are kept in memory while the key is open and written when a handle under which
/// something changed is closed: the whole file is replaced atomically (temporary file, sync,
/// rename), so a process killed at any moment leaves either the old or the new file, never a
/// torn one. A file changed by someone else is read again at the next open.
class IniSettingsStore : public SettingsStore {
public:
    /// Uses the given config home; "" means $XDG_CONFIG_HOME, or ~/.config when that is unset.
    explicit IniSettingsStore(std::string configHome = {});
    ~IniSettingsStore() override;
    IniSettingsStore(const IniSettingsStore&) = delete;
    IniSettingsStore& operator=(const IniSettingsStore&) = delete;

    /// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config.
    static std::string DefaultConfigHome();
    /// The settings file, <config home>/Orvalde/Brisko.ini.
    const std::string& settingsFile() const { return file_; }

    KeyHandle OpenKey(SettingsRoot root, const std::string& path, bool create) override;
    std::string ReadString(KeyHandle key, const std::string& name) override;
    void WriteString(KeyHandle key, const std::string& name, const std::string& value) override;
    bool ValueExists(KeyHandle key, const std::string& name) override;
    void DeleteValue(KeyHandle key, const std::string& name) override;
    void CloseKey(KeyHandle key) override;

private:
    enum class KeyKind { Settings, Run };
    struct Values;

    KeyKind* kindOf(KeyHandle key);
    bool loadIfChanged();
    void flush();
    bool writable() const;

    std::string file_;
    XdgAutostart autostart_;
    std::unique_ptr<Values> values_;
    std::map<KeyHandle, KeyKind> handles_;
    KeyHandle next_ = 1;
    bool cleanedUp_ = false;
};

}  // namespace brisko
