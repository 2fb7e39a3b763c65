#include "core/Pool.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <new>

#include "core/Assert.h"

namespace Pool {

namespace Detail {

constexpr std::size_t CHUNK_BYTES = 32 * 1024;

void* heads[LIST_COUNT] = {};
Unused unused[LIST_COUNT] = {};

namespace {

// Chunks are cut from regions of this size, aligned to it and offered to the kernel as huge pages,
// so that a large tree touches fresh memory a region at a time rather than a page at a time.
constexpr std::size_t REGION_BYTES = 2 * 1024 * 1024;

char* regionBegin = nullptr;
char* regionEnd = nullptr;

char* CutChunk(std::size_t bytes) {
    if (static_cast<std::size_t>(regionEnd - regionBegin) < bytes) {
        void* region = std::aligned_alloc(REGION_BYTES, REGION_BYTES);
        if (!region) throw std::bad_alloc();
        ::madvise(region, REGION_BYTES, MADV_HUGEPAGE);
        regionBegin = static_cast<char*>(region);
        regionEnd = regionBegin + REGION_BYTES;
    }
    char* chunk = regionBegin;
    regionBegin += bytes;
    return chunk;
}

}  // namespace

void* TakeFromNewChunk(std::size_t size) {
    const std::size_t stride = Stride(size);
    // Small blocks come in chunks of about 32 KB, so that a large tree asks for memory seldom.
    const std::size_t blocks = std::max(CHUNK_BLOCKS, CHUNK_BYTES / stride);
    char* chunk = CutChunk(blocks * stride);
    unused[size].begin = chunk;
    unused[size].end = chunk + (blocks - 1) * stride;
    return unused[size].end;
}

void* AllocateOther(std::size_t size) {
    Assert(size >= sizeof(void*));
    if (size < sizeof(void*)) {
        // Too small for the link: a block of the smallest list.
        return Allocate(sizeof(void*));
    }
    void* block = std::calloc(1, size);
    if (!block) throw std::bad_alloc();
    return block;
}

void ReleaseOther(void* block, std::size_t size) {
    Assert(size >= sizeof(void*));
    if (size < sizeof(void*)) {
        return;  // cannot hold the link; keep it out of the lists
    }
    std::memset(block, 0xFE, size);
    std::free(block);
}

}  // namespace Detail

void** Heads() { return Detail::heads; }

}  // namespace Pool

#ifdef MARIVEL_NO_POOL
// Out of line, so that the compiler does not pair the class's new with the heap's free.
void* Poolable::operator new(std::size_t size) {
    void* block = std::calloc(1, size);
    if (!block) throw std::bad_alloc();
    return block;
}

void Poolable::operator delete(void* block, std::size_t) { std::free(block); }
#endif
