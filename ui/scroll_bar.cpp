// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/scroll_bar.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStyleOptionSlider>

namespace zentu::ui {

TScrollBar::TScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void TScrollBar::keyPressEvent(QKeyEvent* event) {
    SliderAction action = SliderNoAction;
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            action = SliderSingleStepSub;
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            action = SliderSingleStepAdd;
            break;
        case Qt::Key_PageUp:
            action = SliderPageStepSub;
            break;
        case Qt::Key_PageDown:
            action = SliderPageStepAdd;
            break;
        case Qt::Key_Home:
            action = SliderToMinimum;
            break;
        case Qt::Key_End:
            action = SliderToMaximum;
            break;
        default:
            QScrollBar::keyPressEvent(event);
            return;
    }
    triggerAction(action);
    event->accept();
}

void TScrollBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    if (!hasFocus()) return;
    QStyleOptionSlider bar;
    initStyleOption(&bar);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = style()
                     ->subControlRect(QStyle::CC_ScrollBar, &bar, QStyle::SC_ScrollBarSlider, this)
                     .adjusted(2, 2, -2, -2);
    focus.backgroundColor = palette().color(QPalette::Button);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

}  // namespace zentu::ui
