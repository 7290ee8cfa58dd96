// SPDX-License-Identifier: GPL-3.0-or-later
// Series text files: the series memo's text, one file per save.
//
// Reading looks for a byte-order mark (UTF-8, then UTF-16 little-endian, then big-endian)
// and skips it; without a mark the bytes are UTF-8, or Latin-1 when they are not valid
// UTF-8. Every line break (CR, LF, CR LF) becomes one memo line break. Writing puts CR LF
// between lines and uses the encoding of the last file loaded, mark included; without a
// marked load it writes UTF-8 without a mark. A save goes through a temporary file, so a
// failed save leaves the old file whole.
#pragma once

#include <QByteArray>
#include <QString>

namespace zentu {

enum class SeriesEncoding {
    Plain,     // no mark: UTF-8 (Latin-1 when read bytes are not UTF-8)
    Utf8Mark,  // EF BB BF
    Utf16LE,   // FF FE
    Utf16BE,   // FE FF
};

struct SeriesFileText {
    QString text;  // lines separated by "\n"
    SeriesEncoding encoding = SeriesEncoding::Plain;
};

// Larger files are refused: the memo is not a place for them.
inline constexpr qint64 kMaxSeriesFileBytes = 16 * 1024 * 1024;

// Decodes a file's bytes. A damaged file loads what can be read: broken UTF-8 after a
// UTF-8 mark and lone UTF-16 surrogates become U+FFFD, a missing last UTF-16 byte is
// dropped with the half character it began.
SeriesFileText DecodeSeriesFile(const QByteArray& bytes);
// The bytes of a file holding `memoText` (lines separated by "\n") in `encoding`.
QByteArray EncodeSeriesFile(const QString& memoText, SeriesEncoding encoding);

// Read and write a file; raise GraphError with the system's reason on failure.
SeriesFileText ReadSeriesFile(const QString& path);
void WriteSeriesFile(const QString& path, const QString& memoText, SeriesEncoding encoding);

}  // namespace zentu
