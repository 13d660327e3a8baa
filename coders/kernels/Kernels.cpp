#include "kernels/Kernels.h"

#include <cstdlib>

#include "kernels/Avx512.h"

namespace kernels {
namespace {

// The portable kernel: it leaves everything to the plain loop.
template <typename... Options>
Progress nothing(const char*, std::size_t, char*, Options...) {
  return {0, 0};
}

constexpr Kernels kPortable = {
    "portable", nothing, nothing, nothing, nothing, nothing, nothing, nothing, nothing,
    nothing,    nothing, nothing, nothing, nothing, nothing, nothing, nothing,
};

bool portableAsked() {
  const char* portable = std::getenv("ZEMBRAX_PORTABLE");
  return portable != nullptr && *portable != '\0' && *portable != '0';
}

}  // namespace

const Kernels& active() {
  static const Kernels& chosen = [] {
#if ZEMBRAX_HAS_AVX512
    if (!portableAsked() && avx512Available()) return avx512Kernels();
#endif
    return kPortable;
  }();
  return chosen;
}

}  // namespace kernels
