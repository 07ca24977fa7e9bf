// Bicubic resizing through stb_image_resize.
#include "app/raster/raster.h"

#include "base/runtimeerror.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_STATIC
#include <stb_image_resize.h>
#pragma GCC diagnostic pop

namespace varno {

// Catmull-Rom is the interpolating cubic (Keys, a = -0.5) that picture
// editors call "bicubic": flat areas and hard edges stay sharp and a
// resize to the same size changes nothing, where the cubic B-spline would
// blur every picture. Edges clamp, so borders don't darken; channel values
// are resampled as stored, without sRGB linearisation, as common picture
// editors do.
void Raster::resize(int width, int height)
{
    convertTo24();
    if (width < 0 || height < 0 || (width == 0 && height == 0))
        throw runtimeError(Err::InvalidProcedureCall);
    if (width == 0)
        width = scaledSide(this->width(), this->height(), height);
    else if (height == 0)
        height = scaledSide(this->height(), this->width(), width);
    Raster out(width, height);
    QImage &dst = out.m_image;
    const int ok = stbir_resize_uint8_generic(
        m_image.constBits(), this->width(), this->height(), int(m_image.bytesPerLine()), dst.bits(),
        width, height, int(dst.bytesPerLine()), 4, STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP,
        STBIR_FILTER_CATMULLROM, STBIR_COLORSPACE_LINEAR, nullptr);
    if (!ok)
        throw runtimeError(Err::OutOfMemory);
    // The fourth channel went through the filter too; keep it opaque.
    for (int y = 0; y < height; ++y) {
        auto *p = reinterpret_cast<uint32_t *>(dst.scanLine(y));
        for (int x = 0; x < width; ++x)
            p[x] |= 0xFF000000u;
    }
    m_image = std::move(dst);
    m_mask.clear();
}

}  // namespace varno
