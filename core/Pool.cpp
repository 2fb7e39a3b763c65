#include "core/Pool.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "core/Assert.h"

namespace Pool {

namespace {

// The part of each size's newest chunk not handed out yet: blocks go from its top down, as if
// the chunk had been put on the free list whole, without touching every block at once.
struct Unused {
    char* begin = nullptr;
    char* end = nullptr;
};

Unused* UnusedParts() {
    static Unused parts[LIST_COUNT] = {};
    return parts;
}

}  // namespace

void** Heads() {
    static void* heads[LIST_COUNT] = {};
    return heads;
}

void* Allocate(std::size_t size) {
    Assert(size >= sizeof(void*));
    if (size < sizeof(void*)) {
        size = sizeof(void*);
    }
    void* block = nullptr;
    if (size < LIST_COUNT) {
        void** heads = Heads();
        if (heads[size] != nullptr) {
            block = heads[size];
            heads[size] = *static_cast<void**>(block);
        } else {
            // Blocks of one list lie a pointer-aligned stride apart, so odd sizes stay aligned.
            const std::size_t stride = (size + sizeof(void*) - 1) & ~(sizeof(void*) - 1);
            Unused& unused = UnusedParts()[size];
            if (unused.end == unused.begin) {
                char* chunk = static_cast<char*>(std::malloc(CHUNK_BLOCKS * stride));
                if (!chunk) throw std::bad_alloc();
                unused.begin = chunk;
                unused.end = chunk + CHUNK_BLOCKS * stride;
            }
            unused.end -= stride;
            block = unused.end;
        }
    } else {
        block = std::malloc(size);
        if (!block) throw std::bad_alloc();
    }
    std::memset(block, 0, size);
    return block;
}

void Release(void* block, std::size_t size) {
    if (block == nullptr) {
        return;
    }
    Assert(size >= sizeof(void*));
    if (size < sizeof(void*)) {
        return;  // cannot hold the link; keep it out of the lists
    }
    std::memset(block, 0xFE, size);
    if (size < LIST_COUNT) {
        void** heads = Heads();
        *static_cast<void**>(block) = heads[size];
        heads[size] = block;
    } else {
        std::free(block);
    }
}

}  // namespace Pool

void* Poolable::operator new(std::size_t size) {
#ifdef MARIVEL_NO_POOL
    void* block = std::calloc(1, size);
    if (!block) throw std::bad_alloc();
    return block;
#else
    return Pool::Allocate(size);
#endif
}

void Poolable::operator delete(void* block, std::size_t size) {
#ifdef MARIVEL_NO_POOL
    (void)size;
    std::free(block);
#else
    Pool::Release(block, size);
#endif
}
