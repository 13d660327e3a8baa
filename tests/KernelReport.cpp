#include <cstdio>
#include <string>

#include "kernels/Kernels.h"

// Says which tiers of coder kernels the tests run on this machine, so that a
// test log shows what was tested.
int main() {
  std::string ran;
  std::string lacking;
  const auto tiers = kernels::availableTiers();
  for (kernels::Tier tier : {kernels::Tier::avx512, kernels::Tier::avx2, kernels::Tier::portable}) {
    bool has = false;
    for (kernels::Tier available : tiers)
      has = has || available == tier;
    std::string& list = has ? ran : lacking;
    list += (list.empty() ? "" : ", ") + std::string(kernels::tierName(tier));
  }
  std::printf("Coder tests and fuzz targets run the kernels of: %s\n", ran.c_str());
  if (!lacking.empty()) {
    std::printf(
        "Not on this machine: %s (tests that ask for them run the fastest tier it has, and "
        "skip Dispatch.RunsTheTierAsked)\n",
        lacking.c_str());
  }
}
