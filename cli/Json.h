#ifndef ZEMBRAX_CLI_JSON_H_
#define ZEMBRAX_CLI_JSON_H_

// Writing JSON that is valid for any bytes.

#include <string>
#include <string_view>

#include "Methods.h"

namespace json {

// `bytes` as a JSON string: quoted, escaped, and with every byte that is no
// UTF-8 replaced by U+FFFD.
std::string quoted(std::string_view bytes);

// A number as JSON writes it: finite, with up to `digits` significant
// digits.
std::string number(double value, int digits = 6);

// A method's settings as a JSON object: {"shift": 3, "full": true}.
std::string object(const methods::Settings& settings);

}  // namespace json

#endif  // ZEMBRAX_CLI_JSON_H_
