// Saving and loading a theme against the floor of only encoding (or
// decoding) its two pictures with the same codec.
#include "app/raster/pictureio.h"
#include "base/prompt.h"
#include "base/runtimeerror.h"
#include "colour/colortable.h"
#include "package/savetheme.h"
#include "package/themeloader.h"
#include "resources/resources.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace varno;

namespace {

// A photo-like picture: smooth ramps with some texture, so JPEG works as
// hard as on a real theme.
Raster photo(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 255) / w, (y * 255) / h, ((x * y) ^ (x + y)) & 0xFF));
    return Raster::fromImage(img);
}

struct Fixture {
    Fixture()
    {
        paths.appFolder = home.path();
        paths.settingsFile = home.filePath("settings.reg");
        paths.tmpFolder = home.filePath("tmp");
        QDir().mkpath(paths.tmpFolder);
        settings.themesFolder = home.path() + "/";
        doc.themeType = "QVGA";
        doc.themeName = "Bench";
        doc.colours.colors = defaultThemeColors();
        doc.todayPicture = Raster(640, 588);
        doc.todayPicture.copyRect(photo(320, 294), 0, 0, 320, 294, 0, 0);
        doc.menuPicture = doc.todayPicture;
    }
    ThemeContext ctx() { return {prompt, doc, settings, paths, templateInf, palettes}; }

    QTemporaryDir home;
    AppPaths paths;
    AppSettings settings;
    ThemeDocument doc;
    SilentPrompt prompt;
    QByteArray templateInf = customResource("TOPINF");
    Palettes palettes = buildPalettes();
};

void BM_SaveTheme(benchmark::State &state)
{
    Fixture f;
    const QString target = f.home.filePath("bench.tsk");
    for (auto _ : state) {
        ThemeContext c = f.ctx();
        if (!saveTheme(c, CompressionHigh, target))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveTheme)->Unit(benchmark::kMillisecond);

void BM_EncodeFloor(benchmark::State &state)
{
    Fixture f;
    const Raster today = todayPictureForSave(f.doc);
    const Raster menu = menuPictureForSave(f.doc);
    for (auto _ : state) {
        benchmark::DoNotOptimize(encodeJpeg(today, 20));
        benchmark::DoNotOptimize(encodeJpeg(menu, 20));
    }
}
BENCHMARK(BM_EncodeFloor)->Unit(benchmark::kMillisecond);

void BM_LoadTheme(benchmark::State &state)
{
    Fixture f;
    const QString theme = f.home.filePath("bench.tsk");
    {
        ThemeContext c = f.ctx();
        saveTheme(c, CompressionHigh, theme);
    }
    ThemeLoadView view;
    for (auto _ : state) {
        ThemeContext c = f.ctx();
        if (!loadThemeFile(c, view, theme, false))
            state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_LoadTheme)->Unit(benchmark::kMillisecond);

void BM_DecodeFloor(benchmark::State &state)
{
    Fixture f;
    const QByteArray today = encodeJpeg(todayPictureForSave(f.doc), 20);
    const QByteArray menu = encodeJpeg(menuPictureForSave(f.doc), 20);
    for (auto _ : state) {
        benchmark::DoNotOptimize(loadPictureData(today));
        benchmark::DoNotOptimize(loadPictureData(menu));
    }
}
BENCHMARK(BM_DecodeFloor)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
