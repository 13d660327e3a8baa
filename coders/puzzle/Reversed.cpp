#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

#include "puzzle/Puzzle.h"

namespace puzzle {

namespace {

bool continues(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The bytes of the UTF-8 character at the start of `text`: its lead byte's
// count where that many continuation bytes follow, else one.
std::size_t characterAt(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t length = lead >= 0xF0 && lead <= 0xF4   ? 4
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xC2 && lead <= 0xDF ? 2
                                                            : 1;
  if (length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i)
    if (!continues(text[i])) return 1;
  return length;
}

// Holds the whole text, and gives it backwards once it ends.
class Backwards final : public StreamCoder {
 public:
  explicit Backwards(bool characters) : characters(characters) {}
  std::string feed(std::string piece) override {
    held += piece;
    return {};
  }
  std::string finish() override { return reversed(std::exchange(held, {}), characters); }

 private:
  bool characters;
  std::string held;
};

}  // namespace

std::string reversed(std::string text, bool characters) {
  if (!characters) {
    std::reverse(text.begin(), text.end());
    return text;
  }
  const std::string_view in(text);
  std::string out = text;
  std::reverse(out.begin(), out.end());
  // Reversed byte by byte, each character of several bytes stands backwards,
  // and is copied over again in its own order, at the place as far from the
  // end as it was from the start. ASCII is passed over eight bytes at a time.
  for (std::size_t at = 0; at < in.size();) {
    std::uint64_t eight = 0x8080808080808080;
    if (at + 8 <= in.size()) std::memcpy(&eight, in.data() + at, 8);
    if ((eight & 0x8080808080808080) == 0) {
      at += 8;
      continue;
    }
    const std::size_t length = characterAt(in.substr(at));
    std::copy_n(in.data() + at, length, out.data() + (in.size() - at - length));
    at += length;
  }
  return out;
}

std::unique_ptr<StreamCoder> reversedStream(bool characters) {
  return std::make_unique<Backwards>(characters);
}

}  // namespace puzzle
