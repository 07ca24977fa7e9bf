// Picture files in and out: JPEG, BMP, PNG, GIF, TIFF, TGA and PCX in; PNG
// and JPEG out, both at 24 bits per pixel.
#pragma once

#include "app/raster/raster.h"

#include <QByteArray>
#include <QString>

namespace varno {

// Loads the first page of a picture, keeping its depth (bitsPerPixel()).
// The content decides the format, not the name: a theme's *.gif may hold
// PNG or JPEG data. Only TGA has no signature and is recognised by the
// ending ".tga" (or, for data in memory, as the last guess).
// Errors: Err::FileNotFound (no such file), Err::PathFileAccess (a folder),
// Err::PermissionDenied, Err::InvalidPicture (unknown, damaged or truncated
// content), Err::OutOfMemory (declared size over Limits::MaxPicture*,
// refused before decoding).
Raster loadPicture(const QString &path);
// The same for a picture held in memory, such as an embedded resource.
Raster loadPictureData(const QByteArray &data);

// Writes PNG or JPEG (JFIF) at 24 bits per pixel. The file is replaced
// only when the whole picture was written. `qualityFactor` runs from 2
// (best) to 255 (smallest file), see JpegQualityFor().
// Errors: Err::InvalidProcedureCall (null buffer, factor out of range),
// Err::PathNotFound (no such folder), Err::PathFileAccess (the name is a
// folder), Err::PermissionDenied, Err::DiskFull, Err::DeviceIOError.
void savePng(const Raster &raster, const QString &path);
void saveJpeg(const Raster &raster, const QString &path, int qualityFactor);

// The same encodings in memory, for callers that write the bytes
// themselves (scratch files that need no durability, cabinets).
QByteArray encodePng(const Raster &raster);
QByteArray encodeJpeg(const Raster &raster, int qualityFactor);

// Maps a quality factor (2 best ... 255 smallest) onto Qt's JPEG quality
// (100 best ... 0): 2 -> 97, 10 -> 85, 20 -> 70, falling linearly to 0 at
// Never rises as the factor grows. Outside 2..255 is
// Err::InvalidProcedureCall.
int jpegQualityFor(int factor);

}  // namespace varno
