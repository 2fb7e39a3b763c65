#pragma once
// Size-class allocator: free lists per exact block size, blocks never given back to the heap.
// The common paths are inline, so that a `new` of a pooled class with its size known at compile
// time costs a list pop and a fixed-size fill.

#include <cstddef>
#include <cstring>

namespace Pool {

constexpr std::size_t LIST_COUNT = 1024;
constexpr std::size_t CHUNK_BLOCKS = 64;

namespace Detail {

// The part of each size's newest chunk not handed out yet: blocks go from its top down, as if
// the chunk had been put on the free list whole, without touching every block at once.
struct Unused {
    char* begin = nullptr;
    char* end = nullptr;
};

// Constant-initialised, so usable by objects built during static initialisation.
extern void* heads[LIST_COUNT];
extern Unused unused[LIST_COUNT];

// Blocks of one list lie a pointer-aligned stride apart, so odd sizes stay aligned.
constexpr std::size_t Stride(std::size_t size) { return (size + sizeof(void*) - 1) & ~(sizeof(void*) - 1); }

// A fresh chunk for the size, its top block handed out.
void* TakeFromNewChunk(std::size_t size);
// Sizes outside the lists: reported when too small for the link, else the heap.
void* AllocateOther(std::size_t size);
void ReleaseOther(void* block, std::size_t size);

}  // namespace Detail

// Free-list heads indexed by block size; a free block's first word links to the next one.
void** Heads();

// A zero-filled block of `size` bytes from the free lists (below 1024 bytes) or the heap.
inline void* Allocate(std::size_t size) {
    if (size - sizeof(void*) >= LIST_COUNT - sizeof(void*)) return Detail::AllocateOther(size);
    void* block = Detail::heads[size];
    if (block != nullptr) {
        void* next = *static_cast<void**>(block);
        Detail::heads[size] = next;
        // Freed blocks lie scattered: the next one is fetched while this one is being filled.
        __builtin_prefetch(next, 1);
    } else {
        Detail::Unused& unused = Detail::unused[size];
        if (unused.end != unused.begin) {
            unused.end -= Detail::Stride(size);
            block = unused.end;
        } else {
            block = Detail::TakeFromNewChunk(size);
        }
    }
    std::memset(block, 0, size);
    return block;
}

// Fills the block with 0xFE and pushes it back on its list (or returns it to the heap).
inline void Release(void* block, std::size_t size) {
    if (block == nullptr) return;
    if (size - sizeof(void*) >= LIST_COUNT - sizeof(void*)) {
        Detail::ReleaseOther(block, size);
        return;
    }
    std::memset(block, 0xFE, size);
    *static_cast<void**>(block) = Detail::heads[size];
    Detail::heads[size] = block;
}

}  // namespace Pool

// Base whose objects come from the pool (or, with MARIVEL_NO_POOL, from plain calloc/free).
class Poolable {
public:
    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size);
};

#ifndef MARIVEL_NO_POOL
inline void* Poolable::operator new(std::size_t size) { return Pool::Allocate(size); }

inline void Poolable::operator delete(void* block, std::size_t size) { Pool::Release(block, size); }
#endif
