#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "storage/SettingsStore.h"

namespace brisko::testing {

/// An in-memory settings store with the semantics of the real one. It records every operation
/// as one line, e.g. `Delete(F1a)` or `Write(F1, "2")`, and can be told to refuse writes or to
/// hold values of another type.
class FakeSettingsStore : public SettingsStore {
public:
    KeyHandle OpenKey(SettingsRoot root, const std::string& path, bool create) override;
    std::string ReadString(KeyHandle key, const std::string& name) override;
    void WriteString(KeyHandle key, const std::string& name, const std::string& value) override;
    bool ValueExists(KeyHandle key, const std::string& name) override;
    void DeleteValue(KeyHandle key, const std::string& name) override;
    void CloseKey(KeyHandle key) override;

    // Direct access to the settings key of the current user, for arranging and checking.
    void set(const std::string& name, const std::string& value);
    /// The value, or "<missing>" when it does not exist.
    std::string get(const std::string& name) const;
    bool has(const std::string& name) const;
    /// Stores a value of another type under the name (reading it fails).
    void setNonString(const std::string& name);
    /// The number of values of the settings key.
    std::size_t size() const;

    /// When false, every write fails as on an unwritable store.
    bool writable = true;
    /// When true, closing a key fails with the write error, as when a full disk keeps the
    /// changes from being stored (the changes stay in memory).
    bool closeFails = false;
    /// The operations so far (open and close are not recorded).
    std::vector<std::string> log;
    int openHandles() const { return static_cast<int>(handles_.size()); }

private:
    struct Value {
        std::string text;
        bool isString = true;
    };
    using Key = std::map<std::string, Value>;
    Key* keyOf(KeyHandle handle);
    Key& settingsKey();

    std::map<std::pair<SettingsRoot, std::string>, Key> keys_;  // path in lower case
    std::map<KeyHandle, std::pair<SettingsRoot, std::string>> handles_;
    KeyHandle next_ = 1;
};

}  // namespace brisko::testing
