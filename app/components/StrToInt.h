#ifndef ZEMBRAX_APP_COMPONENTS_STRTOINT_H_
#define ZEMBRAX_APP_COMPONENTS_STRTOINT_H_

// The run-time library's conversion of a text to an integer.

#include <QString>

#include <cstdint>
#include <optional>

// Reads a signed 32-bit decimal integer: an optional sign and digits, nothing
// else. Nothing for any other text, a lone sign and numbers out of range
// included.
std::optional<std::int32_t> parseInteger(const QString& text);

// `parseInteger`, throwing EConvertError where it gives nothing.
std::int32_t StrToInt(const QString& text);

#endif  // ZEMBRAX_APP_COMPONENTS_STRTOINT_H_
