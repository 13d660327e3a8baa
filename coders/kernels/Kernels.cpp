#include "kernels/Kernels.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "kernels/Avx2.h"
#include "kernels/Avx512.h"

namespace kernels {
namespace {

constexpr Kernels kPortable = {
    .name = "portable",
    .caesarShift = nothing,
    .caesarShiftFull = nothing,
    .bitwise = nothing,
    .lsbExtract = nothing,
    .substitute = nothing,
    .rot47 = nothing,
    .atbash = nothing,
    .vigenere = nothing,
    .base64Encode = nothing,
    .urlEncode = nothing,
    .toBinary = nothing,
    .toDecimal = nothing,
    .toHex = nothing,
    .morseEncode = nothing,
    .base32Encode = nothing,
    .toOctal = nothing,
    .base64Decode = nothing,
    .urlDecode = nothing,
    .fromDecimal = nothing,
    .morseDecode = nothing,
    .base32Decode = nothing,
    .fromOctal = nothing,
};

constexpr Tier kFastestFirst[] = {Tier::avx512, Tier::avx2, Tier::portable};

bool has(Features features, Tier tier) {
  switch (tier) {
    case Tier::avx512:
      return features.avx512;
    case Tier::avx2:
      return features.avx2;
    case Tier::portable:
      return true;
  }
  return false;
}

Tier fastest(Features features) {
  for (Tier tier : kFastestFirst) {
    if (has(features, tier)) return tier;
  }
  return Tier::portable;
}

}  // namespace

const char* tierName(Tier tier) {
  switch (tier) {
    case Tier::avx512:
      return "avx512";
    case Tier::avx2:
      return "avx2";
    case Tier::portable:
      return "portable";
  }
  return "portable";
}

Choice choose(Features features, const char* kernels, const char* portable) {
  const Tier best = fastest(features);
  if (kernels != nullptr && *kernels != '\0') {
    for (Tier tier : kFastestFirst) {
      if (std::string_view(kernels) != tierName(tier)) continue;
      if (has(features, tier)) return {tier, ""};
      return {best, std::string("zembrax: this processor lacks the ") + tierName(tier) +
                        " kernels that ZEMBRAX_KERNELS asks for; running " + tierName(best)};
    }
    return {best, std::string("zembrax: ZEMBRAX_KERNELS=") + kernels +
                      " is none of avx512, avx2, portable; running " + tierName(best)};
  }
  if (portable != nullptr && *portable != '\0' && std::string_view(portable) != "0") {
    return {Tier::portable, ""};
  }
  return {best, ""};
}

Features processorFeatures() {
  Features features;
#if ZEMBRAX_HAS_AVX2
  features.avx2 = avx2Available();
#endif
#if ZEMBRAX_HAS_AVX512
  features.avx512 = avx512Available();
#endif
  return features;
}

std::vector<Tier> availableTiers() {
  const Features features = processorFeatures();
  std::vector<Tier> tiers;
  for (Tier tier : kFastestFirst) {
    if (has(features, tier)) tiers.push_back(tier);
  }
  return tiers;
}

const Kernels& kernelsOf(Tier tier) {
  switch (tier) {
#if ZEMBRAX_HAS_AVX512
    case Tier::avx512:
      return avx512Kernels();
#endif
#if ZEMBRAX_HAS_AVX2
    case Tier::avx2:
      return avx2Kernels();
#endif
    default:
      return kPortable;
  }
}

const Kernels& active() {
  static const Kernels& chosen = []() -> const Kernels& {
    const Choice choice = choose(processorFeatures(), std::getenv("ZEMBRAX_KERNELS"),
                                 std::getenv("ZEMBRAX_PORTABLE"));
    if (!choice.note.empty()) std::fprintf(stderr, "%s\n", choice.note.c_str());
    return kernelsOf(choice.tier);
  }();
  return chosen;
}

}  // namespace kernels
