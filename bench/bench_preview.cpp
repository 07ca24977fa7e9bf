// A full redraw of both previews per view and profile, against a bare copy
// of the two canvases' visible parts.
#include "app/raster/raster.h"
#include "base/prompt.h"
#include "base/runtimeerror.h"
#include "colour/colortable.h"
#include "preview/devicescreen.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

using namespace varno;

namespace {

const char *const Views[] = {"MAIN", "MENU", "MESSAGE", "MESSAGEIMP", "NAVIGATION"};
const char *const Types[] = {"STD", "QVGA", "VGA", "SQ240"};

void BM_DoScreenMain(benchmark::State &state)
{
    SilentPrompt prompt;
    ThemeDocument doc;
    AppSettings settings;
    settings.todayText = "all";
    doc.colours.colors = defaultThemeColors();
    doc.themeType = Types[state.range(1)];
    doc.wm5Theme = state.range(2) != 0;
    DeviceScreen screen(prompt, doc, settings);
    screen.showDefaultScreen();
    const QString view = QString::fromLatin1(Views[state.range(0)]);
    for (auto _ : state)
        screen.drawScreen(view);
    state.SetLabel(QStringLiteral("%1 %2%3")
                       .arg(view, doc.themeType, doc.wm5Theme ? " WM5" : "")
                       .toStdString());
}
BENCHMARK(BM_DoScreenMain)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1, 2, 3}, {0}})
    ->ArgsProduct({{0, 1}, {1}, {1}})
    ->Unit(benchmark::kMicrosecond);

// The floor: copying what reaches the two previews.
void BM_CopyPreviews(benchmark::State &state)
{
    Raster compose(640, 588), composeLand(640, 588), theme(240, 320), land(320, 240);
    for (auto _ : state) {
        theme.copyRect(compose, 0, 0, 240, 320, 0, 0);
        land.copyRect(composeLand, 0, 0, 320, 240, 0, 0);
        benchmark::DoNotOptimize(theme);
    }
}
BENCHMARK(BM_CopyPreviews)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    loadDeviceFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
