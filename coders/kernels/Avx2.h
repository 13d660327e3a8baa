#ifndef ZEMBRAX_CODERS_KERNELS_AVX2_H_
#define ZEMBRAX_CODERS_KERNELS_AVX2_H_

#include "kernels/KernelTable.h"

// The AVX2 kernels are built wherever the compiler can target them.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define ZEMBRAX_HAS_AVX2 1
#else
#define ZEMBRAX_HAS_AVX2 0
#endif

namespace kernels {

#if ZEMBRAX_HAS_AVX2
const Kernels& avx2Kernels();
// True when this processor runs them.
bool avx2Available();
#endif

}  // namespace kernels

#endif  // ZEMBRAX_CODERS_KERNELS_AVX2_H_
