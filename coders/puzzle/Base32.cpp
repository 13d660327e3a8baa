#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "puzzle/Puzzle.h"

namespace puzzle {

namespace {

constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
// Bytes that are no digit: skipped, or padding that ends a group.
constexpr unsigned char kSkipped = 0x80;
constexpr unsigned char kPadding = 0x81;

constexpr std::array<unsigned char, 256> kValues = [] {
  std::array<unsigned char, 256> values{};
  values.fill(kSkipped);
  for (unsigned char d = 0; d < 32; ++d) {
    values[static_cast<unsigned char>(kDigits[d])] = d;
    if (d < 26) values[static_cast<unsigned char>(kDigits[d] | 0x20)] = d;
  }
  values['='] = kPadding;
  return values;
}();

// The `size` bytes at `bytes` as one number, the first the highest.
std::uint64_t groupOf(const char* bytes, std::size_t size) {
  std::uint64_t group = 0;
  for (std::size_t i = 0; i < size; ++i)
    group = group << 8 | static_cast<unsigned char>(bytes[i]);
  return group;
}

// Writes the first `digits` digits of the 40-bit `group` at `o`.
char* writeDigits(std::uint64_t group, std::size_t digits, char* o) {
  for (std::size_t d = 0; d < digits; ++d)
    *o++ = kDigits[group >> (35 - 5 * d) & 31];
  return o;
}

// Five bytes make a group of eight digits; a last, shorter group has as many
// digits as its bits need.
class Encoder final : public StreamCoder {
 public:
  explicit Encoder(bool padded) : padded(padded) {}

  std::string feed(std::string piece) override {
    std::string out((count + piece.size()) / 5 * 8, '\0');
    char* o = out.data();
    std::size_t i = 0;
    for (; i < piece.size() && count > 0; ++i) {
      held[count++] = piece[i];
      if (count == 5) o = writeGroup(o);
    }
    // Whole groups straight from the piece.
    for (; i + 5 <= piece.size(); i += 5)
      o = writeDigits(groupOf(piece.data() + i, 5), 8, o);
    for (; i < piece.size(); ++i)
      held[count++] = piece[i];
    return out;
  }

  std::string finish() override {
    if (count == 0) return {};
    std::string out(8, '\0');
    out.resize(static_cast<std::size_t>(writeGroup(out.data()) - out.data()));
    return out;
  }

 private:
  // Writes the `count` bytes held as one group at `o`, empties it and
  // returns where the group ends.
  char* writeGroup(char* o) {
    const std::size_t digits = (count * 8 + 4) / 5;
    std::array<char, 5> bytes{};
    std::copy_n(held.begin(), count, bytes.begin());
    o = writeDigits(groupOf(bytes.data(), 5), digits, o);
    if (padded) o = std::fill_n(o, 8 - digits, '=');
    count = 0;
    return o;
  }

  bool padded;
  std::array<char, 5> held{};
  std::size_t count = 0;
};

class Decoder final : public StreamCoder {
 public:
  std::string feed(std::string piece) override {
    std::string out;
    out.reserve(piece.size() / 8 * 5 + 5);
    for (const char c : piece) {
      const unsigned char value = kValues[static_cast<unsigned char>(c)];
      if (value == kPadding) {
        endGroup(out);
      } else if (value != kSkipped) {
        group = group << 5 | value;
        if (++count == 8) endGroup(out);
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
  // Writes the whole bytes that the digits of the group hold.
  void endGroup(std::string& out) {
    const int bits = count * 5;
    for (int taken = 8; taken <= bits; taken += 8)
      out += static_cast<char>(group >> (bits - taken));
    group = 0;
    count = 0;
  }

  std::uint64_t group = 0;
  int count = 0;
};

}  // namespace

std::unique_ptr<StreamCoder> base32Encode(bool padded) {
  return std::make_unique<Encoder>(padded);
}

std::unique_ptr<StreamCoder> base32Decode() {
  return std::make_unique<Decoder>();
}

}  // namespace puzzle
