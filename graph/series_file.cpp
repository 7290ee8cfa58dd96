// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/series_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <array>

#include "graph/graph_model.h"

namespace zentu {

namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF", 3);
const QByteArray kUtf16LEMark("\xFF\xFE", 2);
const QByteArray kUtf16BEMark("\xFE\xFF", 2);

std::string Utf8(const QString& s) {
    return s.toStdString();
}

// Windows-1254 bytes 0x80 to 0xFF; below them the code page is ASCII. The seven bytes that
// the code page leaves unassigned (81, 8D to 90, 9D, 9E) stand for the control characters
// of the same numbers, so every byte has a character and comes back.
constexpr char16_t kWindows1254High[128] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x008E, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x009E, 0x0178,  //
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,  //
    0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,  //
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  //
    0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,  //
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,  //
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,  //
    0x011E, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7,  // Ğ
    0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x0130, 0x015E, 0x00DF,  // İ Ş
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,  //
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,  //
    0x011F, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,  // ğ
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x0131, 0x015F, 0x00FF,  // ı ş
};

constexpr const char* kWindows1254Name = "windows-1254";

// The table the other way round: characters of the upper half, sorted, with their bytes.
struct CodePageEntry {
    char16_t character;
    unsigned char byte;
};
const std::array<CodePageEntry, 128>& Windows1254Bytes() {
    static const std::array<CodePageEntry, 128> entries = [] {
        std::array<CodePageEntry, 128> e{};
        for (int i = 0; i < 128; ++i)
            e[i] = {kWindows1254High[i], static_cast<unsigned char>(0x80 + i)};
        std::sort(e.begin(), e.end(), [](const CodePageEntry& a, const CodePageEntry& b) {
            return a.character < b.character;
        });
        return e;
    }();
    return entries;
}

// UTF-8, keeping a U+FEFF at the start of `bytes` as text (a mark has been cut off before).
QString DecodeUtf8(QByteArrayView bytes, bool* valid = nullptr) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (valid) *valid = !decoder.hasError();
    return text;
}

bool IsUtf8(QByteArrayView bytes) {
    bool valid = false;
    DecodeUtf8(bytes, &valid);
    return valid;
}

// UTF-8 without a mark, unless the text itself begins with U+FEFF: then a mark goes first,
// or the next read would take that character for one.
QByteArray EncodeUtf8(const QString& text) {
    if (text.startsWith(QChar(0xFEFF))) return kUtf8Mark + text.toUtf8();
    return text.toUtf8();
}

// CR LF, CR and LF each become "\n".
QString UnifyLineBreaks(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// A damaged file keeps everything that can be read: a last byte without its partner is
// dropped and a lone surrogate becomes U+FFFD, the replacement character.
QString DecodeUtf16(QByteArrayView bytes, bool littleEndian) {
    QString text(bytes.size() / 2, Qt::Uninitialized);
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const unsigned lo = b[2 * i + (littleEndian ? 0 : 1)];
        const unsigned hi = b[2 * i + (littleEndian ? 1 : 0)];
        text[i] = QChar(static_cast<char16_t>(hi << 8 | lo));
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

}  // namespace

bool QtHasWindows1254() {
    static const bool has = QStringDecoder(kWindows1254Name).isValid();
    return has;
}

QString DecodeWindows1254(QByteArrayView bytes, CodePageConverter converter) {
    if (converter == CodePageConverter::Qt) {
        QStringDecoder decoder(kWindows1254Name, QStringConverter::Flag::Stateless);
        return decoder.decode(bytes);
    }
    QString text(bytes.size(), Qt::Uninitialized);
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        text[i] = QChar(b[i] < 0x80 ? char16_t(b[i]) : kWindows1254High[b[i] - 0x80]);
    return text;
}

std::optional<QByteArray> EncodeWindows1254(QStringView text, CodePageConverter converter) {
    if (converter == CodePageConverter::Qt) {
        QStringEncoder encoder(kWindows1254Name, QStringConverter::Flag::Stateless);
        QByteArray bytes = encoder.encode(text);
        if (encoder.hasError()) return std::nullopt;
        return bytes;
    }
    const auto& entries = Windows1254Bytes();
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            bytes[i] = static_cast<char>(c);
            continue;
        }
        const auto it = std::lower_bound(
            entries.begin(), entries.end(), c,
            [](const CodePageEntry& e, char16_t value) { return e.character < value; });
        if (it == entries.end() || it->character != c) return std::nullopt;
        bytes[i] = static_cast<char>(it->byte);
    }
    return bytes;
}

SeriesFileText DecodeSeriesFile(const QByteArray& bytes) {
    SeriesFileText file;
    if (bytes.startsWith(kUtf8Mark)) {
        file.encoding = SeriesEncoding::Utf8Mark;
        // Broken sequences become U+FFFD; the readable rest of the file stays.
        file.text = DecodeUtf8(QByteArrayView(bytes).sliced(3));
    } else if (bytes.startsWith(kUtf16LEMark)) {
        file.encoding = SeriesEncoding::Utf16LE;
        file.text = DecodeUtf16(QByteArrayView(bytes).sliced(2), true);
    } else if (bytes.startsWith(kUtf16BEMark)) {
        file.encoding = SeriesEncoding::Utf16BE;
        file.text = DecodeUtf16(QByteArrayView(bytes).sliced(2), false);
    } else {
        bool utf8 = false;
        file.text = DecodeUtf8(bytes, &utf8);
        if (!utf8) {
            file.encoding = SeriesEncoding::Windows1254;
            file.text = DecodeWindows1254(
                bytes, QtHasWindows1254() ? CodePageConverter::Qt : CodePageConverter::Table);
        }
    }
    file.text = UnifyLineBreaks(std::move(file.text));
    return file;
}

QByteArray EncodeSeriesFile(const QString& memoText, SeriesEncoding encoding) {
    QString text = UnifyLineBreaks(memoText);
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    switch (encoding) {
        case SeriesEncoding::Plain:
            return EncodeUtf8(text);
        case SeriesEncoding::Windows1254: {
            const std::optional<QByteArray> bytes = EncodeWindows1254(
                text, QtHasWindows1254() ? CodePageConverter::Qt : CodePageConverter::Table);
            // Bytes that are valid UTF-8 would be read as UTF-8: "Ã§" would come back "ç".
            const bool readsBack =
                bytes && (!IsUtf8(*bytes) || std::all_of(bytes->begin(), bytes->end(), [](char c) {
                    return static_cast<unsigned char>(c) < 0x80;
                }));
            return readsBack ? *bytes : EncodeUtf8(text);
        }
        case SeriesEncoding::Utf8Mark:
            return kUtf8Mark + text.toUtf8();
        case SeriesEncoding::Utf16LE:
        case SeriesEncoding::Utf16BE: {
            const bool little = encoding == SeriesEncoding::Utf16LE;
            QByteArray bytes = little ? kUtf16LEMark : kUtf16BEMark;
            bytes.reserve(bytes.size() + 2 * text.size());
            for (QChar c : text) {
                const char lo = static_cast<char>(c.unicode() & 0xFF);
                const char hi = static_cast<char>(c.unicode() >> 8);
                bytes.append(little ? lo : hi);
                bytes.append(little ? hi : lo);
            }
            return bytes;
        }
    }
    return EncodeUtf8(text);
}

SeriesFileText ReadSeriesFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw GraphError(Utf8("'" + path + "' dosyası açılamıyor: " + file.errorString()));
    const QString tooLarge =
        "'" + path + "' dosyası çok büyük: seri dosyaları en fazla 16 MB olabilir";
    if (file.size() > kMaxSeriesFileBytes) throw GraphError(Utf8(tooLarge));
    const QByteArray bytes = file.read(kMaxSeriesFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw GraphError(Utf8("'" + path + "' dosyası okunamıyor: " + file.errorString()));
    if (bytes.size() > kMaxSeriesFileBytes) throw GraphError(Utf8(tooLarge));
    return DecodeSeriesFile(bytes);
}

void WriteSeriesFile(const QString& path, const QString& memoText, SeriesEncoding encoding) {
    QSaveFile file(path);
    const QByteArray bytes = EncodeSeriesFile(memoText, encoding);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw GraphError(Utf8("'" + path + "' dosyası yazılamıyor: " + file.errorString()));
}

}  // namespace zentu
