// Buffer operations: sizes, fill and selection, copy and blend with their
// clipping, resize, crop and flips.
#include "pictures.h"

#include "support/sandbox.h"

#include <climits>

using namespace varno;
using namespace varno::test;

namespace {

const Colour Red = rgb(255, 0, 0), Marker = rgb(1, 2, 3);

// A w x h buffer whose pixels all differ, with key-colour pixels where
// (x + y) % 3 == 0.
Raster keyedPattern(int w, int h)
{
    Raster r(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            r.setPixel(x, y, (x + y) % 3 == 0 ? KeyColour : rgb(10 * x, 10 * y, 7));
    return r;
}

}  // namespace

TEST(Raster, BadArgumentsAndNullBuffersAreRefused)
{
    Raster null, r(4, 3);
    const struct {
        const char *name;
        std::function<void()> call;
        int error;
    } cases[] = {
        {"create 0 wide", [] { Raster(0, 1); }, Err::InvalidProcedureCall},
        {"create too wide", [] { Raster(32769, 1); }, Err::OutOfMemory},
        {"create too many pixels", [] { Raster(20000, 20000); }, Err::OutOfMemory},
        {"create widest", [] { Raster(32768, 1); }, 0},
        {"pixel left of the buffer", [&] { r.pixel(-1, 0); }, Err::InvalidProcedureCall},
        {"opacity 256", [&] { r.blend(r, 0, 0, 256); }, Err::InvalidProcedureCall},
        {"crop outside", [&] { r.crop(4, 0, 1, 1); }, Err::InvalidProcedureCall},
        {"null fill", [&] { null.fill(Red); }, Err::InvalidProcedureCall},
        {"null blend", [&] { r.blend(null, 0, 0, 9); }, Err::InvalidProcedureCall},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(errorOf(c.call), c.error);
    }
    EXPECT_EQ(r.pixel(3, 2), rgb(0, 0, 0));  // a new buffer is black
}

// Depth is kept until the first pixel operation; alpha is dropped, colour kept.
TEST(Raster, ConversionKeepsColoursAndDropsAlpha)
{
    QImage alpha(1, 1, QImage::Format_ARGB32);
    alpha.setPixel(0, 0, qRgba(200, 100, 50, 0));
    Raster a = Raster::fromImage(alpha);
    EXPECT_EQ(a.bitsPerPixel(), 32);
    a.selectColour(rgb(200, 100, 50));
    EXPECT_EQ(a.bitsPerPixel(), 24);
    EXPECT_TRUE(a.isSelected(0, 0));
    EXPECT_EQ(qAlpha(a.image().pixel(0, 0)), 255);
}

TEST(Raster, FillChangesOnlyTheSelection)
{
    const struct {
        const char *name;
        std::function<void(Raster &)> select;
        std::function<bool(int, int)> selected;
    } cases[] = {
        {"none", [](Raster &r) { r.clearSelection(); }, [](int, int) { return true; }},
        {"key colour", [](Raster &r) { r.selectColour(KeyColour); },
         [](int x, int y) { return (x + y) % 3 == 0; }},
        {"rectangle", [](Raster &r) { r.selectRect(1, 1, 2, 1); },
         [](int x, int y) { return y == 1 && (x == 1 || x == 2); }},
        {"rectangle over the edge", [](Raster &r) { r.selectRect(-2, 2, 4, 9); },
         [](int x, int y) { return x < 2 && y == 2; }},
        {"rectangle outside", [](Raster &r) { r.selectRect(5, 0, 2, 2); },
         [](int, int) { return false; }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Raster before = keyedPattern(5, 3);
        Raster r = before;
        c.select(r);
        r.fill(Red);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(r.pixel(x, y), c.selected(x, y) ? Red : before.pixel(x, y))
                    << x << "," << y;
    }
}

// Copies of a 7x5 source to a 6x4 target, compared with a pixel-by-pixel
// model of the rule: in the source rectangle, in both buffers, not selected.
struct CopyCase {
    int left, top, w, h, x, y;
};
class CopyRect : public testing::TestWithParam<std::tuple<CopyCase, bool>> {};

TEST_P(CopyRect, ClipsAtBothBuffersAndSkipsSelectedSourcePixels)
{
    const auto [c, masked] = GetParam();
    Raster source = keyedPattern(7, 5);
    if (masked)
        source.selectColour(KeyColour);
    Raster target(6, 4);
    target.fill(Marker);
    target.copyRect(source, c.left, c.top, c.w, c.h, c.x, c.y);
    for (int ty = 0; ty < 4; ++ty)
        for (int tx = 0; tx < 6; ++tx) {
            const qint64 sx = qint64(tx) - c.x + c.left, sy = qint64(ty) - c.y + c.top;
            const bool copied = sx >= c.left && sx < qint64(c.left) + c.w && sy >= c.top &&
                                sy < qint64(c.top) + c.h && sx >= 0 && sx < 7 && sy >= 0 &&
                                sy < 5 && !source.isSelected(int(sx), int(sy));
            EXPECT_EQ(target.pixel(tx, ty), copied ? source.pixel(int(sx), int(sy)) : Marker)
                << tx << "," << ty;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CopyRect,
    testing::Combine(testing::Values(CopyCase{0, 0, 7, 5, 0, 0}, CopyCase{2, 1, 3, 2, 1, 1},
                                     CopyCase{-2, -1, 4, 4, 0, 0}, CopyCase{0, 0, 7, 5, -3, -2},
                                     CopyCase{0, 0, 7, 5, 4, 3}, CopyCase{5, 4, 10, 10, 0, 0},
                                     CopyCase{0, 0, 0, 3, 0, 0}, CopyCase{0, 0, 7, 5, 6, 0},
                                     CopyCase{1, 1, 3, -2, 0, 0},
                                     CopyCase{-INT_MAX, 0, INT_MAX, 5, 0, 0},
                                     CopyCase{0, 0, INT_MAX, INT_MAX, INT_MIN, 1}),
                     testing::Bool()));

TEST(Raster, CopyOntoItselfReadsThePixelsAsTheyWere)
{
    Raster r = keyedPattern(5, 5);
    const Raster before = r;
    r.copyRect(r, 0, 0, 4, 4, 1, 1);
    Raster expected = before;
    expected.copyRect(Raster(before), 0, 0, 4, 4, 1, 1);
    EXPECT_TRUE(r.samePixels(expected));
}

// Every (overlay, image, opacity) triple, once through the eight-pixel path
// (rows of 256) and once through the single-pixel path (rows of 4).
TEST(Raster, BlendRoundsEveryTripleToNearest)
{
    for (const int width : {256, 4}) {
        const int height = 65536 / width;
        QImage over(width, height, QImage::Format_RGB32), base(width, height, QImage::Format_RGB32);
        for (int i = 0; i < 65536; ++i) {  // red: overlay i & 255 on i >> 8; green swapped
            over.setPixel(i % width, i / width, qRgb(i & 255, i >> 8, 0));
            base.setPixel(i % width, i / width, qRgb(i >> 8, i & 255, 255));
        }
        for (int o = 0; o <= 255; ++o) {
            Raster r = Raster::fromImage(base);
            r.blend(Raster::fromImage(over), 0, 0, o);
            for (int i = 0; i < 65536; ++i) {
                const int a = i & 255, b = i >> 8;
                const QRgb p = r.image().pixel(i % width, i / width);
                ASSERT_EQ(qRed(p), (a * o + b * (255 - o) + 127) / 255)
                    << a << " " << b << " " << o;
                ASSERT_EQ(qGreen(p), (b * o + a * (255 - o) + 127) / 255) << a << " " << b;
                ASSERT_EQ(qBlue(p), 255 - o) << o;
            }
        }
    }
}

TEST(Raster, BlendClipsLikeACopy)
{
    const Raster overlay = keyedPattern(3, 3);
    for (const auto &[x, y] : {std::pair{-1, -1}, {2, 2}, {4, 0}, {-3, 0}, {1, -2}}) {
        SCOPED_TRACE(testing::Message() << x << "," << y);
        Raster blended = keyedPattern(4, 4), copied = blended;
        blended.blend(overlay, x, y, 255);
        copied.copyRect(overlay, 0, 0, 3, 3, x, y);
        EXPECT_TRUE(blended.samePixels(copied));
        blended.blend(overlay, x, y, 0);
        EXPECT_TRUE(blended.samePixels(copied));
    }
}

TEST(Raster, ResizeKeepsTheAspectRatioWithHalvesToEven)
{
    const struct {
        int w, h, toW, toH, w2, h2, error;
    } cases[] = {
        {640, 480, 320, 0, 320, 240, 0},
        {3, 2, 0, 3, 4, 3, 0},    // 4.5 -> 4
        {5, 2, 0, 3, 8, 3, 0},    // 7.5 -> 8
        {100, 3, 1, 0, 1, 1, 0},  // at least 1
        {4, 4, 0, 0, 0, 0, Err::InvalidProcedureCall},
        {4, 1, 0, 9000, 0, 0, Err::OutOfMemory},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " to " << c.toW << "x" << c.toH);
        Raster r(c.w, c.h);
        EXPECT_EQ(errorOf([&] { r.resize(c.toW, c.toH); }), c.error);
        if (!c.error) {
            EXPECT_EQ(QSize(r.width(), r.height()), QSize(c.w2, c.h2));
        }
    }
}

// Tolerance 1 for resampling: the filter works in floating point.
TEST(Raster, ResizeIsAnInterpolatingBicubic)
{
    const QImage pattern = bands(48, 32);
    Raster same = Raster::fromImage(pattern);
    same.resize(48, 32);
    EXPECT_TRUE(sameWithin(same, pattern, 1, QStringLiteral("resize-identity")));

    Raster flat(30, 20);
    flat.fill(rgb(12, 200, 99));
    flat.selectRect(0, 0, 5, 5);
    flat.resize(7, 0);
    EXPECT_FALSE(flat.hasSelection());
    for (int y = 0; y < flat.height(); ++y)
        for (int x = 0; x < flat.width(); ++x)
            ASSERT_EQ(flat.pixel(x, y), rgb(12, 200, 99));

    Raster half = Raster::fromImage(pattern);
    half.resize(24, 0);
    const QString golden = dataFile(QStringLiteral("raster/resize-bands-24x16.png"));
    if (qEnvironmentVariableIntValue("VARNO_UPDATE_GOLDEN"))
        half.image().save(golden);
    EXPECT_TRUE(sameWithin(half, QImage(golden), 1, QStringLiteral("resize-bands")));
}

TEST(Raster, CropMirrorAndFlipCarryTheSelectionWithThePixels)
{
    using From = QPoint (*)(int, int);  // the source pixel of (x, y)
    const struct {
        const char *name;
        std::function<void(Raster &)> op;
        QSize size;
        From from;
    } cases[] = {
        {"crop inside",
         [](Raster &r) { r.crop(1, 1, 2, 2); },
         {2, 2},
         [](int x, int y) { return QPoint(x + 1, y + 1); }},
        {"crop over the top left",
         [](Raster &r) { r.crop(-2, -1, 4, 3); },
         {2, 2},
         [](int x, int y) { return QPoint(x, y); }},
        {"crop over the bottom right",
         [](Raster &r) { r.crop(3, 2, 10, 10); },
         {2, 2},
         [](int x, int y) { return QPoint(x + 3, y + 2); }},
        {"mirror",
         [](Raster &r) { r.mirror(); },
         {5, 4},
         [](int x, int y) { return QPoint(4 - x, y); }},
        {"flip",
         [](Raster &r) { r.flip(); },
         {5, 4},
         [](int x, int y) { return QPoint(x, 3 - y); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Raster before = keyedPattern(5, 4);
        Raster r = before;
        r.selectColour(KeyColour);
        c.op(r);
        ASSERT_EQ(QSize(r.width(), r.height()), c.size);
        for (int y = 0; y < r.height(); ++y)
            for (int x = 0; x < r.width(); ++x) {
                const QPoint from = c.from(x, y);
                EXPECT_EQ(r.pixel(x, y), before.pixel(from.x(), from.y()));
                EXPECT_EQ(r.isSelected(x, y), (from.x() + from.y()) % 3 == 0);
            }
    }
}
