// SPDX-License-Identifier: GPL-3.0-or-later
// The renderer: geometry of the prepared area, the transform, the curve styles, markers and
// the Bezier, checked on the pixels of a QImage of the plot area's size.
#include "graph/plot_canvas.h"

#include <QImage>
#include <QPainter>
#include <QtTest>
#include <climits>
#include <cmath>
#include <optional>

#include "engine/engine.h"

using namespace zentu;

namespace {

constexpr int kWidth = 657;
constexpr int kHeight = 233;

// A plot area with its kept surface state, as the window holds them.
struct Area {
    Engine engine;
    TGraph graph{engine};
    QImage image{kWidth, kHeight, QImage::Format_RGB32};
    SurfaceState surface;
    PlotSettings settings;

    Area() { image.fill(Qt::white); }

    template <class F>
    void Draw(F drawing) {
        QPainter painter(&image);
        TPlotCanvas canvas(painter, surface, kWidth, kHeight);
        drawing(canvas);
    }
    void Prepare() {
        Draw([&](TPlotCanvas& c) { c.PrepareArea(graph, settings); });
    }
    void DrawGraph() {
        Draw([&](TPlotCanvas& c) { c.DrawGraphXY(graph, settings); });
    }
    // The area prepared without the grid: only the axes cross the background.
    void PrepareWithoutGrid() {
        settings.gridOn = false;
        Prepare();
    }
    // Draw the curve as lines of the given width.
    void UseLines(int width) {
        settings.curveStyle = 1;
        settings.curveWidth = width;
    }
    QColor At(int x, int y) const { return image.pixelColor(x, y); }
    int Count(const QColor& colour, const QRect& box) const {
        int n = 0;
        const QRect r = box.intersected(image.rect());
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) n += At(x, y) == colour;
        return n;
    }
    int CountColumn(const QColor& colour, int x) const {
        return Count(colour, {x, 1, 1, kHeight - 2});
    }
    int CountRow(const QColor& colour, int y) const { return Count(colour, {1, y, kWidth - 2, 1}); }
};

const QColor kGrey(128, 128, 128);
const QColor kBlack(0, 0, 0);
const QColor kYellow(255, 255, 0);
const QColor kMoneyGreen(192, 220, 192);
const QColor kBezier(0, 128, 0);
const QColor kSeries(128, 0, 0);
const QColor kMarker(255, 0, 0);

}  // namespace

class PlotCanvasTest : public QObject {
    Q_OBJECT
  private slots:
    void gridLinesAndCellSize_data();
    void gridLinesAndCellSize();
    void origins_data();
    void origins();
    void borderAndBackground();
    void backgroundOutlineUsesThePenTheLastDrawingLeft();
    void gridOffKeepsTheCellSize();
    void transform_data();
    void transform();
    void transformBeyondTheRange();
    void dotStyleSetsOnePixelPerSample();
    void lineStyleWithOneSampleDrawsNothing();
    void lineStyleUsesTheCurveWidth();
    void seriesMarkersLeaveThePenOnePixelWide();
    void markers();
    void bezierSegments_data();
    void bezierSegments();
    void bezierUsesPointsOfTheLastSeriesDrawing();
    void gapsAreNotDrawn_data();
    void gapsAreNotDrawn();
    void pointsBeyondTheRangeLeaveTheAreaTheirWay_data();
    void pointsBeyondTheRangeLeaveTheAreaTheirWay();
    void farPointsDoNotStopTheDrawing();
};

void PlotCanvasTest::gridLinesAndCellSize_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("deltaX");
    QTest::addColumn<int>("deltaY");
    QTest::newRow("four cells") << 4 << 164 << 58;
    QTest::newRow("one cell, no lines") << 1 << 657 << 233;
    QTest::newRow("twelve cells") << 12 << 54 << 19;
}

void PlotCanvasTest::gridLinesAndCellSize() {
    QFETCH(int, count);
    QFETCH(int, deltaX);
    QFETCH(int, deltaY);
    Area a;
    a.settings.gridCount = count;
    a.settings.gridPenStyle = 0;  // solid, so every pixel of a line shows
    a.settings.originX = -1;      // the axes stay on the border, off the grid lines
    a.settings.originY = -1;
    a.Prepare();
    QCOMPARE(int(a.graph.DeltaX), deltaX);
    QCOMPARE(int(a.graph.DeltaY), deltaY);
    int columns = 0;
    for (int x = 1; x < kWidth - 1; ++x) columns += a.CountColumn(kGrey, x) > kHeight / 2;
    int rows = 0;
    for (int y = 1; y < kHeight - 1; ++y) rows += a.CountRow(kGrey, y) > kWidth / 2;
    QCOMPARE(columns, count - 1);
    QCOMPARE(rows, count - 1);
    if (count == 4) {
        for (int x : {164, 328, 492}) QVERIFY(a.CountColumn(kGrey, x) > kHeight / 2);
        for (int y : {58, 116, 174}) QVERIFY(a.CountRow(kGrey, y) > kWidth / 2);
        QCOMPARE(a.CountColumn(kGrey, 165), 3);  // only where the grid rows cross it
    }
}

void PlotCanvasTest::origins_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("ox");
    QTest::addColumn<int>("oy");
    QTest::newRow("1/2") << 0 << 328 << 116;
    QTest::newRow("1/4") << 1 << 164 << 58;
    QTest::newRow("3/4") << 2 << 492 << 174;
}

void PlotCanvasTest::origins() {
    QFETCH(int, item);
    QFETCH(int, ox);
    QFETCH(int, oy);
    Area a;
    a.settings.gridOn = false;
    a.settings.originX = item;
    a.settings.originY = item;
    a.Prepare();
    QCOMPARE(int(a.graph.ox), ox);
    QCOMPARE(int(a.graph.oy), oy);
    QCOMPARE(a.CountColumn(kBlack, ox), kHeight - 2);
    QCOMPARE(a.CountRow(kBlack, oy), kWidth - 2);
    QCOMPARE(a.CountColumn(kBlack, ox + 1), 1);  // only where it crosses the x axis

    // With no item selected the origin stays where the last preparation put it.
    a.settings.originX = -1;
    a.settings.originY = -1;
    a.graph.ox = 10;
    a.graph.oy = 20;
    a.Prepare();
    QCOMPARE(int(a.graph.ox), 10);
    QCOMPARE(int(a.graph.oy), 20);
}

void PlotCanvasTest::borderAndBackground() {
    Area a;
    a.settings.gridOn = false;
    a.settings.borderWidth = 1;
    a.Prepare();
    QCOMPARE(a.At(0, 50), kYellow);
    QCOMPARE(a.At(kWidth - 1, 50), kYellow);
    QCOMPARE(a.At(50, 0), kYellow);
    QCOMPARE(a.At(50, kHeight - 1), kYellow);
    QCOMPARE(a.At(1, 50), kMoneyGreen);
    QCOMPARE(a.At(50, 50), kMoneyGreen);
    // The pen the preparation leaves is the axes' pen.
    QCOMPARE(a.surface.penColor, kBlack);
    QVERIFY(a.surface.brushClear);
}

void PlotCanvasTest::backgroundOutlineUsesThePenTheLastDrawingLeft() {
    Area a;
    a.settings.gridOn = false;
    a.settings.axesWidth = 5;  // the preparation ends with a black pen 5 pixels wide
    a.Prepare();
    QCOMPARE(a.At(2, 50), kMoneyGreen);
    a.Prepare();
    // The background rectangle is now outlined 5 wide in black; the 1 pixel border covers
    // only its outermost column.
    QCOMPARE(a.At(0, 50), kYellow);
    QCOMPARE(a.At(1, 50), kBlack);
    QCOMPARE(a.At(50, 50), kMoneyGreen);
}

void PlotCanvasTest::gridOffKeepsTheCellSize() {
    Area a;
    a.PrepareWithoutGrid();
    QCOMPARE(int(a.graph.DeltaX), 0);
    QCOMPARE(int(a.graph.DeltaY), 0);
    a.settings.gridOn = true;
    a.Prepare();
    a.settings.gridOn = false;
    a.settings.gridCount = 2;
    a.Prepare();
    QCOMPARE(int(a.graph.DeltaX), 164);
    QCOMPARE(int(a.graph.DeltaY), 58);
}

void PlotCanvasTest::transform_data() {
    QTest::addColumn<int>("origin");
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("upwards");
    QTest::addColumn<int>("pixel");
    QTest::newRow("x 2.5 at 32") << 328 << 32.0 << 2.5 << false << 408;
    QTest::newRow("y -1.25 at 10") << 116 << 10.0 << -1.25 << true << 128;
    QTest::newRow("half goes to the even 0") << 328 << 32.0 << 0.015625 << false << 328;
    QTest::newRow("1.5 goes to 2") << 0 << 1.0 << 1.5 << false << 2;
    QTest::newRow("2.5 goes to 2") << 0 << 1.0 << 2.5 << false << 2;
    QTest::newRow("-2.5 goes to -2") << 0 << 1.0 << -2.5 << false << -2;
    QTest::newRow("positive y goes up") << 116 << 1.0 << 16.0 << true << 100;
    QTest::newRow("low 32 bits") << 328 << 1.0 << 4294967301.0 << false << 333;
}

void PlotCanvasTest::transform() {
    QFETCH(int, origin);
    QFETCH(double, scale);
    QFETCH(double, value);
    QFETCH(bool, upwards);
    QFETCH(int, pixel);
    const auto p = PlotCoordinate(origin, scale, value, upwards);
    QVERIFY(p.has_value());
    QCOMPARE(*p, pixel);
}

void PlotCanvasTest::transformBeyondTheRange() {
    // The farthest pixel on the product's side; downwards on the screen for a negative y.
    QCOMPARE(PlotCoordinate(0, 1.0, 1e19, false), std::optional<std::int32_t>(INT32_MAX));
    QCOMPARE(PlotCoordinate(0, 1.0, -1e19, false), std::optional<std::int32_t>(INT32_MIN));
    QCOMPARE(PlotCoordinate(0, 1e300, -1e300, true), std::optional<std::int32_t>(INT32_MAX));
    QCOMPARE(PlotCoordinate(0, 10.0, HUGE_VAL, true), std::optional<std::int32_t>(INT32_MIN));
    QCOMPARE(PlotCoordinate(0, 1.0, std::nan(""), false), std::nullopt);
    QCOMPARE(PlotCoordinate(0, 1.0, 9.2e18, false),
             std::optional<std::int32_t>(std::uint32_t(9200000000000000000ull)));
}

void PlotCanvasTest::dotStyleSetsOnePixelPerSample() {
    Area a;
    a.PrepareWithoutGrid();
    a.graph.ScX = 32;
    a.graph.ScY = 10;
    a.graph.FXY = {{2.5, -1.25}, {3, 2}};
    a.settings.curveColor = QColor(0, 0, 255);
    a.DrawGraph();
    QCOMPARE(a.At(408, 128), QColor(0, 0, 255));
    QCOMPARE(a.At(424, 96), QColor(0, 0, 255));
    QCOMPARE(a.Count(QColor(0, 0, 255), a.image.rect()), 2);
}

void PlotCanvasTest::lineStyleWithOneSampleDrawsNothing() {
    Area a;
    a.Prepare();
    const QImage before = a.image;
    a.UseLines(4);
    a.graph.FXY = {{1, 1}};
    a.DrawGraph();
    QCOMPARE(a.image, before);
}

void PlotCanvasTest::lineStyleUsesTheCurveWidth() {
    Area a;
    a.PrepareWithoutGrid();
    a.UseLines(4);
    a.settings.curveColor = QColor(0, 0, 255);
    a.graph.ScX = a.graph.ScY = 20;
    a.graph.FXY = {{0, 1}, {5, 1}};  // from (328, 96) to (428, 96)
    a.DrawGraph();
    QCOMPARE(a.Count(QColor(0, 0, 255), {378, 80, 1, 30}), 4);
    QCOMPARE(a.surface.penWidth, 4);
}

void PlotCanvasTest::seriesMarkersLeaveThePenOnePixelWide() {
    Area a;
    a.PrepareWithoutGrid();
    a.UseLines(4);
    a.settings.seriesOn = true;
    a.graph.DScX = a.graph.DScY = 20;
    a.graph.DataXY = {{0, 1}, {5, 1}, {10, 1}};  // (328, 96), (428, 96), (528, 96)
    a.DrawGraph();
    // The first marker set the pen to 1 pixel before any segment was drawn.
    QCOMPARE(a.Count(kSeries, {378, 80, 1, 30}), 1);
    QCOMPARE(a.Count(kSeries, {478, 80, 1, 30}), 1);
    QVERIFY(a.Count(kMarker, {426, 94, 5, 5}) > 0);
    QCOMPARE(a.surface.penWidth, 1);

    // Without a marker shape the segments keep the curve width.
    Area b;
    b.settings = a.settings;
    b.settings.markerShape = -1;
    b.graph.ox = 328;
    b.graph.oy = 116;
    b.graph.DScX = b.graph.DScY = 20;
    b.graph.DataXY = a.graph.DataXY;
    b.DrawGraph();
    QCOMPARE(b.Count(kSeries, {378, 80, 1, 30}), 4);
}

void PlotCanvasTest::markers() {
    Area a;
    a.surface.penColor = kBlack;
    a.surface.penWidth = 3;
    a.Draw([](TPlotCanvas& c) { c.PlotCircle(100, 100, 5, QColor(255, 0, 0)); });
    QCOMPARE(a.surface.penWidth, 1);
    QCOMPARE(a.At(100, 100), QColor(255, 0, 0));
    QCOMPARE(a.At(100, 95), kBlack);  // the outline keeps the pen colour
    QCOMPARE(a.At(100, 92), QColor(Qt::white));
    QCOMPARE(a.surface.brushColor, QColor(255, 0, 0));
    QVERIFY(!a.surface.brushClear);

    a.Draw([](TPlotCanvas& c) { c.PlotSquare(200, 100, 3, QColor(0, 0, 255)); });
    QCOMPARE(a.At(200, 100), QColor(0, 0, 255));
    for (QPoint corner : {QPoint(197, 97), QPoint(203, 97), QPoint(203, 103), QPoint(197, 103)})
        QCOMPARE(a.At(corner.x(), corner.y()), kBlack);
    QCOMPARE(a.At(196, 100), QColor(Qt::white));
    QCOMPARE(a.At(204, 100), QColor(Qt::white));
}

void PlotCanvasTest::bezierSegments_data() {
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("reached");  // index of the last point the curve reaches, -1: none
    QTest::newRow("1 point") << 1 << -1;
    QTest::newRow("2 points") << 2 << -1;
    QTest::newRow("3 points: one segment") << 3 << 2;
    QTest::newRow("4 points: one segment, short of the last") << 4 << 2;
    QTest::newRow("5 points: two segments") << 5 << 4;
}

void PlotCanvasTest::bezierSegments() {
    QFETCH(int, points);
    QFETCH(int, reached);
    Area a;
    a.PrepareWithoutGrid();
    a.settings.seriesOn = true;
    a.settings.curveStyle = -1;  // the series step only records the points
    a.settings.bezierOn = true;
    a.graph.DScX = a.graph.DScY = 1;
    for (int i = 0; i < points; ++i)  // a zigzag 60 pixels apart, left of the y axis and right
        a.graph.DataXY.push_back({-300.0 + 120 * i, i % 2 ? -60.0 : 60.0});
    a.DrawGraph();
    QCOMPARE(int(a.graph.DataP.size()), points);
    const int green = a.Count(kBezier, a.image.rect());
    if (reached < 0) {
        QCOMPARE(green, 0);
        return;
    }
    for (int i = 0; i < points; ++i) {
        const ScreenPoint p = a.graph.DataP[i];
        const int near = a.Count(kBezier, {p.X - 2, p.Y - 2, 5, 5});
        if (i % 2 == 0 && i <= reached)
            QVERIFY2(near > 0, qPrintable(QString("point %1 not reached").arg(i)));
        if (i > reached) QVERIFY2(near == 0, qPrintable(QString("point %1 reached").arg(i)));
    }
}

void PlotCanvasTest::bezierUsesPointsOfTheLastSeriesDrawing() {
    Area a;
    a.PrepareWithoutGrid();
    a.settings.bezierOn = true;
    a.settings.seriesOn = false;
    a.graph.DataP = {{100, 50}, {150, 50}};
    a.graph.DataXY = {{0, 0}, {0, 0}, {0, 0}};  // the third point was never drawn: (0, 0)
    a.DrawGraph();
    QCOMPARE(a.graph.DataP[2], (ScreenPoint{0, 0}));
    QVERIFY(a.Count(kBezier, {98, 48, 5, 5}) > 0);
    QVERIFY(a.Count(kBezier, {0, 0, 4, 4}) > 0);
}

// Samples at x = -3..3 on y = 1, 20 pixels per unit: (268, 96) to (388, 96). The samples at
// x = -3 and 0 are gaps.
void PlotCanvasTest::gapsAreNotDrawn_data() {
    QTest::addColumn<int>("style");
    QTest::newRow("Nokta") << 0;
    QTest::newRow("Çizgi") << 1;
    QTest::newRow("Seri Biçimi") << 2;
}

void PlotCanvasTest::gapsAreNotDrawn() {
    QFETCH(int, style);
    Area a;
    a.PrepareWithoutGrid();
    a.settings.curveStyle = style;
    a.settings.curveWidth = 2;
    a.settings.curveColor = QColor(0, 0, 255);
    a.graph.ScX = a.graph.ScY = 20;
    const double gap = std::nan("");
    a.graph.FXY = {{-3, gap}, {-2, 1}, {-1, 1}, {0, gap}, {1, 1}, {2, 1}, {3, 1}};
    // The preparation left the current position at the end of the x axis, (657, 116): a
    // line must not start from there.
    a.DrawGraph();
    const QColor blue(0, 0, 255);
    QCOMPARE(a.Count(blue, {250, 80, 15, 40}), 0);   // around x = -3
    QCOMPARE(a.Count(blue, {312, 80, 33, 40}), 0);   // between x = -1 and 1
    QCOMPARE(a.Count(blue, {392, 80, 265, 40}), 0);  // right of the last sample
    for (int x : {288, 308, 348, 368, 388})
        QVERIFY2(a.Count(blue, {x - 3, 93, 7, 7}) > 0, qPrintable(QString::number(x)));
    if (style == 1) {  // the lines on either side of the gap are whole
        QVERIFY(a.Count(blue, {298, 93, 1, 7}) > 0);
        QVERIFY(a.Count(blue, {358, 93, 1, 7}) > 0);
        QVERIFY(a.Count(blue, {378, 93, 1, 7}) > 0);
    }
}

// A sample whose pixel lies beyond the 64-bit range (y = 1E300 at 20 pixels per unit) is
// drawn towards the edge on its side, and the drawing goes on after it.
void PlotCanvasTest::pointsBeyondTheRangeLeaveTheAreaTheirWay_data() {
    QTest::addColumn<int>("width");
    QTest::newRow("thin pen") << 1;
    QTest::newRow("wide pen") << 4;
}

void PlotCanvasTest::pointsBeyondTheRangeLeaveTheAreaTheirWay() {
    QFETCH(int, width);
    Area a;
    a.PrepareWithoutGrid();
    a.UseLines(width);
    a.settings.curveColor = QColor(0, 0, 255);
    a.graph.ScX = a.graph.ScY = 20;
    a.graph.FXY = {{-2, 1}, {0, 1e300}, {0, -1e300}, {2, 1}};
    a.DrawGraph();
    const QColor blue(0, 0, 255);
    QVERIFY(a.Count(blue, {284, 92, 10, 8}) > 0);    // the first sample, (288, 96)
    QVERIFY(a.Count(blue, {322, 2, 12, 10}) > 0);    // the line up to the top edge at x = 0
    QVERIFY(a.Count(blue, {322, 220, 12, 10}) > 0);  // and down to the bottom edge
    QVERIFY(a.Count(blue, {364, 92, 10, 8}) > 0);    // the last sample, (368, 96)
}

void PlotCanvasTest::farPointsDoNotStopTheDrawing() {
    Area a;
    a.PrepareWithoutGrid();
    a.UseLines(4);
    a.settings.curveColor = QColor(0, 0, 255);
    a.graph.FXY = {{0, 0}, {1e9, 1e9}, {-1e9, 1e9}};
    a.DrawGraph();
    // The first segment runs up and to the right at 45 degrees from the origin.
    QVERIFY(a.Count(QColor(0, 0, 255), {348, 94, 5, 5}) > 0);
}

QTEST_MAIN(PlotCanvasTest)
#include "plot_canvas_test.moc"
