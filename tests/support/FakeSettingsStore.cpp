#include "FakeSettingsStore.h"

#include <algorithm>
#include <cctype>

#include "hotkeys/BriskoError.h"

namespace brisko::testing {

namespace {
std::string Canonical(const std::string& path) {
    std::string p = NormalizeKeyPath(path);
    std::transform(p.begin(), p.end(), p.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return p;
}
}  // namespace

SettingsStore::KeyHandle FakeSettingsStore::OpenKey(SettingsRoot root, const std::string& path,
                                                    bool create) {
    auto id = std::make_pair(root, Canonical(path));
    if (!keys_.count(id)) {
        if (!create || !writable)
            return kNoKey;
        keys_[id];
    }
    KeyHandle handle = next_++;
    handles_[handle] = id;
    return handle;
}

std::string FakeSettingsStore::ReadString(KeyHandle handle, const std::string& name) {
    log.push_back("Read(" + name + ")");
    Key* key = keyOf(handle);
    if (!key)
        return {};
    auto it = key->find(name);
    if (it == key->end())
        return {};
    if (!it->second.isString) {
        throw BriskoError(FormatMessage("Ungültiger Datentyp für '%s'", name));
    }
    return it->second.text;
}

void FakeSettingsStore::WriteString(KeyHandle handle, const std::string& name,
                                    const std::string& value) {
    log.push_back("Write(" + name + ", \"" + value + "\")");
    Key* key = keyOf(handle);
    if (!key || !writable) {
        throw BriskoError(FormatMessage("Fehler beim Setzen der Daten für '%s'", name));
    }
    (*key)[name] = Value{value, true};
}

bool FakeSettingsStore::ValueExists(KeyHandle handle, const std::string& name) {
    log.push_back("Exists(" + name + ")");
    Key* key = keyOf(handle);
    return key && key->count(name);
}

void FakeSettingsStore::DeleteValue(KeyHandle handle, const std::string& name) {
    log.push_back("Delete(" + name + ")");
    if (Key* key = keyOf(handle))
        key->erase(name);
}

void FakeSettingsStore::CloseKey(KeyHandle handle) {
    if (handles_.erase(handle) && closeFails)
        throw BriskoError(FormatMessage("Fehler beim Setzen der Daten für '%s'", "F1"));
}

FakeSettingsStore::Key* FakeSettingsStore::keyOf(KeyHandle handle) {
    auto it = handles_.find(handle);
    if (it == handles_.end())
        return nullptr;
    return &keys_[it->second];
}

FakeSettingsStore::Key& FakeSettingsStore::settingsKey() {
    return keys_[{SettingsRoot::CurrentUser, Canonical(kSettingsKeyPath)}];
}

void FakeSettingsStore::set(const std::string& name, const std::string& value) {
    settingsKey()[name] = Value{value, true};
}

std::string FakeSettingsStore::get(const std::string& name) const {
    auto key = keys_.find({SettingsRoot::CurrentUser, Canonical(kSettingsKeyPath)});
    if (key == keys_.end())
        return "<missing>";
    auto it = key->second.find(name);
    return it == key->second.end() ? "<missing>" : it->second.text;
}

bool FakeSettingsStore::has(const std::string& name) const {
    return get(name) != "<missing>";
}

void FakeSettingsStore::setNonString(const std::string& name) {
    settingsKey()[name] = Value{"", false};
}

std::size_t FakeSettingsStore::size() const {
    auto key = keys_.find({SettingsRoot::CurrentUser, Canonical(kSettingsKeyPath)});
    return key == keys_.end() ? 0 : key->second.size();
}

}  // namespace brisko::testing
