#ifndef ZEMBRAX_CODERS_ANALYSIS_TABLEDATA_H_
#define ZEMBRAX_CODERS_ANALYSIS_TABLEDATA_H_

#include <cstdint>
#include <span>

#include "Language.h"

namespace analysis {

// The compiled-in table of `language`, as tools/langstats wrote it.
std::span<const std::uint8_t> tableOf(Language language);

}  // namespace analysis

#endif  // ZEMBRAX_CODERS_ANALYSIS_TABLEDATA_H_
