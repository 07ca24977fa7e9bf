// The "device" command: themes listed, sent, fetched and deleted on a
// device reached as a folder, by the transfer window's own rules.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace varno {

// Runs `args` ("device" first); 0 when all went, 1 when something was
// refused or failed. Usage faults throw UsageError.
int deviceCommand(const QStringList &args, QTextStream &out, QTextStream &err);

// Its entry in the program's help.
extern const char *const kDeviceUsage;

}  // namespace varno
