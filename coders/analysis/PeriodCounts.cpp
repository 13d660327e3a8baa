#include "analysis/PeriodCounts.h"

#include <algorithm>
#include <numeric>

namespace analysis {

namespace {

// The largest modulus that several periods share: its counts (26 per place)
// stay within the second-level cache.
constexpr std::size_t kLargestSharedModulus = 5040;
// The places that a modulus has counts for before its first letter.
constexpr std::size_t kFirstPlaces = 64;

}  // namespace

PeriodCounts::PeriodCounts(std::size_t most) {
  // The longest periods first, each into the first modulus that takes it
  // within the bound, or a modulus of its own.
  for (std::size_t period = most; period >= 1; --period) {
    bool placed = false;
    for (Modulus& m : moduli) {
      const std::size_t joint = std::lcm(m.size, period);
      if (joint <= kLargestSharedModulus || joint == m.size) {
        m.size = joint;
        placed = true;
        break;
      }
    }
    if (!placed) moduli.push_back({period, 0, {}});
  }
}

void PeriodCounts::Modulus::grow() {
  counts.resize(std::min(size, std::max<std::size_t>(2 * place, kFirstPlaces)) * 26);
}

std::vector<PeriodCounts::Column> PeriodCounts::columns(std::size_t period) const {
  std::vector<Column> out(period, Column{});
  for (const Modulus& m : moduli) {
    if (m.size % period != 0) continue;
    for (std::size_t place = 0; place < m.counts.size() / 26; ++place) {
      Column& column = out[place % period];
      for (std::size_t letter = 0; letter < 26; ++letter)
        column[letter] += m.counts[place * 26 + letter];
    }
    break;
  }
  return out;
}

}  // namespace analysis
