// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/look.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QStringList>

namespace zentu::ui {

namespace {

// The faces a substitute must have, with the file of each face in Debian's packages. A
// face the font database does not know yet is registered from its file.
struct Face {
    const char* family;
    const char* style;
    const char* file;
};

constexpr Face kSubstituteFaces[] = {
    {"Liberation Sans", "Regular",
     "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"},
    {"Liberation Sans", "Bold", "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf"},
};

}  // namespace

void InstallFonts() {
    for (const Face& face : kSubstituteFaces) {
        const QString file = QString::fromLatin1(face.file);
        if (!QFontDatabase::styles(QString::fromLatin1(face.family))
                 .contains(QString::fromLatin1(face.style)) &&
            QFileInfo::exists(file))
            QFontDatabase::addApplicationFont(file);
    }
    // The first installed family of each list stands in for a missing designed family.
    // Tahoma: Liberation Sans, whose regular and bold faces are drawn as a pair and which is
    // narrow enough for the designed captions at the designed sizes ("Fonksiyon Serisi
    // [i: x ; y]" inside its group box, "Otomatik Ölçeklendir" inside its check box at 8
    // points). Wine's Tahoma files do not serve: their bold face repeats the regular
    // outlines with wider spacing, so bold keys looked regular, and the regular face runs
    // those two captions past their room. Verdana was drawn for the screen with wide
    // letters and open forms; DejaVu Sans, grown from Bitstream Vera, has the same build
    // and a bold oblique face for the function keys. Arial Rounded MT Bold is a heavy
    // rounded sans: Comfortaa where installed, else a bold Arial-metric sans.
    QFont::insertSubstitutions(QString::fromLatin1(kTahoma),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QString::fromLatin1(kVerdana),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QString::fromLatin1(kArialRounded),
                               {QStringLiteral("Comfortaa"), QStringLiteral("Liberation Sans"),
                                QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QString::fromLatin1(kEstrangelo),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
}

QFont PixelFont(const char* family, int pixel_height, bool bold, bool italic) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixel_height);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont PointFont(const char* family, int points) {
    return QFont(QString::fromLatin1(family), points);
}

int PixelMetricStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                  const QWidget* widget) const {
    if (metric == metric_) return value_;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

}  // namespace zentu::ui
