#include "base/messages.h"
#include "base/trap.h"
#include "support/scriptedprompt.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace varno;
using varno::test::RecordedMessage;
using varno::test::ScriptedPrompt;

TEST(ErrorBoxes, StandardAndLongWording)
{
    const RuntimeError e(76, QStringLiteral("x"), QStringLiteral("Path not found"));
    const MessageText sub =
        errorBox(e, QStringLiteral("frmMain"), QStringLiteral("Sub"), QStringLiteral("Form_Load"));
    EXPECT_EQ(sub.text, QStringLiteral("Path not found\r\r(Error #76)"));
    EXPECT_EQ(sub.title, QStringLiteral("Error in frmMain: Sub Form_Load"));

    const MessageText lng = longErrorBox(e, QStringLiteral("DoScreenMain"));
    EXPECT_EQ(lng.text, QStringLiteral("Error: Path not found (DoScreenMain)"));
    EXPECT_EQ(lng.title, QStringLiteral("Velmora - Error"));

    const MessageText named = longErrorBox(e, QStringLiteral("SaveTheme"), true);
    EXPECT_EQ(named.text, QStringLiteral("Error in SaveTheme: Path not found (SaveTheme)"));
}

TEST(Trap, ShowsTheBoxKeepsEarlierChangesAndReturns)
{
    ScriptedPrompt prompt;
    int changed = 0;
    const bool ok = trap(prompt, QStringLiteral("frmMain"), QStringLiteral("Sub"),
                         QStringLiteral("mnuSwapNavColors_Click"), [&] {
                             changed = 1;
                             throw runtimeError(Err::SubscriptOutOfRange);
                         });
    EXPECT_FALSE(ok);
    EXPECT_EQ(changed, 1);
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0],
              (RecordedMessage{
                  QStringLiteral("Subscript out of range\r\r(Error #9)"), MsgIcon::Critical,
                  QStringLiteral("Error in frmMain: Sub mnuSwapNavColors_Click"), MsgButtons::OK}));
}

TEST(Trap, ForeignExceptionsBecomeRunTimeErrors)
{
    ScriptedPrompt prompt;
    trapLong(prompt, QStringLiteral("LoadDefault"), [] { throw std::bad_alloc(); });
    trapLong(prompt, QStringLiteral("LoadDefault"),
             [] { throw std::runtime_error("disk on fire"); });
    ASSERT_EQ(prompt.messages().size(), 2u);
    EXPECT_EQ(prompt.messages()[0].text, QStringLiteral("Error: Out of memory (LoadDefault)"));
    EXPECT_EQ(prompt.messages()[1].text, QStringLiteral("Error: disk on fire (LoadDefault)"));
    EXPECT_TRUE(trap(prompt, "a", "Sub", "b", [] {}));
    EXPECT_EQ(prompt.messages().size(), 2u);
}
