#ifndef ZEMBRAX_CODERS_ANALYSIS_JSON_H_
#define ZEMBRAX_CODERS_ANALYSIS_JSON_H_

// The analysis as JSON, valid for any bytes.

#include <string>
#include <string_view>

#include "Methods.h"
#include "analysis/Crack.h"
#include "analysis/Identify.h"

namespace json {

// `bytes` as a JSON string: quoted, escaped, and with every byte that is no
// UTF-8 replaced by U+FFFD.
std::string quoted(std::string_view bytes);

// A number as JSON writes it: finite, with up to `digits` significant
// digits.
std::string number(double value, int digits = 6);

// A method's settings as a JSON object: {"shift": 3, "full": true}.
std::string object(const methods::Settings& settings);

// A cracker's report as `zembrax-cli crack --json` writes it, with its
// evidence where `explain` asks for it.
std::string crackReport(analysis::Cipher cipher, const analysis::Report& report, bool explain);

// An identification as `zembrax-cli identify --json` writes it.
std::string identification(const analysis::Identification& identification);

}  // namespace json

#endif  // ZEMBRAX_CODERS_ANALYSIS_JSON_H_
