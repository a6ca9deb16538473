#pragma once

#include <QLabel>
#include <QPixmap>
#include <QString>

namespace brisko {

/// A picture stretched over the whole widget. Its file is decoded when the widget is first
/// painted, not when the picture is chosen, and let go again when the widget is hidden (with
/// its window or on its own): pictures of a style not in use and of hidden windows take no
/// memory.
class PictureLabel : public QLabel {
    Q_OBJECT
public:
    explicit PictureLabel(QWidget* parent = nullptr);

    /// One of the designed pictures under the program's picture directory, by relative name.
    /// A missing one is painted plainly in its place.
    void setDesignedPicture(const QString& name);
    /// A picture file chosen by the user's settings. It is decoded at once, so that a missing
    /// or broken file is reported now (BriskoError with the loader's message); the picture
    /// already shown stays in that case.
    void setPictureFile(const QString& path);

    /// Whether a picture is set.
    bool hasPicture() const { return !source_.isEmpty(); }
    /// Whether the picture is decoded and held right now.
    bool holdsPicture() const { return !pixmap_.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QString source_;
    bool designed_ = false;
    QPixmap pixmap_;
};

}  // namespace brisko
