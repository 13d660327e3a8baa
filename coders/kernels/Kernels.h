#ifndef ZEMBRAX_CODERS_KERNELS_KERNELS_H_
#define ZEMBRAX_CODERS_KERNELS_KERNELS_H_

// The coders' fast paths, one table of kernels per instruction set (see
// KernelTable.h for the contract they share), chosen once when first asked
// for.
//
// There are three tiers: AVX-512 (with its byte-permute and compress
// instructions), AVX2, and the portable one, which does nothing at all, so
// that the plain loops do the work. The fastest that the processor runs is
// chosen once; ZEMBRAX_KERNELS=avx512|avx2|portable in the environment asks
// for one, and ZEMBRAX_PORTABLE=1 for the portable one.

#include <string>
#include <vector>

#include "kernels/KernelTable.h"

namespace kernels {

enum class Tier { portable, avx2, avx512 };

// What a processor offers of what the tiers need.
struct Features {
  bool avx2 = false;    // AVX2 with BMI2
  bool avx512 = false;  // AVX-512 F, BW, VL, VBMI and VBMI2 with BMI2
};

struct Choice {
  Tier tier;
  // One line to show when the environment asked for what cannot be had;
  // empty otherwise.
  std::string note;
};

// The tier to run on a processor with `features`, given the values of
// ZEMBRAX_KERNELS and ZEMBRAX_PORTABLE (null where unset). A tier asked for
// that the processor lacks, or a name that is no tier, gives the fastest it
// has, with a note.
Choice choose(Features features, const char* kernels, const char* portable);

// This processor's features; a tier that this build lacks counts as absent.
Features processorFeatures();

// The tiers that this processor runs, fastest first.
std::vector<Tier> availableTiers();

// The name of a tier in ZEMBRAX_KERNELS: "avx512", "avx2" or "portable".
const char* tierName(Tier tier);

// The kernels of a tier this processor runs.
const Kernels& kernelsOf(Tier tier);

// The kernels chosen for this run, with the environment's say; a note on the
// choice goes to the standard error when it is first made.
const Kernels& active();

}  // namespace kernels

#endif  // ZEMBRAX_CODERS_KERNELS_KERNELS_H_
