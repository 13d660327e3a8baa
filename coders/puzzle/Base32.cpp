#include <array>
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

// Five bytes make a group of eight digits; a last, shorter group has as many
// digits as its bits need.
class Encoder final : public StreamCoder {
 public:
  explicit Encoder(bool padded) : padded(padded) {}

  std::string feed(std::string piece) override {
    std::string out;
    out.reserve((piece.size() + held.size()) / 5 * 8 + 8);
    for (const char c : piece) {
      held[count++] = static_cast<unsigned char>(c);
      if (count == 5) write(out);
    }
    return out;
  }

  std::string finish() override {
    std::string out;
    if (count > 0) write(out);
    return out;
  }

 private:
  // Writes the `count` bytes held as one group, and empties it.
  void write(std::string& out) {
    std::uint64_t group = 0;
    for (int i = 0; i < 5; ++i)
      group = group << 8 | (i < count ? held[i] : 0);
    const int digits = (count * 8 + 4) / 5;
    for (int i = 0; i < digits; ++i)
      out += kDigits[group >> (35 - 5 * i) & 31];
    if (padded) out.append(static_cast<std::size_t>(8 - digits), '=');
    count = 0;
  }

  bool padded;
  std::array<unsigned char, 5> held{};
  int count = 0;
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
