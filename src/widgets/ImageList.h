#pragma once

#include <QIcon>
#include <QList>
#include <QObject>

namespace brisko {

/// An ordered list of icons that components refer to by index.
class ImageList : public QObject {
    Q_OBJECT
public:
    explicit ImageList(QObject* parent = nullptr) : QObject(parent) {}

    /// Appends an icon and returns its index.
    int add(const QIcon& icon) {
        icons_.append(icon);
        return int(icons_.size()) - 1;
    }
    void clear() { icons_.clear(); }
    int count() const { return int(icons_.size()); }
    /// The icon at the index; a null icon outside 0 .. count() − 1.
    QIcon icon(int index) const {
        return index >= 0 && index < icons_.size() ? icons_[index] : QIcon();
    }

private:
    QList<QIcon> icons_;
};

}  // namespace brisko
