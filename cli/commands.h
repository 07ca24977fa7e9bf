// Commands that run without a window: build, info, list, extract, cabwiz.
// Each works in a private scratch folder, so any number can run beside the
// editor and beside each other.
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace varno {

// Exit codes of the commands.
namespace Exit {
constexpr int Ok = 0;
constexpr int BadInput = 1;
constexpr int Usage = 2;
}  // namespace Exit

bool isCommand(const QString &name);

// Runs `args` (the command name first). Output goes to `out`, messages to
// `err`.
int runCommand(const QStringList &args, QTextStream &out, QTextStream &err);

// The commands part of the program's help text.
QString commandsHelp();

}  // namespace varno
