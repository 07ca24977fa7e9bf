// Reading and writing picture files. Qt's image readers do the decoding;
// their errors are turned into ours here and nowhere else. Before a reader
// runs, the header's size is checked and, for the formats whose Qt reader
// quietly returns a part-filled picture from a cut-short file (JPEG, BMP,
// GIF, TIFF), the data is checked to be complete.
#include "app/raster/pictureio.h"

#include "app/raster/pcx.h"
#include "app/raster/tga.h"
#include "base/regularfile.h"
#include "base/runtimeerror.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QtEndian>

#include <climits>
#include <cstring>

namespace varno {

namespace {

// Larger files are refused before they are read: no picture within
// Limits::MaxPicturePixels needs more, even uncompressed at 16 bits a
// channel, with room for headers and a palette.
constexpr qint64 MaxFileBytes = Limits::MaxPicturePixels * 8 + (qint64(1) << 20);
// Qt's own guard on the memory one decoded picture may take, in MiB: the
// largest allowed picture at 8 bytes a pixel (16-bit channels).
constexpr int ReaderAllocationLimit = int(Limits::MaxPicturePixels * 8 >> 20);

enum class Kind { Unknown, Pcx, Png, Jpeg, Bmp, Gif, Tiff, Tga };

using Bytes = QByteArrayView;

uint8_t u8(Bytes d, qsizetype at)
{
    return uint8_t(d[at]);
}
uint16_t le16(Bytes d, qsizetype at)
{
    return qFromLittleEndian<uint16_t>(d.data() + at);
}
uint32_t le32(Bytes d, qsizetype at)
{
    return qFromLittleEndian<uint32_t>(d.data() + at);
}

Kind sniff(Bytes d)
{
    auto starts = [d](const char *magic, qsizetype n) {
        return d.size() >= n && std::memcmp(d.data(), magic, size_t(n)) == 0;
    };
    if (starts("\x89PNG\r\n\x1a\n", 8))
        return Kind::Png;
    if (starts("\xFF\xD8\xFF", 3))
        return Kind::Jpeg;
    if (starts("GIF87a", 6) || starts("GIF89a", 6))
        return Kind::Gif;
    if (starts("II*\0", 4) || starts("MM\0*", 4))
        return Kind::Tiff;
    if (starts("BM", 2))
        return Kind::Bmp;
    if (looksLikePcx(d))
        return Kind::Pcx;
    return Kind::Unknown;
}

const char *readerFormat(Kind k)
{
    switch (k) {
    case Kind::Png: return "png";
    case Kind::Jpeg: return "jpeg";
    case Kind::Gif: return "gif";
    case Kind::Tiff: return "tiff";
    case Kind::Bmp: return "bmp";
    default: return "";
    }
}

// JPEG: walk the segments from SOI; after each scan, skip the entropy-coded
// data to the next marker. Complete only when EOI is reached.
bool jpegComplete(Bytes d)
{
    const qsizetype n = d.size();
    qsizetype pos = 2;
    for (;;) {
        while (pos < n && u8(d, pos) != 0xFF)  // stray bytes, as libjpeg tolerates
            ++pos;
        while (pos < n && u8(d, pos) == 0xFF)
            ++pos;
        if (pos >= n)
            return false;
        const uint8_t marker = u8(d, pos++);
        if (marker == 0xD9)
            return true;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;
        if (pos + 2 > n)
            return false;
        const int length = u8(d, pos) << 8 | u8(d, pos + 1);
        if (length < 2 || pos + length > n)
            return false;
        pos += length;
        if (marker != 0xDA)
            continue;
        for (;;) {
            const void *ff = std::memchr(d.data() + pos, 0xFF, size_t(n - pos));
            if (!ff)
                return false;
            pos = static_cast<const char *>(ff) - d.data();
            if (pos + 1 >= n)
                return false;
            const uint8_t next = u8(d, pos + 1);
            if (next != 0x00 && !(next >= 0xD0 && next <= 0xD7))
                break;  // a real marker; the outer loop reads it
            pos += 2;
        }
    }
}

// BITMAPFILEHEADER and either header form: BITMAPCOREHEADER (12 bytes) or
// BITMAPINFOHEADER and its successors (40 and more).
struct BmpHeader {
    bool known = false;
    qint64 bfOffBits = 0, biWidth = 0, biHeight = 0, biBitCount = 0, biCompression = 0,
           biSizeImage = 0;
};

BmpHeader bmpHeader(Bytes d)
{
    BmpHeader h;
    if (d.size() < 30)
        return h;
    h.bfOffBits = le32(d, 10);
    const uint32_t biSize = le32(d, 14);
    if (biSize == 12) {
        h.biWidth = le16(d, 18);
        h.biHeight = le16(d, 20);
        h.biBitCount = le16(d, 24);
    } else if (biSize >= 40 && d.size() >= 38) {
        h.biWidth = std::abs(qint64(qint32(le32(d, 18))));
        h.biHeight = std::abs(qint64(qint32(le32(d, 22))));  // negative: top-down
        h.biBitCount = le16(d, 28);
        h.biCompression = le32(d, 30);
        h.biSizeImage = le32(d, 34);
    } else {
        return h;
    }
    h.known = true;
    return h;
}

// BMP: the pixel array must fit in the file. Called after the size check,
// so the product cannot overflow.
bool bmpComplete(Bytes d)
{
    const BmpHeader h = bmpHeader(d);
    if (!h.known)  // too short, or a header form Qt may know and judge itself
        return d.size() >= 30;
    qint64 pixelBytes;
    if (h.biCompression == 0 || h.biCompression == 3 || h.biCompression == 6)  // RGB, bit fields
        pixelBytes = (h.biWidth * h.biBitCount + 31) / 32 * 4 * h.biHeight;
    else if (h.biCompression == 1 || h.biCompression == 2)  // RLE8, RLE4
        pixelBytes = h.biSizeImage;
    else
        return true;
    return h.bfOffBits + pixelBytes <= d.size();
}

// GIF: the first image's data sub-blocks must all be there, up to and
// including the zero-length block that ends them.
bool gifComplete(Bytes d)
{
    const qsizetype n = d.size();
    auto skipBlocks = [&](qsizetype &pos) {
        for (;;) {
            if (pos >= n)
                return false;
            const int size = u8(d, pos++);
            if (size == 0)
                return true;
            pos += size;
        }
    };
    auto tableBytes = [](uint8_t flags) { return flags & 0x80 ? 3 * (2 << (flags & 7)) : 0; };
    if (n < 13)
        return false;
    qsizetype pos = 13 + tableBytes(u8(d, 10));
    while (pos < n) {
        const uint8_t block = u8(d, pos);
        if (block == 0x21) {  // extension: label, then sub-blocks
            pos += 2;
            if (!skipBlocks(pos))
                return false;
        } else if (block == 0x2C) {  // image descriptor
            if (pos + 11 > n)
                return false;
            pos += 10 + tableBytes(u8(d, pos + 9)) + 1;  // + LZW code size
            return skipBlocks(pos);
        } else {
            return false;  // trailer before any image, or garbage
        }
    }
    return false;
}

// TIFF: every value stored outside the first directory, and every strip or
// tile it points to, must lie inside the file; libtiff otherwise drops a cut
// colour map with a warning and shows the picture in greys.
bool tiffComplete(Bytes d)
{
    const qint64 n = d.size();
    const bool motorola = u8(d, 0) == 'M';
    auto rd16 = [&](qint64 at) {
        return motorola ? qFromBigEndian<uint16_t>(d.data() + at)
                        : qFromLittleEndian<uint16_t>(d.data() + at);
    };
    auto rd32 = [&](qint64 at) {
        return motorola ? qFromBigEndian<uint32_t>(d.data() + at)
                        : qFromLittleEndian<uint32_t>(d.data() + at);
    };
    if (n < 8)
        return false;
    const qint64 ifd = rd32(4);
    if (ifd + 2 > n)
        return false;
    const int entries = rd16(ifd);
    if (ifd + 2 + 12 * qint64(entries) > n)
        return false;
    // Where each field's values start, for the two pairs we follow.
    struct Field {
        int type = 0;
        qint64 count = 0, at = 0;
    } offsets, counts;
    for (int i = 0; i < entries; ++i) {
        const qint64 e = ifd + 2 + 12 * qint64(i);
        const int tag = rd16(e), type = rd16(e + 2);
        static const int typeSizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
        const qint64 count = rd32(e + 4);
        const qint64 bytes = count * (type < 13 ? typeSizes[type] : 1);
        const qint64 at = bytes <= 4 ? e + 8 : rd32(e + 8);
        if (at + bytes > n)
            return false;
        if (tag == 273 || tag == 324)  // StripOffsets, TileOffsets
            offsets = {type, count, at};
        else if (tag == 279 || tag == 325)  // StripByteCounts, TileByteCounts
            counts = {type, count, at};
    }
    auto value = [&](const Field &f, qint64 i) -> qint64 {
        return f.type == 3 ? rd16(f.at + 2 * i) : f.type == 4 ? rd32(f.at + 4 * i) : -1;
    };
    if (offsets.count == 0 || offsets.count != counts.count)
        return true;  // nothing to follow; libtiff judges
    for (qint64 i = 0; i < offsets.count; ++i) {
        const qint64 start = value(offsets, i), size = value(counts, i);
        if (start < 0 || size < 0 || start + size > n)
            return false;
    }
    return true;
}

bool complete(Kind k, Bytes d)
{
    switch (k) {
    case Kind::Jpeg: return jpegComplete(d);
    case Kind::Bmp: return bmpComplete(d);
    case Kind::Gif: return gifComplete(d);
    case Kind::Tiff: return tiffComplete(d);
    default: return true;
    }
}

// The source depth where the header states it more exactly than the
// decoded format does (a 4-bit BMP decodes to 8 bits, a GIF to 32); 0
// elsewhere.
int headerBits(Kind k, Bytes d)
{
    if (k == Kind::Gif)
        return 8;
    if (k == Kind::Bmp && bmpHeader(d).known)
        return int(bmpHeader(d).biBitCount);
    if (k == Kind::Png && d.size() >= 26) {
        static const int channels[] = {1, 0, 3, 1, 2, 0, 4};
        const int type = u8(d, 25);
        return type <= 6 ? u8(d, 24) * channels[type] : 0;
    }
    return 0;
}

// The size the header declares, for the formats whose Qt reader refuses a
// huge one without saying how big; otherwise invalid, and Qt's word counts.
QSize headerSize(Kind k, Bytes d)
{
    auto clamp = [](qint64 v) { return int(std::min<qint64>(v, INT_MAX)); };
    if (k == Kind::Bmp && bmpHeader(d).known)
        return QSize(clamp(bmpHeader(d).biWidth), clamp(bmpHeader(d).biHeight));
    return QSize();
}

bool sizeAllowed(qint64 width, qint64 height)
{
    return width <= Limits::MaxPictureSide && height <= Limits::MaxPictureSide &&
           width * height <= Limits::MaxPicturePixels;
}

RuntimeError refuse(int number, const QString &why)
{
    qCWarning(lcRaster).noquote() << why;
    return runtimeError(number);
}

Raster decode(const QByteArray &data, const QString &suffix)
{
    Kind kind = sniff(data);
    if (kind == Kind::Unknown && (suffix.isEmpty() || suffix == QLatin1String("tga")) &&
        looksLikeTga(data))
        kind = Kind::Tga;
    if (kind == Kind::Unknown)
        throw refuse(Err::InvalidPicture, QStringLiteral("unknown picture format"));
    if (kind == Kind::Pcx) {
        PcxPicture pcx = readPcx(data).take();
        return Raster::fromImage(pcx.image, pcx.bitsPerPixel);
    }
    if (kind == Kind::Tga) {
        TgaPicture tga = readTga(data).take();
        return Raster::fromImage(tga.image, tga.bitsPerPixel);
    }

    QImageReader::setAllocationLimit(ReaderAllocationLimit);
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, readerFormat(kind));
    reader.setAutoTransform(false);
    QSize declared = headerSize(kind, data);
    if (!declared.isValid())
        declared = reader.size();
    if (declared.isValid() && !sizeAllowed(declared.width(), declared.height()))
        throw refuse(Err::OutOfMemory, QStringLiteral("picture too large: %1 x %2")
                                           .arg(declared.width())
                                           .arg(declared.height()));
    if (!complete(kind, data))
        throw refuse(Err::InvalidPicture, QStringLiteral("picture data cut short"));
    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw refuse(Err::InvalidPicture, reader.errorString());
    if (!sizeAllowed(image.width(), image.height()))
        throw refuse(Err::OutOfMemory, QStringLiteral("picture too large"));
    return Raster::fromImage(image, headerBits(kind, data));
}

void save(const Raster &raster, const QString &path, const char *format, int quality)
{
    if (raster.isNull())
        throw runtimeError(Err::InvalidProcedureCall);
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        throw refuse(Err::PathNotFound, QStringLiteral("no folder for %1").arg(path));
    if (info.isDir())
        throw refuse(Err::PathFileAccess, QStringLiteral("%1 is a folder").arg(path));
    Raster opaque = raster;  // alpha dropped as for any pixel operation
    opaque.convertTo24();
    const QImage image = opaque.image().convertToFormat(QImage::Format_RGB888);
    if (image.isNull())
        throw runtimeError(Err::OutOfMemory);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        const bool denied = file.error() == QFileDevice::PermissionsError ||
                            !QFileInfo(info.absolutePath()).isWritable() ||
                            (info.exists() && !info.isWritable());
        throw refuse(denied ? Err::PermissionDenied : Err::PathFileAccess, file.errorString());
    }
    QImageWriter writer(&file, format);
    if (quality >= 0)
        writer.setQuality(quality);
    if (!writer.write(image)) {
        file.cancelWriting();
        const int number =
            file.error() == QFileDevice::ResourceError ? Err::DiskFull : Err::DeviceIOError;
        throw refuse(number, writer.errorString());
    }
    if (!file.commit()) {
        const int number =
            file.error() == QFileDevice::ResourceError ? Err::DiskFull : Err::DeviceIOError;
        throw refuse(number, file.errorString());
    }
}

QByteArray encodeBytes(const Raster &raster, const char *format, int quality)
{
    if (raster.isNull())
        throw runtimeError(Err::InvalidProcedureCall);
    Raster opaque = raster;
    opaque.convertTo24();
    const QImage image = opaque.image().convertToFormat(QImage::Format_RGB888);
    if (image.isNull())
        throw runtimeError(Err::OutOfMemory);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality >= 0)
        writer.setQuality(quality);
    if (!writer.write(image))
        throw refuse(Err::DeviceIOError, writer.errorString());
    return bytes;
}

}  // namespace

QByteArray encodePng(const Raster &raster)
{
    return encodeBytes(raster, "png", -1);
}

QByteArray encodeJpeg(const Raster &raster, int qualityFactor)
{
    return encodeBytes(raster, "jpeg", jpegQualityFor(qualityFactor));
}

Raster loadPicture(const QString &path)
{
    const FileContents file = readRegularFile(path, MaxFileBytes);
    switch (file.problem) {
    case FileProblem::None: break;
    case FileProblem::Missing: throw runtimeError(Err::FileNotFound);
    case FileProblem::Folder: throw runtimeError(Err::PathFileAccess);
    case FileProblem::NotRegular:
        throw refuse(Err::InvalidPicture, QStringLiteral("not a regular file: %1").arg(path));
    case FileProblem::TooLarge:
        throw refuse(Err::OutOfMemory, QStringLiteral("file too large: %1").arg(path));
    case FileProblem::Unreadable:
        throw refuse(QFileInfo(path).isReadable() ? Err::DeviceIOError : Err::PermissionDenied,
                     file.reason);
    }
    return decode(file.data, QFileInfo(path).suffix().toLower());
}

Raster loadPictureData(const QByteArray &data)
{
    return decode(data, QString());
}

// Below 20 each step of the factor costs 1.5 points of quality, so the
// factors in use land on familiar settings (2: 97, 10: 85, 20: 70); above
// 20 the rest of the scale falls linearly to 0 at 255.
int jpegQualityFor(int factor)
{
    if (factor < 2 || factor > 255)
        throw runtimeError(Err::InvalidProcedureCall);
    if (factor <= 20)
        return 100 - 3 * factor / 2;
    return 70 - ((factor - 20) * 70 + 117) / 235;
}

void savePng(const Raster &raster, const QString &path)
{
    save(raster, path, "png", -1);
}

void saveJpeg(const Raster &raster, const QString &path, int qualityFactor)
{
    save(raster, path, "jpeg", jpegQualityFor(qualityFactor));
}

}  // namespace varno
