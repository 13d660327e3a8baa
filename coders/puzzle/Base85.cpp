// Base85 in both its alphabets: Adobe's Ascii85 ('!' to 'u', 'z' for a
// group of four zero bytes, perhaps inside <~ ~>) and ZeroMQ's Z85.

#include <array>
#include <cstdint>
#include <string_view>

#include "puzzle/Puzzle.h"

namespace puzzle {

namespace {

constexpr std::string_view kZ85Alphabet =
    "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ.-:+=^!/*?&<>()[]{}@%$#";
// A byte that is no digit, and is skipped.
constexpr unsigned char kSkipped = 0xFF;

constexpr std::array<char, 85> digitsOf(Base85 alphabet) {
  std::array<char, 85> digits{};
  for (std::size_t d = 0; d < 85; ++d)
    digits[d] = alphabet == Base85::z85 ? kZ85Alphabet[d] : static_cast<char>('!' + d);
  return digits;
}

constexpr std::array<unsigned char, 256> valuesOf(Base85 alphabet) {
  std::array<unsigned char, 256> values{};
  values.fill(kSkipped);
  const std::array<char, 85> digits = digitsOf(alphabet);
  for (unsigned char d = 0; d < 85; ++d)
    values[static_cast<unsigned char>(digits[d])] = d;
  return values;
}

constexpr std::array<char, 85> kAscii85Digits = digitsOf(Base85::ascii85);
constexpr std::array<char, 85> kZ85Digits = digitsOf(Base85::z85);
constexpr std::array<unsigned char, 256> kAscii85Values = valuesOf(Base85::ascii85);
constexpr std::array<unsigned char, 256> kZ85Values = valuesOf(Base85::z85);

// Four bytes make a group of five digits, the highest first; a last group
// of n bytes is written as its first n + 1 digits.
class Encoder final : public StreamCoder {
 public:
  Encoder(Base85 alphabet, bool wrapped)
      : digits(alphabet == Base85::z85 ? kZ85Digits : kAscii85Digits),
        adobe(alphabet == Base85::ascii85),
        wrapped(wrapped) {}

  std::string feed(std::string piece) override {
    std::string out = opening();
    out.reserve(out.size() + (piece.size() / 4 + 1) * 5);
    for (const char c : piece) {
      group = group << 8 | static_cast<unsigned char>(c);
      if (++count == 4) writeGroup(out);
    }
    return out;
  }

  std::string finish() override {
    std::string out = opening();
    if (count > 0) {
      const int bytes = count;
      for (; count < 4; ++count)
        group <<= 8;
      writeGroup(out, bytes + 1);
    }
    if (wrapped) out += "~>";
    return out;
  }

 private:
  std::string opening() {
    const bool first = !opened;
    opened = true;
    return first && wrapped ? "<~" : "";
  }

  // Writes the first `written` digits of the group held and empties it; a
  // whole group of zeros is Adobe's 'z'.
  void writeGroup(std::string& out, int written = 5) {
    if (adobe && written == 5 && group == 0) {
      out += 'z';
    } else {
      std::array<char, 5> number{};
      std::uint32_t rest = group;
      for (int d = 4; d >= 0; --d) {
        number[static_cast<std::size_t>(d)] = digits[rest % 85];
        rest /= 85;
      }
      out.append(number.data(), static_cast<std::size_t>(written));
    }
    group = 0;
    count = 0;
  }

  const std::array<char, 85>& digits;
  bool adobe;
  bool wrapped;
  bool opened = false;
  std::uint32_t group = 0;
  int count = 0;
};

// Digits are read five at a time; a last group of two to four digits is
// filled with the highest digit and gives one byte fewer than it has
// digits. In Ascii85, 'z' between groups is four zero bytes, "<~" opens
// the text and "~>" ends a group as the text's end does.
class Decoder final : public StreamCoder {
 public:
  explicit Decoder(Base85 alphabet)
      : values(alphabet == Base85::z85 ? kZ85Values : kAscii85Values),
        adobe(alphabet == Base85::ascii85) {}

  std::string feed(std::string piece) override {
    std::string out;
    out.reserve(piece.size() / 5 * 4 + 4);
    for (const char c : piece) {
      const bool afterTilde = tilde;
      const bool afterOpening = openingDigit;
      openingDigit = false;
      tilde = adobe && c == '~' && !afterOpening;
      if (adobe && c == '~') {
        // The '<' of "<~" was taken for a digit: take it back. The '~' of
        // "<~" starts no end mark.
        if (afterOpening) --count;
      } else if (afterTilde && c == '>') {
        endGroup(out);
      } else if (adobe && c == 'z' && count == 0) {
        out.append(4, '\0');
      } else if (const unsigned char value = values[static_cast<unsigned char>(c)];
                 value != kSkipped) {
        group[static_cast<std::size_t>(count++)] = value;
        openingDigit = adobe && c == '<' && count < 5;
        if (count == 5) endGroup(out);
      }
    }
    return out;
  }

  std::string finish() override {
    std::string out;
    endGroup(out);
    return out;
  }

 private:
  void endGroup(std::string& out) {
    if (count >= 2) {
      std::uint64_t number = 0;
      for (int d = 0; d < 5; ++d)
        number = number * 85 + (d < count ? group[static_cast<std::size_t>(d)] : 84);
      for (int b = 0; b < count - 1; ++b)
        out += static_cast<char>(number >> (24 - 8 * b));
    }
    count = 0;
  }

  const std::array<unsigned char, 256>& values;
  bool adobe;
  std::array<unsigned char, 5> group{};
  int count = 0;
  bool tilde = false;
  bool openingDigit = false;
};

}  // namespace

std::unique_ptr<StreamCoder> base85Encode(Base85 alphabet, bool wrapped) {
  return std::make_unique<Encoder>(alphabet, wrapped);
}

std::unique_ptr<StreamCoder> base85Decode(Base85 alphabet) {
  return std::make_unique<Decoder>(alphabet);
}

}  // namespace puzzle
