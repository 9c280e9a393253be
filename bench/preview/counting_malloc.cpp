#include "bench/preview/counting_malloc.h"

#include <malloc.h>

#include <atomic>
#include <cerrno>

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);
}

namespace {

std::atomic<std::size_t> g_inUse{0};
std::atomic<std::size_t> g_peak{0};

void Added(void* p) {
  if (!p) return;
  const std::size_t now = g_inUse.fetch_add(malloc_usable_size(p)) + malloc_usable_size(p);
  std::size_t peak = g_peak.load();
  while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
  }
}

void Removed(void* p) {
  if (p) g_inUse.fetch_sub(malloc_usable_size(p));
}

}  // namespace

extern "C" {

void* malloc(size_t size) {
  void* p = __libc_malloc(size);
  Added(p);
  return p;
}

void* calloc(size_t count, size_t size) {
  void* p = __libc_calloc(count, size);
  Added(p);
  return p;
}

void* realloc(void* old, size_t size) {
  Removed(old);
  void* p = __libc_realloc(old, size);
  Added(p ? p : (size ? old : nullptr));
  return p;
}

void free(void* p) {
  Removed(p);
  __libc_free(p);
}

void* memalign(size_t alignment, size_t size) {
  void* p = __libc_memalign(alignment, size);
  Added(p);
  return p;
}

void* aligned_alloc(size_t alignment, size_t size) { return memalign(alignment, size); }

int posix_memalign(void** out, size_t alignment, size_t size) {
  void* p = memalign(alignment, size);
  if (!p) return ENOMEM;
  *out = p;
  return 0;
}

}  // extern "C"

namespace lumenta::bench {

std::size_t HeapInUse() { return g_inUse.load(); }
void ResetHeapPeak() { g_peak.store(g_inUse.load()); }
std::size_t HeapPeak() { return g_peak.load(); }

}  // namespace lumenta::bench
