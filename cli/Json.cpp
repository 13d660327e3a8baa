#include "Json.h"

#include <cmath>
#include <cstdio>
#include <variant>

#include "Text.h"

namespace json {

std::string quoted(std::string_view bytes) {
  const std::string utf8 = text::toUtf8(bytes, text::Encoding::utf8);
  std::string out = "\"";
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string number(double value, int digits) {
  // JSON has no infinities or NaN; a score that is one says "none".
  if (!std::isfinite(value)) return "null";
  char text[32];
  std::snprintf(text, sizeof text, "%.*g", digits, value);
  return text;
}

std::string object(const methods::Settings& settings) {
  std::string out = "{";
  for (const methods::Setting& setting : settings) {
    if (out.size() > 1) out += ", ";
    out += quoted(setting.name) + ": ";
    if (const auto* integer = std::get_if<std::int32_t>(&setting.value)) {
      out += std::to_string(*integer);
    } else if (const auto* flag = std::get_if<bool>(&setting.value)) {
      out += *flag ? "true" : "false";
    } else {
      out += quoted(std::get<std::string>(setting.value));
    }
  }
  return out + "}";
}

}  // namespace json
