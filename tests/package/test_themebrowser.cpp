// The theme browser's engine: Today pictures read from the cabinet in
// memory at the wanted size, and the list that makes them off the
// user-interface thread, keeps only a bounded number and forgets the work of
// a folder it has left.
#include "package/cabwriter.h"
#include "package/jpegdecode.h"
#include "package/pngencode.h"
#include "package/themebrowsermodel.h"
#include "package/thumbnailmemory.h"
#include "app/raster/pictureio.h"
#include "support/rasters.h"
#include "support/sandbox.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QUrl>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <future>

using namespace varno;

namespace {

// A one-colour picture as a compressed theme stores it.
QByteArray jpeg(int w, int h, Colour colour)
{
    return encodeJpeg(varno::test::filled(w, h, colour), 10);
}

// A theme file whose only picture member is `member`.
QString theme(const QString &path, const QString &member, const QByteArray &picture)
{
    writeCabinet(path, {{"000000vl.000", "setup"}, {member, picture}}, true);
    return path;
}

// Runs the event loop until `done` or five seconds have passed.
template <typename F> bool waitFor(F done)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

}  // namespace

TEST(ThemePreview, ReadsTheTodayPictureAtTheWantedSize)
{
    QTemporaryDir dir;
    const QByteArray vga = jpeg(640, 588, rgb(0, 0, 255));
    const QByteArray png = encodePng(varno::test::filled(320, 294, rgb(255, 0, 0)));
    const struct {
        const char *file, *member;  // no member: the file is not there
        QByteArray picture;
        const char *problem;
        QSize fit = {64, 64}, image = {}, stored = {};
    } cases[] = {
        {"vga.tsk", "tdywater.001", vga, "", {128, 128}, {128, 117}, {640, 588}},
        {"whole.tsk", "tdywater.001", vga, "", {}, {640, 588}, {640, 588}},
        // Saved uncompressed: PNG; one picture kept as the menu's; capitals.
        {"png.tsk", "0STWATER.001", png, "", {64, 64}, {64, 58}, {320, 294}},
        {"none.tsk", "readme.txt", "x", "The theme has no Today picture (tdywater.001)."},
        {"junk.tsk", "tdywater.001", "not a picture", "The Today picture cannot be read."},
        {"missing.tsk", nullptr, {}, "The system cannot find the file specified."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        const QString file = dir.filePath(QLatin1String(c.file));
        if (c.member)
            theme(file, QLatin1String(c.member), c.picture);
        const ThemePreview p = readThemePreview(file, c.fit);
        EXPECT_EQ(p.image.size(), c.image.isValid() ? c.image : QSize(0, 0));
        EXPECT_EQ(p.stored, c.stored);
        EXPECT_EQ(p.problem, QString::fromLatin1(c.problem));
    }
    // The last step from the decoder's scale to the thumbnail keeps every
    // pixel where Qt's own smooth scale puts it, sharp squares included.
    QImage squares(640, 588, QImage::Format_RGB32);
    for (int y = 0; y < 588; ++y)
        for (int x = 0; x < 640; ++x)
            squares.setPixel(x, y, (x / 24 + y / 24) % 2 ? qRgb(250, 40, 10) : qRgb(10, 60, 240));
    const QByteArray picture = encodeJpeg(Raster::fromImage(squares), 95);
    const RgbPicture decoded = decodeJpeg(picture, {128, 128}, PixelLayout::Bgrx);
    const QImage expected = QImage(decoded.pixels.data(), decoded.size.width(),
                                   decoded.size.height(), QImage::Format_RGB32)
                                .scaled(128, 117, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage shown =
        readThemePreview(theme(dir.filePath("squares.tsk"), "tdywater.001", picture), {128, 128})
            .image;
    ASSERT_EQ(shown.size(), expected.size());
    qint64 off = 0;
    for (int y = 0; y < 117; ++y)
        for (int x = 0; x < 128; ++x)
            for (const int shift : {0, 8, 16})
                off += std::abs(int(shown.pixel(x, y) >> shift & 0xFF) -
                                int(expected.pixel(x, y) >> shift & 0xFF));
    EXPECT_LT(off / (128 * 117 * 3), 6);
}

TEST(ThemeBrowserModel, ListsAtOnceMakesThumbnailsAndSaysWhyOneFails)
{
    QTemporaryDir dir;
    const QByteArray green = jpeg(320, 294, rgb(0, 255, 0));
    for (int i = 0; i < 20; ++i)
        theme(dir.filePath(QStringLiteral("t%1.tsk").arg(i, 2, 10, QLatin1Char('0'))),
              "tdywater.001", green);
    theme(dir.filePath("Bright Day.tsk"), "tdywater.001", green);
    varno::test::writeFile(dir.filePath("broken.tsk"), "MSCF and nothing more");
    varno::test::writeFile(dir.filePath("notes.txt"), "not a theme");

    ThemeBrowserModel model;
    model.setThumbnailSize({64, 64});
    model.setFolder(dir.path());
    ASSERT_EQ(model.rowCount(), 22);
    EXPECT_EQ(model.index(0).data().toString(), QStringLiteral("bright day.tsk"));
    EXPECT_EQ(model.filePath(0), dir.filePath("Bright Day.tsk"));
    // Asked for, every picture comes (a placeholder until then).
    for (int row = 0; row < 22; ++row)
        EXPECT_EQ(model.index(row).data(Qt::DecorationRole).value<QImage>().size(), QSize(64, 64));
    ASSERT_TRUE(waitFor([&] { return model.madeCount() == 22; }));
    const QModelIndex broken = model.index(1);
    EXPECT_EQ(broken.data().toString(), QStringLiteral("broken.tsk"));
    EXPECT_EQ(broken.data(Qt::ToolTipRole).toString(), QStringLiteral("Invalid data."));
    EXPECT_EQ(model.index(2).data(Qt::DecorationRole).value<QImage>().size(), QSize(64, 58));
    EXPECT_EQ(model.index(2).data(Qt::DecorationRole).value<QImage>().pixelColor(5, 5).green(),
              255);
}

// A folder left mid-way delivers nothing into the next; a cache of one
// thumbnail makes again what it dropped.
TEST(ThemeBrowserModel, LeavingAFolderCancelsItsWorkAndTheCacheIsBounded)
{
    QTemporaryDir first, second;
    const QByteArray big = jpeg(640, 588, rgb(0, 0, 255));
    for (int i = 0; i < 200; ++i)
        theme(first.filePath(QStringLiteral("a%1.tsk").arg(i)), "tdywater.001", big);
    for (int i = 0; i < 3; ++i)
        theme(second.filePath(QStringLiteral("b%1.tsk").arg(i)), "tdywater.001", big);

    ThemeBrowserModel model;
    QList<std::pair<int, int>> progress;  // made, total
    QObject::connect(&model, &ThemeBrowserModel::progress, [&](int made, int total) {
        progress.append({made, total});
    });
    model.setFolder(first.path());
    for (int row = 0; row < 200; ++row)
        model.index(row).data(Qt::DecorationRole);
    model.setFolder(second.path());
    model.setCacheLimit(2);
    for (int row = 0; row < 3; ++row)
        model.index(row).data(Qt::DecorationRole);
    ASSERT_TRUE(waitFor([&] { return model.madeCount() == 3; }));
    QCoreApplication::processEvents();
    // Nothing of the first folder after it was left.
    const auto left =
        std::find_if(progress.begin(), progress.end(), [](const auto &p) { return p.second == 3; });
    EXPECT_TRUE(std::all_of(left, progress.end(), [](const auto &p) { return p.second == 3; }));
    EXPECT_EQ(progress.last(), std::pair(3, 3));
    // The first made was dropped for the third; asked again, it comes again.
    const auto blueAt = [&](int row) {
        return model.index(row).data(Qt::DecorationRole).value<QImage>().pixelColor(5, 5).blue();
    };
    EXPECT_EQ((blueAt(0) == 200) + (blueAt(1) == 200) + (blueAt(2) == 200), 1);
    for (int row = 0; row < 3; ++row)
        EXPECT_TRUE(waitFor([&] { return blueAt(row) > 200; })) << row;
}

// Shared with the desktop: named by the MD5 of the URI, stamped with the
// URI and the time, found again while the file is unchanged.
TEST(ThumbnailCache, NamesStampsAndFindsWhatIsCurrent)
{
    QTemporaryDir dir;
    const QString file =
        theme(dir.filePath("Sky Blue.tsk"), "tdywater.001", jpeg(320, 294, rgb(0, 0, 255)));
    const QString uri = QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
    ThemeBrowserModel model;
    model.useThumbnailCache(dir.filePath("thumbs"));
    model.setFolder(dir.path());
    model.index(0).data(Qt::DecorationRole);
    ASSERT_TRUE(waitFor([&] { return model.madeCount() == 1; }));

    const ThumbnailCache cache(dir.filePath("thumbs"));
    const QString png = cache.pathFor(file, {128, 118});
    model.waitUntilIdle();  // kept after it is shown
    EXPECT_EQ(png, dir.filePath("thumbs/normal/") +
                       QCryptographicHash::hash(uri.toUtf8(), QCryptographicHash::Md5).toHex() +
                       ".png");
    const QByteArray stored = varno::test::readFile(png);
    EXPECT_TRUE(stored.contains(QByteArray("tEXtThumb::URI\0", 15) + uri.toUtf8()));
    EXPECT_TRUE(
        stored.contains(QByteArray("tEXtThumb::MTime\0", 17) +
                        QByteArray::number(QFileInfo(file).lastModified().toSecsSinceEpoch())));
    EXPECT_EQ(QImage(png).size(), QSize(128, 117));
    EXPECT_EQ(QFile::permissions(png) & 0x0077, 0);

    // What the cache holds is what is shown, until the file changes.
    QImage marked = cache.find(file, {128, 118});
    ASSERT_FALSE(marked.isNull());
    marked.fill(Qt::red);
    cache.store(file, {128, 118}, marked);
    model.setFolder(dir.path());
    model.index(0).data(Qt::DecorationRole);
    ASSERT_TRUE(waitFor([&] { return model.madeCount() == 1; }));
    EXPECT_EQ(model.index(0).data(Qt::DecorationRole).value<QImage>().pixelColor(3, 3), Qt::red);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
    f.close();
    EXPECT_TRUE(cache.find(file, {128, 118}).isNull());
}

// Every filter byte and the run-only deflate undone by another reader give
// the picture back exactly, in both layouts and at awkward sizes.
TEST(ThumbnailPng, DecodesToTheSamePixels)
{
    for (const QSize size : {QSize(1, 1), QSize(3, 2), QSize(37, 5), QSize(128, 117)}) {
        QImage picture(size, QImage::Format_RGB32);
        quint32 noise = 12345;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                noise = noise * 1103515245u + 12345u;
                // Four levels a channel: the predictor's ties come often.
                picture.setPixel(x, y,
                                 qRgb(int(noise >> 30) * 85, int(noise >> 28 & 3) * 85,
                                      int(noise >> 26 & 3) * 85));
            }
        const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
        for (const auto &[pixels, stride, layout] :
             {std::tuple{picture.constBits(), picture.bytesPerLine(), PixelLayout::Bgrx},
              std::tuple{rgb.constBits(), rgb.bytesPerLine(), PixelLayout::Rgb}}) {
            const QByteArray png = encodeThumbnailPng(pixels, size.width(), size.height(), stride,
                                                      layout, {{"Software", "Varno"}});
            const QImage back = QImage::fromData(png, "PNG");
            EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), picture) << size.width();
            EXPECT_EQ(back.text("Software"), "Varno");
        }
    }
}

// Thumbnails share blocks: made and dropped out of order from two threads,
// blocks filled, emptied and used again, no picture's pixels are ever
// handed out twice while it lives.
TEST(ThumbnailMemory, PicturesNeverShareTheirPixels)
{
    const auto run = [](quint32 thread) {
        std::vector<std::pair<QImage, QRgb>> kept;
        for (quint32 i = 0; i < 600; ++i) {
            // 1x1 to 256x256: some share a block, the largest fill one alone
            const int side = 1 + int((i * 37) % 256);
            const QRgb mark = 0xFF000000u | thread << 16 | i;
            kept.emplace_back(newThumbnailImage({side, side}), mark);
            kept.back().first.fill(mark);
            if (i % 3 == 0)  // drop an older one, so blocks empty out of order
                kept.erase(kept.begin() + (i * 7) % kept.size());
        }
        for (const auto &[image, mark] : kept)
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (image.pixel(x, y) != mark)
                        return false;
        return kept.size() == 400;
    };
    std::future<bool> other = std::async(std::launch::async, run, 1);
    EXPECT_TRUE(run(2));
    EXPECT_TRUE(other.get());
    EXPECT_EQ(newThumbnailImage({4000, 4000}).size(), QSize(4000, 4000));
}
