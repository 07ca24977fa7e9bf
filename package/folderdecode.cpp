#include "package/folderdecode.h"

#include <QtEndian>

#include <zlib.h>

#include <cstring>
#include <memory>

namespace varno {

namespace {

constexpr int HeaderSize = 36;
constexpr int FolderEntrySize = 8;
constexpr int DataHeaderSize = 8;
constexpr int BlockMax = 32768;
constexpr quint16 FlagPrevious = 0x0001, FlagNext = 0x0002, FlagReserve = 0x0004;
constexpr int CompressNone = 0, CompressMszip = 1;

quint32 le16(const char *p)
{
    return quint32(quint8(p[0])) | quint32(quint8(p[1])) << 8;
}

quint32 le32(const char *p)
{
    return le16(p) | le16(p + 2) << 16;
}

// The CFDATA checksum: 32-bit words XORed, the odd tail taken high byte
// first.
quint32 checksum(const char *data, qint64 bytes, quint32 sum)
{
    quint32 words = 0;  // XOR is order-free: whole words first, in one sweep
    for (qint64 i = 0; i + 4 <= bytes; i += 4)
        words ^= qFromLittleEndian<quint32>(data + i);
    sum ^= words;
    quint32 tail = 0;
    const char *rest = data + (bytes & ~qint64(3));
    switch (bytes & 3) {
    case 3: tail |= quint32(quint8(*rest++)) << 16; [[fallthrough]];
    case 2: tail |= quint32(quint8(*rest++)) << 8; [[fallthrough]];
    case 1: tail |= quint32(quint8(*rest));
    }
    return sum ^ tail;
}

// One MSZIP block: "CK", then a deflate stream whose window starts with
// the previous block's output.
bool inflateBlock(z_stream &z, const char *data, quint32 size, const char *dictionary,
                  quint32 dictionarySize, char *out, quint32 expected)
{
    if (size < 2 || data[0] != 'C' || data[1] != 'K' || inflateReset(&z) != Z_OK)
        return false;
    if (dictionarySize && inflateSetDictionary(&z, reinterpret_cast<const Bytef *>(dictionary),
                                               dictionarySize) != Z_OK)
        return false;
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data + 2));
    z.avail_in = size - 2;
    z.next_out = reinterpret_cast<Bytef *>(out);
    z.avail_out = expected;
    const int rc = inflate(&z, Z_FINISH);
    return (rc == Z_STREAM_END || rc == Z_BUF_ERROR || rc == Z_OK) && z.avail_out == 0;
}

}  // namespace

std::optional<QByteArray> decodeFolderStart(const FolderToDecode &folder)
{
    QIODevice *file = folder.cabinet;
    if (!file || folder.length < 0 ||
        (folder.compression != CompressNone && folder.compression != CompressMszip))
        return std::nullopt;
    // Only what the wanted bytes need is read: a theme's second picture
    // usually follows in the same folder.
    const auto readAt = [file, base = folder.base](qint64 at, qint64 size, char *to) {
        return at >= 0 && file->seek(base + at) && file->read(to, size) == size;
    };
    char header[HeaderSize + 4];
    if (!readAt(0, HeaderSize, header) || std::memcmp(header, "MSCF", 4) != 0)
        return std::nullopt;
    const quint32 flags = le16(header + 30);
    if (flags & (FlagPrevious | FlagNext))
        return std::nullopt;
    qint64 at = HeaderSize;
    quint32 folderReserve = 0, dataReserve = 0;
    if (flags & FlagReserve) {
        if (!readAt(at, 4, header + HeaderSize))
            return std::nullopt;
        folderReserve = quint8(header[HeaderSize + 2]);
        dataReserve = quint8(header[HeaderSize + 3]);
        at += 4 + le16(header + HeaderSize);
    }
    char entry[FolderEntrySize];
    at += qint64(folder.folderIndex) * (FolderEntrySize + folderReserve);
    if (folder.folderIndex < 0 || !readAt(at, FolderEntrySize, entry) ||
        le16(entry + 4) != folder.blockCount || int(le16(entry + 6) & 0x0F) != folder.compression)
        return std::nullopt;
    qint64 block = le32(entry);

    QByteArray out;
    out.resize(folder.length);
    z_stream z{};
    if (folder.compression == CompressMszip && inflateInit2(&z, -MAX_WBITS) != Z_OK)
        return std::nullopt;
    // Kept per thread: a browser decodes thousands of folders in a row.
    thread_local std::unique_ptr<char[]> packedData(new char[0xFFFF]), last(new char[BlockMax]);
    qint64 made = 0;
    bool ok = true;
    for (unsigned i = 0; ok && i < folder.blockCount && made < folder.length; ++i) {
        char blockHeader[DataHeaderSize];
        ok = readAt(block, DataHeaderSize, blockHeader);
        const quint32 stored = le32(blockHeader);
        const quint32 packed = le16(blockHeader + 4), unpacked = le16(blockHeader + 6);
        const qint64 data = block + DataHeaderSize + dataReserve;
        ok = ok && unpacked > 0 && unpacked <= BlockMax && packed <= 0xFFFF &&
             readAt(data, packed, packedData.get());
        if (ok && stored)
            ok = checksum(blockHeader + 4, 4, checksum(packedData.get(), packed, 0)) == stored;
        if (!ok)
            break;
        // The last block may run past what is wanted: it is decoded whole
        // into its own space and cut.
        const bool whole = made + unpacked <= folder.length;
        char *target = whole ? out.data() + made : last.get();
        if (folder.compression == CompressNone) {
            ok = packed == unpacked;
            if (ok)
                std::memcpy(target, packedData.get(), unpacked);
        } else {
            const quint32 history = quint32(std::min<qint64>(made, BlockMax));
            ok = inflateBlock(z, packedData.get(), packed, out.constData() + made - history,
                              history, target, unpacked);
        }
        if (ok && !whole)
            std::memcpy(out.data() + made, last.get(), size_t(folder.length - made));
        made = std::min<qint64>(made + unpacked, folder.length);
        block = data + packed;
    }
    if (folder.compression == CompressMszip)
        inflateEnd(&z);
    if (!ok || made != folder.length)
        return std::nullopt;
    return out;
}

}  // namespace varno
