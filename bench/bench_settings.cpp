// Reading a settings file: one pass however many values a section holds
// (a hand-edited or generated file of megabytes must not stall the start).
#include "app/settingstree.h"

#include <benchmark/benchmark.h>

using namespace varno;

namespace {

QByteArray settingsText(int values)
{
    QByteArray text = "Varno Settings 1\n[Settings]\n";
    for (int i = 0; i < values; ++i)
        text += "\"Value" + QByteArray::number(i) + "\"=\"some text of a setting\"\n";
    return text;
}

void BM_ParseSettings(benchmark::State &state)
{
    const QByteArray text = settingsText(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(SettingsTree::parse(text));
    state.SetBytesProcessed(state.iterations() * text.size());
    state.SetComplexityN(state.range(0));
}
// 60,000 values is about 2.3 MB.
BENCHMARK(BM_ParseSettings)->RangeMultiplier(4)->Range(1000, 64000)->Complexity();

}  // namespace

BENCHMARK_MAIN();
