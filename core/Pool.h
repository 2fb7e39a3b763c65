#pragma once
// Size-class allocator: free lists per exact block size, blocks never given back to the heap.

#include <cstddef>

namespace Pool {

constexpr std::size_t LIST_COUNT = 1024;
constexpr std::size_t CHUNK_BLOCKS = 64;

// Free-list heads indexed by block size; a free block's first word links to the next one.
void** Heads();

// A zero-filled block of `size` bytes from the free lists (below 1024 bytes) or the heap.
void* Allocate(std::size_t size);
// Fills the block with 0xFE and pushes it back on its list (or returns it to the heap).
void Release(void* block, std::size_t size);

}  // namespace Pool

// Base whose objects come from the pool (or, with MARIVEL_NO_POOL, from plain calloc/free).
class Poolable {
public:
    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size);
};
