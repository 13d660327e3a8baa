#ifndef ZEMBRAX_CODERS_METHODS_H_
#define ZEMBRAX_CODERS_METHODS_H_

// The methods of the window, one entry each: their names, directions,
// options and calls, for every caller (the window, the command line, the
// analysis, the tests, the fuzz targets and the benchmarks).

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace methods {

// One option of a method by the command line's name for it ("shift", "full",
// "key", "from", "to", "and", "or", "xor", "bits"), with its value.
struct Setting {
  std::string_view name;
  std::variant<std::int32_t, bool, std::string> value;

  bool operator==(const Setting&) const = default;
};
using Settings = std::vector<Setting>;

}  // namespace methods

#endif  // ZEMBRAX_CODERS_METHODS_H_
