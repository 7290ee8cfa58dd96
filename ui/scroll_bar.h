// SPDX-License-Identifier: GPL-3.0-or-later
// The scroll bars of both windows that set a number (decimals, widths, grid count, marker
// size): horizontal, reached by Tab or a click, and moved by the keyboard the way the
// arrows on the screen move them.
#pragma once

#include <QScrollBar>

namespace zentu::ui {

// QScrollBar turns its arrow keys around (Left raises the value), as a view's scroll bar
// wants it. Here Left and Up step down and Right and Down step up, as the left and right
// arrow buttons do; Page Up and Page Down move a page down and up; Home and End go to the
// minimum and the maximum. The wheel keeps QScrollBar's direction. A focused bar frames
// its thumb, so the keyboard user sees where the keys go.
class TScrollBar : public QScrollBar {
  public:
    explicit TScrollBar(QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace zentu::ui
