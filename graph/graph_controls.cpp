// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/graph_controls.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

#include "ui/look.h"

namespace zentu {

TColorButton::TColorButton(QWidget* parent) : QPushButton(parent) {
    setAutoDefault(false);
}

void TColorButton::setColor(const QColor& color) {
    color_ = color;
    update();
}

void TColorButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    QPainter p(this);
    const QRect swatch = rect().adjusted(4, 4, -5, -5);
    p.fillRect(swatch, color_);
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(swatch);
}

void TWrapButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    p.drawControl(QStyle::CE_PushButton, option);
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(rect().adjusted(3, 3, -3, -3), Qt::AlignCenter | Qt::TextWordWrap, text());
}

void TGroupBox::setCaptionColor(const QColor& color) {
    captionColor_ = color;
    update();
}

void TGroupBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics metrics(font());
    // Some fonts draw the dots of capitals such as "Ö" and "İ" above their ascent: the
    // caption moves down by that much so they are not cut off at the top edge.
    const int accents =
        std::max(0, -metrics.boundingRect(QStringLiteral("ÖİÜ")).top() - metrics.ascent());
    const int captionHeight = metrics.height() + accents;
    const int lineY = captionHeight / 2;
    // An etched frame: a dark line with a light one inside it.
    const QRect frame = rect().adjusted(0, lineY, -1, -1);
    p.setPen(ui::kGray);
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    p.setPen(ui::kWhite);
    p.drawRect(frame.adjusted(1, 1, 0, 0));
    const QString caption = title();
    if (caption.isEmpty()) return;
    const QRect captionBox(7, 0, metrics.horizontalAdvance(caption) + 2, captionHeight);
    p.fillRect(captionBox, palette().color(QPalette::Window));
    p.setPen(captionColor_.isValid() ? captionColor_ : palette().color(QPalette::WindowText));
    p.drawText(QPoint(captionBox.left() + 1, accents + metrics.ascent()), caption);
}

TPaintBox::TPaintBox(const QImage& image, QWidget* parent) : QWidget(parent), image_(image) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, image_);
}
}  // namespace zentu
