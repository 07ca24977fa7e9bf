#include "package/thumbnailmemory.h"

#include <algorithm>

#if defined(__linux__)
#include <sys/mman.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#endif

namespace varno {

#if defined(__linux__)

namespace {

constexpr size_t BlockBytes = size_t(2) << 20;
constexpr size_t Align = 64;
// A few long-kept pictures can each hold a block that is otherwise empty;
// past this many blocks pictures go to ordinary memory, so that can cost at
// most this much.
constexpr int MaxBlocks = 128;

// Sits at the start of its block. `users` counts the pictures in it, and
// one more while it is the block being filled.
struct Block {
    std::atomic<int> users{1};
};
constexpr size_t HeaderBytes = (sizeof(Block) + Align - 1) / Align * Align;

Block *mapBlock()
{
    // Twice the size, then trimmed, for the alignment a huge page needs.
    void *mapped =
        mmap(nullptr, 2 * BlockBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    auto *start = static_cast<char *>(mapped);
    const auto address = reinterpret_cast<std::uintptr_t>(start);
    char *aligned = start + ((BlockBytes - address % BlockBytes) % BlockBytes);
    if (aligned > start)
        munmap(start, size_t(aligned - start));
    if (char *end = aligned + BlockBytes; end < start + 2 * BlockBytes)
        munmap(end, size_t(start + 2 * BlockBytes - end));
    madvise(aligned, BlockBytes, MADV_HUGEPAGE);
    return new (aligned) Block;
}

class Blocks {
public:
    // Pixels for `bytes`, and the block holding them; null when too large
    // or every block there may be is in use.
    char *take(size_t bytes, Block *&block)
    {
        bytes = (bytes + Align - 1) / Align * Align;
        if (bytes > BlockBytes - HeaderBytes)
            return nullptr;
        const std::lock_guard lock(m_mutex);
        if (!m_filling || m_used + bytes > BlockBytes) {
            if (m_filling)
                releaseLocked(m_filling);
            m_filling = m_spare;
            m_spare = nullptr;
            if (!m_filling && m_mapped < MaxBlocks && (m_filling = mapBlock()))
                ++m_mapped;
            if (!m_filling)
                return nullptr;
            m_filling->users.store(1);
            m_used = HeaderBytes;
        }
        block = m_filling;
        block->users.fetch_add(1);
        char *pixels = reinterpret_cast<char *>(block) + m_used;
        m_used += bytes;
        return pixels;
    }

    void release(Block *block)
    {
        if (block->users.fetch_sub(1) != 1)
            return;
        const std::lock_guard lock(m_mutex);
        recycleLocked(block);
    }

private:
    void releaseLocked(Block *block)
    {
        if (block->users.fetch_sub(1) == 1)
            recycleLocked(block);
    }

    // One empty block is kept: a program that makes and drops thumbnails
    // one after another then maps nothing new.
    void recycleLocked(Block *block)
    {
        if (!m_spare)
            m_spare = block;
        else if (munmap(block, BlockBytes) == 0)
            --m_mapped;
    }

    std::mutex m_mutex;
    Block *m_filling = nullptr;
    Block *m_spare = nullptr;
    size_t m_used = 0;
    int m_mapped = 0;
};

// Never destroyed: pictures may outlive every other static.
Blocks &blocks()
{
    static auto *all = new Blocks;
    return *all;
}

}  // namespace

QImage newThumbnailImage(QSize size)
{
    const size_t stride = size_t(std::max(size.width(), 0)) * 4;
    Block *block = nullptr;
    char *pixels = size.isEmpty() ? nullptr : blocks().take(stride * size_t(size.height()), block);
    if (!pixels)
        return QImage(size, QImage::Format_RGB32);
    return QImage(
        reinterpret_cast<uchar *>(pixels), size.width(), size.height(), qsizetype(stride),
        QImage::Format_RGB32, [](void *held) { blocks().release(static_cast<Block *>(held)); },
        block);
}

#else

QImage newThumbnailImage(QSize size)
{
    return QImage(size, QImage::Format_RGB32);
}

#endif

}  // namespace varno
