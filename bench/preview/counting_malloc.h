#pragma once
// Counts the heap in use by the whole process (C++ objects, libjpeg's pools, everything that
// goes through malloc): this program replaces malloc and its relatives with thin wrappers over
// glibc's own allocator that keep a running total and its high-water mark.
#include <cstddef>

namespace lumenta::bench {

// Bytes in use right now (as malloc_usable_size counts them).
std::size_t HeapInUse();
// Restarts the high-water mark at the current use.
void ResetHeapPeak();
// The highest use since the last reset.
std::size_t HeapPeak();

}  // namespace lumenta::bench
