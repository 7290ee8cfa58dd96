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

TEST(SeriesText, LineBreaksBecomeCrLfOnlyBetweenLines) {
    EXPECT_EQ(EncodeSeriesFile("a\nb\n", SeriesEncoding::Plain), QByteArray("a\r\nb\r\n"));
    EXPECT_EQ(EncodeSeriesFile("a", SeriesEncoding::Utf8Mark), QByteArray("\xEF\xBB\xBF"
                                                                          "a"));
    EXPECT_EQ(DecodeSeriesFile("a\r\n\r\nb\rc\n").text, QString("a\n\nb\nc\n"));
}

}  // namespace
}  // namespace zentu
