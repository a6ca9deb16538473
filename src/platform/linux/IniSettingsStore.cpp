#include "IniSettingsStore.h"

#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QSettings>
#include <QString>
#include <QTemporaryFile>
#include <QVariant>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "hotkeys/BriskoError.h"
#include "storage/TextFile.h"

namespace brisko {

namespace {

struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    long long modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

std::optional<FileStamp> StampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return FileStamp{st.st_dev, st.st_ino, st.st_size,
                     st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
}

std::string DirectoryOf(const std::string& path) {
    return path.substr(0, path.find_last_of('/'));
}

[[noreturn]] void ThrowWriteError(const std::string& name) {
    throw BriskoError(FormatMessage("Fehler beim Setzen der Daten für '%s'", name));
}

constexpr const char* kScratchPrefix = "brisko-ini-";
// The file holds the user's insert texts: only the user may read it.
constexpr unsigned kSettingsFileMode = 0600;

// Removes the temporary files "<prefix><pid>-..." that processes no longer running left behind
// when they were killed in the middle of a write.
void RemoveStaleTemporaries(const std::string& dir, const std::string& prefix) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
        std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) != 0)
            continue;
        char* end = nullptr;
        long pid = std::strtol(name.c_str() + prefix.size(), &end, 10);
        if (pid <= 0 || *end != '-' || pid == ::getpid())
            continue;
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            std::filesystem::remove(entry.path(), error);
        }
    }
}

// QSettings keeps a per-process cache of the files it has read, keyed by their path; each
// parse and each rendering therefore goes through a fresh temporary file of its own.
// The temporary folder comes first; the settings folder serves when that cannot be used.
std::unique_ptr<QTemporaryFile> TemporaryIni(const std::string& fallbackDir) {
    for (const QString& dir : {QDir::tempPath(), QString::fromStdString(fallbackDir)}) {
        auto file = std::make_unique<QTemporaryFile>(dir + "/" + kScratchPrefix +
                                                     QString::number(::getpid()) + "-XXXXXX");
        if (!file->open())
            continue;
        file->close();
        return file;
    }
    return nullptr;
}

// Qt stores a value under its key with leading and trailing slashes removed and runs of slashes
// made one. A hand-edited key in another form ("Lang/") reads as nothing, and writing it back
// would overwrite the value of the key it stands for.
bool IsNormalKey(const QString& key) {
    return !key.isEmpty() && !key.startsWith(u'/') && !key.endsWith(u'/') &&
           !key.contains(QLatin1String("//"));
}

}  // namespace

struct IniSettingsStore::Values {
    // Strings are held as UTF-8, half the size of Qt's own form: a long insert text is held
    // once more here, for as long as the program runs.
    struct Entry {
        std::string text;  // a string value
        QVariant other;    // any other value, as Qt read it, written back unchanged
        bool isString = true;
    };
    std::map<std::string, Entry> entries;
    std::optional<FileStamp> stamp;  // of the file the entries were read from or written to
    bool loaded = false;
    std::string firstUnsaved;  // the first value changed since the last write; "" when none
    bool unreadable = false;   // the file exists but could not be read
};

IniSettingsStore::IniSettingsStore(std::string configHome)
    : file_((configHome.empty() ? DefaultConfigHome() : configHome) + "/Orvalde/Brisko.ini"),
      autostart_((configHome.empty() ? DefaultConfigHome() : configHome) + "/autostart"),
      values_(std::make_unique<Values>()) {}

IniSettingsStore::~IniSettingsStore() {
    try {
        if (!values_->firstUnsaved.empty())
            flush();
    } catch (...) {
    }
}

std::string IniSettingsStore::DefaultConfigHome() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    std::string base;
    if (home && home[0] == '/') {
        base = home;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
        base = pw->pw_dir;
    }
    return base + "/.config";
}

SettingsStore::KeyHandle IniSettingsStore::OpenKey(SettingsRoot root, const std::string& path,
                                                   bool create) {
    KeyKind kind;
    if (root == SettingsRoot::CurrentUser && SameKeyPath(path, kSettingsKeyPath)) {
        kind = KeyKind::Settings;
        if (!StampOf(file_)) {
            if (!create && values_->firstUnsaved.empty())
                return kNoKey;
            if (create) {
                std::error_code error;
                std::filesystem::create_directories(DirectoryOf(file_), error);
                try {
                    WriteFileAtomically(file_, "", kSettingsFileMode);
                } catch (const BriskoError&) {
                    return kNoKey;
                }
                values_->loaded = false;
            }
        }
        loadIfChanged();
    } else if (root == SettingsRoot::LocalMachine && SameKeyPath(path, kRunKeyPath)) {
        kind = KeyKind::Run;
        if (!autostart_.openFolder(create))
            return kNoKey;
    } else {
        return kNoKey;
    }
    KeyHandle handle = next_++;
    handles_[handle] = kind;
    return handle;
}

IniSettingsStore::KeyKind* IniSettingsStore::kindOf(KeyHandle key) {
    auto it = handles_.find(key);
    return it == handles_.end() ? nullptr : &it->second;
}

bool IniSettingsStore::loadIfChanged() {
    // Values not yet written win over the file; they are written at the next close.
    if (!values_->firstUnsaved.empty())
        return true;
    std::optional<FileStamp> stamp = StampOf(file_);
    if (values_->loaded && stamp == values_->stamp)
        return true;
    values_->entries.clear();
    values_->stamp = stamp;
    values_->loaded = true;
    // A file that exists but cannot be read must not be replaced by the few values written
    // afterwards: writes are refused until it can be read.
    values_->unreadable = true;
    std::string bytes;
    try {
        bytes = ReadFileBytes(file_);
    } catch (const BriskoError&) {
        values_->unreadable = StampOf(file_).has_value();
        return false;
    }
    if (bytes.empty()) {
        values_->unreadable = false;
        return true;
    }
    std::unique_ptr<QTemporaryFile> temp = TemporaryIni(DirectoryOf(file_));
    if (!temp || !temp->open())
        return false;
    temp->write(bytes.data(), static_cast<qint64>(bytes.size()));
    temp->close();
    QSettings ini(temp->fileName(), QSettings::IniFormat);
    for (const QString& key : ini.allKeys()) {
        if (!IsNormalKey(key))
            continue;
        QVariant value = ini.value(key);
        if (value.typeId() == QMetaType::QString)
            values_->entries[key.toStdString()] =
                Values::Entry{value.toString().toStdString(), {}, true};
        else
            values_->entries[key.toStdString()] = Values::Entry{{}, std::move(value), false};
    }
    values_->unreadable = false;
    return true;
}

bool IniSettingsStore::writable() const {
    std::string dir = DirectoryOf(file_);
    if (::access(dir.c_str(), W_OK) != 0)
        return false;
    struct stat st {};
    if (::stat(file_.c_str(), &st) != 0)
        return true;
    return S_ISREG(st.st_mode) && (st.st_mode & 0222) != 0 && ::access(file_.c_str(), W_OK) == 0;
}

void IniSettingsStore::flush() {
    if (!cleanedUp_) {
        cleanedUp_ = true;
        RemoveStaleTemporaries(DirectoryOf(file_), TemporaryFilePrefix(file_));
        RemoveStaleTemporaries(QDir::tempPath().toStdString(), kScratchPrefix);
        RemoveStaleTemporaries(DirectoryOf(file_), kScratchPrefix);
    }
    std::unique_ptr<QTemporaryFile> temp = TemporaryIni(DirectoryOf(file_));
    if (!temp)
        ThrowWriteError(values_->firstUnsaved);
    {
        QSettings ini(temp->fileName(), QSettings::IniFormat);
        for (const auto& [name, entry] : values_->entries) {
            ini.setValue(
                QString::fromStdString(name),
                entry.isString ? QVariant(QString::fromStdString(entry.text)) : entry.other);
        }
        ini.sync();
        if (ini.status() != QSettings::NoError)
            ThrowWriteError(values_->firstUnsaved);
    }
    try {
        WriteFileAtomically(file_, ReadFileBytes(temp->fileName().toStdString()),
                            kSettingsFileMode);
    } catch (const BriskoError&) {
        ThrowWriteError(values_->firstUnsaved);
    }
    values_->stamp = StampOf(file_);
    values_->loaded = true;
    values_->firstUnsaved.clear();
}

std::string IniSettingsStore::ReadString(KeyHandle key, const std::string& name) {
    KeyKind* kind = kindOf(key);
    if (!kind)
        return {};
    if (*kind == KeyKind::Run)
        return autostart_.read(name);
    auto it = values_->entries.find(name);
    if (it == values_->entries.end())
        return {};
    if (!it->second.isString) {
        throw BriskoError(FormatMessage("Ungültiger Datentyp für '%s'", name));
    }
    return it->second.text;
}

void IniSettingsStore::WriteString(KeyHandle key, const std::string& name,
                                   const std::string& value) {
    KeyKind* kind = kindOf(key);
    if (!kind)
        ThrowWriteError(name);
    if (*kind == KeyKind::Run) {
        autostart_.write(name, value);
        return;
    }
    if (name.empty() || values_->unreadable || !writable())
        ThrowWriteError(name);
    values_->entries[name] = Values::Entry{value, {}, true};
    if (values_->firstUnsaved.empty())
        values_->firstUnsaved = name;
}

bool IniSettingsStore::ValueExists(KeyHandle key, const std::string& name) {
    KeyKind* kind = kindOf(key);
    if (!kind)
        return false;
    if (*kind == KeyKind::Run)
        return autostart_.exists(name);
    return values_->entries.count(name) != 0;
}

void IniSettingsStore::DeleteValue(KeyHandle key, const std::string& name) {
    KeyKind* kind = kindOf(key);
    if (!kind)
        return;
    if (*kind == KeyKind::Run) {
        autostart_.remove(name);
        return;
    }
    // As with a registry key that may not be written, the value simply stays.
    if (values_->unreadable || !values_->entries.count(name) || !writable())
        return;
    if (values_->entries.erase(name) && values_->firstUnsaved.empty()) {
        values_->firstUnsaved = name;
    }
}

void IniSettingsStore::CloseKey(KeyHandle key) {
    auto it = handles_.find(key);
    if (it == handles_.end())
        return;
    KeyKind kind = it->second;
    handles_.erase(it);
    if (kind == KeyKind::Settings && !values_->firstUnsaved.empty())
        flush();
}

}  // namespace brisko
