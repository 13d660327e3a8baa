#ifndef ZEMBRAX_CLI_SUGGEST_H_
#define ZEMBRAX_CLI_SUGGEST_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The word of `words` nearest to `typed`, where it is near enough to be what
// was meant: a slip of one or two keys (a letter missed, added, changed, or
// two letters swapped) in a word long enough that the slip leaves most of it.
std::optional<std::string> nearestWord(std::string_view typed,
                                       const std::vector<std::string>& words);

#endif  // ZEMBRAX_CLI_SUGGEST_H_
