// SPDX-License-Identifier: GPL-3.0-or-later
// The look of the windows: the colours and fonts of their design, in one place for the
// calculator window, the help window and the graph window.
//
// Colours are fixed values, not roles of the desktop's palette, so a window keeps its
// designed look under a dark theme too; a control that shows a fixed colour behind its
// text fixes the text colour as well. Fonts ask for the designed Windows families, which
// a Linux desktop usually lacks: InstallFonts maps each family name to installed
// look-alikes, and the code keeps asking for the designed names.
#pragma once

#include <QColor>
#include <QFont>
#include <QProxyStyle>

namespace zentu::ui {

// ---- Colours ----------------------------------------------------------------------

// The entries of the classic 16-colour palette that the design names.
inline constexpr QColor kBlack{0, 0, 0};
inline constexpr QColor kMaroon{128, 0, 0};
inline constexpr QColor kGreen{0, 128, 0};
inline constexpr QColor kOlive{128, 128, 0};
inline constexpr QColor kGray{128, 128, 128};
inline constexpr QColor kRed{255, 0, 0};
inline constexpr QColor kLime{0, 255, 0};
inline constexpr QColor kYellow{255, 255, 0};
inline constexpr QColor kBlue{0, 0, 255};
inline constexpr QColor kWhite{255, 255, 255};

// The design's own shades, and the classic system colours it names by their role.
inline constexpr QColor kMoneyGreen{192, 220, 192};
inline constexpr QColor kSkyBlue{166, 202, 240};
inline constexpr QColor kInfoBackground{255, 255, 225};           // the tooltip colour
inline constexpr QColor kInactiveCaptionGradient{215, 228, 242};  // of a window's caption
inline constexpr QColor kButtonFace{240, 240, 240};

// ---- Fonts ------------------------------------------------------------------------

inline constexpr const char* kTahoma = "Tahoma";
inline constexpr const char* kVerdana = "Verdana";
inline constexpr const char* kArialRounded = "Arial Rounded MT Bold";
inline constexpr const char* kEstrangelo = "Estrangelo Edessa";

// Maps each designed family to its substitutes, registering a substitute's face from its
// file when the font database lacks it. Call once, after the application object exists
// and before the first window is created.
void InstallFonts();

// A font of the given family and character height in pixels.
QFont PixelFont(const char* family, int pixel_height, bool bold = false, bool italic = false);
// A font of the given family and size in points.
QFont PointFont(const char* family, int points);

// ---- Spacing ----------------------------------------------------------------------

// The application's style with one pixel metric set to the design's value, for controls
// whose captions need the classic, tighter spacing to fit their designed widths.
class PixelMetricStyle : public QProxyStyle {
  public:
    PixelMetricStyle(PixelMetric metric, int value) : metric_(metric), value_(value) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;

  private:
    PixelMetric metric_;
    int value_;
};

}  // namespace zentu::ui
