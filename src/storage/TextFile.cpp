#include "TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "hotkeys/BriskoError.h"

namespace brisko {

namespace {

// Windows-1252 bytes 0x80..0x9F; the five unassigned bytes map to the C1 controls of the
// same value, so every byte survives a round trip.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one well-formed UTF-8 sequence at pos; returns its length, 0 when malformed.
std::size_t DecodeUtf8(std::string_view s, std::size_t pos, char32_t& out) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    unsigned char b0 = byte(pos);
    std::size_t len;
    char32_t c;
    char32_t min;
    if (b0 < 0x80) {
        out = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2, c = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, c = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, c = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (pos + len > s.size())
        return 0;
    for (std::size_t i = 1; i < len; ++i) {
        unsigned char b = byte(pos + i);
        if ((b & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    out = c;
    return len;
}

[[noreturn]] void ThrowFileError(int errorNumber) {
    throw BriskoError(FileErrorMessage(errorNumber));
}

std::string ParentDirectory(const std::string& path) {
    std::string::size_type slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// A missing file in an existing folder is "not found"; a missing folder makes the whole name
// invalid, as the user cannot have meant it.
[[noreturn]] void ThrowOpenError(const std::string& path, int errorNumber) {
    if (errorNumber == ENOENT) {
        struct stat st {};
        if (::stat(ParentDirectory(path).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
            ThrowFileError(ENOTDIR);
        }
    }
    ThrowFileError(errorNumber);
}

}  // namespace

std::string FileErrorMessage(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
            return "Datei nicht gefunden";
        case ENOTDIR:
        case ENAMETOOLONG:
        case EINVAL:
        case ELOOP:
            return "Ungültiger Dateiname";
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY:
            return "Dateizugriff verweigert";
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return "Zu wenig Speicherplatz";
        default:
            return FormatMessage("E/A-Fehler %d", errorNumber);
    }
}

std::string ReadFileBytes(const std::string& path) {
    return ReadTextFileStart(path, std::string::npos);
}

std::string ReadTextFileStart(const std::string& path, std::size_t limit) {
    if (path.empty())
        ThrowFileError(EINVAL);
    // O_NONBLOCK: opening a named pipe must not wait for a writer.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        ThrowOpenError(path, errno);
    // Only regular files hold a distribution or a language: a pipe or a terminal could keep
    // the program waiting, a device could feed it without end.
    struct stat st {};
    int statError = ::fstat(fd, &st) != 0 ? errno
                    : S_ISREG(st.st_mode) ? 0
                    : S_ISDIR(st.st_mode) ? EISDIR
                                          : EACCES;
    if (statError != 0) {
        ::close(fd);
        ThrowFileError(statError);
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int error = errno;
            ::close(fd);
            ThrowFileError(error);
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > limit) {
            std::string::size_type lastLine =
                limit == 0 ? std::string::npos : bytes.rfind('\n', limit - 1);
            bytes.resize(lastLine == std::string::npos ? 0 : lastLine + 1);
            break;
        }
    }
    ::close(fd);
    return bytes;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes, unsigned widestMode) {
    if (path.empty() || path.back() == '/')
        ThrowFileError(EINVAL);
    std::string target = path;
    mode_t mode = static_cast<mode_t>(widestMode & 0777);
    bool keepMode = false;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) != nullptr)
            target = resolved;
    }
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            ThrowFileError(EISDIR);
        if (!S_ISREG(st.st_mode))
            ThrowFileError(EACCES);
        if (::access(target.c_str(), W_OK) != 0)
            ThrowFileError(errno);
        // A file that nobody may write was made read-only on purpose; the superuser, whom
        // access() lets through, does not overwrite it either.
        if ((st.st_mode & 0222) == 0)
            ThrowFileError(EACCES);
        mode = st.st_mode & (07000 | (widestMode & 0777));
        keepMode = true;
    }

    static std::atomic<unsigned> counter{0};
    std::string dir = ParentDirectory(target);
    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temp = dir + "/" + TemporaryFilePrefix(target) + std::to_string(::getpid()) + "-" +
               std::to_string(counter++);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && (errno != EEXIST || attempt > 100))
            ThrowOpenError(target, errno);
    }
    auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temp.c_str());
        ThrowFileError(error);
    };
    if (keepMode && ::fchmod(fd, mode) != 0)
        fail(errno);
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0)
        fail(errno);
    if (::close(fd) != 0) {
        int error = errno;
        ::unlink(temp.c_str());
        ThrowFileError(error);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        int error = errno;
        ::unlink(temp.c_str());
        ThrowFileError(error);
    }
    int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

std::string TemporaryFilePrefix(const std::string& path) {
    return "." + path.substr(path.find_last_of('/') + 1) + ".tmp-";
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t pos = 0; pos < bytes.size();) {
        char32_t c;
        std::size_t len = DecodeUtf8(bytes, pos, c);
        if (len == 0)
            return false;
        pos += len;
    }
    return true;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char ch : bytes) {
        auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b <= 0x9F) {
            AppendUtf8(out, kHighControls[b - 0x80]);
        } else {
            AppendUtf8(out, b);
        }
    }
    return out;
}

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t c;
        std::size_t len = DecodeUtf8(utf8, pos, c);
        if (len == 0)
            return std::nullopt;
        pos += len;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        bool found = false;
        for (std::size_t i = 0; i < kHighControls.size(); ++i) {
            if (kHighControls[i] == c) {
                out += static_cast<char>(0x80 + i);
                found = true;
                break;
            }
        }
        if (!found)
            return std::nullopt;
    }
    return out;
}

std::string DecodeFileText(std::string_view bytes) {
    std::string_view::size_type eof = bytes.find('\x1A');
    if (eof != std::string_view::npos)
        bytes = bytes.substr(0, eof);
    if (IsValidUtf8(bytes)) {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
            bytes.remove_prefix(3);
        return std::string(bytes);
    }
    return Windows1252ToUtf8(bytes);
}

std::string EncodeFileText(std::string_view utf8) {
    std::optional<std::string> single = Utf8ToWindows1252(utf8);
    // Single-byte text that happens to be well-formed UTF-8 would be read back as UTF-8, so
    // such text is written as UTF-8 in the first place.
    if (single && (*single == utf8 || !IsValidUtf8(*single)))
        return *single;
    return std::string(utf8);
}

std::string TextLineReader::next() {
    std::string line;
    while (pos_ < text_.size()) {
        char c = text_[pos_++];
        if (c == '\n')
            break;
        if (c != '\r')
            line += c;
    }
    return line;
}

}  // namespace brisko
