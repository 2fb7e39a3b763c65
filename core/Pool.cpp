#include "core/Pool.h"

#include <cstdlib>
#include <new>

#include "core/Assert.h"

namespace Pool {

namespace Detail {

void* heads[LIST_COUNT] = {};
Unused unused[LIST_COUNT] = {};

void* TakeFromNewChunk(std::size_t size) {
    const std::size_t stride = Stride(size);
    char* chunk = static_cast<char*>(std::malloc(CHUNK_BLOCKS * stride));
    if (!chunk) throw std::bad_alloc();
    unused[size].begin = chunk;
    unused[size].end = chunk + (CHUNK_BLOCKS - 1) * stride;
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
