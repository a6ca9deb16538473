#pragma once

#include <QImage>
#include <QString>

namespace draw {

QImage splash(bool loading);                           // 379 x 252; loading adds the progress bar
QImage header(int highlightLeft, int highlightWidth);  // 687 x 43
QImage win95Bar();                                     // 687 x 41
QImage welcomeBackground();                            // 689 x 425
QImage slotsBackground();                              // 689 x 425
QImage lunaBar();                                      // 687 x 35
QImage lunaBackground();                               // 689 x 430
QImage blueBackground(int width, int height);          // dialog backgrounds
QImage blueBar(int width, int height);                 // dialog button bars
QImage updateBackground();                             // 425 x 258
QImage bullet();                                       // 8 x 8

enum class NavState { Normal, Hover, Pressed };
/// A "Luna" navigation picture: a rounded tab with a small picture and the caption.
QImage lunaNavigation(int width, const QString& caption, const QString& icon, NavState state);

/// Theming strips, with magenta (#FF00FF) where the control is transparent.
QImage buttonStrip(bool luna);             // 375 x 23
QImage checkStrip(bool luna, bool radio);  // 104 x 13

}  // namespace draw
