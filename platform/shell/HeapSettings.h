#pragma once
// How the C library's heap behaves for the whole program: called once at program start, before
// anything is allocated in earnest.

// Freed memory stays with the process instead of going back to the system after every large free
// (the heap top is not trimmed, and large blocks come from the heap, not from a mapping of their
// own): a frame that frees and allocates the same few megabytes no longer faults them in anew.
void KeepHeapGrown();
