// SPDX-License-Identifier: GPL-3.0-or-later
// Series text from users and files, whatever it holds: reading pairs either gives finite
// points or raises a clear error and keeps the series; decoding a file either gives memo
// text or raises; what is written reads back the same. Random inputs with fixed seeds.
#include <gtest/gtest.h>

#include <QString>
#include <cmath>
#include <random>
#include <string>

#include "engine/engine.h"
#include "graph/graph_model.h"
#include "graph/series_file.h"

namespace zentu {
namespace {

TEST(SeriesText, RandomTextGivesPointsOrAnErrorThatKeepsTheSeries) {
    Engine engine;
    TGraph graph(engine);
    std::mt19937 random(12345);
    const std::string alphabet = "(),.;-+eE0123456789 \r\na(";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 40);
    int read = 0;
    int refused = 0;
    for (int round = 0; round < 5000; ++round) {
        std::string text;
        for (int n = length(random); n > 0; --n) text += alphabet[pick(random)];
        const std::vector<PointXY> before = graph.DataXY;
        try {
            graph.GetDataXY(text, round % 2 ? "," : ".");
            ++read;
            for (const PointXY& p : graph.DataXY)
                ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << text;
        } catch (const GraphError& e) {
            ++refused;
            ASSERT_EQ(std::string(e.what()).rfind("Geçersiz seri verisi: (", 0), 0u) << text;
            ASSERT_EQ(graph.DataXY.size(), before.size()) << text;
            for (std::size_t i = 0; i < before.size(); ++i)
                ASSERT_TRUE(graph.DataXY[i].x == before[i].x && graph.DataXY[i].y == before[i].y);
        }
    }
    EXPECT_GT(read, 100);  // both ways were taken often enough to mean something
    EXPECT_GT(refused, 100);
}

TEST(SeriesText, RandomFileBytesDecodeOrRaise) {
    std::mt19937 random(777);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 64);
    const QByteArray marks[] = {{}, "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    for (int round = 0; round < 4000; ++round) {
        QByteArray bytes = marks[round % 4];
        for (int n = length(random); n > 0; --n) bytes.append(char(byte(random)));
        try {
            const SeriesFileText file = DecodeSeriesFile(bytes);
            ASSERT_FALSE(file.text.contains(QLatin1Char('\r')));
            // What is written back reads as the same text in the same encoding.
            const SeriesFileText again =
                DecodeSeriesFile(EncodeSeriesFile(file.text, file.encoding));
            ASSERT_EQ(again.text, file.text);
            if (!file.text.isEmpty() || file.encoding != SeriesEncoding::Plain) {
                ASSERT_EQ(again.encoding, file.encoding);
            }
        } catch (const GraphError& e) {
            ASSERT_NE(round % 4, 0) << "a file without a mark always reads";
            ASSERT_TRUE(QString::fromUtf8(e.what()).startsWith("Dosya bozuk"));
        }
    }
}

// Whatever the memo holds and whichever encoding the last load left, what is saved reads
// back as the same text.
TEST(SeriesText, RandomMemoTextReadsBackAsSaved) {
    std::mt19937 random(4242);
    const QString alphabet = QString::fromUtf8("(1,2.5)\n\tşğıİŞĞçπ€\u0081\uFEFFÃ§\x1B\u00A0");
    std::uniform_int_distribution<qsizetype> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 12);
    const SeriesEncoding encodings[] = {SeriesEncoding::Plain, SeriesEncoding::Utf8Mark,
                                        SeriesEncoding::Utf16LE, SeriesEncoding::Utf16BE,
                                        SeriesEncoding::Windows1254};
    for (int round = 0; round < 20000; ++round) {
        QString text;
        for (int n = length(random); n > 0; --n) text += alphabet[pick(random)];
        const SeriesEncoding encoding = encodings[round % 5];
        const QByteArray bytes = EncodeSeriesFile(text, encoding);
        ASSERT_EQ(DecodeSeriesFile(bytes).text, text)
            << int(encoding) << " " << bytes.toHex().constData();
    }
}

TEST(SeriesText, SavingInEachEncoding) {
    struct Case {
        const char16_t* text;
        SeriesEncoding encoding;
        QByteArray bytes;
        SeriesEncoding readBack;
    } cases[] = {
        {u"ş ğ ı İ Ş Ğ\n", SeriesEncoding::Windows1254, "\xFE \xF0 \xFD \xDD \xDE \xD0\r\n",
         SeriesEncoding::Windows1254},
        // What the code page cannot hold is saved as UTF-8, without a mark.
        {u"(1,π) ş", SeriesEncoding::Windows1254, "(1,\xCF\x80) \xC5\x9F", SeriesEncoding::Plain},
        // "Ã§" is C3 A7 in Windows-1254, which would read as the UTF-8 "ç".
        {u"Ã§", SeriesEncoding::Windows1254, "\xC3\x83\xC2\xA7", SeriesEncoding::Plain},
        {u"(1,2)", SeriesEncoding::Windows1254, "(1,2)", SeriesEncoding::Plain},
        // A text that begins with U+FEFF keeps it behind a mark.
        {u"\uFEFF(1,2)", SeriesEncoding::Plain, "\xEF\xBB\xBF\xEF\xBB\xBF(1,2)",
         SeriesEncoding::Utf8Mark},
        {u"\uFEFFş", SeriesEncoding::Windows1254, "\xEF\xBB\xBF\xEF\xBB\xBF\xC5\x9F",
         SeriesEncoding::Utf8Mark},
        {u"a\uFEFF", SeriesEncoding::Plain, "a\xEF\xBB\xBF", SeriesEncoding::Plain},
        {u"\uFEFF", SeriesEncoding::Utf16LE, QByteArray("\xFF\xFE\xFF\xFE", 4),
         SeriesEncoding::Utf16LE},
        {u"\uFEFFa", SeriesEncoding::Utf16BE,
         QByteArray("\xFE\xFF\xFE\xFF\x00"
                    "a",
                    6),
         SeriesEncoding::Utf16BE},
    };
    for (const Case& c : cases) {
        // (QString::fromUtf8 would drop a leading U+FEFF.)
        const QString text = QStringView(c.text).toString();
        const QByteArray bytes = EncodeSeriesFile(text, c.encoding);
        EXPECT_EQ(bytes.toHex(' '), c.bytes.toHex(' ')) << text.toStdString();
        const SeriesFileText back = DecodeSeriesFile(bytes);
        EXPECT_EQ(back.encoding, c.readBack) << text.toStdString();
        EXPECT_EQ(back.text, text) << text.toStdString();
    }
}

// Only the first mark is a mark: found by fuzzing, the file lost a U+FEFF on each
// load and save.
TEST(SeriesText, MarksAfterTheFirstAreText) {
    const QByteArray bytes = QByteArray("\xEF\xBB\xBF").repeated(3) + QByteArray(110, '\x1B');
    const SeriesFileText file = DecodeSeriesFile(bytes);
    EXPECT_EQ(file.encoding, SeriesEncoding::Utf8Mark);
    EXPECT_EQ(file.text, QString(2, QChar(0xFEFF)) + QString(110, QChar(0x1B)));
    EXPECT_EQ(EncodeSeriesFile(file.text, file.encoding), bytes);
}

// Without a mark: UTF-8 when the bytes are valid UTF-8, else Windows-1254.
TEST(SeriesText, FilesWithoutAMark) {
    struct Case {
        QByteArray bytes;
        const char* text;
        SeriesEncoding encoding;
    } cases[] = {
        {"(1,2) \xC5\x9F", "(1,2) ş", SeriesEncoding::Plain},
        {"(1,2) \xFE\xF0\xFD", "(1,2) şğı", SeriesEncoding::Windows1254},
        {"\xC5", "Å", SeriesEncoding::Windows1254},                   // a sequence cut short
        {"\xC0\x80", "À€", SeriesEncoding::Windows1254},              // an overlong NUL
        {"\xED\xA0\x80", "í\xC2\xA0€", SeriesEncoding::Windows1254},  // a UTF-16 surrogate
        {"\x81\x8D\x9E", "\u0081\u008D\u009E", SeriesEncoding::Windows1254},
        {"", "", SeriesEncoding::Plain},
    };
    for (const Case& c : cases) {
        const SeriesFileText file = DecodeSeriesFile(c.bytes);
        EXPECT_EQ(file.text, QString::fromUtf8(c.text)) << c.bytes.toHex().constData();
        EXPECT_EQ(file.encoding, c.encoding) << c.bytes.toHex().constData();
        EXPECT_EQ(EncodeSeriesFile(file.text, file.encoding), c.bytes);
    }
}

// The table that stands in for Qt's Windows-1254 converter gives what Qt's gives.
TEST(SeriesText, CodePageTableMatchesQt) {
    if (!QtHasWindows1254()) {
        GTEST_SKIP() << "this Qt has no Windows-1254 converter";
    }
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(char(b));
    const QString viaQt = DecodeWindows1254(all, CodePageConverter::Qt);
    EXPECT_EQ(DecodeWindows1254(all, CodePageConverter::Table), viaQt);
    EXPECT_EQ(EncodeWindows1254(viaQt, CodePageConverter::Table), all);
    for (char32_t c = 0; c < 0x10000; ++c) {
        const QChar ch(static_cast<char16_t>(c));
        const auto a = EncodeWindows1254(QStringView(&ch, 1), CodePageConverter::Qt);
        const auto b = EncodeWindows1254(QStringView(&ch, 1), CodePageConverter::Table);
        ASSERT_EQ(a.has_value(), b.has_value()) << std::hex << unsigned(c);
        if (a) {
            ASSERT_EQ(*a, *b) << std::hex << unsigned(c);
        }
    }
}

TEST(SeriesText, LineBreaksBecomeCrLfOnlyBetweenLines) {
    EXPECT_EQ(EncodeSeriesFile("a\nb\n", SeriesEncoding::Plain), QByteArray("a\r\nb\r\n"));
    EXPECT_EQ(EncodeSeriesFile("a", SeriesEncoding::Utf8Mark), QByteArray("\xEF\xBB\xBF"
                                                                          "a"));
    EXPECT_EQ(DecodeSeriesFile("a\r\n\r\nb\rc\n").text, QString("a\n\nb\nc\n"));
}

}  // namespace
}  // namespace zentu
