#ifndef ZEMBRAX_CODERS_ANALYSIS_TABLEDATA_H_
#define ZEMBRAX_CODERS_ANALYSIS_TABLEDATA_H_

#include <cstdint>
#include <span>
#include <string_view>

namespace analysis {

// The compiled-in table of the language coded `code` ("en"), as
// tools/langstats wrote it; empty for a code that has none.
std::span<const std::uint8_t> tableCoded(std::string_view code);

// The compiled-in letter chain of the language coded `code`, as
// tools/chains wrote it; empty for a code that has none.
std::span<const std::uint8_t> chainCoded(std::string_view code);

// The word list of the language coded `code`, as tools/langstats wrote it:
// a word and its count a line, the commonest first; empty for a code that
// has none.
std::string_view wordsCoded(std::string_view code);

}  // namespace analysis

#endif  // ZEMBRAX_CODERS_ANALYSIS_TABLEDATA_H_
