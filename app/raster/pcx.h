// Our own reader of ZSoft PCX pictures (Qt has none): versions 0-5, RLE,
// monochrome, 16 colours (4 planes of 1 bit, or 1 plane of 4 bits),
// 256 colours and 24-bit (3 planes; a 4th alpha plane is ignored).
#pragma once

#include "app/raster/raster.h"
#include "base/runtimeerror.h"

#include <QByteArrayView>
#include <QImage>

namespace varno {

struct PcxPicture {
    QImage image;          // Mono, Indexed8 or RGB32
    int bitsPerPixel = 0;  // bits per plane x planes: 1, 4, 8, 24 or 32
};

// Whether `head` begins like a PCX file: maker byte 10, a known version and
// RLE encoding. Only a first guess; ReadPcx() validates the whole header.
bool looksLikePcx(QByteArrayView head);

// Decodes a complete PCX file held in memory. A damaged, truncated or
// unsupported file gives Err::InvalidPicture, a size over
// Limits::MaxPicture* Err::OutOfMemory; either before any pixel memory is
// allocated. RLE data past the last scan line is ignored.
Result<PcxPicture> readPcx(QByteArrayView data);

}  // namespace varno
