// "varno publish": the theme site's sign-up, category list and upload from
// the command line, with the window's requests, checks and messages.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace varno {

extern const char *const kPublishUsage;

// `args` starts with "publish". Usage faults throw UsageError, as the other
// commands do.
int publishCommand(const QStringList &args, QTextStream &out, QTextStream &err);

}  // namespace varno
