// Shared pieces of the fuzz targets: a silent prompt, and a replay main()
// so every target also runs as a plain program over its corpus under ctest.
#pragma once

#include "base/prompt.h"
#include "base/runtimeerror.h"

#include <cstddef>
#include <cstdint>

namespace varno::fuzz {

// Answers nothing and shows nothing: dialogs count as cancelled.
class SilentPrompt : public Prompt {
public:
    MsgResult MsgBox(const QString &, MsgIcon, const QString &, MsgButtons) override
    {
        return MsgResult::Cancel;
    }
    uint32_t ShowColor(uint32_t, bool) override { throw cancelError(); }
    QString ShowOpen(const FileDialogRequest &) override { throw cancelError(); }
    QString ShowSave(const FileDialogRequest &) override { throw cancelError(); }
    QString InputBox(const QString &, const QString &, const QString &current,
                     bool &cancelled) override
    {
        cancelled = true;
        return current;
    }
    void SetBusy(bool) override {}
};

// Starts the Qt pieces the targets need (picture plugins), once.
void StartQt();

}  // namespace varno::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
