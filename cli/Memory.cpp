// The program's memory: large blocks start on a cache line, and freed ones
// are kept for the next piece.
//
// The pieces of a run are read straight into strings, and Linux copies into
// memory that starts off a cache line several times slower: reading 256 MiB
// from the page cache in 256 KiB pieces took 115 ms instead of 30 on AMD
// Zen 3, which made reading, not coding, most of a run. The C library
// starts a large block 16 bytes into its pages, so blocks of a page and
// more are placed on a cache line here instead.

#include "Memory.h"

#include <malloc.h>

#include <cstdint>
#include <cstdlib>
#include <new>

// The sanitizers bring their own allocator, with every form of new, which
// this replacement would mismatch.
#ifndef ZEMBRAX_SANITIZED

namespace {

constexpr std::size_t kCacheLine = 64;
constexpr std::size_t kLargeBlock = 4096;

}  // namespace

void* operator new(std::size_t size) {
  if (size > SIZE_MAX - kCacheLine) throw std::bad_alloc();
  void* block = nullptr;
  if (size >= kLargeBlock) {
    const std::size_t lines = (size + kCacheLine - 1) / kCacheLine;
    block = std::aligned_alloc(kCacheLine, lines * kCacheLine);
  } else {
    block = std::malloc(size == 0 ? 1 : size);
  }
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void operator delete(void* block) noexcept {
  std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}

#endif

void prepareMemory() {
  // A fixed threshold also stops the C library from moving it.
  constexpr int kMapThreshold = 32 << 20;
  mallopt(M_MMAP_THRESHOLD, kMapThreshold);
  mallopt(M_TRIM_THRESHOLD, 2 * kMapThreshold);
}
