// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: arbitrary bytes as a series text file and as the series memo's pairs.
//
// Input layout: the first byte chooses the user's decimal separator for the pairs
// (".", "," or a two-byte one); the rest is the content of a file.
//
// 1. DecodeSeriesFile reads the bytes as the window's "open" does. A file it refuses must
//    be refused with GraphError; a file it reads must come back unchanged through
//    EncodeSeriesFile and DecodeSeriesFile in its own encoding (what "save" then "open"
//    does), and holds no CR (every line break is "\n"). Saved in any other encoding, the
//    text reads back the same as well: what a code page cannot hold is saved as UTF-8.
// 2. GetDataXY reads the pairs of the decoded text, and of the raw bytes too (the memo
//    may hold any text). A refused text must leave DataXY as it was; every point read is
//    finite.
#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/engine.h"
#include "graph/graph_model.h"
#include "graph/series_file.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

void ReadPairs(zentu::TGraph& graph, std::string_view text, std::string_view separator) {
    const std::vector<zentu::PointXY> before = graph.DataXY;
    try {
        graph.GetDataXY(text, separator);
    } catch (const zentu::GraphError&) {
        Check(graph.DataXY.size() == before.size() &&
              std::equal(before.begin(), before.end(), graph.DataXY.begin(),
                         [](const zentu::PointXY& a, const zentu::PointXY& b) {
                             return a.x == b.x && a.y == b.y;
                         }));
        return;
    }
    for (const zentu::PointXY& p : graph.DataXY) Check(std::isfinite(p.x) && std::isfinite(p.y));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static constexpr std::string_view kSeparators[] = {".", ",", "\xD9\xAB"};  // U+066B
    const std::string_view separator = kSeparators[data[0] % 3];
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    zentu::Engine engine;
    zentu::TGraph graph(engine);
    ReadPairs(graph, std::string_view(bytes.constData(), std::size_t(bytes.size())), separator);

    zentu::SeriesFileText file;
    try {
        file = zentu::DecodeSeriesFile(bytes);
    } catch (const zentu::GraphError&) {
        return 0;
    }
    Check(!file.text.contains(QLatin1Char('\r')));
    const zentu::SeriesFileText again =
        zentu::DecodeSeriesFile(zentu::EncodeSeriesFile(file.text, file.encoding));
    Check(again.text == file.text && again.encoding == file.encoding);
    for (zentu::SeriesEncoding other :
         {zentu::SeriesEncoding::Plain, zentu::SeriesEncoding::Utf8Mark,
          zentu::SeriesEncoding::Utf16LE, zentu::SeriesEncoding::Utf16BE,
          zentu::SeriesEncoding::Windows1254})
        Check(zentu::DecodeSeriesFile(zentu::EncodeSeriesFile(file.text, other)).text == file.text);

    ReadPairs(graph, file.text.toStdString(), separator);
    return 0;
}
