// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures drawn at start-up: the five glyphs of the image list `icons` shown on the
// arrow cross, and the window icon.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace zentu::app {

// Images of `icons`, 32 x 40 on money green: 0 double chevron down, 1 right, 2 up,
// 3 left (blue), 4 a yellow ball. Drawn at `ratio` device pixels per pixel, for screens
// that scale; GlyphIcon holds the glyph drawn for 1x and 2x screens.
enum Glyph { NoGlyph = -1, GlyphDown, GlyphRight, GlyphUp, GlyphLeft, GlyphBall };
inline constexpr int kGlyphWidth = 32;
inline constexpr int kGlyphHeight = 40;
QPixmap IconGlyph(int index, qreal ratio = 1.0);
QIcon GlyphIcon(int index);

// The window icon: the calculator's black case in its lime frame, the pale yellow memo
// and the money-green keypad (the same picture as the installed zentu.svg).
QIcon ApplicationIcon();

}  // namespace zentu::app
