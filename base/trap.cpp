#include "base/trap.h"

#include <new>
#include <stdexcept>

namespace varno {

RuntimeError currentError()
{
    try {
        throw;
    } catch (const RuntimeError &e) {
        return e;
    } catch (const std::bad_alloc &) {
        return runtimeError(Err::OutOfMemory);
    } catch (const std::exception &e) {
        return RuntimeError(Err::InvalidProcedureCall, QStringLiteral("Varno"),
                            QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return runtimeError(Err::InvalidProcedureCall);
    }
}

void showErrorBox(Prompt &prompt, const RuntimeError &e, const QString &module, const QString &kind,
                  const QString &procedure)
{
    const MessageText m = errorBox(e, module, kind, procedure);
    prompt.messageBox(m.text, MsgIcon::Critical, m.title);
}

bool trap(Prompt &prompt, const QString &module, const QString &kind, const QString &procedure,
          const std::function<void()> &body)
{
    try {
        body();
        return true;
    } catch (...) {
        showErrorBox(prompt, currentError(), module, kind, procedure);
        return false;
    }
}

bool trapLong(Prompt &prompt, const QString &procedure, const std::function<void()> &body,
              bool namedPrefix)
{
    try {
        body();
        return true;
    } catch (...) {
        const MessageText m = longErrorBox(currentError(), procedure, namedPrefix);
        prompt.messageBox(m.text, MsgIcon::Critical, m.title);
        return false;
    }
}

}  // namespace varno
