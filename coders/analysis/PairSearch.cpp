#include "analysis/PairSearch.h"

#include <array>
#include <limits>

namespace analysis {

namespace {

using Table = std::array<double, 26 * 26>;  // [shift of one column * 26 + shift of the next]

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
  // Around the ring from each first shift: the best path to every shift of
  // each column, closed by the pairs from the last column back to the first.
  std::vector<std::array<std::uint8_t, 26>> from(p);
  for (std::uint8_t s0 = 0; s0 < 26; ++s0) {
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
    for (std::uint8_t t = 0; t < 26; ++t) {
      const double total = reach[t] + edges[p - 1][t * 26 + s0];
      if (total <= best.logLikelihood) continue;
      best.logLikelihood = total;
      best.key[0] = s0;
      best.key[p - 1] = t;
      for (std::size_t c = p - 1; c >= 2; --c)
        best.key[c - 1] = from[c][best.key[c]];
    }
  }
  return best;
}

}  // namespace analysis
