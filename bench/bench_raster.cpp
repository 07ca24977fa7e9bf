// Speed of the pixel operations a preview redraw repeats, at the sizes it
// uses, against a plain memcpy of the same bytes (the floor to compare with).
#include "app/raster/raster.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

using namespace varno;

namespace {

constexpr int W = 320, H = 293;  // the Today area of a QVGA preview

Raster pattern(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x & 255, y & 255, (x * y) & 255));
    return Raster::fromImage(image);
}

// A title-bar-like overlay: key colour with a third of it drawn.
Raster keyed(int w, int h)
{
    Raster r(w, h);
    r.fill(KeyColour);
    r.selectRect(0, 0, w / 3, h);
    r.fill(rgb(255, 0, 0));
    r.clearSelection();
    return r;
}

void BM_Memcpy(benchmark::State &state)
{
    std::vector<uint32_t> a(size_t(W) * H, 1), b(size_t(W) * H);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * 4);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(a.size()) * 4);
}
BENCHMARK(BM_Memcpy);

void BM_Fill(benchmark::State &state)
{
    Raster r(W, H);
    for (auto _ : state) {
        r.fill(rgb(10, 20, 30));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Fill);

void BM_CopyRect(benchmark::State &state)
{
    const Raster source = pattern(640, 588);
    Raster target(640, 588);
    for (auto _ : state) {
        target.copyRect(source, 0, 0, W, H, 0, 28);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyRect);

void BM_CopyRectMasked(benchmark::State &state)
{
    Raster source = keyed(W, H);
    source.selectColour(KeyColour);
    Raster target = pattern(640, 588);
    for (auto _ : state) {
        target.copyRect(source, 0, 0, W, H, 0, 28);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyRectMasked);

void BM_Blend(benchmark::State &state)
{
    Raster overlay(W, H);
    overlay.fill(rgb(255, 255, 255));
    Raster canvas = pattern(640, 588);
    for (auto _ : state) {
        canvas.blend(overlay, 0, 28, 100);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Blend);

// Select the key colour, then fill what was selected: the navigation-tray
// and message-box recolouring.
void BM_MaskFill(benchmark::State &state)
{
    Raster r = keyed(W, H);
    for (auto _ : state) {
        r.selectColour(KeyColour);
        r.fill(KeyColour);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MaskFill);

void BM_ResizeBicubic(benchmark::State &state)
{
    const Raster source = pattern(640, 588);
    for (auto _ : state) {
        Raster r = source;
        r.resize(320, 0);
        benchmark::DoNotOptimize(r.image().constBits());
    }
}
BENCHMARK(BM_ResizeBicubic)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
