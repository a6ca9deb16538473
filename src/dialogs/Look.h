#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>
#include <string>

namespace brisko {

class SettingsStore;

/// The three interface styles. "Blue" and every unknown value give the designed look.
enum class InterfaceStyle { Blue, Win95, Luna };

/// Exact, case-sensitive reading of the "Style" value.
InterfaceStyle StyleFromSetting(const std::string& value);
/// The value written for a style: "Blue", "Win95" or "Luna".
std::string StyleSettingName(InterfaceStyle style);

inline const QColor kPlainBackground{240, 239, 232};
inline const QColor kNavy{0, 0, 128};

/// Where the program's data (pictures, language files) lies; set once at start. Until then
/// (in tests) the source tree's data/ folder.
QString DataDirectory();
void SetDataDirectory(const QString& directory);

/// The program directory: the settings value "Path", or the data directory when it is empty.
QString ProgramDirectory(SettingsStore& store);

/// A relative name under a directory with exactly one separator between them, whether the
/// directory ends in '/' or '\' or not.
QString UnderDirectory(const QString& directory, const QString& relative);

/// Loads a picture file through the shared picture cache. Raises BriskoError with the loader's
/// message when the file is missing or cannot be decoded.
QPixmap LoadPicture(const QString& path);

/// One of the designed pictures shipped under data/images. A picture that is missing is
/// painted plainly in its place, so a damaged installation still shows usable windows.
QPixmap DesignedPicture(const QString& name, QSize size);

/// The program's font for its windows.
QFont WindowFont();

}  // namespace brisko
