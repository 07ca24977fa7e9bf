#include "app/profiles.h"

#include <gtest/gtest.h>

using namespace varno;

// Keys: name characters and backspace pass, everything else becomes 0;
// pasted text loses what the keys would refuse.
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
    EXPECT_EQ(themeNameKeyFilter(8), 8);
    EXPECT_EQ(themeNameKeyFilter(0x4e2d), 0);
    EXPECT_EQ(filterThemeName(QStringLiteral("My/Theme?, v1.0_b-2\n\u00e9")),
              QStringLiteral("MyTheme v1.0_b-2"));
}
