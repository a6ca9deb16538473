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
/// The style of the stored "Style" value; raises BriskoError when it cannot be read.
InterfaceStyle ReadInterfaceStyle(SettingsStore& store);
/// The value written for a style: "Blue", "Win95" or "Luna".
std::string StyleSettingName(InterfaceStyle style);

inline const QColor kPlainBackground{240, 239, 232};
inline const QColor kNavy{0, 0, 128};

/// The program directory: the settings value "Path", or the data directory (where the
/// program's pictures, language files and help lie) when it is empty.
QString ProgramDirectory(SettingsStore& store, const QString& dataDirectory);

/// A relative name under a directory with exactly one separator between them, whether the
/// directory ends in '/' or '\' or not.
QString UnderDirectory(const QString& directory, const QString& relative);

/// Loads a picture file through the shared picture cache. Raises BriskoError with the loader's
/// message when the file is missing or cannot be decoded.
QPixmap LoadPicture(const QString& path);

/// A picture shipped under the data directory's images/ folder, by relative name
/// ("splash.png"); a null pixmap when it cannot be read.
QPixmap ShippedPicture(const QString& dataDirectory, const QString& name);
/// Where a picture shipped with the program lies: images/<name> under the data directory.
QString ShippedPicturePath(const QString& dataDirectory, const QString& name);

/// A shipped picture that is painted plainly in its place when missing, so a damaged
/// installation still shows usable windows.
QPixmap DesignedPicture(const QString& dataDirectory, const QString& name, QSize size);

/// The program's font for its windows.
QFont WindowFont();

}  // namespace brisko
