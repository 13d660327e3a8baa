#include "analysis/Words.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/TableData.h"

namespace {

using analysis::Language;
using analysis::words::WordList;

struct Listed {
  std::vector<std::string> words;
  std::vector<double> counts;
};

// The word list of `language` as committed, a word and its count a line.
Listed listOf(Language language) {
  std::ifstream in(std::string(ZEMBRAX_TABLE_DIR) + "/" + std::string(analysis::codeOf(language)) +
                   ".words");
  Listed listed;
  std::string word;
  double count = 0;
  while (in >> word >> count) {
    listed.words.push_back(word);
    listed.counts.push_back(count);
  }
  return listed;
}

TEST(WordList, HoldsEveryListedWordAtItsRankAndChance) {
  for (std::size_t l = 0; l < analysis::kLanguageCount; ++l) {
    const auto language = static_cast<Language>(l);
    const Listed listed = listOf(language);
    const WordList& list = analysis::words::wordListOf(language);
    ASSERT_FALSE(listed.words.empty()) << analysis::codeOf(language);
    ASSERT_EQ(list.size(), listed.words.size()) << analysis::codeOf(language);
    double total = 0;
    for (const double count : listed.counts)
      total += count;
    for (std::size_t rank = 0; rank < listed.words.size(); ++rank) {
      const std::string& word = listed.words[rank];
      ASSERT_EQ(list.word(rank), word) << analysis::codeOf(language) << " rank " << rank;
      // To a few units of the float's last place, which another C library's
      // log may round otherwise than Python's did.
      ASSERT_FLOAT_EQ(list.logChance(word),
                      static_cast<float>(std::log(listed.counts[rank] / total)))
          << analysis::codeOf(language) << " " << word;
    }
  }
}

TEST(WordList, HoldsNoWordOutsideItsList) {
  std::mt19937 random(20261209);
  for (const Language language : {Language::en, Language::de, Language::hu, Language::nb}) {
    const Listed listed = listOf(language);
    const std::set<std::string> words(listed.words.begin(), listed.words.end());
    const WordList& list = analysis::words::wordListOf(language);
    for (int i = 0; i < 20000; ++i) {
      std::string word(std::uniform_int_distribution<std::size_t>(1, 6)(random), 'a');
      for (char& c : word)
        c = static_cast<char>('a' + std::uniform_int_distribution<int>(0, 25)(random));
      EXPECT_EQ(list.holds(word), words.contains(word))
          << analysis::codeOf(language) << " " << word;
    }
    EXPECT_FALSE(list.holds(""));
    EXPECT_FALSE(list.holds(listed.words.front() + listed.words.front() + "q"));
  }
}

TEST(WordList, RefusesWhatIsNoWordTable) {
  const std::span<const std::uint8_t> table = analysis::wordTableCoded("en");
  const std::vector<std::uint8_t> whole(table.begin(), table.end());
  // The same table with `slots` slots, which must be a power of two over
  // twice the words.
  const auto withSlots = [&whole](std::uint32_t slots) {
    std::vector<std::uint8_t> bytes = whole;
    std::memcpy(bytes.data() + 12, &slots, sizeof slots);
    return bytes;
  };
  const std::uint32_t slots = 32768;  // for 10,000 words
  std::vector<std::uint8_t> longer = whole, marked = whole;
  longer.push_back('a');
  marked[3] = 'C';
  const struct {
    const char* what;
    std::vector<std::uint8_t> bytes;
  } cases[] = {{"nothing", {}},
               {"the mark alone", {whole.begin(), whole.begin() + 8}},
               {"a letter short", {whole.begin(), whole.end() - 1}},
               {"a letter over", longer},
               {"another mark", marked},
               {"slots not a power of two", withSlots(slots + 1)},
               {"slots too few", withSlots(slots / 2)}};
  ASSERT_EQ(withSlots(slots), whole);
  for (const auto& c : cases)
    EXPECT_THROW(WordList{c.bytes}, std::runtime_error) << c.what;
  EXPECT_NO_THROW(WordList{whole});
}

}  // namespace
