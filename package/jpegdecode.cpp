#include "package/jpegdecode.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace varno {

namespace {

constexpr long MaxPixels = 4096L * 4096L;

// libjpeg reports a broken picture by calling error_exit, which must not
// return: it jumps back to the decode.
struct Failure {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

}  // namespace

bool isJpeg(const QByteArray &data)
{
    return data.startsWith("\xFF\xD8\xFF");
}

namespace {

// libjpeg's failures jump back to the last jump point. Each step sets its
// own and keeps nothing with a destructor in its frame, so a jump never
// leaves an object half made or undestroyed.
bool startDecode(jpeg_decompress_struct &cinfo, Failure &failure, const QByteArray &data, QSize fit,
                 PixelLayout layout, QSize &stored)
{
    if (setjmp(failure.jump))
        return false;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char *>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    stored = QSize(int(cinfo.image_width), int(cinfo.image_height));
    if (long(cinfo.image_width) * long(cinfo.image_height) > MaxPixels)
        return false;
    cinfo.out_color_space = layout == PixelLayout::Bgrx ? JCS_EXT_BGRX : JCS_RGB;
    cinfo.scale_num = 1;
    cinfo.scale_denom = 1;
    while (fit.isValid() && cinfo.scale_denom < 8 &&
           int(cinfo.image_width / (cinfo.scale_denom * 2)) >= fit.width() &&
           int(cinfo.image_height / (cinfo.scale_denom * 2)) >= fit.height())
        cinfo.scale_denom *= 2;
    jpeg_start_decompress(&cinfo);
    return true;
}

// All rows offered at once: libjpeg then writes its row groups in place
// instead of copying each out of a spare row.
bool readRows(jpeg_decompress_struct &cinfo, Failure &failure, unsigned char **rows)
{
    if (setjmp(failure.jump))
        return false;
    while (cinfo.output_scanline < cinfo.output_height)
        jpeg_read_scanlines(&cinfo, rows + cinfo.output_scanline,
                            cinfo.output_height - cinfo.output_scanline);
    jpeg_finish_decompress(&cinfo);
    return true;
}

}  // namespace

RgbPicture decodeJpeg(const QByteArray &data, QSize fit, PixelLayout layout)
{
    RgbPicture out;
    jpeg_decompress_struct cinfo{};
    Failure failure{};
    cinfo.err = jpeg_std_error(&failure.mgr);
    failure.mgr.error_exit = [](j_common_ptr c) {
        std::longjmp(reinterpret_cast<Failure *>(c->err)->jump, 1);
    };
    failure.mgr.output_message = [](j_common_ptr) {};
    if (!startDecode(cinfo, failure, data, fit, layout, out.stored)) {
        jpeg_destroy_decompress(&cinfo);
        return {out.stored, {}, {}};
    }
    out.size = QSize(int(cinfo.output_width), int(cinfo.output_height));
    const size_t rowBytes = size_t(out.size.width()) * (layout == PixelLayout::Bgrx ? 4 : 3);
    out.pixels.resize(rowBytes * size_t(out.size.height()));
    std::vector<unsigned char *> rows(cinfo.output_height);
    for (size_t y = 0; y < rows.size(); ++y)
        rows[y] = out.pixels.data() + y * rowBytes;
    const bool read = readRows(cinfo, failure, rows.data());
    jpeg_destroy_decompress(&cinfo);
    if (!read)
        return {};
    return out;
}

}  // namespace varno
