// The program's embedded pictures and text templates, by their resource name
// ("TOPINF", "CABWIZDDF", "DEFAULT" ...).
#pragma once

#include <QByteArray>
#include <QString>

namespace varno {

// Bytes of the custom resource `name`, exactly as embedded. Throws the
// RuntimeError 326 when there is no such resource.
QByteArray customResource(const QString &name);

// True when a custom resource of that name is embedded.
bool hasCustomResource(const QString &name);

}  // namespace varno
