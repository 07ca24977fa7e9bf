// Message titles of the string table and the two wordings of an error box.
#pragma once

#include "base/runtimeerror.h"

#include <QString>

namespace varno {

namespace Str {
constexpr int AppName = 101;      // "Varno"
constexpr int Maker = 102;        // confirmations and notices
constexpr int Notice = 103;       // warnings
constexpr int Error = 104;        // errors
constexpr int Information = 105;  // information
}  // namespace Str

// Text of string-table entry `id`; "" for an unknown id.
QString stringResource(int id);

struct MessageText {
    QString text;
    QString title;
};

// The standard error box: description, two line breaks, "(Error #n)";
// titled "Error in <module>: <Sub|Function> <procedure>".
MessageText errorBox(const RuntimeError &e, const QString &module, const QString &kind,
                     const QString &procedure);

// The long form of the drawing, loading and packing procedures:
// "Error: <description> (<procedure>)", or with `namedPrefix`
// "Error in <procedure>: <description> (<procedure>)"; titled "Velmora - Error".
MessageText longErrorBox(const RuntimeError &e, const QString &procedure, bool namedPrefix = false);

}  // namespace varno
