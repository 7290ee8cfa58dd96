// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing the plot on any QPainter: the window draws into its kept image, tests into a
// QImage of their own.
//
// The canvas behaves like a classic drawing surface: a pen (colour, width, style), a brush
// (colour or clear) and a current position, all of which keep their last values between
// operations and between commands. Several steps rely on what an earlier one left: the
// background rectangle is outlined with the pen of the previous drawing, and a marker sets
// the pen width to 1 for everything drawn after it until a step sets the width again. The
// state lives in a SurfaceState owned by whoever owns the picture, so it outlives a canvas.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPoint>
#include <cstdint>
#include <optional>

#include "graph/graph_model.h"
#include "ui/look.h"

namespace zentu {

// The drawing settings, read from the window's controls at the moment of drawing. A list
// setting is -1 when no item is selected (its text was edited by hand). The defaults are
// what the window's controls show when it is created.
struct PlotSettings {
    QColor areaColor = ui::kMoneyGreen;
    QColor borderColor = ui::kYellow;
    int borderWidth = 1;
    int curveStyle = 0;  // 0 "Nokta" (dots), 1 "Çizgi" (lines), 2 "Seri Biçimi" (markers)
    QColor curveColor = ui::kBlack;
    int curveWidth = 1;
    int axesPenStyle = 0;  // index into the pen style list
    QColor axesColor = ui::kBlack;
    int axesWidth = 1;
    int originX = 0;  // 0 "1/2", 1 "1/4", 2 "3/4"
    int originY = 0;
    bool gridOn = true;
    int gridCount = 4;
    int gridPenStyle = 1;
    QColor gridColor = ui::kGray;
    int gridWidth = 1;  // 0 is the thinnest line
    bool seriesOn = false;
    int markerShape = 0;  // 0 "Daire" (circle), 1 "Kare" (square)
    int markerSize = 2;
    QColor markerColor = ui::kRed;
    QColor seriesColor = ui::kMaroon;
    bool bezierOn = false;
    QColor bezierColor = ui::kGreen;
};

// Pen, brush and current position of a drawing surface.
struct SurfaceState {
    QColor penColor{0, 0, 0};
    int penWidth = 1;
    Qt::PenStyle penStyle = Qt::SolidLine;
    QColor brushColor{255, 255, 255};
    bool brushClear = false;
    QPoint position;
};

// The pen style of an item of the "Biçim" lists ("Normal", "Noktalı", "Kesikli",
// "Kesikli/Noktalı", "Kesikli/Noktalı Noktalı"); no item keeps the previous style.
Qt::PenStyle PenStyleOfItem(int index, Qt::PenStyle previous);

// One coordinate of the transform: origin + R(scale × value), R rounding the product to the
// nearest 64-bit integer with ties to even; the result is its low 32 bits. `upwards` makes
// positive values go up the screen. A product beyond the 64-bit range gives the farthest
// pixel on its side, so a line towards it leaves the area that way; a product that is not
// a number (the NaN of a gap) gives no pixel.
std::optional<std::int32_t> PlotCoordinate(int origin, double scale, double value, bool upwards);

class TPlotCanvas {
  public:
    TPlotCanvas(QPainter& painter, SurfaceState& state, int width, int height);

    // Background, border, grid (when on) and axes; sets ox, oy and, with the grid, DeltaX
    // and DeltaY.
    void PrepareArea(TGraph& graph, const PlotSettings& settings);
    void DrawGridXY(TGraph& graph, const PlotSettings& settings);
    void DrawXY(TGraph& graph, const PlotSettings& settings);
    // The curve, the series with its markers and the Bezier through DataP. A gap in the
    // samples is not drawn: a line stops at the sample before it and starts again at the
    // sample after it.
    void DrawGraphXY(TGraph& graph, const PlotSettings& settings);
    void PlotCircle(std::int32_t x, std::int32_t y, std::uint8_t r, const QColor& renk);
    void PlotSquare(std::int32_t x, std::int32_t y, std::uint8_t r, const QColor& renk);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // ---- Surface operations ----
    void SetPen(const QColor& color, int width, Qt::PenStyle style);
    void SetPenColor(const QColor& color);
    void SetPenWidth(int width);
    void SetPenStyle(Qt::PenStyle style);
    void SetBrushColor(const QColor& color);  // also makes the fill solid again
    void SetBrushClear();
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void SetPixel(int x, int y, const QColor& color);
    // The box (left, top, right, bottom), right and bottom outside it, as the classic
    // surfaces take it.
    void Rectangle(int left, int top, int right, int bottom);
    void BezierTo(const QPoint& c1, const QPoint& c2, const QPoint& end);

  private:
    void ApplyPen();
    void ApplyBrush();
    void Marker(int shape, std::int32_t x, std::int32_t y, int r, const QColor& fill);

    QPainter& painter_;
    SurfaceState& state_;
    int width_;
    int height_;
};

}  // namespace zentu
