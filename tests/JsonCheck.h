#ifndef ZEMBRAX_TESTS_JSONCHECK_H_
#define ZEMBRAX_TESTS_JSONCHECK_H_

// Whether a text is one JSON value, as RFC 8259 writes it, with its strings
// in valid UTF-8: for the tests and fuzz targets of the analysis's JSON.

#include <cstddef>
#include <string_view>

#include "Text.h"

namespace jsoncheck {

class Checker {
 public:
  explicit Checker(std::string_view text) : text(text) {}

  bool document() {
    space();
    if (!value(0)) return false;
    space();
    return at == text.size();
  }

 private:
  // Deeper than this is no report's JSON.
  static constexpr int kDeepest = 64;

  bool value(int depth) {
    if (depth > kDeepest || at >= text.size()) return false;
    switch (text[at]) {
      case '{':
        return members(depth);
      case '[':
        return elements(depth);
      case '"':
        return string();
      case 't':
        return word("true");
      case 'f':
        return word("false");
      case 'n':
        return word("null");
      default:
        return number();
    }
  }

  bool members(int depth) {
    ++at;
    space();
    if (take('}')) return true;
    do {
      space();
      if (!string()) return false;
      space();
      if (!take(':')) return false;
      space();
      if (!value(depth + 1)) return false;
      space();
    } while (take(','));
    return take('}');
  }

  bool elements(int depth) {
    ++at;
    space();
    if (take(']')) return true;
    do {
      space();
      if (!value(depth + 1)) return false;
      space();
    } while (take(','));
    return take(']');
  }

  bool string() {
    if (!take('"')) return false;
    const std::size_t start = at;
    while (at < text.size() && text[at] != '"') {
      const auto c = static_cast<unsigned char>(text[at]);
      if (c < 0x20) return false;
      if (c == '\\') {
        ++at;
        if (at >= text.size()) return false;
        if (text[at] == 'u') {
          for (int k = 1; k <= 4; ++k) {
            if (at + k >= text.size() || !isHex(text[at + k])) return false;
          }
          at += 4;
        } else if (std::string_view("\"\\/bfnrt").find(text[at]) == std::string_view::npos) {
          return false;
        }
      }
      ++at;
    }
    return text::isUtf8(text.substr(start, at - start)) && take('"');
  }

  bool number() {
    const std::size_t start = at;
    take('-');
    if (take('0')) {
    } else if (!digits()) {
      return false;
    }
    if (take('.') && !digits()) return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
      ++at;
      if (!take('+')) take('-');
      if (!digits()) return false;
    }
    return at > start;
  }

  bool digits() {
    const std::size_t start = at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9')
      ++at;
    return at > start;
  }

  bool word(std::string_view w) {
    if (text.substr(at, w.size()) != w) return false;
    at += w.size();
    return true;
  }

  bool take(char c) {
    if (at < text.size() && text[at] == c) {
      ++at;
      return true;
    }
    return false;
  }

  void space() {
    while (at < text.size() && std::string_view(" \t\n\r").find(text[at]) != std::string_view::npos)
      ++at;
  }

  static bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
  }

  std::string_view text;
  std::size_t at = 0;
};

inline bool isJson(std::string_view text) {
  return Checker(text).document();
}

}  // namespace jsoncheck

#endif  // ZEMBRAX_TESTS_JSONCHECK_H_
