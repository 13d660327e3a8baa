#include "analysis/PairSearch.h"

#include <algorithm>
#include <array>
#include <limits>

namespace analysis {

namespace {

using Table = std::array<double, 26 * 26>;  // [shift of one column * 26 + shift of the next]

// How far a ring's ln p, summed in its own order, may stand above its bound,
// summed in another: far more than the sums' rounding, far less than a
// letter's chance.
constexpr double kBoundSlack = 1e-6;

// back[x][s]: the letter x moved back by s.
constexpr auto kBack = [] {
  std::array<std::array<std::uint8_t, 26>, 26> back{};
  for (int x = 0; x < 26; ++x)
    for (int s = 0; s < 26; ++s)
      back[x][s] = static_cast<std::uint8_t>((x + 26 - s) % 26);
  return back;
}();

}  // namespace

PairBest bestKeyOnPairs(std::span<const std::uint8_t> letters, std::size_t period,
                        const fitness::LetterChain& chain) {
  const std::size_t p = period;
  std::array<float, 26 * 26> pairs{};
  for (std::uint8_t a = 0; a < 26; ++a)
    for (std::uint8_t b = 0; b < 26; ++b)
      pairs[a * 26 + b] = chain.next(a, 1, b);
  // edges[c]: the pairs that start in column c, by the shifts of c and c + 1.
  std::vector<Table> edges(p, Table{});
  for (std::size_t j = 0; j + 1 < letters.size(); ++j) {
    Table& edge = edges[j % p];
    const auto& second = kBack[letters[j + 1]];
    for (std::size_t s = 0; s < 26; ++s) {
      const float* row = &pairs[kBack[letters[j]][s] * 26];
      for (std::size_t t = 0; t < 26; ++t)
        edge[s * 26 + t] += row[second[t]];
    }
  }
  std::array<double, 26> first{};
  for (std::uint8_t s = 0; s < 26; ++s)
    first[s] = letters.empty() ? 0 : chain.alone(kBack[letters[0]][s]);

  PairBest best{std::vector<std::uint8_t>(p, 0), -std::numeric_limits<double>::infinity()};
  if (p == 1) {
    for (std::uint8_t s = 0; s < 26; ++s) {
      const double total = first[s] + edges[0][s * 26 + s];
      if (total > best.logLikelihood) best = {{s}, total};
    }
    return best;
  }
  // Around the ring from first shift s0: the best path to every shift of
  // each column (from[c][t]: the shift of column c - 1 on the path to shift
  // t of column c), and ln p of each last shift closed back to s0.
  std::vector<std::array<std::uint8_t, 26>> from(p);
  const auto around = [&](std::uint8_t s0) {
    std::array<double, 26> reach{};
    for (std::size_t t = 0; t < 26; ++t)
      reach[t] = first[s0] + edges[0][s0 * 26 + t];
    for (std::size_t c = 1; c + 1 < p; ++c) {
      std::array<double, 26> next{};
      next.fill(-std::numeric_limits<double>::infinity());
      for (std::size_t s = 0; s < 26; ++s)
        for (std::size_t t = 0; t < 26; ++t)
          if (reach[s] + edges[c][s * 26 + t] > next[t]) {
            next[t] = reach[s] + edges[c][s * 26 + t];
            from[c + 1][t] = static_cast<std::uint8_t>(s);
          }
      reach = next;
    }
    for (std::size_t t = 0; t < 26; ++t)
      reach[t] += edges[p - 1][t * 26 + s0];
    return reach;
  };
  // The most that a ring from each first shift can reach, the closing pair
  // left free to end at any shift: one pass back around the columns, where
  // each ring is a pass of its own. The first shifts go round best bound
  // first, until no bound reaches the best ring found.
  std::array<double, 26> ahead{};
  for (std::size_t t = 0; t < 26; ++t)
    ahead[t] = *std::max_element(&edges[p - 1][t * 26], &edges[p - 1][t * 26 + 26]);
  for (std::size_t c = p - 1; c-- > 0;) {
    std::array<double, 26> back{};
    for (std::size_t s = 0; s < 26; ++s) {
      back[s] = -std::numeric_limits<double>::infinity();
      for (std::size_t t = 0; t < 26; ++t)
        back[s] = std::max(back[s], edges[c][s * 26 + t] + ahead[t]);
    }
    ahead = back;
  }
  std::array<double, 26> bound{};
  std::array<std::uint8_t, 26> order{};
  for (std::uint8_t s0 = 0; s0 < 26; ++s0) {
    bound[s0] = first[s0] + ahead[s0];
    order[s0] = s0;
  }
  std::stable_sort(order.begin(), order.end(),
                   [&bound](std::uint8_t a, std::uint8_t b) { return bound[a] > bound[b]; });
  std::array<double, 26> ring{};
  ring.fill(-std::numeric_limits<double>::infinity());
  for (const std::uint8_t s0 : order) {
    if (bound[s0] + kBoundSlack < best.logLikelihood) break;
    const std::array<double, 26> closed = around(s0);
    ring[s0] = *std::max_element(closed.begin(), closed.end());
    best.logLikelihood = std::max(best.logLikelihood, ring[s0]);
  }
  // Of the rings that reach the best, the one from the lowest first shift,
  // ended at its lowest last shift that does, as a search through the shifts
  // in order keeps; once more around it, for its path.
  const auto s0 = static_cast<std::uint8_t>(
      std::find(ring.begin(), ring.end(), best.logLikelihood) - ring.begin());
  const std::array<double, 26> closed = around(s0);
  best.key[0] = s0;
  best.key[p - 1] = static_cast<std::uint8_t>(
      std::find(closed.begin(), closed.end(), best.logLikelihood) - closed.begin());
  for (std::size_t c = p - 1; c >= 2; --c)
    best.key[c - 1] = from[c][best.key[c]];
  return best;
}

}  // namespace analysis
