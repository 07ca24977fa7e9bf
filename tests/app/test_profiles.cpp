#include "app/profiles.h"

#include <gtest/gtest.h>

using namespace varno;

TEST(ThemeNameFilter, AcceptsOnlyNameCharacters)
{
    QString accepted;
    for (int code = 0; code < 256; ++code) {
        const int r = themeNameKeyFilter(code);
        EXPECT_TRUE(r == code || r == 0) << code;
        if (code >= 32 && r == code)
            accepted += QChar(code);
    }
    EXPECT_EQ(accepted, QStringLiteral(" -.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_"
                                       "abcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ(themeNameKeyFilter(8), 8);  // backspace
    EXPECT_EQ(themeNameKeyFilter(0x4e2d), 0);
}

TEST(ThemeNameFilter, PastedTextLosesRejectedCharacters)
{
    EXPECT_EQ(filterThemeName(QStringLiteral("My/Theme?, v1.0_b-2\n\u00e9")),
              QStringLiteral("MyTheme v1.0_b-2"));
}

TEST(Profiles, CheckedItemForStoredProfile)
{
    const struct {
        const char *type;
        bool wm5;
        int index;
    } cases[] = {{"STD", false, 0},   {"STD", true, 0},   {"QVGA", false, 1},  {"QVGA", true, 4},
                 {"VGA", false, 2},   {"VGA", true, 5},   {"SQ240", false, 3}, {"SQ240", true, 6},
                 {"qvga", false, -1}, {"XGA", false, -1}, {"", true, -1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.type) + (c.wm5 ? " wm5" : ""));
        EXPECT_EQ(profileIndexFor(QString::fromLatin1(c.type), c.wm5), c.index);
    }
}

TEST(Profiles, DialogAndSaveGeometryFallBackToVga)
{
    EXPECT_EQ(changeImagesDialogFor("STD"), ImageDialogKind::Standard);
    EXPECT_EQ(changeImagesDialogFor("QVGA"), ImageDialogKind::SE);
    EXPECT_EQ(changeImagesDialogFor("SQ240"), ImageDialogKind::Square);
    EXPECT_EQ(changeImagesDialogFor("VGA"), ImageDialogKind::VGA);
    EXPECT_EQ(changeImagesDialogFor("anything"), ImageDialogKind::VGA);
    EXPECT_EQ(saveGeometryFor("anything").todaySize, QSize(640, 588));
    EXPECT_EQ(saveGeometryFor("SQ240").menuCrop, QRect(1, 1, 239, 213));
    // Every WM5 profile saves exactly like its plain twin.
    for (const DeviceProfile &p : profiles()) {
        SCOPED_TRACE(p.caption);
        const DeviceProfile &g = saveGeometryFor(QString::fromLatin1(p.themeType));
        EXPECT_EQ(g.todaySize, p.todaySize);
        EXPECT_EQ(g.menuCrop, p.menuCrop);
        EXPECT_EQ(p.pressedButton >= 0, !p.wm5Theme && QLatin1String(p.themeType) != "SQ240");
    }
}
