#pragma once

#include <QImage>
#include <QString>

namespace draw {

/// The 16x16 picture of catalogue entry 1..21.
QImage actionIcon(int action);
/// A small picture by name: load, save, quit, delete-all, welcome, slots, options, update,
/// help, info, tray-show, browse, web, openmode, text, hide, check, download, cancel.
/// Size 16 unless given (the drawings scale).
QImage namedIcon(const QString& name, int size = 16);
/// The program icon at the size.
QImage programIcon(int size);
/// The language list's 16x16 flags.
QImage flag(bool german);

}  // namespace draw
