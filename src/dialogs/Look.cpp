#include "Look.h"

#include <QFont>

#include "hotkeys/BriskoError.h"
#include "storage/InstallationDirectory.h"
#include "storage/SettingNames.h"
#include "storage/SettingsStore.h"
#include "widgets/Pictures.h"

namespace brisko {

InterfaceStyle StyleFromSetting(const std::string& value) {
    if (value == "Win95")
        return InterfaceStyle::Win95;
    if (value == "Luna")
        return InterfaceStyle::Luna;
    return InterfaceStyle::Blue;
}

InterfaceStyle ReadInterfaceStyle(SettingsStore& store) {
    return StyleFromSetting(OpenSettingsKey(store).read(setting_names::kStyle));
}

std::string StyleSettingName(InterfaceStyle style) {
    switch (style) {
        case InterfaceStyle::Win95:
            return "Win95";
        case InterfaceStyle::Luna:
            return "Luna";
        case InterfaceStyle::Blue:
            break;
    }
    return "Blue";
}

QString ProgramDirectory(SettingsStore& store, const QString& dataDirectory) {
    return QString::fromStdString(InstallationDirectory(store, dataDirectory.toStdString()));
}

QString UnderDirectory(const QString& directory, const QString& relative) {
    QString dir = directory;
    while (dir.size() > 1 && (dir.endsWith('/') || dir.endsWith('\\')))
        dir.chop(1);
    QString rel = relative;
    while (rel.startsWith('/') || rel.startsWith('\\'))
        rel.remove(0, 1);
    rel.replace('\\', '/');
    if (dir.isEmpty())
        return rel;
    if (dir == "/")
        return dir + rel;
    return dir + '/' + rel;
}

QPixmap LoadPicture(const QString& path) {
    return Pictures::get(path);
}

QPixmap ShippedPicture(const QString& dataDirectory, const QString& name) {
    try {
        return Pictures::get(ShippedPicturePath(dataDirectory, name));
    } catch (const std::exception&) {
        return {};
    }
}

QString ShippedPicturePath(const QString& dataDirectory, const QString& name) {
    return dataDirectory + "/images/" + name;
}

QPixmap DesignedPicture(const QString& dataDirectory, const QString& name, QSize size) {
    return Pictures::designed(ShippedPicturePath(dataDirectory, name), size);
}

QFont WindowFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    return font;
}

}  // namespace brisko
