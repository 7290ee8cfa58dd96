// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the engine's hot paths: number text both ways, one INT sample, a typical line.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/number_text.h"

namespace {

void BM_NumberToText(benchmark::State& state) {
    const long double values[] = {0.479425538604203L, 1.0L / 3, 123456.789L, 2.5e-9L, 6.02e23L};
    std::string out;
    std::size_t i = 0;
    for (auto _ : state) {
        out.clear();
        zentu::AppendNumberText(out, values[i++ % 5]);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_NumberToText);

void BM_TextToNumber(benchmark::State& state) {
    const char* tokens[] = {"0.479425538604", "0.333333333333", "123456.789000000000", "2.5E-9",
                            "602200000000000000000000.000000000000"};
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(zentu::TextToNumber(tokens[i++ % 5]));
}
BENCHMARK(BM_TextToNumber);

void BM_ResultText(benchmark::State& state) {
    std::string out;
    double x = 0.123456789;
    for (auto _ : state) {
        out.clear();
        zentu::AppendResultText(out, x);
        x += 1e-6;
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_ResultText);

// One sample of INT(SIN(T)*T;T;...): the sample's text put into the prepared formula,
// then the passes.
void BM_IntegralSample(benchmark::State& state) {
    zentu::Engine engine;
    const zentu::SampledFormula formula("SIN(T)*T", "T");
    double x = 0.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine.EvaluateAt(formula, x));
        x += 1e-6;
    }
}
BENCHMARK(BM_IntegralSample);

void BM_TypicalLine(benchmark::State& state) {
    zentu::Engine engine;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            zentu::LineExecution(engine, "2*sin(pi/6)+sqrt(2)^2-ln(_e)/3", -1));
}
BENCHMARK(BM_TypicalLine);

void BM_IntegralMillionSamples(benchmark::State& state) {
    zentu::Engine engine;
    for (auto _ : state)
        benchmark::DoNotOptimize(zentu::LineExecution(engine, "INT(SIN(T)*T;T;0;1;1000000)", -1));
}
BENCHMARK(BM_IntegralMillionSamples)->Unit(benchmark::kMillisecond)->Iterations(1);

// DSRT() over the longest series DAT can define: 65,535 values in a random order, with
// repeated values among them. Each iteration sorts the same unsorted series afresh.
void BM_SortLongestSeries(benchmark::State& state) {
    zentu::Engine engine;
    std::mt19937_64 random(20261209);
    std::uniform_int_distribution<int> pick(-40000, 40000);
    std::vector<long double> series{0.0L};
    for (int i = 0; i < 65535; ++i) series.push_back(pick(random) / 7.0L);
    for (auto _ : state) {
        state.PauseTiming();
        engine.SeriesStore = series;
        engine.SeriesCount = 65535;
        state.ResumeTiming();
        benchmark::DoNotOptimize(engine.EvaluateExpression("DSRT()"));
    }
}
BENCHMARK(BM_SortLongestSeries)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
