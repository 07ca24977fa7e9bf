#include "base/prompt.h"

#include "base/runtimeerror.h"

namespace varno {

namespace {

QString orEmpty(const std::function<QString()> &ask)
{
    try {
        return ask();
    } catch (const RuntimeError &e) {
        if (e.isCancel())
            return QString();
        throw;
    }
}

}  // namespace

QString ShowOpenOrEmpty(Prompt &prompt, const FileDialogRequest &request)
{
    return orEmpty([&] { return prompt.ShowOpen(request); });
}

QString ShowSaveOrEmpty(Prompt &prompt, const FileDialogRequest &request)
{
    return orEmpty([&] { return prompt.ShowSave(request); });
}

uint32_t SilentPrompt::ShowColor(uint32_t, bool)
{
    throw cancelError();
}

QString SilentPrompt::ShowOpen(const FileDialogRequest &)
{
    throw cancelError();
}

QString SilentPrompt::ShowSave(const FileDialogRequest &)
{
    throw cancelError();
}

}  // namespace varno
