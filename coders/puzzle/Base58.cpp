// Base58 is one number in base 58, so every byte changes every digit: the
// text is held whole and coded when it ends, in limbs of five digits or
// four bytes, at a cost that grows with the square of its length.

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

#include "puzzle/Puzzle.h"

namespace puzzle {

namespace {

constexpr std::uint64_t kFiveDigits = 58ULL * 58 * 58 * 58 * 58;
constexpr unsigned char kNoDigit = 0xFF;

constexpr std::array<unsigned char, 256> kValues = [] {
  std::array<unsigned char, 256> values{};
  values.fill(kNoDigit);
  for (unsigned char d = 0; d < 58; ++d)
    values[static_cast<unsigned char>(kBase58Digits[d])] = d;
  return values;
}();

// Multiplies the number held in `limbs` (of `base`, lowest first) by `factor`
// and adds `addend`; both below 2^32, and `base` no more than 2^32.
void multiplyAdd(std::vector<std::uint32_t>& limbs, std::uint64_t base, std::uint64_t factor,
                 std::uint64_t addend) {
  std::uint64_t carry = addend;
  for (std::uint32_t& limb : limbs) {
    const std::uint64_t value = limb * factor + carry;
    limb = static_cast<std::uint32_t>(value % base);
    carry = value / base;
  }
  for (; carry > 0; carry /= base)
    limbs.push_back(static_cast<std::uint32_t>(carry % base));
}

std::string encode(const std::string& bytes) {
  const std::size_t zeros = static_cast<std::size_t>(
      std::find_if(bytes.begin(), bytes.end(), [](char c) { return c != '\0'; }) - bytes.begin());
  std::vector<std::uint32_t> limbs;  // of five digits each
  std::size_t at = zeros;
  // Four bytes at a time, the first few making up the rest.
  for (std::size_t take = (bytes.size() - zeros) % 4; at < bytes.size(); take = 4) {
    if (take == 0) take = 4;
    std::uint64_t chunk = 0;
    for (std::size_t i = 0; i < take; ++i)
      chunk = chunk << 8 | static_cast<unsigned char>(bytes[at + i]);
    multiplyAdd(limbs, kFiveDigits, std::uint64_t{1} << (8 * take), chunk);
    at += take;
  }
  std::string digits;
  for (const std::uint32_t limb : limbs) {
    std::uint32_t value = limb;
    for (int i = 0; i < 5; ++i, value /= 58)
      digits += kBase58Digits[value % 58];
  }
  // Without the zeros above the number's top digit.
  while (!digits.empty() && digits.back() == '1')
    digits.pop_back();
  digits.append(zeros, '1');
  std::reverse(digits.begin(), digits.end());
  return digits;
}

std::string decode(const std::string& text) {
  std::string digits;
  for (const char c : text)
    if (kValues[static_cast<unsigned char>(c)] != kNoDigit) digits += c;
  const std::size_t zeros = digits.find_first_not_of('1') == std::string::npos
                                ? digits.size()
                                : digits.find_first_not_of('1');
  std::vector<std::uint32_t> limbs;  // of four bytes each
  std::size_t at = zeros;
  for (std::size_t take = (digits.size() - zeros) % 5; at < digits.size(); take = 5) {
    if (take == 0) take = 5;
    std::uint64_t chunk = 0, factor = 1;
    for (std::size_t i = 0; i < take; ++i) {
      chunk = chunk * 58 + kValues[static_cast<unsigned char>(digits[at + i])];
      factor *= 58;
    }
    multiplyAdd(limbs, std::uint64_t{1} << 32, factor, chunk);
    at += take;
  }
  std::string bytes;
  for (const std::uint32_t limb : limbs)
    for (int shift = 0; shift < 32; shift += 8)
      bytes += static_cast<char>(limb >> shift);
  while (!bytes.empty() && bytes.back() == '\0')
    bytes.pop_back();
  bytes.append(zeros, '\0');
  std::reverse(bytes.begin(), bytes.end());
  return bytes;
}

class Whole final : public StreamCoder {
 public:
  explicit Whole(bool decoding) : decoding(decoding) {}

  std::string feed(std::string piece) override {
    if (held.size() + piece.size() > kBase58Most)
      throw std::length_error(
          "Base58 takes at most 1 MiB: its cost grows with the square of "
          "the text");
    held += piece;
    return {};
  }

  std::string finish() override {
    const std::string text = std::exchange(held, {});
    return decoding ? decode(text) : encode(text);
  }

 private:
  bool decoding;
  std::string held;
};

}  // namespace

std::unique_ptr<StreamCoder> base58(bool decoding) {
  return std::make_unique<Whole>(decoding);
}

}  // namespace puzzle
