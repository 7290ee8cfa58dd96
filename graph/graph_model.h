// SPDX-License-Identifier: GPL-3.0-or-later
// The graph window's plot, in three layers:
//
//   TGraph       (graph_model.h)  the model: the samples of a formula over an interval, one
//                                  engine evaluation per sample; the point series read from
//                                  pairs such as "(1,2)"; the pixel geometry of the last
//                                  prepared plot area and the four scale factors. Standard
//                                  C++ only, without Qt, like the engine.
//   TPlotCanvas  (plot_canvas.h)  draws the model on any QPainter: background, border, grid,
//                                  axes, the curve, the series with its markers and a Bezier
//                                  through the series. Pen and brush carry over between
//                                  operations and commands through a SurfaceState.
//   TFGraphics   (graph_window.h) the "Grafik Kokpit" window: its controls and commands, auto
//                                  scaling, the kept plot image and the series files.
//
// A compute runs like this: the window hands the texts of its controls to TGraph::Compute,
// which evaluates the two constants and the interval ends, puts the constants' number texts
// into the formula, and then, for every sample, puts the variable's number text into the
// formula (cut and normalised once, as a SampledFormula) and evaluates it once. The
// samples replace the previous ones only when the compute runs to its end.
//
// A sample whose evaluation fails is a gap: it has no value (its y is NaN), its list line
// shows the engine's error text, the curve is not drawn there and auto scaling leaves it
// out. A constant or interval end that fails, or a sample count outside 0..65535, stops
// the compute before anything changes.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zentu {

class Engine;
class SampledFormula;

struct PointXY {
    double x = 0;
    double y = 0;
};

// A sample whose evaluation failed: it has no value.
inline bool IsGap(const PointXY& sample) {
    return std::isnan(sample.y);
}

// A pixel of the plot area, x to the right and y downwards.
struct ScreenPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// Raised by an operation of the plot; the window shows its text in the general error box.
class GraphError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The texts of the window's function definition, as typed.
struct ComputeRequest {
    std::string formula;
    std::string const1Name;
    std::string const1Value;
    std::string const2Name;
    std::string const2Value;
    std::string start;        // interval start (an expression)
    std::string end;          // interval end (an expression)
    std::string sampleCount;  // number of intervals
    std::string variable;
    int decimals = 3;                    // decimals of the sample list, 0..6
    std::string decimalSeparator = ".";  // the user's decimal separator, for the list lines
    std::string startLabel = "t1=";      // the interval ends' labels, for error messages
    std::string endLabel = "t2=";
};

// The message of a sample count outside 0..65535.
inline constexpr std::string_view kSampleCountRangeError = "Örnekleme 0 ile 65535 arasında olmalı.";

// Told how far a compute has come (samples done out of total); returning false cancels it.
using ComputeProgress = std::function<bool(std::size_t done, std::size_t total)>;

enum class ComputeResult {
    Skipped,    // the formula was blank: nothing changed
    Done,       // new samples and list lines
    Cancelled,  // the previous samples are kept
};

class TGraph {
  public:
    explicit TGraph(Engine& engine) : engine_(engine) {}

    // Fills the fields from the request and samples the formula (FCalcXY). `lines` receives
    // one "[i: x ; y]" line per sample when the result is Done and is left alone otherwise.
    // Throws GraphError, with nothing changed, when the sample count is not an integer from
    // 0 to 65535 or when a constant's value or an interval end fails to evaluate
    // ("Geçersiz değer (t1=): Yazım Hatası...").
    ComputeResult Compute(const ComputeRequest& request, std::vector<std::string>& lines,
                          const ComputeProgress& progress = {});

    // Samples Formula at SampleYZ + 1 points over [x1, x2]. A failed sample is a gap whose
    // line shows the engine's error text, "[0: -1 ; Yazım Hatası...]". Returns false,
    // leaving FXY and `lines` as they were, when `progress` cancels.
    bool FCalcXY(int decimals, std::string_view separator, std::vector<std::string>& lines,
                 const ComputeProgress& progress = {});
    // The value of Formula with FVXY replaced by the number text of x; NaN when the
    // evaluation fails (FErr tells).
    double FCalcXYPoint(double x);

    // Reads the pairs "(x,y)" of s, left to right, into DataXY; the numbers are read with
    // the given decimal separator. Text outside pairs is ignored. A text without a pair
    // leaves DataXY as it was; a pair that does not hold two numbers raises GraphError
    // ("Geçersiz seri verisi: (5)") and also leaves DataXY as it was.
    void GetDataXY(std::string_view s, std::string_view separator);

    // Statistics for auto scaling, each on a non-empty array. The "Max" figures are the
    // largest absolute y (so a curve below the axis scales as well as one above it); the
    // "Ort" figures are the mean absolute y. Gaps are left out; without any value they
    // are 0.
    double GetFXYMaxY() const;
    double GetFXYOrtY() const;
    double GetSeriMaxY() const;
    double GetSeriOrtY() const;

    // The characters between the first `open` and the first `close` of s; empty when the
    // close does not come after the open. With no open at all, everything before the close.
    static std::string TextBetween(std::string_view s, std::string_view open,
                                   std::string_view close);

    // ---- Pixel geometry of the last prepared plot area ----
    std::uint16_t ox = 0;
    std::uint16_t oy = 0;
    std::uint16_t DeltaX = 0;
    std::uint16_t DeltaY = 0;

    // ---- Samples and series ----
    std::vector<PointXY> FXY;  // a failed sample keeps its x and has a NaN y (IsGap)
    std::vector<PointXY> DataXY;
    std::vector<ScreenPoint> DataP;  // the series in pixels, from the last series drawing

    // ---- Scale factors, pixels per unit ----
    double DScX = 1.0;
    double DScY = 1.0;
    double ScX = 1.0;
    double ScY = 1.0;

    // ---- The last compute ----
    std::uint16_t SampleYZ = 0;  // number of intervals
    std::string FVXY;            // the variable (one character)
    std::string Const1Name;      // up to two characters
    std::string Const1;          // number text of the constant's value
    std::string Const2Name;
    std::string Const2;
    std::string Formula;  // the formula with both constants replaced
    double x1 = 0;
    double x2 = 0;
    bool FErr = false;  // the engine's error flag after the last sample

  private:
    double SampleAt(const SampledFormula& formula, double x);
    // One of the evaluated fields; a failure raises "Geçersiz değer (label): error text".
    long double EvaluateField(std::string_view text, std::string_view label);
    double IntervalEnd(std::string_view text, std::string_view label);

    Engine& engine_;
    // Line strings of an earlier compute, reused by the next one so that recomputing
    // allocates nothing per sample.
    std::vector<std::string> spare_lines_;
};

// Replaces every occurrence of `pattern` in `text`, scanning from the left; the scan goes on
// after each match in the source, so inserted text is never searched again. Case matters;
// an empty pattern replaces nothing.
std::string ReplaceText(std::string_view text, std::string_view pattern,
                        std::string_view replacement);

// The first `count` characters of a UTF-8 text (fewer when it is shorter).
std::string FirstCharacters(std::string_view text, std::size_t count);

// Reads a series number: optional sign, digits with at most one `separator`, an optional
// exponent ("E" or "e", optional sign, digits), blanks allowed before and after. False for
// anything else, and for a value beyond the double range.
bool ReadSeriesNumber(std::string_view text, std::string_view separator, double& value);

// Reads the sample count text: an integer (blanks before it and a sign allowed) from 0 to
// 65535. Throws GraphError with "'12a' geçerli bir tam sayı değil" for a text that is not
// an integer and with kSampleCountRangeError for an integer outside that range.
int ReadSampleCount(std::string_view text);

}  // namespace zentu
