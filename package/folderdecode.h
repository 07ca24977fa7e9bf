// A quick way through the common folder of a theme: stored or MSZIP blocks
// in a cabinet that stands alone, inflated with zlib, which is several
// times faster than libmspack's own inflate on the incompressible JPEG
// pictures themes carry. Anything it does not expect gives nothing, and the
// caller lets libmspack decode the folder and report what is wrong.
#pragma once

#include <QByteArray>
#include <QIODevice>

#include <optional>

namespace varno {

struct FolderToDecode {
    QIODevice *cabinet = nullptr;  // open for reading
    qint64 base = 0;               // where its CFHEADER is
    int folderIndex = 0;           // among the cabinet's CFFOLDER entries
    int compression = 0;           // typeCompress of that entry
    unsigned blockCount = 0;       // cCFData of that entry
    qint64 length = 0;             // bytes wanted from the folder's start
};

std::optional<QByteArray> decodeFolderStart(const FolderToDecode &folder);

}  // namespace varno
