// An editor started in a private home folder: start-up and load done, over
// a screen that only records redraws or over the real renderer.
#pragma once

#include "support/sandbox.h"
#include "support/scriptedprompt.h"
#include "ui/frmmain.h"
#include "ui/previewscreen.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace varno::test {

template <typename ScreenT> ScreenT makeScreen(Prompt &prompt, Module1 &module);

template <> inline RecordingScreen makeScreen<RecordingScreen>(Prompt &, Module1 &)
{
    return RecordingScreen();
}

template <> inline PreviewScreen makeScreen<PreviewScreen>(Prompt &prompt, Module1 &module)
{
    return PreviewScreen(prompt, module.Doc, module.Settings);
}

template <typename ScreenT> class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(module.Main(prompt), Module1::Start::ShowWindow);
        window = std::make_unique<frmMain>(module, prompt, screen);
        ASSERT_TRUE(window->Form_Load());
    }
    ThemeColors &colours() { return module.Doc.Colours.Colors; }

    Sandbox box;
    ScriptedPrompt prompt;
    // Before the window, whose dialogs may record into it as they close.
    std::vector<int> closed;
    Module1 module{AppPaths::forEditor()};
    ScreenT screen = makeScreen<ScreenT>(prompt, module);
    std::unique_ptr<frmMain> window;
};

}  // namespace varno::test
