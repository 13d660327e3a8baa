// The stream coders against the one-shot calls: the input picks a method
// of the registry, a direction and the method's options, then the points where the text is cut into
// pieces (empty pieces included), then the text. Fed in those pieces and
// finished, the stream must give exactly what the one-shot call gives.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "Methods.h"

namespace {

// Settings for `method` taken from the input: every option, but of a group
// only the one the input picks; texts of up to 40 bytes.
methods::Settings settingsFrom(Input& in, const methods::Method& method) {
  const auto grouped = static_cast<std::size_t>(
      std::count_if(method.options.begin(), method.options.end(),
                    [](const methods::Option& option) { return !option.group.empty(); }));
  const std::size_t picked = grouped == 0 ? 0 : in.byte() % grouped;
  methods::Settings settings;
  std::size_t member = 0;
  for (const methods::Option& option : method.options) {
    if (!option.group.empty() && member++ != picked) continue;
    switch (option.kind) {
      case methods::OptionKind::integer:
        settings.push_back({option.name, option.choices.empty()
                                             ? in.integer()
                                             : option.choices[in.byte() % option.choices.size()]});
        break;
      case methods::OptionKind::flag:
        settings.push_back({option.name, in.byte() % 2 == 1});
        break;
      case methods::OptionKind::text:
        settings.push_back({option.name, in.text(in.byte() % 40)});
        break;
    }
  }
  return settings;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  const std::span<const methods::Method> all = methods::all();
  const methods::Method& method = all[in.byte() % all.size()];
  const Direction direction = in.byte() % 2 == 0 ? Direction::encode : Direction::decode;
  const methods::Settings settings = settingsFrom(in, method);
  const std::unique_ptr<StreamCoder> stream = method.stream(settings, direction);
  std::vector<std::size_t> cuts(in.byte() % 32);
  for (std::size_t& cut : cuts)
    cut = in.byte() | in.byte() << 8;
  const std::string text = in.remainder();
  for (std::size_t& cut : cuts)
    cut %= text.size() + 1;
  std::sort(cuts.begin(), cuts.end());
  cuts.push_back(text.size());

  std::string streamed;
  std::size_t at = 0;
  for (std::size_t cut : cuts) {
    streamed += stream->feed(text.substr(at, cut - at));
    at = cut;
  }
  streamed += stream->finish();
  methods::OwnCoders coders;
  require(streamed == method.run(coders.all(), settings, direction, text), method.name.data());
  return 0;
}
