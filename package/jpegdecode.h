// JPEG pictures decoded by libjpeg at the smallest of its scales (1/1 to
// 1/8) that still covers the size wanted: a thumbnail of a VGA picture
// decodes an eighth of its pixels. Needs no Qt picture classes, so the small
// thumbnailer program shares it.
#pragma once

#include <QByteArray>
#include <QSize>

#include <vector>

namespace varno {

struct RgbPicture {
    QSize stored;                       // the picture's own size
    QSize size;                         // as decoded
    std::vector<unsigned char> pixels;  // rows top down; empty on failure
};

bool isJpeg(const QByteArray &data);
enum class PixelLayout { Rgb, Bgrx };  // Bgrx: QImage's RGB32 in memory

// `fit` empty: the whole picture. Pictures over 4096 x 4096 are refused
// from their header.
RgbPicture decodeJpeg(const QByteArray &data, QSize fit, PixelLayout layout = PixelLayout::Rgb);

}  // namespace varno
