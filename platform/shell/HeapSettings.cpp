#include "platform/shell/HeapSettings.h"

#include <malloc.h>

namespace {

// Blocks up to this size come from the heap (the largest the library accepts).
constexpr int MAPPING_THRESHOLD = 32 * 1024 * 1024;
// Free memory at the heap top up to this much stays with the process.
constexpr int TRIM_THRESHOLD = 512 * 1024 * 1024;

}  // namespace

void KeepHeapGrown() {
    // Either may be refused (a sanitizer's allocator has no such settings): the defaults then stay.
    mallopt(M_MMAP_THRESHOLD, MAPPING_THRESHOLD);
    mallopt(M_TRIM_THRESHOLD, TRIM_THRESHOLD);
}
