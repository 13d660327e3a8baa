#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "kernels/Kernels.h"
#include "puzzle/Base32Table.h"
#include "puzzle/Puzzle.h"

namespace puzzle {

namespace {

using tables::kBase32Digits;
using tables::kBase32Padding;
using tables::kBase32Skipped;
using tables::kBase32Values;

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
    *o++ = kBase32Digits[group >> (35 - 5 * d) & 31];
  return o;
}

// The two digits of every 10-bit value, so that a whole group is written
// in four lookups.
constexpr std::array<std::array<char, 2>, 1024> kDigitPairs = [] {
  std::array<std::array<char, 2>, 1024> pairs{};
  for (std::size_t v = 0; v < 1024; ++v)
    pairs[v] = {kBase32Digits[v >> 5], kBase32Digits[v & 31]};
  return pairs;
}();

// Writes all eight digits of the 40-bit `group` at `o`.
char* writeWholeGroup(std::uint64_t group, char* o) {
  for (int shift = 30; shift >= 0; shift -= 10, o += 2)
    std::memcpy(o, kDigitPairs[group >> shift & 1023].data(), 2);
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
    // Whole groups straight from the piece, the kernel's first.
    const kernels::Progress done =
        kernels::active().base32Encode(piece.data() + i, piece.size() - i, o);
    i += done.read;
    o += done.written;
    for (; i + 5 <= piece.size(); i += 5)
      o = writeWholeGroup(groupOf(piece.data() + i, 5), o);
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
    // Every eight digits give five bytes, and a group cut short fewer.
    std::string out((count + piece.size()) / 8 * 5 + 5, '\0');
    char* o = out.data();
    const auto* p = reinterpret_cast<const unsigned char*>(piece.data());
    const std::size_t n = piece.size();
    for (std::size_t i = 0; i < n;) {
      // At a group's start the kernel takes what it can, then the plain loop
      // goes on for a block.
      if (count == 0) {
        const kernels::Progress done = kernels::active().base32Decode(piece.data() + i, n - i, o);
        i += done.read;
        o += done.written;
      }
      for (const std::size_t stop = std::min(n, i + 64); i < stop;) {
        // At a group's start, eight digits in a row make it whole at once.
        if (count == 0 && i + 8 <= n) {
          std::uint64_t whole = 0;
          unsigned char marks = 0;
          for (std::size_t k = 0; k < 8; ++k) {
            const unsigned char value = kBase32Values[p[i + k]];
            marks |= value;
            whole |= std::uint64_t{value & 31u} << (35 - 5 * k);
          }
          if ((marks & 0x80) == 0) {
            for (int shift = 32; shift >= 0; shift -= 8)
              *o++ = static_cast<char>(whole >> shift);
            i += 8;
            continue;
          }
        }
        const unsigned char value = kBase32Values[p[i++]];
        if (value == kBase32Padding) {
          o = endGroup(o);
        } else if (value != kBase32Skipped) {
          group = group << 5 | value;
          if (++count == 8) o = endGroup(o);
        }
      }
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
  }

  std::string finish() override {
    std::string out(5, '\0');
    out.resize(static_cast<std::size_t>(endGroup(out.data()) - out.data()));
    return out;
  }

 private:
  // Writes the whole bytes that the digits of the group hold at `o`, empties
  // the group and returns where its bytes end.
  char* endGroup(char* o) {
    const int bits = count * 5;
    for (int taken = 8; taken <= bits; taken += 8)
      *o++ = static_cast<char>(group >> (bits - taken));
    group = 0;
    count = 0;
    return o;
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
