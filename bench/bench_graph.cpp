// SPDX-License-Identifier: GPL-3.0-or-later
// The graph model's compute: 65,536 samples of SIN(t)*t, one engine evaluation each,
// with the sample list lines written as the window would show them.
#include <benchmark/benchmark.h>

#include "engine/engine.h"
#include "graph/graph_model.h"

namespace {

void BM_Compute65536Samples(benchmark::State& state) {
    zentu::Engine engine;
    zentu::TGraph graph(engine);
    const zentu::ComputeRequest request{.formula = "SIN(t)*t",
                                        .const1Name = "_a",
                                        .const1Value = "0",
                                        .const2Name = "_b",
                                        .const2Value = "0",
                                        .start = "0",
                                        .end = "10",
                                        .sampleCount = "65535",  // intervals: 65,536 samples
                                        .variable = "t"};
    std::vector<std::string> lines;
    for (auto _ : state) {
        graph.Compute(request, lines);
        benchmark::DoNotOptimize(graph.FXY.data());
    }
    state.counters["samples"] = static_cast<double>(graph.FXY.size());
}
BENCHMARK(BM_Compute65536Samples)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
