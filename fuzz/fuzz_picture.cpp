// Any bytes as a picture file: every reader (ours for PCX and TGA, Qt's
// behind our header and completeness checks) must give a picture or an
// error, within the size limits.
#include "fuzz/fuzzsupport.h"

#include "app/raster/pictureio.h"

using namespace varno;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::startQt();
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    try {
        const Raster picture = loadPictureData(bytes);
        if (picture.isNull() || picture.width() > Limits::MaxPictureSide ||
            picture.height() > Limits::MaxPictureSide)
            __builtin_trap();
    } catch (const RuntimeError &) {
        // A refusal is a fine answer.
    }
    return 0;
}
