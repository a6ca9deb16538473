#include "Look.h"

#include <QFont>

#include "hotkeys/BriskoError.h"
#include "storage/InstallationDirectory.h"
#include "storage/SettingsStore.h"
#include "widgets/Pictures.h"

#ifndef BRISKO_SOURCE_DATA_DIR
#define BRISKO_SOURCE_DATA_DIR ""
#endif

namespace brisko {

InterfaceStyle StyleFromSetting(const std::string& value) {
    if (value == "Win95")
        return InterfaceStyle::Win95;
    if (value == "Luna")
        return InterfaceStyle::Luna;
    return InterfaceStyle::Blue;
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

namespace {
QString& DataDirectoryValue() {
    static QString directory = QString::fromUtf8(BRISKO_SOURCE_DATA_DIR);
    return directory;
}
}  // namespace

QString DataDirectory() {
    return DataDirectoryValue();
}

void SetDataDirectory(const QString& directory) {
    DataDirectoryValue() = directory;
}

QString ProgramDirectory(SettingsStore& store) {
    return QString::fromStdString(InstallationDirectory(store, DataDirectory().toStdString()));
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

QPixmap DesignedPicture(const QString& name, QSize size) {
    return Pictures::designed(name, size);
}

QFont WindowFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    return font;
}

}  // namespace brisko
