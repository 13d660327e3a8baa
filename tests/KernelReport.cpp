#include <cstdio>

#include "kernels/Kernels.h"

// Says which coder kernels the tests run on this machine, so that a test log
// shows what was tested.
int main() {
  std::printf(
      "Coder tests run the %s kernels, and again the portable loops alone (the "
      ".portable tests)\n",
      kernels::active().name);
}
