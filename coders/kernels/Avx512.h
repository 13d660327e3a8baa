#ifndef ZEMBRAX_CODERS_KERNELS_AVX512_H_
#define ZEMBRAX_CODERS_KERNELS_AVX512_H_

#include "kernels/KernelTable.h"

// The AVX-512 kernels are built wherever the compiler can target them.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define ZEMBRAX_HAS_AVX512 1
#else
#define ZEMBRAX_HAS_AVX512 0
#endif

namespace kernels {

#if ZEMBRAX_HAS_AVX512
const Kernels& avx512Kernels();
// True when this processor runs them.
bool avx512Available();
#endif

}  // namespace kernels

#endif  // ZEMBRAX_CODERS_KERNELS_AVX512_H_
