// Buffer operations: refusals, copy and blend with their clipping, resize,
// crop and flips. No caller copies a buffer onto itself or selects past a
// buffer's edge, so neither is tested.
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

QSize sizeAfterResize(int w, int h, int toW, int toH)
{
    Raster r(w, h);
    r.resize(toW, toH);
    return {r.width(), r.height()};
}

}  // namespace

TEST(Raster, BadArgumentsAndNullBuffersAreRefused)
{
    Raster null, r(4, 3);
    EXPECT_EQ(errorOf([] { Raster(0, 1); }), Err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([] { Raster(32769, 1); }), Err::OutOfMemory);
    EXPECT_EQ(errorOf([] { Raster(20000, 20000); }), Err::OutOfMemory);
    EXPECT_EQ(errorOf([] { Raster(32768, 1); }), 0);
    EXPECT_EQ(errorOf([&] { r.pixel(-1, 0); }), Err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { r.blend(r, 0, 0, 256); }), Err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { r.crop(4, 0, 1, 1); }), Err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { null.fill(Red); }), Err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { r.blend(null, 0, 0, 9); }), Err::InvalidProcedureCall);
    EXPECT_EQ(r.pixel(3, 2), rgb(0, 0, 0));  // a new buffer is black
}

// Copies of a 7x5 source to a 6x4 target, compared with a pixel-by-pixel
// model of the rule: in the source rectangle, in both buffers, not selected.
TEST(Raster, CopyClipsAtBothBuffersAndSkipsSelectedSourcePixels)
{
    const struct {
        int left, top, w, h, x, y;
        bool masked;
    } cases[] = {{2, 1, 3, 2, 1, 1, true},
                 {-2, -1, 4, 4, 0, 0, false},
                 {0, 0, 7, 5, -3, -2, true},
                 {0, 0, 7, 5, 4, 3, false},
                 {1, 1, 3, -2, 0, 0, false},
                 {-INT_MAX, 0, INT_MAX, 5, 0, 0, true},
                 {0, 0, INT_MAX, INT_MAX, INT_MIN, 1, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << "," << c.top << " to " << c.x << "," << c.y);
        Raster source = keyedPattern(7, 5);
        if (c.masked)
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
}

// Through the eight-pixel path (a row of 256) and the single-pixel path (a
// row of 4): (a o + b (255 - o) + 127) / 255, so 1 * 128 / 255 = 0.502 is 1
// and 1 * 127 / 255 = 0.498 is 0.
TEST(Raster, BlendRoundsToNearest)
{
    const struct {
        int opacity;
        Colour out;
    } cases[] = {{128, rgb(1, 0, 127)}, {127, rgb(0, 1, 128)}, {0, rgb(0, 1, 255)}};
    for (const int width : {256, 4}) {
        for (const auto &c : cases) {
            Raster base(width, 1), over(width, 1);
            base.fill(rgb(0, 1, 255));
            over.fill(rgb(1, 0, 0));
            base.blend(over, 0, 0, c.opacity);
            EXPECT_EQ(base.pixel(width - 1, 0), c.out) << width << " " << c.opacity;
        }
    }
}

TEST(Raster, BlendClipsLikeACopy)
{
    const Raster overlay = keyedPattern(3, 3);
    for (const auto &[x, y] : {std::pair{-1, -1}, {2, 2}}) {
        Raster blended = keyedPattern(4, 4), copied = blended;
        blended.blend(overlay, x, y, 255);
        copied.copyRect(overlay, 0, 0, 3, 3, x, y);
        EXPECT_TRUE(blended.samePixels(copied)) << x;
    }
}

TEST(Raster, ResizeKeepsTheAspectRatioWithHalvesToEven)
{
    EXPECT_EQ(sizeAfterResize(3, 2, 0, 3), QSize(4, 3));    // 4.5 -> 4
    EXPECT_EQ(sizeAfterResize(5, 2, 0, 3), QSize(8, 3));    // 7.5 -> 8
    EXPECT_EQ(sizeAfterResize(100, 3, 1, 0), QSize(1, 1));  // at least 1
    EXPECT_EQ(errorOf([] { sizeAfterResize(4, 4, 0, 0); }), Err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([] { sizeAfterResize(4, 1, 0, 9000); }), Err::OutOfMemory);
}

// Tolerance 1 for resampling: the filter works in floating point.
TEST(Raster, ResizeIsAnInterpolatingBicubic)
{
    Raster half = Raster::fromImage(bands(48, 32));
    half.selectRect(0, 0, 5, 5);
    half.resize(24, 0);
    EXPECT_FALSE(half.hasSelection());
    const QString golden = dataFile(QStringLiteral("raster/resize-bands-24x16.png"));
    if (qEnvironmentVariableIntValue("VARNO_UPDATE_GOLDEN"))
        half.image().save(golden);
    EXPECT_TRUE(sameWithin(half, QImage(golden), 1, QStringLiteral("resize-bands")));
}

TEST(Raster, CropMirrorAndFlipCarryTheSelectionWithThePixels)
{
    using From = QPoint (*)(int, int);  // the source pixel of (x, y)
    const struct {
        std::function<void(Raster &)> op;
        QSize size;
        From from;
    } cases[] = {
        {[](Raster &r) { r.crop(-2, -1, 4, 3); },
         {2, 2},
         [](int x, int y) { return QPoint(x, y); }},
        {[](Raster &r) { r.crop(3, 2, 10, 10); },
         {2, 2},
         [](int x, int y) { return QPoint(x + 3, y + 2); }},
        {[](Raster &r) { r.mirror(); }, {5, 4}, [](int x, int y) { return QPoint(4 - x, y); }},
        {[](Raster &r) { r.flip(); }, {5, 4}, [](int x, int y) { return QPoint(x, 3 - y); }},
    };
    for (const auto &c : cases) {
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
