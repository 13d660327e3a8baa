#ifndef ZEMBRAX_CODERS_ANALYSIS_TABLEDATA_H_
#define ZEMBRAX_CODERS_ANALYSIS_TABLEDATA_H_

#include <cstdint>
#include <span>
#include <string_view>

#include "Language.h"

namespace analysis {

// The compiled-in table of `language`, as tools/langstats wrote it.
std::span<const std::uint8_t> tableOf(Language language);

// The word list of `language`, as tools/langstats wrote it: a word and its
// count a line, the commonest first.
std::string_view wordsOf(Language language);

}  // namespace analysis

#endif  // ZEMBRAX_CODERS_ANALYSIS_TABLEDATA_H_
