// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "ui/look.h"

namespace zentu::app {

namespace {

// The blue of the chevrons, and of the keys on the icon.
constexpr QColor kGlyphBlue{0, 0, 200};

// Two stacked chevrons pointing down, centred in the glyph; the other directions are the
// same picture turned about the centre.
void DrawDoubleChevron(QPainter& p, qreal degrees) {
    p.translate(kGlyphWidth / 2.0, kGlyphHeight / 2.0);
    p.rotate(degrees);
    QPen pen(kGlyphBlue, 4.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    for (qreal y : {-9.0, 0.0}) {
        QPainterPath chevron;
        chevron.moveTo(-9, y);
        chevron.lineTo(0, y + 8);
        chevron.lineTo(9, y);
        p.drawPath(chevron);
    }
}

void DrawBall(QPainter& p) {
    const QPointF centre(kGlyphWidth / 2.0, kGlyphHeight / 2.0);
    QRadialGradient shade(centre + QPointF(-4, -4), 14);
    shade.setColorAt(0.0, QColor(255, 255, 200));
    shade.setColorAt(0.35, QColor(255, 255, 0));
    shade.setColorAt(1.0, QColor(200, 170, 0));
    p.setPen(QPen(QColor(150, 120, 0), 1.0));
    p.setBrush(shade);
    p.drawEllipse(centre, 11.0, 11.0);
}

}  // namespace

QPixmap IconGlyph(int index, qreal ratio) {
    QPixmap glyph((QSizeF(kGlyphWidth, kGlyphHeight) * ratio).toSize());
    glyph.setDevicePixelRatio(ratio);
    glyph.fill(ui::kMoneyGreen);
    QPainter p(&glyph);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
        case GlyphDown:
            DrawDoubleChevron(p, 0);
            break;
        case GlyphRight:
            DrawDoubleChevron(p, -90);
            break;
        case GlyphUp:
            DrawDoubleChevron(p, 180);
            break;
        case GlyphLeft:
            DrawDoubleChevron(p, 90);
            break;
        case GlyphBall:
            DrawBall(p);
            break;
        default:
            break;
    }
    return glyph;
}

QIcon GlyphIcon(int index) {
    QIcon icon;
    for (qreal ratio : {1.0, 2.0}) icon.addPixmap(IconGlyph(index, ratio));
    return icon;
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap picture(size, size);
        picture.fill(Qt::transparent);
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 64.0, size / 64.0);
        // Drawn on a 64 x 64 grid, as in zentu.svg.
        p.setPen(Qt::NoPen);
        p.setBrush(ui::kLime);
        p.drawRoundedRect(QRectF(6, 2, 52, 60), 6, 6);
        p.setBrush(ui::kBlack);
        p.drawRoundedRect(QRectF(9, 5, 46, 54), 4, 4);
        p.setBrush(ui::kInfoBackground);
        p.drawRect(QRectF(13, 9, 38, 17));
        p.setBrush(ui::kMoneyGreen);
        p.drawRect(QRectF(13, 31, 38, 24));
        p.setBrush(kGlyphBlue);
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 3; ++col) p.drawRect(QRectF(16 + col * 8, 35 + row * 9, 6, 6));
        p.setBrush(QColor(255, 210, 0));
        p.drawRect(QRectF(41, 35, 7, 15));
        p.setPen(QPen(QColor(40, 40, 40), 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(36, 15), QPointF(46, 15));
        p.drawLine(QPointF(36, 20), QPointF(46, 20));
        p.end();
        icon.addPixmap(picture);
    }
    return icon;
}

}  // namespace zentu::app
