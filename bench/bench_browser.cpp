// The theme browser's engine over generated folders of themes (a mix of
// QVGA and VGA, JPEG and PNG Today pictures, each picture different):
// time to the first screenful, thumbnails per second against the floor of
// libjpeg alone decoding the same members at the same scale on every core,
// and peak memory. The folders are made once under VARNO_BENCH_THEMES (else
// the temporary folder) and reused.
//
//   bench_browser --benchmark_filter=FirstScreen   (then Rate/0 mixed, Rate/1
//   JPEG only, Floor; run
//   Memory/1000 and Memory/10000 in separate processes for the peak)
#include "package/cabwriter.h"
#include "package/themebrowsermodel.h"
#include "package/todaymember.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QEventLoop>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QThreadPool>

#include <benchmark/benchmark.h>

#include <jpeglib.h>

#include <sys/resource.h>

using namespace varno;

namespace {

QString folderOf(int count)
{
    const QString root = qEnvironmentVariableIsSet("VARNO_BENCH_THEMES")
                             ? qEnvironmentVariable("VARNO_BENCH_THEMES")
                             : QDir::tempPath() + QStringLiteral("/varno-bench-themes");
    const QString folder = root + QStringLiteral("/%1").arg(count);
    if (QDir(folder).entryList({QStringLiteral("*.tsk")}, QDir::Files).size() == count)
        return folder;
    QDir().mkpath(folder);
    QRandomGenerator random(count);
    for (int i = 0; i < count; ++i) {
        const bool vga = i % 2, png = i % 5 == 0;
        QImage today(vga ? 640 : 320, vga ? 588 : 294, QImage::Format_RGB32);
        const int a = random.bounded(256), b = random.bounded(256);
        for (int y = 0; y < today.height(); ++y) {
            auto *row = reinterpret_cast<QRgb *>(today.scanLine(y));
            for (int x = 0; x < today.width(); ++x)
                row[x] = qRgb((x + a) & 0xFF, (y + b) & 0xFF, (x * y / 64 + a) & 0xFF);
        }
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        today.save(&buffer, png ? "PNG" : "JPEG", png ? -1 : 85);
        writeCabinet(folder + QStringLiteral("/theme%1.tsk").arg(i, 5, 10, QLatin1Char('0')),
                     {{"000000vl.000", QByteArray(600, 's')},
                      {"tdywater.001", bytes},
                      {"0stwater.002", bytes}},
                     true);
    }
    return folder;
}

// Asks for rows [0, rows) as a view would and waits for them all.
void makeThumbnails(ThemeBrowserModel &model, int rows)
{
    QEventLoop loop;
    const QMetaObject::Connection done =
        QObject::connect(&model, &ThemeBrowserModel::progress, &loop, [&](int made) {
            if (made >= rows)
                loop.quit();
        });
    for (int row = 0; row < rows; ++row)
        model.index(row).data(Qt::DecorationRole);
    // Idle while the pool works, as the window's thread is.
    if (model.madeCount() < rows)
        loop.exec();
    QObject::disconnect(done);
}

// Opening a folder of 10,000 themes until the first 24 (a screenful) are
// shown, with no thumbnail cache.
void FirstScreen(benchmark::State &state)
{
    const QString folder = folderOf(10000);
    for (auto _ : state) {
        ThemeBrowserModel model;
        model.setFolder(folder);
        makeThumbnails(model, 24);
    }
}
BENCHMARK(FirstScreen)->Unit(benchmark::kMillisecond)->UseRealTime();

// The JPEG themes of the 1,000 (the floor's members), as links in a folder
// of their own.
QString jpegFolder()
{
    const QString all = folderOf(1000), folder = all + QStringLiteral("-jpeg");
    QDir().mkpath(folder);
    const QStringList themes = QDir(all).entryList({QStringLiteral("*.tsk")}, QDir::Files);
    for (int i = 0; i < themes.size(); ++i)
        if (i % 5 != 0)
            QFile::link(all + u'/' + themes[i], folder + u'/' + themes[i]);
    return folder;
}

// Arg 0: the mixed folder of 1,000; arg 1: its 800 JPEG themes alone.
void Rate(benchmark::State &state)
{
    const QString folder = state.range(0) ? jpegFolder() : folderOf(1000);
    const int count = int(QDir(folder).entryList({QStringLiteral("*.tsk")}, QDir::Files).size());
    for (auto _ : state) {
        ThemeBrowserModel model;
        model.setFolder(folder);
        makeThumbnails(model, count);
    }
    state.counters["thumbnails/s"] =
        benchmark::Counter(double(count) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(Rate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// libjpeg alone on the same JPEG members, read into memory beforehand, at
// the scale the browser's 128-pixel thumbnails use, on every core.
void Floor(benchmark::State &state)
{
    const QString folder = folderOf(1000);
    std::vector<QByteArray> members;
    for (const QString &file : QDir(folder).entryList({QStringLiteral("*.tsk")}, QDir::Files))
        members.push_back(readTodayMember(folder + u'/' + file).data);
    for (auto _ : state) {
        QThreadPool pool;
        for (const QByteArray &data : members) {
            if (!data.startsWith("\xFF\xD8\xFF"))
                continue;
            pool.start([&data] {
                jpeg_decompress_struct cinfo{};
                jpeg_error_mgr err{};
                cinfo.err = jpeg_std_error(&err);
                jpeg_create_decompress(&cinfo);
                jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char *>(data.constData()),
                             static_cast<unsigned long>(data.size()));
                jpeg_read_header(&cinfo, TRUE);
                cinfo.scale_num = 1;
                cinfo.scale_denom = cinfo.image_width >= 512 ? 4 : 2;
                jpeg_start_decompress(&cinfo);
                std::vector<unsigned char> row(cinfo.output_width * cinfo.output_components);
                unsigned char *line = row.data();
                while (cinfo.output_scanline < cinfo.output_height)
                    jpeg_read_scanlines(&cinfo, &line, 1);
                jpeg_finish_decompress(&cinfo);
                jpeg_destroy_decompress(&cinfo);
            });
        }
        pool.waitForDone();
    }
    state.counters["jpeg/s"] =
        benchmark::Counter(800.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(Floor)->Unit(benchmark::kMillisecond)->UseRealTime();

// A folder opened and scrolled through to its end; the peak resident size.
void Memory(benchmark::State &state)
{
    const int count = int(state.range(0));
    const QString folder = folderOf(count);
    for (auto _ : state) {
        ThemeBrowserModel model;
        model.setFolder(folder);
        makeThumbnails(model, count);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak MiB"] = double(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(Memory)->Arg(1000)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
