#include <cstdio>

#include "Simd.h"

// Says which coder paths the tests run on this machine, so that a test log
// shows what was tested.
int main() {
  std::printf("Coder tests run %s, and again on the portable loops (the .portable tests)\n",
              simd::wide() ? "the AVX-512 kernels"
                            : "the portable loops only (no AVX-512 kernels here, or ZEMBRAX_PORTABLE)");
}
