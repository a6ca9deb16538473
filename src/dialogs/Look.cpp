#include "Look.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

#include "hotkeys/BriskoError.h"
#include "storage/InstallationDirectory.h"
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
        return Pictures::get(dataDirectory + "/images/" + name);
    } catch (const std::exception&) {
        return {};
    }
}

QPixmap DesignedPicture(const QString& dataDirectory, const QString& name, QSize size) {
    if (QPixmap shipped = ShippedPicture(dataDirectory, name); !shipped.isNull())
        return shipped;
    QPixmap pixmap(size.isValid() ? size : QSize(16, 16));
    QPainter p(&pixmap);
    QLinearGradient g(0, 0, 0, pixmap.height());
    g.setColorAt(0, QColor(70, 110, 200));
    g.setColorAt(1, QColor(20, 40, 120));
    p.fillRect(pixmap.rect(), g);
    return pixmap;
}

QFont WindowFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    return font;
}

}  // namespace brisko
