// The long form of the error boxes, and the rounding every conversion uses.
#include "base/messages.h"
#include "base/rounding.h"
#include "base/trap.h"
#include "support/scriptedprompt.h"

#include <stdexcept>

using namespace varno;
using namespace varno::test;

// The short box (text, "(Error #n)", "Error in form: Sub name") is checked
// whole where the editor and the fitting dialogs show it.
TEST(Trap, LongFormTurnsForeignExceptionsIntoRunTimeErrors)
{
    ScriptedPrompt prompt;
    trapLong(prompt, "LoadDefault", [] { throw std::bad_alloc(); });
    trapLong(prompt, "LoadDefault", [] { throw std::runtime_error("disk on fire"); });
    ASSERT_EQ(prompt.messages().size(), 2u);
    EXPECT_EQ(prompt.messages()[0].text, QStringLiteral("Error: Out of memory (LoadDefault)"));
    EXPECT_EQ(prompt.messages()[1].text, QStringLiteral("Error: disk on fire (LoadDefault)"));
    const RuntimeError e(76, "x", "Path not found");
    EXPECT_EQ(longErrorBox(e, "SaveTheme", true).text,
              QStringLiteral("Error in SaveTheme: Path not found (SaveTheme)"));
}

TEST(Rounding, HalvesGoToTheEvenNeighbourAndSixteenBitsOverflow)
{
    const struct {
        double in, out;
    } cases[] = {{0.5, 0},   {1.5, 2},     {2.5, 2},     {-0.5, 0},
                 {-1.5, -2}, {0.49999, 0}, {0.50001, 1}, {-0.7, -1}};
    for (const auto &c : cases)
        EXPECT_EQ(nearest(c.in), c.out) << c.in;
    EXPECT_EQ(cint16(32767.4), 32767);
    EXPECT_EQ(cint16(-32768.5), -32768);  // half to even stays in range
    EXPECT_THROW(cint16(32767.5), RuntimeError);
    EXPECT_THROW(cint16(-32769), RuntimeError);
    EXPECT_THROW(checked16(40000), RuntimeError);
}
