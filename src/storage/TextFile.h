#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brisko {

/// The message of a file error, as the program shows it: "Datei nicht gefunden",
/// "Ungültiger Dateiname", "Dateizugriff verweigert", "Zu wenig Speicherplatz" or
/// "E/A-Fehler %d" with the system's error number.
std::string FileErrorMessage(int errorNumber);

/// Reads a whole regular file. Raises a BriskoError with FileErrorMessage on failure; a folder,
/// pipe or device is refused with "Dateizugriff verweigert".
std::string ReadFileBytes(const std::string& path);

/// Reads the lines at the start of a text file, at most about limit bytes: a longer file is
/// cut after its last complete line within the limit, so a huge file chosen by mistake is not
/// read whole. Raises like ReadFileBytes.
std::string ReadTextFileStart(const std::string& path, std::size_t limit);

/// How much of a .hkv or language file is read: far more than their few lines ever need.
inline constexpr std::size_t kTextFileReadLimit = 16u << 20;

/// Replaces a file's content atomically: the bytes go to a temporary file in the same folder
/// that is synced and renamed over the target, so a failure leaves the old file intact.
/// A symbolic link is written through. A new file gets the permissions widestMode (less the
/// umask); an existing one keeps its own, narrowed to widestMode. Raises a BriskoError with
/// FileErrorMessage on failure (a read-only target is refused).
void WriteFileAtomically(const std::string& path, std::string_view bytes,
                         unsigned widestMode = 0666);

/// The name prefix of the temporary files WriteFileAtomically makes for a target: a file
/// "<prefix><process id>-<n>" next to it. A process killed while writing leaves one behind.
std::string TemporaryFilePrefix(const std::string& path);

/// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

/// Converts Windows-1252 bytes to UTF-8.
std::string Windows1252ToUtf8(std::string_view bytes);

/// Converts UTF-8 to Windows-1252; nothing when a character has no Windows-1252 form.
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8);

/// The text of a file as UTF-8: a Ctrl+Z ends the file; what remains is taken as UTF-8 when it
/// is well-formed UTF-8 (a byte-order mark is dropped), otherwise as Windows-1252.
std::string DecodeFileText(std::string_view bytes);

/// The bytes to write for UTF-8 text: Windows-1252 when every character has a Windows-1252
/// form, otherwise the UTF-8 itself, so no character is ever lost.
std::string EncodeFileText(std::string_view utf8);

/// Reads decoded text line by line. A line ends at LF or CR LF; a CR that is not followed by
/// LF is dropped from the text. After the last line every read gives the empty string.
class TextLineReader {
public:
    explicit TextLineReader(std::string text) : text_(std::move(text)) {}

    /// The next line; "" once the text is used up.
    std::string next();
    /// True when every line has been read.
    bool atEnd() const { return pos_ >= text_.size(); }

private:
    std::string text_;
    std::string::size_type pos_ = 0;
};

}  // namespace brisko
