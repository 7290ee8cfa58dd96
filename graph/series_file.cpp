// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/series_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include "graph/graph_model.h"

namespace zentu {

namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF", 3);
const QByteArray kUtf16LEMark("\xFF\xFE", 2);
const QByteArray kUtf16BEMark("\xFE\xFF", 2);

std::string Utf8(const QString& s) {
    return s.toStdString();
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

SeriesFileText DecodeSeriesFile(const QByteArray& bytes) {
    SeriesFileText file;
    if (bytes.startsWith(kUtf8Mark)) {
        file.encoding = SeriesEncoding::Utf8Mark;
        // Broken sequences become U+FFFD; the readable rest of the file stays.
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        file.text = decoder.decode(QByteArrayView(bytes).sliced(3));
    } else if (bytes.startsWith(kUtf16LEMark)) {
        file.encoding = SeriesEncoding::Utf16LE;
        file.text = DecodeUtf16(QByteArrayView(bytes).sliced(2), true);
    } else if (bytes.startsWith(kUtf16BEMark)) {
        file.encoding = SeriesEncoding::Utf16BE;
        file.text = DecodeUtf16(QByteArrayView(bytes).sliced(2), false);
    } else {
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        file.text = decoder.decode(bytes);
        if (decoder.hasError()) file.text = QString::fromLatin1(bytes);
    }
    file.text = UnifyLineBreaks(std::move(file.text));
    return file;
}

QByteArray EncodeSeriesFile(const QString& memoText, SeriesEncoding encoding) {
    QString text = UnifyLineBreaks(memoText);
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    switch (encoding) {
        case SeriesEncoding::Plain:
            return text.toUtf8();
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
    return text.toUtf8();
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
