// Error trapping of a procedure: run the body, and on a run-time error show
// the standard error box through the prompt and return. What the body
// changed before the error stays changed.
#pragma once

#include "base/messages.h"
#include "base/prompt.h"
#include "base/runtimeerror.h"

#include <functional>

namespace varno {

// Turns whatever was thrown into a RuntimeError (out of memory, a standard
// exception, anything else). Call only inside a catch block.
RuntimeError currentError();

// Runs `body`; any error is shown as ErrorBox(module, kind, procedure) with
// the critical icon. Returns false when an error was trapped.
bool trap(Prompt &prompt, const QString &module, const QString &kind, const QString &procedure,
          const std::function<void()> &body);

// As trap(), with the long "Error: ... (procedure)" wording.
bool trapLong(Prompt &prompt, const QString &procedure, const std::function<void()> &body,
              bool namedPrefix = false);

// Shows an error in the standard form.
void showErrorBox(Prompt &prompt, const RuntimeError &e, const QString &module, const QString &kind,
                  const QString &procedure);

}  // namespace varno
