// The base-hue palettes: the carried texts read independently, and the lookup.
#include "colour/palettes.h"

#include "base/runtimeerror.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <vector>

using namespace varno;

namespace {

using Triple = std::array<int, 3>;

// A reader that shares nothing with the builder; index 0 is entry 1.
std::vector<Triple> readText(QStringView text)
{
    std::vector<Triple> out;
    for (const QString &entry : text.toString().split(u'|')) {
        Triple t{-1, -1, -1};
        int used = 0;
        const QByteArray bytes = entry.toLatin1();
        EXPECT_EQ(std::sscanf(bytes.constData(), "%d,%d,%d%n", &t[0], &t[1], &t[2], &used), 3);
        EXPECT_EQ(used, bytes.size()) << bytes.constData();
        out.push_back(t);
    }
    return out;
}

}  // namespace

TEST(Palettes, TextsHold256TriplesAndBuildAsRead)
{
    const std::vector<Triple> hue = readText(huePaletteText()), grey = readText(greyPaletteText());
    ASSERT_EQ(hue.size(), 256u);
    ASSERT_EQ(grey.size(), 256u);
    const Palettes p = buildPalettes();
    for (size_t i = 0; i < 256; ++i) {
        const PaletteEntry &h = p.huePalette[i], &g = p.greyPalette[i];
        EXPECT_EQ((Triple{h.red, h.green, h.blue}), hue[i]) << i;
        EXPECT_EQ((Triple{g.red, g.green, g.blue}), grey[i]) << i;
    }
}

TEST(PaletteColor, GreysThenHues)
{
    const Palettes p = buildPalettes();
    EXPECT_EQ(paletteColor(p, 1), rgb(99, 101, 99));
    EXPECT_EQ(paletteColor(p, 256), rgb(115, 113, 115));
    EXPECT_EQ(paletteColor(p, 257), rgb(214, 52, 49));
    EXPECT_EQ(paletteColor(p, 297), rgb(214, 211, 49));  // hue entry 41
    EXPECT_EQ(paletteColor(p, 512), rgb(214, 52, 156));
    for (const int position : {0, 513, -1}) {
        try {
            paletteColor(p, position);
            ADD_FAILURE() << position;
        } catch (const RuntimeError &e) {
            EXPECT_EQ(e.number, Err::SubscriptOutOfRange);
            EXPECT_EQ(e.description, QStringLiteral("Subscript out of range"));
        }
    }
}
