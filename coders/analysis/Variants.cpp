#include "analysis/Variants.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace analysis {

namespace {

// Every combination of the values that the options of `method` are tried
// with.
std::vector<methods::Settings> combinations(const methods::Method& method) {
  std::vector<methods::Settings> all = {{}};
  for (const methods::Option& option : method.options) {
    std::vector<methods::Settings> grown;
    for (const methods::Settings& settings : all) {
      switch (option.kind) {
        case methods::OptionKind::integer:
          // A number of any size is left to the method.
          if (option.choices.empty()) grown.push_back(settings);
          for (const std::int32_t choice : option.choices) {
            grown.push_back(settings);
            grown.back().push_back({option.name, choice});
          }
          break;
        case methods::OptionKind::flag:
          grown.push_back(settings);
          grown.push_back(settings);
          grown.back().push_back({option.name, true});
          break;
        case methods::OptionKind::text:
          grown.push_back(settings);
          break;
      }
    }
    all = std::move(grown);
  }
  return all;
}

}  // namespace

bool searchable(const methods::Method& method) {
  if (!methods::decodes(method)) return false;
  return std::none_of(
      method.options.begin(), method.options.end(), [](const methods::Option& option) {
        const bool few = option.kind == methods::OptionKind::flag || !option.choices.empty();
        return !option.group.empty() || (option.required && !few);
      });
}

bool triesBothWays(const methods::Method& method) {
  return method.ways == methods::Ways::inversePair &&
         (method.accepts == nullptr || methods::mapsSignForSign(method));
}

std::vector<Step> variantsOf(const methods::Method& method, std::string_view text) {
  std::vector<methods::Settings> tried;
  if (method.accepts != nullptr) tried = method.accepts(text);
  if (tried.empty()) tried = combinations(method);
  std::vector<Step> steps;
  for (const Direction direction : {methods::undoing(method), Direction::encode}) {
    for (const methods::Settings& settings : tried)
      steps.push_back({&method, direction, settings});
    if (!triesBothWays(method)) break;
  }
  return steps;
}

Identification searchVariants(const methods::Method& method, std::string_view text,
                              const IdentifySettings& settings) {
  // A text's form is judged on its start, as identify() judges it.
  std::vector<std::vector<Step>> chains;
  for (Step& step : variantsOf(method, text.substr(0, kIdentifySample)))
    chains.push_back({std::move(step)});
  return rankChains(text, std::move(chains), settings);
}

}  // namespace analysis
