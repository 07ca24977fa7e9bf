// PNG files for thumbnails, made quickly: a browser writes thousands while
// the user waits. Every row takes the Paeth filter (no per-row trials) and
// zlib matches runs only, which costs a fraction of even its fastest level
// and, after Paeth, gives files no larger on the pictures themes carry.
// Needs no Qt picture classes, so the small thumbnailer program shares it.
#pragma once

#include "package/jpegdecode.h"

#include <QByteArray>

#include <utility>
#include <vector>

namespace varno {

// tEXt chunks (Latin-1 keys and values), written before the pixels.
using PngTexts = std::vector<std::pair<QByteArray, QByteArray>>;

// An 8-bit RGB PNG of `width` x `height` pixels laid out as `layout` says,
// rows `stride` bytes apart; empty when the size is not a picture's.
QByteArray encodeThumbnailPng(const unsigned char *pixels, int width, int height, qsizetype stride,
                              PixelLayout layout, const PngTexts &texts = {});

}  // namespace varno
