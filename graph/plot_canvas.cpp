// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/plot_canvas.h"

#include <QPainterPath>
#include <QRectF>
#include <climits>
#include <cmath>

namespace zentu {

Qt::PenStyle PenStyleOfItem(int index, Qt::PenStyle previous) {
    switch (index) {
        case 0:
            return Qt::SolidLine;
        case 1:
            return Qt::DotLine;
        case 2:
            return Qt::DashLine;
        case 3:
            return Qt::DashDotLine;
        case 4:
            return Qt::DashDotDotLine;
        default:
            return previous;
    }
}

std::optional<std::int32_t> PlotCoordinate(int origin, double scale, double value, bool upwards) {
    const long double product = static_cast<long double>(scale) * value;
    if (std::isnan(product)) return std::nullopt;
    // 2^63: the first value outside the 64-bit integers.
    if (!(std::fabs(product) < 9223372036854775808.0L))
        return (product > 0) != upwards ? INT32_MAX : INT32_MIN;
    const long long rounded = std::llrint(product);  // to nearest, ties to even
    const std::uint32_t low = static_cast<std::uint32_t>(static_cast<unsigned long long>(rounded));
    const std::uint32_t base = static_cast<std::uint32_t>(origin);
    return static_cast<std::int32_t>(upwards ? base - low : base + low);
}

TPlotCanvas::TPlotCanvas(QPainter& painter, SurfaceState& state, int width, int height)
    : painter_(painter), state_(state), width_(width), height_(height) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    ApplyPen();
    ApplyBrush();
}

void TPlotCanvas::ApplyPen() {
    QPen pen(state_.penColor, state_.penWidth, state_.penStyle, Qt::RoundCap, Qt::RoundJoin);
    painter_.setPen(pen);
}

void TPlotCanvas::ApplyBrush() {
    if (state_.brushClear)
        painter_.setBrush(Qt::NoBrush);
    else
        painter_.setBrush(state_.brushColor);
}

void TPlotCanvas::SetPen(const QColor& color, int width, Qt::PenStyle style) {
    state_.penColor = color;
    state_.penWidth = width;
    state_.penStyle = style;
    ApplyPen();
}

void TPlotCanvas::SetPenColor(const QColor& color) {
    state_.penColor = color;
    ApplyPen();
}

void TPlotCanvas::SetPenWidth(int width) {
    state_.penWidth = width;
    ApplyPen();
}

void TPlotCanvas::SetPenStyle(Qt::PenStyle style) {
    state_.penStyle = style;
    ApplyPen();
}

void TPlotCanvas::SetBrushColor(const QColor& color) {
    state_.brushColor = color;
    state_.brushClear = false;
    ApplyBrush();
}

void TPlotCanvas::SetBrushClear() {
    state_.brushClear = true;
    ApplyBrush();
}

void TPlotCanvas::MoveTo(int x, int y) {
    state_.position = QPoint(x, y);
}

void TPlotCanvas::LineTo(int x, int y) {
    // A line of no length draws nothing, as on the classic surfaces.
    if (state_.position != QPoint(x, y)) painter_.drawLine(QPointF(state_.position), QPointF(x, y));
    state_.position = QPoint(x, y);
}

void TPlotCanvas::SetPixel(int x, int y, const QColor& color) {
    painter_.fillRect(QRect(x, y, 1, 1), color);
}

void TPlotCanvas::Rectangle(int left, int top, int right, int bottom) {
    painter_.drawRect(QRectF(left, top, double(right) - left - 1, double(bottom) - top - 1));
}

void TPlotCanvas::BezierTo(const QPoint& c1, const QPoint& c2, const QPoint& end) {
    QPainterPath path(QPointF(state_.position));
    path.cubicTo(QPointF(c1), QPointF(c2), QPointF(end));
    painter_.strokePath(path, painter_.pen());
    state_.position = end;
}

void TPlotCanvas::PrepareArea(TGraph& graph, const PlotSettings& settings) {
    SetBrushColor(settings.areaColor);
    Rectangle(0, 0, width_, height_);  // outlined with whatever pen the last drawing left
    SetBrushClear();
    SetPen(settings.borderColor, settings.borderWidth, Qt::SolidLine);
    Rectangle(0, 0, width_, height_);
    if (settings.gridOn) DrawGridXY(graph, settings);
    DrawXY(graph, settings);
}

void TPlotCanvas::DrawGridXY(TGraph& graph, const PlotSettings& settings) {
    const int n = settings.gridCount < 1 ? 1 : settings.gridCount;
    graph.DeltaX = static_cast<std::uint16_t>(width_ / n);
    graph.DeltaY = static_cast<std::uint16_t>(height_ / n);
    SetPen(settings.gridColor, settings.gridWidth,
           PenStyleOfItem(settings.gridPenStyle, state_.penStyle));
    for (int k = 1; k <= n - 1; ++k) {
        MoveTo(k * graph.DeltaX, 0);
        LineTo(k * graph.DeltaX, height_);
    }
    for (int k = 1; k <= n - 1; ++k) {
        MoveTo(0, k * graph.DeltaY);
        LineTo(width_, k * graph.DeltaY);
    }
}

namespace {

// The origin's pixel for an item of the "X Orj"/"Y Orj" lists; no item keeps it.
std::uint16_t OriginOf(int item, int extent, std::uint16_t previous) {
    switch (item) {
        case 0:
            return static_cast<std::uint16_t>(extent / 2);
        case 1:
            return static_cast<std::uint16_t>(extent / 4);
        case 2:
            return static_cast<std::uint16_t>((extent / 4) * 3);
        default:
            return previous;
    }
}

}  // namespace

void TPlotCanvas::DrawXY(TGraph& graph, const PlotSettings& settings) {
    graph.ox = OriginOf(settings.originX, width_, graph.ox);
    graph.oy = OriginOf(settings.originY, height_, graph.oy);
    SetPen(settings.axesColor, settings.axesWidth,
           PenStyleOfItem(settings.axesPenStyle, state_.penStyle));
    MoveTo(graph.ox, 0);
    LineTo(graph.ox, height_);
    MoveTo(0, graph.oy);
    LineTo(width_, graph.oy);
}

void TPlotCanvas::Marker(int shape, std::int32_t x, std::int32_t y, int r, const QColor& fill) {
    const auto size = static_cast<std::uint8_t>(r);
    if (shape == 0)
        PlotCircle(x, y, size, fill);
    else if (shape == 1)
        PlotSquare(x, y, size, fill);
}

void TPlotCanvas::PlotCircle(std::int32_t x, std::int32_t y, std::uint8_t r, const QColor& renk) {
    SetPenWidth(1);
    SetBrushColor(renk);
    const double left = double(x) - r, top = double(y) - r;
    painter_.drawEllipse(QRectF(left, top, 2.0 * r - 1, 2.0 * r - 1));
}

void TPlotCanvas::PlotSquare(std::int32_t x, std::int32_t y, std::uint8_t r, const QColor& renk) {
    SetPenWidth(1);
    SetBrushColor(renk);
    const double l = double(x) - r, t = double(y) - r, rt = double(x) + r, b = double(y) + r;
    const QPointF corners[4] = {{l, t}, {rt, t}, {rt, b}, {l, b}};
    painter_.drawPolygon(corners, 4);
}

void TPlotCanvas::DrawGraphXY(TGraph& graph, const PlotSettings& settings) {
    SetPenWidth(settings.curveWidth);
    SetPenStyle(Qt::SolidLine);
    graph.DataP.resize(graph.DataXY.size());

    if (!graph.FXY.empty()) {
        SetPenColor(settings.curveColor);
        bool drawing = false;  // false at the first sample and after a gap
        for (const PointXY& sample : graph.FXY) {
            const auto x = PlotCoordinate(graph.ox, graph.ScX, sample.x, false);
            const auto y = PlotCoordinate(graph.oy, graph.ScY, sample.y, true);
            if (!x || !y) {
                drawing = false;
                continue;
            }
            const std::int32_t px = *x, py = *y;
            if (!drawing) MoveTo(px, py);
            drawing = true;
            switch (settings.curveStyle) {
                case 0:
                    MoveTo(px, py);
                    SetPixel(px, py, settings.curveColor);
                    break;
                case 1:
                    LineTo(px, py);
                    break;
                case 2:
                    MoveTo(px, py);
                    Marker(settings.markerShape, px, py, settings.curveWidth, settings.curveColor);
                    break;
                default:
                    break;
            }
        }
    }

    if (settings.seriesOn && !graph.DataXY.empty()) {
        SetPenColor(settings.seriesColor);
        for (std::size_t i = 0; i < graph.DataXY.size(); ++i) {
            const PointXY& point = graph.DataXY[i];
            // Series points are finite, so with finite factors they always have a pixel.
            const auto x = PlotCoordinate(graph.ox, graph.DScX, point.x, false);
            const auto y = PlotCoordinate(graph.oy, graph.DScY, point.y, true);
            if (!x || !y) continue;
            const std::int32_t px = *x, py = *y;
            graph.DataP[i] = ScreenPoint{px, py};
            if (i == 0) MoveTo(px, py);
            switch (settings.curveStyle) {
                case 0:
                case 2:
                    MoveTo(px, py);
                    Marker(settings.markerShape, px, py, settings.markerSize, settings.markerColor);
                    break;
                case 1:
                    LineTo(px, py);
                    Marker(settings.markerShape, px, py, settings.markerSize, settings.markerColor);
                    break;
                default:
                    break;
            }
        }
    }

    if (settings.bezierOn && !graph.DataP.empty()) {
        const auto point = [&](std::size_t i) {
            return QPoint(graph.DataP[i].X, graph.DataP[i].Y);
        };
        MoveTo(graph.DataP[0].X, graph.DataP[0].Y);
        SetPenColor(settings.bezierColor);
        const std::size_t last = graph.DataP.size() - 1;
        for (std::size_t i = 0; i + 2 <= last; i += 2)
            BezierTo(point(i), point(i + 1), point(i + 2));
    }
}

}  // namespace zentu
