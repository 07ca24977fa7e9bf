// Windows-1252, the 8-bit code page the devices use for the texts of a
// setup file (a theme's name among them).
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace varno {

QString fromCp1252(const QByteArray &bytes);
// Empty when some character has no place in the code page.
std::optional<QByteArray> toCp1252(const QString &text);
// The first character of `text` the code page cannot hold; null when none.
QChar firstNotInCp1252(const QString &text);

}  // namespace varno
