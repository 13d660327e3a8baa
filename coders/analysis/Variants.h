#ifndef ZEMBRAX_CODERS_ANALYSIS_VARIANTS_H_
#define ZEMBRAX_CODERS_ANALYSIS_VARIANTS_H_

// Find key for a method that takes no key: each variant of its settings
// run on a text, and the variants ranked by how well their results read, as
// identify() ranks its chains. The variants of a method that names the
// settings a text of its written form takes (`accepts`) are those, where it
// names any; otherwise every combination of its options' values: each
// choice of an integer that has choices, each flag off and on, a text left
// empty. A method of two calls that maps a text sign for sign (a keyboard
// shift, Trithemius), or whose texts have no form it knows, is tried both
// ways, decoding first.

#include <string_view>
#include <vector>

#include "Methods.h"
#include "analysis/Identify.h"

namespace analysis {

// Whether the variants of `method` can be searched: it decodes, and needs
// no option of values beyond a few (a key, a number of any size, one of a
// group of operations).
bool searchable(const methods::Method& method);

// Whether its variants run both ways.
bool triesBothWays(const methods::Method& method);

// The variants of `method` for `text`, each as a step, those that decode
// first.
std::vector<Step> variantsOf(const methods::Method& method, std::string_view text);

// The variants of `method` on `text`, best first, `settings.top` of them at
// most: each a chain of one step, its confidence the calibrated chance that
// it is what the text was made with. None, and the note kCancelled, once
// `settings.stop` is set.
Identification searchVariants(const methods::Method& method, std::string_view text,
                              const IdentifySettings& settings);

}  // namespace analysis

#endif  // ZEMBRAX_CODERS_ANALYSIS_VARIANTS_H_
