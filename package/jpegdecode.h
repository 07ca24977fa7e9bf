// JPEG pictures decoded by libjpeg at the smallest of its scales (1/1 to
// 1/8) that still covers the size wanted: a thumbnail of a VGA picture
// decodes an eighth of its pixels. Needs no Qt picture classes, so the small
// thumbnailer program shares it.
#pragma once

#include <QByteArray>
#include <QSize>

#include <memory>
#include <utility>
#include <vector>

namespace varno {

// Bytes left as they are when a vector grows: every pixel is written by
// the decoder, and clearing them first costs a thumbnail a few percent.
template <typename T> struct UninitializedAllocator : std::allocator<T> {
    template <typename U> struct rebind {
        using other = UninitializedAllocator<U>;
    };
    template <typename U> void construct(U *at) noexcept { ::new (static_cast<void *>(at)) U; }
    template <typename U, typename... Args> void construct(U *at, Args &&...args)
    {
        ::new (static_cast<void *>(at)) U(std::forward<Args>(args)...);
    }
};
using PixelBytes = std::vector<unsigned char, UninitializedAllocator<unsigned char>>;

struct RgbPicture {
    QSize stored;       // the picture's own size
    QSize size;         // as decoded
    PixelBytes pixels;  // rows top down; empty on failure
};

bool isJpeg(const QByteArray &data);
enum class PixelLayout { Rgb, Bgrx };  // Bgrx: QImage's RGB32 in memory

// `fit` empty: the whole picture. Pictures over 4096 x 4096 are refused
// from their header.
RgbPicture decodeJpeg(const QByteArray &data, QSize fit, PixelLayout layout = PixelLayout::Rgb);

}  // namespace varno
