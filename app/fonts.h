// SPDX-License-Identifier: GPL-3.0-or-later
// The window fonts. The calculator is designed around four Windows font families; on a
// Linux desktop they are usually missing, so each family name is mapped to installed
// look-alikes and the code keeps asking for the designed names.
#pragma once

#include <QFont>

namespace zentu::app {

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

}  // namespace zentu::app
