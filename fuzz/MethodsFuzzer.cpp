// Every method of the registry, from its entry alone: the input picks a
// method and one of its samples, then the text, which is folded into the
// bytes the sample takes. The method must give what its reference version
// gives where the tests have one, and its decoding must undo its encoding
// where the two are an inverse pair or one call.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "Methods.h"
#include "Reference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  const std::span<const methods::Method> all = methods::all();
  const methods::Method& method = all[in.byte() % all.size()];
  const std::vector<methods::Sample> samples = method.samples();
  const methods::Sample& sample = samples[in.byte() % samples.size()];
  std::string text = in.remainder();
  const int span = sample.highest - sample.lowest + 1;
  for (char& c : text)
    c = static_cast<char>(sample.lowest + static_cast<unsigned char>(c) % span);

  methods::OwnCoders coders;
  const auto run = [&](Direction direction, const std::string& input) {
    return methods::runExact(method, coders.all(), sample.settings, direction, input);
  };
  if (!methods::encodes(method)) {
    run(Direction::decode, text);
    return 0;
  }
  const std::string coded = run(Direction::encode, text);
  const reference::Coding reference = reference::codingOf(method.name);
  if (reference != nullptr && sample.settings.empty())
    require(coded == reference(text), method.name.data());
  if (method.ways == methods::Ways::inversePair || method.ways == methods::Ways::sameCall)
    require(run(methods::undoing(method), coded) == text, method.name.data());
  return 0;
}
