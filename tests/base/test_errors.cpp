#include "base/messages.h"
#include "base/trap.h"
#include "support/scriptedprompt.h"

#include <stdexcept>

using namespace varno;
using namespace varno::test;

TEST(Trap, ShowsTheBoxKeepsEarlierChangesAndReturns)
{
    ScriptedPrompt prompt;
    int changed = 0;
    EXPECT_FALSE(trap(prompt, "frmMain", "Sub", "mnuSwapNavColors_Click", [&] {
        changed = 1;
        throw runtimeError(Err::SubscriptOutOfRange);
    }));
    EXPECT_EQ(changed, 1);
    EXPECT_TRUE(trap(prompt, "a", "Sub", "b", [] {}));
    EXPECT_EQ(prompt.messages(),
              std::vector{okBox("Subscript out of range\r\r(Error #9)",
                                "Error in frmMain: Sub mnuSwapNavColors_Click")});
}

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
