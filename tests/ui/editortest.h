// An editor started in a private home folder: start-up and load done, over
// a screen that only records redraws or over the real renderer.
#pragma once

#include "support/rasters.h"
#include "support/sandbox.h"
#include "support/scriptedprompt.h"
#include "ui/editor.h"
#include "ui/previewscreen.h"

#include <memory>
#include <vector>

namespace varno::test {

template <typename ScreenT> class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(module.start(prompt), EditorSession::Start::ShowWindow);
        window = std::make_unique<Editor>(module, prompt, screen);
        ASSERT_TRUE(window->start());
        // Tests change the document directly; the question about unsaved
        // work has tests of its own.
        window->setAsksToSaveChanges(false);
        // Tests look at the redraws their own commands ask for.
        if constexpr (std::is_same_v<ScreenT, RecordingScreen>)
            screen.requests.clear();
    }
    ThemeColors &colours() { return module.doc.colours.colors; }

    Sandbox box;
    ScriptedPrompt prompt;
    // Before the window, whose dialogs may record into it as they close.
    std::vector<int> closed;
    EditorSession module{AppPaths::forEditor()};
    ScreenT screen = [this] {
        if constexpr (std::is_same_v<ScreenT, PreviewScreen>)
            return PreviewScreen(prompt, module.doc, module.settings);
        else
            return ScreenT();
    }();
    std::unique_ptr<Editor> window;
};

}  // namespace varno::test
