#include "analysis/Parallel.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace analysis {

std::size_t mostThreads() {
  static const std::size_t most = [] {
    const char* asked = std::getenv("ZEMBRAX_THREADS");
    if (asked != nullptr) {
      const char* end = asked + std::strlen(asked);
      std::size_t value = 0;
      const auto [stop, error] = std::from_chars(asked, end, value);
      if (error == std::errc{} && stop == end && value > 0) return value;
    }
    return std::max<std::size_t>(1, std::thread::hardware_concurrency());
  }();
  return most;
}

}  // namespace analysis
