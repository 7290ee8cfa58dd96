// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fonts.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QStringList>

namespace zentu::app {

void InstallFonts() {
    // Debian's fonts-wine ships metric-compatible Tahoma faces outside fontconfig's path.
    for (const char* file :
         {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
        if (QFileInfo::exists(QString::fromLatin1(file)))
            QFontDatabase::addApplicationFont(QString::fromLatin1(file));
    }
    // The first installed family of each list stands in for a missing designed family.
    // Verdana was drawn for the screen with wide letters and open forms; DejaVu Sans,
    // grown from Bitstream Vera, has the same build. Arial Rounded MT Bold is a heavy
    // rounded sans: Comfortaa where installed, else a bold Arial-metric sans.
    QFont::insertSubstitutions(QString::fromLatin1(kTahoma),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
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

}  // namespace zentu::app
