// Writing a Microsoft cabinet: one folder, members in the order given,
// stored uncompressed or with MSZIP.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <vector>

namespace varno {

struct CabMember {
    QString name;  // name inside the cabinet
    QByteArray data;
};

// Writes the cabinet to `path` atomically (a failed write leaves no file
// and an existing one untouched). Throws RuntimeError with a plain
// description on failure. `stamp` dates every member.
void writeCabinet(const QString &path, const std::vector<CabMember> &members, bool compress,
                  const QDateTime &stamp = QDateTime::currentDateTime());

}  // namespace varno
