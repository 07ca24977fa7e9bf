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

QString chooseFileToOpenOrEmpty(Prompt &prompt, const FileDialogRequest &request)
{
    return orEmpty([&] { return prompt.chooseFileToOpen(request); });
}

QString chooseFileToSaveOrEmpty(Prompt &prompt, const FileDialogRequest &request)
{
    return orEmpty([&] { return prompt.chooseFileToSave(request); });
}

uint32_t SilentPrompt::chooseColour(uint32_t, bool)
{
    throw cancelError();
}

QString SilentPrompt::chooseFileToOpen(const FileDialogRequest &)
{
    throw cancelError();
}

QString SilentPrompt::chooseFileToSave(const FileDialogRequest &)
{
    throw cancelError();
}

}  // namespace varno
