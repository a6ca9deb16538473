#pragma once

#include <string>

namespace brisko {

/// The roots of the two keys the program uses.
enum class SettingsRoot { CurrentUser, LocalMachine };

/// The settings key, as the readers and writers spell it; both spellings name one key.
inline constexpr const char* kSettingsKeyPath = "\\Software\\Orvalde\\Brisko\\";
inline constexpr const char* kSettingsKeyPathRelative = "Software\\Orvalde\\Brisko";
/// The key whose value "BRZ" starts the program with the desktop session.
inline constexpr const char* kRunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "BRZ";

/// Per-user key-value storage with the operations of a registry. All values are strings.
class SettingsStore {
public:
    using KeyHandle = int;
    /// The handle of a key that could not be opened; every operation still accepts it.
    static constexpr KeyHandle kNoKey = 0;

    virtual ~SettingsStore() = default;

    /// Opens a key under a root, creating it when asked. A failure is not reported: it gives
    /// kNoKey, on which reads give "", tests false, deletes nothing and writes fail.
    virtual KeyHandle OpenKey(SettingsRoot root, const std::string& path, bool create) = 0;
    /// The stored text; "" when the value does not exist. Raises
    /// "Ungültiger Datentyp für '%s'" for a value that is not a string.
    virtual std::string ReadString(KeyHandle key, const std::string& name) = 0;
    /// Stores the text exactly. Raises "Fehler beim Setzen der Daten für '%s'" when the value
    /// cannot be written.
    virtual void WriteString(KeyHandle key, const std::string& name, const std::string& value) = 0;
    /// True when a value of that name exists, whatever its type.
    virtual bool ValueExists(KeyHandle key, const std::string& name) = 0;
    /// Removes the value; a missing value is no error.
    virtual void DeleteValue(KeyHandle key, const std::string& name) = 0;
    /// Closes the key; what was written under it is then safely stored. Raises
    /// "Fehler beim Setzen der Daten für '%s'" when a written value could not be stored; the
    /// handle is closed all the same.
    virtual void CloseKey(KeyHandle key) = 0;
};

/// The canonical form of a key path: without leading and trailing backslashes, so that
/// "\Software\Orvalde\Brisko\" and "Software\Orvalde\Brisko" name one key.
std::string NormalizeKeyPath(const std::string& path);

/// True when both paths name the same key (key names compare without regard to ASCII case).
bool SameKeyPath(const std::string& a, const std::string& b);

/// An open key that closes itself.
class SettingsKey {
public:
    SettingsKey(SettingsStore& store, SettingsRoot root, const std::string& path, bool create)
        : store_(store), key_(store.OpenKey(root, path, create)) {}
    /// Closes quietly; call close() to learn whether the written values were stored.
    ~SettingsKey() {
        try {
            close();
        } catch (...) {
        }
    }
    SettingsKey(const SettingsKey&) = delete;
    SettingsKey& operator=(const SettingsKey&) = delete;

    bool isOpen() const { return key_ != SettingsStore::kNoKey; }
    std::string read(const std::string& name) { return store_.ReadString(key_, name); }
    void write(const std::string& name, const std::string& value) {
        store_.WriteString(key_, name, value);
    }
    bool exists(const std::string& name) { return store_.ValueExists(key_, name); }
    void remove(const std::string& name) { store_.DeleteValue(key_, name); }
    /// Closes the key now; raises the store's write error when a value could not be stored.
    void close() {
        if (closed_)
            return;
        closed_ = true;
        store_.CloseKey(key_);
    }

private:
    SettingsStore& store_;
    SettingsStore::KeyHandle key_;
    bool closed_ = false;
};

/// Opens the settings key of the current user, with creation.
inline SettingsKey OpenSettingsKey(SettingsStore& store) {
    return SettingsKey(store, SettingsRoot::CurrentUser, kSettingsKeyPath, true);
}

}  // namespace brisko
