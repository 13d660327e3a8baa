#ifndef ZEMBRAX_CODERS_ANALYSIS_PERIODCOUNTS_H_
#define ZEMBRAX_CODERS_ANALYSIS_PERIODCOUNTS_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace analysis {

// How often each letter stands at each place of every period from 1 to a
// bound, counted in one pass over the letters in constant memory. The
// letters are counted by their place modulo a few moduli, each a multiple
// of several periods, so that a letter costs one count per modulus however
// many periods there are; a period's columns are folded from its modulus.
class PeriodCounts {
 public:
  using Column = std::array<double, 26>;

  // Counts for the periods 1 to `most`.
  explicit PeriodCounts(std::size_t most);

  // Counts the letter (0..25) that comes next.
  void add(std::uint8_t letter) {
    for (Modulus& m : moduli) {
      if (m.place * 26 == m.counts.size()) m.grow();
      ++m.counts[m.place * 26 + letter];
      if (++m.place == m.size) m.place = 0;
    }
    ++letters;
  }

  std::size_t count() const { return letters; }

  // The letter counts of each of the `period` columns (1 to `most`).
  std::vector<Column> columns(std::size_t period) const;

 private:
  struct Modulus {
    std::size_t size;
    std::size_t place = 0;
    // The counts of the places reached so far, 26 a place: a short text
    // never touches (nor has the pages cleared for) most of a large modulus.
    std::vector<std::uint32_t> counts;

    // Room for the counts of twice the places reached, up to all of them.
    void grow();
  };
  std::vector<Modulus> moduli;
  std::size_t letters = 0;
};

}  // namespace analysis

#endif  // ZEMBRAX_CODERS_ANALYSIS_PERIODCOUNTS_H_
