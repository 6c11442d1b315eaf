#pragma once
// Counts every allocation of the process, libraries' own included, by replacing malloc and its
// kin (glibc): the bytes held now and the highest they have been. Include it in one file of a
// benchmark program only: it defines the allocation functions.
#include <malloc.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
void __libc_free(void*);
}

namespace tessmoor::bench {

inline std::atomic<std::int64_t> g_allocated{0};
inline std::atomic<std::int64_t> g_allocated_peak{0};

inline void* Counted(void* p) {
  if (p) {
    const std::int64_t now = g_allocated += static_cast<std::int64_t>(malloc_usable_size(p));
    std::int64_t peak = g_allocated_peak.load();
    while (now > peak && !g_allocated_peak.compare_exchange_weak(peak, now)) {
    }
  }
  return p;
}

inline void Uncounted(void* p) {
  if (p) g_allocated -= static_cast<std::int64_t>(malloc_usable_size(p));
}

// The bytes held now; the peak starts again from here.
inline std::int64_t StartAllocationPeak() {
  const std::int64_t now = g_allocated.load();
  g_allocated_peak = now;
  return now;
}

// The most held at once since StartAllocationPeak.
inline std::int64_t AllocationPeak() { return g_allocated_peak.load(); }

}  // namespace tessmoor::bench

extern "C" {
void* malloc(std::size_t size) { return tessmoor::bench::Counted(__libc_malloc(size)); }
void* calloc(std::size_t n, std::size_t size) { return tessmoor::bench::Counted(__libc_calloc(n, size)); }
void free(void* p) {
  tessmoor::bench::Uncounted(p);
  __libc_free(p);
}
void* realloc(void* p, std::size_t size) {
  tessmoor::bench::Uncounted(p);
  return tessmoor::bench::Counted(__libc_realloc(p, size));
}
void* memalign(std::size_t alignment, std::size_t size) {
  return tessmoor::bench::Counted(__libc_memalign(alignment, size));
}
void* aligned_alloc(std::size_t alignment, std::size_t size) { return memalign(alignment, size); }
int posix_memalign(void** out, std::size_t alignment, std::size_t size) {
  void* p = memalign(alignment, size);
  if (!p) return ENOMEM;
  *out = p;
  return 0;
}
}
