// The theme browser's engine over generated folders of themes (a mix of
// QVGA and VGA, JPEG and PNG Today pictures, each picture different):
// time to the first screenful, thumbnails per second against the floor of
// libjpeg alone decoding the same members at the same scale on every core,
// and peak memory. The folders are made once under VARNO_BENCH_THEMES (else
// the temporary folder) and reused. Where a thumbnail cache is used, as the
// window uses the desktop's, it starts empty each time and the time runs
// until every thumbnail is in it.
//
//   bench_browser --benchmark_filter=FirstScreen   (then Rate/<folder>/<cache>:
//   folder 0 mixed, 1 JPEG only; Floor; RateOfFloor, the two in turns; run
//   Memory/1000 and Memory/10000 in separate processes for the peak)
#include "base/memoryreuse.h"
#include "package/cabwriter.h"
#include "package/themebrowsermodel.h"
#include "package/todaymember.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
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

// An empty thumbnail cache for each run, all removed at the end. Removing
// one just before making the next would have ext4 search past the entries
// it has just freed: a cost of the benchmark, not of browsing.
class ColdCache {
public:
    void use(ThemeBrowserModel &model)
    {
        model.useThumbnailCache(m_root.filePath(QString::number(++m_runs)));
    }

private:
    QTemporaryDir m_root;
    int m_runs = 0;
};

// Opening a folder of 10,000 themes until the first 24 (a screenful) are
// shown, with a cold thumbnail cache.
void FirstScreen(benchmark::State &state)
{
    const QString folder = folderOf(10000);
    ColdCache cache;
    for (auto _ : state) {
        auto model = std::make_unique<ThemeBrowserModel>();
        cache.use(*model);
        model->setFolder(folder);
        makeThumbnails(*model, 24);
        state.PauseTiming();  // the first screenful is kept in the cache after
        model->waitUntilIdle();
        model.reset();
        state.ResumeTiming();
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

// Folder 0: the mixed folder of 1,000; 1: its 800 JPEG themes alone.
// Cache 0: none; 1: a cold one, timed until the last thumbnail is stored;
// 2: a warm one, filled by an opening before the timed ones.
// The time runs from opening the folder to its last thumbnail; dropping
// them all afterwards (a few percent more) is leaving the folder, not
// making thumbnails.
void Rate(benchmark::State &state)
{
    const QString folder = state.range(0) ? jpegFolder() : folderOf(1000);
    const int count = int(QDir(folder).entryList({QStringLiteral("*.tsk")}, QDir::Files).size());
    ColdCache cache;
    const QTemporaryDir warm;
    if (state.range(1) == 2) {
        ThemeBrowserModel model;
        model.useThumbnailCache(warm.path());
        model.setFolder(folder);
        makeThumbnails(model, count);
        model.waitUntilIdle();
    }
    for (auto _ : state) {
        auto model = std::make_unique<ThemeBrowserModel>();
        if (state.range(1) == 2)
            model->useThumbnailCache(warm.path());
        else if (state.range(1))
            cache.use(*model);
        model->setFolder(folder);
        makeThumbnails(*model, count);
        model->waitUntilIdle();
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
    state.counters["thumbnails/s"] =
        benchmark::Counter(double(count) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(Rate)
    ->ArgsProduct({{0, 1}, {0, 1, 2}})
    ->ArgNames({"folder", "cache"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The floor's members: the JPEG Today pictures of the 1,000, in memory.
std::vector<QByteArray> floorMembers()
{
    const QString folder = folderOf(1000);
    std::vector<QByteArray> members;
    for (const QString &file : QDir(folder).entryList({QStringLiteral("*.tsk")}, QDir::Files)) {
        QByteArray data = readTodayMember(folder + u'/' + file).data;
        if (data.startsWith("\xFF\xD8\xFF"))
            members.push_back(std::move(data));
    }
    return members;
}

// libjpeg alone decoding `members` at the scale the browser's 128-pixel
// thumbnails use, on every core.
void decodeOnEveryCore(const std::vector<QByteArray> &members)
{
    QThreadPool pool;
    for (const QByteArray &data : members) {
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
            // The whole picture, every row offered at once, into memory
            // each thread keeps: libjpeg's quickest way to what a thumbnail
            // needs, with nothing else in the time.
            const size_t rowBytes = cinfo.output_width * size_t(cinfo.output_components);
            thread_local std::vector<unsigned char> pixels;
            thread_local std::vector<unsigned char *> rows;
            pixels.resize(rowBytes * cinfo.output_height);
            rows.resize(cinfo.output_height);
            for (size_t y = 0; y < rows.size(); ++y)
                rows[y] = pixels.data() + y * rowBytes;
            while (cinfo.output_scanline < cinfo.output_height)
                jpeg_read_scanlines(&cinfo, rows.data() + cinfo.output_scanline,
                                    cinfo.output_height - cinfo.output_scanline);
            jpeg_finish_decompress(&cinfo);
            jpeg_destroy_decompress(&cinfo);
        });
    }
    pool.waitForDone();
}

void Floor(benchmark::State &state)
{
    const std::vector<QByteArray> members = floorMembers();
    for (auto _ : state)
        decodeOnEveryCore(members);
    state.counters["jpeg/s"] = benchmark::Counter(
        double(members.size()) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(Floor)->Unit(benchmark::kMillisecond)->UseRealTime();

// The browser on the JPEG themes (no cache) and the floor on their
// members, taken in turns so that both see the same machine: the share of
// the floor's rate the browser reaches. A machine whose speed drifts
// between two separate runs moves this far less than the two rates.
void RateOfFloor(benchmark::State &state)
{
    const std::vector<QByteArray> members = floorMembers();
    const QString folder = jpegFolder();
    double floorTime = 0, browserTime = 0;
    QElapsedTimer timer;
    for (auto _ : state) {
        timer.start();
        {
            ThemeBrowserModel model;
            model.setFolder(folder);
            makeThumbnails(model, int(members.size()));
            browserTime += double(timer.nsecsElapsed());  // as in Rate
        }
        timer.start();
        decodeOnEveryCore(members);
        floorTime += double(timer.nsecsElapsed());
    }
    state.counters["browser/floor %"] = 100.0 * floorTime / browserTime;
}
BENCHMARK(RateOfFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

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
    keepFreedMemoryForReuse();  // as the program does
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
