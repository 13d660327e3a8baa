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

// The compiled-in word table of the language coded `code`, as
// tools/wordtables wrote it; empty for a code that has none.
std::span<const std::uint8_t> wordTableCoded(std::string_view code);

// Maps the pages of `bytes`, compiled-in tables, into memory with one call
// where the system can (Linux), rather than a page fault at a time as they
// are read: some ten microseconds a fault on a virtual machine.
void mapIn(std::span<const std::uint8_t> bytes);

}  // namespace analysis

#endif  // ZEMBRAX_CODERS_ANALYSIS_TABLEDATA_H_
