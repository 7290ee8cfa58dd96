// SPDX-License-Identifier: GPL-3.0-or-later
// Series text files: the series memo's text, one file per save.
//
// Reading looks for a byte-order mark (UTF-8, then UTF-16 little-endian, then big-endian)
// and skips it; only the first mark is one, a U+FEFF after it is text. Without a mark the
// bytes are UTF-8 when they are valid UTF-8, otherwise Windows-1254, the Turkish 8-bit
// code page of older files. Every line break (CR, LF, CR LF) becomes one memo line break.
//
// Writing puts CR LF between lines and uses the encoding of the last file loaded, mark
// included; before any load it writes UTF-8 without a mark. A text that Windows-1254
// cannot hold, or whose Windows-1254 bytes would read back as different UTF-8 text, is
// written as UTF-8 instead, so nothing is lost; a text beginning with U+FEFF is written
// with a UTF-8 mark before it when it would otherwise have none. A save goes through a
// temporary file, so a failed save leaves the old file whole.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

namespace zentu {

enum class SeriesEncoding {
    Plain,        // UTF-8 without a mark
    Utf8Mark,     // EF BB BF
    Utf16LE,      // FF FE
    Utf16BE,      // FE FF
    Windows1254,  // no mark, bytes that are not UTF-8
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

// Windows-1254 through Qt's converter of that name, which Qt builds with ICU have (Debian's
// does), or through the table of its upper 128 bytes that stands in elsewhere. Both map
// each of the 256 bytes to its own character, so any bytes come back as they were.
enum class CodePageConverter { Qt, Table };
bool QtHasWindows1254();
QString DecodeWindows1254(QByteArrayView bytes, CodePageConverter converter);
// Empty when the text holds a character that the code page lacks.
std::optional<QByteArray> EncodeWindows1254(QStringView text, CodePageConverter converter);

// Read and write a file; raise GraphError with the system's reason on failure.
SeriesFileText ReadSeriesFile(const QString& path);
void WriteSeriesFile(const QString& path, const QString& memoText, SeriesEncoding encoding);

}  // namespace zentu
