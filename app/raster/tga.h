// Our own reader of Truevision TGA pictures (Qt's takes only uncompressed
// true colour with the 2.0 footer): colour-mapped, true-colour and grey,
// uncompressed or RLE, with or without the footer.
#pragma once

#include "app/raster/raster.h"
#include "base/runtimeerror.h"

#include <QByteArrayView>
#include <QImage>

namespace varno {

struct TgaPicture {
    QImage image;  // RGB32, whatever the file held
    // The file's pixel depth: 8 (grey or map index), 15, 16, 24 or 32; also
    // 16 for 16-bit map indexes and for grey with alpha.
    int bitsPerPixel = 0;
};

// Whether `head` begins with a TGA header we can read: image type 1, 2 or 3
// (9, 10, 11 with RLE), a depth that suits the type, a colour map where the
// type needs one, a non-zero size. TGA has no signature, so this is all a
// file can be recognised by.
bool looksLikeTga(QByteArrayView head);

// Decodes a complete TGA file held in memory. A damaged, truncated or
// unsupported file, or a pixel whose index lies outside the colour map,
// gives Err::InvalidPicture; a size over Limits::MaxPicture* gives
// Err::OutOfMemory. Both are found before any pixel memory is allocated,
// except a cut or a bad index inside RLE data. The image ID, the footer and
// the extension area are skipped; RLE data past the last pixel is ignored.
Result<TgaPicture> readTga(QByteArrayView data);

}  // namespace varno
