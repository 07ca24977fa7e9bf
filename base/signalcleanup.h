// Scratch folders of a command removed when it is interrupted (Ctrl-C,
// SIGTERM), which would otherwise skip every destructor.
#pragma once

#include <QString>

namespace varno {

// Handles SIGINT, SIGTERM and SIGHUP: removes the registered folders, then
// ends the process as the signal would (exit status 128 + signal).
void installSignalCleanup();

// Registers a folder for removal on such a signal (up to a few at a time);
// forget it once it is gone.
void removeOnSignal(const QString &folder);
void forgetOnSignal(const QString &folder);

}  // namespace varno
