#include "kernels/Kernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "Ascii.h"
#include "RandomText.h"
#include "Reference.h"

namespace {

using kernels::Features;
using kernels::Kernels;
using kernels::Progress;
using kernels::Tier;

struct ChoiceCase {
  Features features;
  const char* kernels;
  const char* portable;
  Tier tier;
  bool noted;
};

TEST(Dispatch, ChoosesFromFeaturesAndEnvironment) {
  const Features none{};
  const Features avx2{.avx2 = true};
  const Features all{.avx2 = true, .avx512 = true};
  const std::vector<ChoiceCase> cases = {
      {all, nullptr, nullptr, Tier::avx512, false},
      {avx2, nullptr, nullptr, Tier::avx2, false},
      {none, nullptr, nullptr, Tier::portable, false},
      {all, "avx2", nullptr, Tier::avx2, false},
      {all, "portable", nullptr, Tier::portable, false},
      {all, "avx512", "1", Tier::avx512, false},  // the named tier wins over the alias
      {all, "", "1", Tier::portable, false},
      {all, nullptr, "1", Tier::portable, false},
      {all, nullptr, "0", Tier::avx512, false},
      {all, nullptr, "", Tier::avx512, false},
      {avx2, "avx512", nullptr, Tier::avx2, true},  // lacking: the fastest there is
      {none, "avx512", nullptr, Tier::portable, true},
      {none, "avx2", nullptr, Tier::portable, true},
      {all, "AVX2", nullptr, Tier::avx512, true},  // not a tier's name
      {avx2, "sse", "1", Tier::avx2, true},
  };
  for (const ChoiceCase& c : cases) {
    const kernels::Choice choice = kernels::choose(c.features, c.kernels, c.portable);
    const std::string asked = std::string(c.kernels ? c.kernels : "-") + " " +
                              (c.portable ? c.portable : "-") + " avx2 " +
                              std::to_string(c.features.avx2);
    EXPECT_EQ(choice.tier, c.tier) << asked;
    EXPECT_EQ(!choice.note.empty(), c.noted) << asked;
    EXPECT_EQ(choice.note.find('\n'), std::string::npos) << asked;
  }
}

// Under ZEMBRAX_KERNELS the run uses that tier, or is skipped, and says so,
// where the processor lacks it.
TEST(Dispatch, RunsTheTierAsked) {
  const char* asked = std::getenv("ZEMBRAX_KERNELS");
  if (asked == nullptr) GTEST_SKIP() << "no tier asked for";
  for (Tier tier : kernels::availableTiers()) {
    if (tierName(tier) == std::string(asked)) {
      EXPECT_STREQ(kernels::active().name, kernels::kernelsOf(tier).name);
      return;
    }
  }
  GTEST_SKIP() << "this processor lacks the " << asked << " kernels";
}

// One kernel run on exact-size buffers: `in` of n bytes and `out` of the
// contract's room for n, both allocated alone so that AddressSanitizer sees
// a byte read or written past them.
struct KernelCase {
  const char* name;
  std::function<std::size_t(std::size_t)> room;
  // Text the kernel takes in, cut to the length under test.
  std::string source;
  std::function<Progress(const Kernels&, const char*, std::size_t, char*)> run;
  // What the plain reference loop makes of a whole input.
  std::function<std::string(std::string)> coder;
  bool inPlace;  // whether the kernel may also write over its input
};

// URL-encoded text: runs of plain characters, some long enough to fill a
// block, between escapes with digits of every kind and the characters just
// outside each range of digits; past the 150th byte, an escape whose first
// digit is a '%'.
std::string mixedEscapes(RandomText& random) {
  const std::vector<std::string> escapes = {"%4a", "%E9", "%fg", "%GZ", "%zz",
                                            "%[@", "%/:", "%`~", "%00"};
  std::string text;
  while (text.size() < 600) {
    if (text.size() >= 150 && text.find("%%") == std::string::npos) text += "%%41";
    text += random.bytes(random.length(64), '0', 'z');
    text += escapes[random.integer(0, static_cast<int>(escapes.size()) - 1)];
  }
  return text;
}

// Decimal numbers: a few short ones and then a run of numbers joined by
// their signs, which no whitespace ends for a while; numbers of one to three
// digits, some signed, between runs of every kind of whitespace; past the
// 200th byte, a number too long for the kernels.
std::string mixedNumbers(RandomText& random) {
  const std::string whitespace = " \t\n\v\f\r";
  std::string text = "1 2 3 4 1-2+3-4-5-6-7-8-9-10+11-12-13-14";
  while (text.size() < 600) {
    if (text.size() >= 200 && text.find("12345") == std::string::npos) text += " 123456";
    for (int k = random.integer(1, 3); k > 0; --k)
      text += whitespace[random.integer(0, static_cast<int>(whitespace.size()) - 1)];
    const int sign = random.integer(0, 3);
    if (sign < 2) text += "-+"[sign];
    text += random.bytes(random.integer(1, 3), '0', '9');
  }
  return text;
}

// `text` with a byte that is no Base32 digit put in at every 20 to 100 bytes:
// one that is a digit or letter with bit 5 or 7 changed, or padding.
std::string strayBytes(RandomText& random, std::string text) {
  const std::string strays = "\xC1\xE1\xDA\xFA\x12\x17\x01\x1A\x92\x97=189@[`{";
  for (std::size_t at = 0; at < text.size(); at += random.length(80) + 20)
    text.insert(at, 1, strays[random.integer(0, static_cast<int>(strays.size()) - 1)]);
  return text;
}

// Octal numbers of one to five digits between runs of one to three bytes
// that are no octal digit ('8' and '9' among them); past the 150th byte, a
// number longer than a block.
std::string octalNumbers(RandomText& random) {
  const std::string longest(70, '7');
  std::string text;
  while (text.size() < 600) {
    if (text.size() >= 150 && text.find(longest) == std::string::npos) text += longest + " ";
    text += random.bytes(random.integer(1, 5), '0', '7');
    text += random.bytes(random.integer(1, 3), '8', '@');
  }
  return text;
}

std::vector<KernelCase> kernelCases() {
  RandomText random;
  const std::string bytes = random.withoutZero(600);
  // -128 to -100: five characters each in decimal, the most there is room for.
  const std::string longestNumbers = random.bytes(600, 0x80, 0x9C);
  std::string base64Lines = reference::base64Encode(bytes);
  for (std::size_t at = 76; at < base64Lines.size(); at += 78)
    base64Lines.insert(at, "\r\n");
  const auto same = [](std::size_t n) { return n; };
  const auto times = [](std::size_t k) { return [k](std::size_t n) { return k * n; }; };
  const std::string key = "LUX";
  std::string steps;
  for (std::size_t j = 0; j < key.size() + 64; ++j)
    steps += static_cast<char>(key[j % key.size()] - 'A');
  static std::array<unsigned char, 256> reversed;
  for (int c = 0; c < 256; ++c)
    reversed[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? 'a' + 'z' - c : c);
  // A map that moves every byte, in every row of sixteen.
  static std::array<unsigned char, 256> scattered;
  for (int c = 0; c < 256; ++c)
    scattered[c] = static_cast<unsigned char>(c * 167 + 13);
  using K = const Kernels&;
  using P = const char*;
  using S = std::string;
  return {
      {"caesarShift", same, bytes,
       [](K k, P in, auto n, char* out) { return k.caesarShift(in, n, out, 3); },
       [](S t) { return reference::caesarShift(t, 3); }, true},
      {"caesarShiftFull", same, bytes,
       [](K k, P in, auto n, char* out) { return k.caesarShiftFull(in, n, out, 100); },
       [](S t) { return reference::caesarShiftFull(t, 100); }, true},
      {"bitwise", same, bytes,
       [](K k, P in, auto n, char* out) {
         return k.bitwise(in, n, out, 0x5A, kernels::BitOperation::bitXor);
       },
       [](S t) {
         for (char& c : t)
           c = static_cast<char>(c ^ 0x5A);
         return t;
       },
       true},
      {"lsbExtract", same, bytes,
       [](K k, P in, auto n, char* out) { return k.lsbExtract(in, n, out); },
       [](S t) { return reference::lsbExtract(t); }, true},
      {"substitute", same, bytes,
       [](K k, P in, auto n, char* out) { return k.substitute(in, n, out, reversed.data()); },
       [](S t) {
         return reference::substitute(t, "abcdefghijklmnopqrstuvwxyz",
                                      "zyxwvutsrqponmlkjihgfedcba");
       },
       true},
      {"substitute, every byte moved", same, bytes,
       [](K k, P in, auto n, char* out) { return k.substitute(in, n, out, scattered.data()); },
       [](S t) {
         for (char& c : t)
           c = static_cast<char>(scattered[static_cast<unsigned char>(c)]);
         return t;
       },
       true},
      {"rot47", same, bytes, [](K k, P in, auto n, char* out) { return k.rot47(in, n, out); },
       [](S t) { return reference::rot47(t); }, true},
      {"atbash", same, bytes, [](K k, P in, auto n, char* out) { return k.atbash(in, n, out); },
       [](S t) { return reference::atbash(t); }, true},
      {"vigenere", same, bytes,
       [steps, key](K k, P in, auto n, char* out) {
         std::size_t position = 0;
         const Progress done = k.vigenere(in, n, out, steps.data(), key.size(), position);
         std::size_t letters = 0;
         for (std::size_t i = 0; i < done.read; ++i)
           letters += ascii::isLetter(in[i]) ? 1 : 0;
         EXPECT_EQ(position, letters % key.size());
         return done;
       },
       [key](S t) { return reference::vigenere(t, key, 0); }, true},
      {"base64Encode", [](std::size_t n) { return (n + 2) / 3 * 4; }, bytes,
       [](K k, P in, auto n, char* out) { return k.base64Encode(in, n, out); },
       [](S t) { return reference::base64Encode(t); }, false},
      {"urlEncode", times(3), bytes,
       [](K k, P in, auto n, char* out) { return k.urlEncode(in, n, out); },
       [](S t) { return reference::urlEncode(t); }, false},
      {"toBinary/8", times(8), bytes,
       [](K k, P in, auto n, char* out) { return k.toBinary(in, n, out, 8); },
       [](S t) { return reference::toBinary(t, 8); }, false},
      {"toBinary/7", times(7), bytes,
       [](K k, P in, auto n, char* out) { return k.toBinary(in, n, out, 7); },
       [](S t) { return reference::toBinary(t, 7); }, false},
      {"toDecimal", times(5), bytes,
       [](K k, P in, auto n, char* out) { return k.toDecimal(in, n, out); },
       [](S t) { return reference::toDecimal(t); }, false},
      {"toDecimal, numbers of five characters", times(5), longestNumbers,
       [](K k, P in, auto n, char* out) { return k.toDecimal(in, n, out); },
       [](S t) { return reference::toDecimal(t); }, false},
      {"toHex", times(3), bytes, [](K k, P in, auto n, char* out) { return k.toHex(in, n, out); },
       [](S t) { return reference::toHex(t); }, false},
      {"morseEncode", times(8), bytes,
       [](K k, P in, auto n, char* out) { return k.morseEncode(in, n, out); },
       [](S t) { return reference::morseEncode(t); }, false},
      {"base32Encode", [](std::size_t n) { return n / 5 * 8; }, bytes,
       [](K k, P in, auto n, char* out) { return k.base32Encode(in, n, out); },
       [](S t) { return reference::base32(t); }, false},
      {"toOctal", times(4), bytes,
       [](K k, P in, auto n, char* out) { return k.toOctal(in, n, out); },
       [](S t) { return reference::toOctal(t); }, false},
      {"base64Decode", same, base64Lines,
       [](K k, P in, auto n, char* out) { return k.base64Decode(in, n, out); },
       [](S t) { return reference::base64Decode(t); }, true},
      {"urlDecode", same, reference::urlEncode(bytes),
       [](K k, P in, auto n, char* out) { return k.urlDecode(in, n, out); },
       [](S t) { return reference::urlDecode(t); }, true},
      {"urlDecode, mixed escapes", same, mixedEscapes(random),
       [](K k, P in, auto n, char* out) { return k.urlDecode(in, n, out); },
       [](S t) { return reference::urlDecode(t); }, true},
      {"fromDecimal", same, reference::toDecimal(bytes),
       [](K k, P in, auto n, char* out) { return k.fromDecimal(in, n, out); },
       [](S t) { return reference::fromDecimal(t); }, true},
      {"fromDecimal, mixed numbers", same, mixedNumbers(random),
       [](K k, P in, auto n, char* out) { return k.fromDecimal(in, n, out); },
       [](S t) { return reference::fromDecimal(t); }, true},
      {"base32Decode", same, reference::base32(bytes),
       [](K k, P in, auto n, char* out) { return k.base32Decode(in, n, out); },
       [](S t) { return reference::fromBase32(t); }, true},
      {"base32Decode, bytes that are no digit", same, strayBytes(random, reference::base32(bytes)),
       [](K k, P in, auto n, char* out) { return k.base32Decode(in, n, out); },
       [](S t) { return reference::fromBase32(t); }, true},
      {"fromOctal", same, octalNumbers(random),
       [](K k, P in, auto n, char* out) { return k.fromOctal(in, n, out); },
       [](S t) { return reference::fromOctal(t); }, true},
      {"morseDecode", same, reference::morseEncode(random.bytes(300, 'A', 'Z')),
       [](K k, P in, auto n, char* out) { return k.morseDecode(in, n, out); },
       [](S t) { return reference::morseDecode(t); }, true},
  };
}

// Every kernel of every tier this processor runs, at every length from 0 to
// 256: apart and in place, it stays within its buffers and writes what the
// plain reference loop makes of the part it read.
TEST(Kernels, KeepToExactBuffersAtEveryLength) {
  for (Tier tier : kernels::availableTiers()) {
    const Kernels& k = kernels::kernelsOf(tier);
    for (const KernelCase& c : kernelCases()) {
      ASSERT_GE(c.source.size(), 256u) << c.name;
      for (std::size_t n = 0; n <= 256; ++n) {
        const std::string what = std::string(k.name) + " " + c.name + " at " + std::to_string(n);
        const std::vector<char> in(c.source.begin(), c.source.begin() + n);
        std::vector<char> out(c.room(n));
        const Progress done = c.run(k, in.data(), n, out.data());
        ASSERT_LE(done.read, n) << what;
        ASSERT_LE(done.written, out.size()) << what;
        const std::string expected = c.coder(std::string(in.begin(), in.begin() + done.read));
        EXPECT_EQ(std::string(out.data(), done.written), expected) << what;
        if (!c.inPlace) continue;
        // Where a kernel stops may hang on where its output starts.
        std::vector<char> buffer = in;
        const Progress again = c.run(k, buffer.data(), n, buffer.data());
        ASSERT_LE(again.read, n) << what;
        EXPECT_EQ(std::string(buffer.data(), again.written),
                  c.coder(std::string(in.begin(), in.begin() + again.read)))
            << what << " in place";
        // What is still to read is as it was.
        EXPECT_EQ(std::string(buffer.begin() + again.read, buffer.end()),
                  std::string(in.begin() + again.read, in.end()))
            << what << " in place";
      }
    }
  }
}

// `size` bytes of `buffer` that start `offset` bytes past a cache line, with
// a guard byte on each side.
char* placeAt(std::vector<char>& buffer, std::size_t size, std::size_t offset) {
  buffer.assign(size + 130, '\x5A');
  const auto start = reinterpret_cast<std::uintptr_t>(buffer.data() + 1);
  return buffer.data() + 1 + (64 - start % 64) % 64 + offset;
}

// The byte maps and the puzzle methods' kernels, at every length to 200 and
// every offset of the text from a cache line, the maps and decoders in
// place: they write what the plain reference loop makes of what they read,
// leave what they did not read as it was, and touch no byte outside.
TEST(Kernels, RunAtEveryOffset) {
  const std::vector<std::string> names = {"caesarShift",  "caesarShiftFull",
                                          "bitwise",      "lsbExtract",
                                          "substitute",   "rot47",
                                          "atbash",       "base32Encode",
                                          "base32Decode", "base32Decode, bytes that are no digit",
                                          "toOctal",      "fromOctal"};
  for (Tier tier : kernels::availableTiers()) {
    const Kernels& k = kernels::kernelsOf(tier);
    for (const KernelCase& c : kernelCases()) {
      if (std::find(names.begin(), names.end(), c.name) == names.end()) continue;
      for (std::size_t n = 0; n <= 200; ++n) {
        for (std::size_t offset = 0; offset < 64; ++offset) {
          const std::string what = std::string(k.name) + " " + c.name + " at " + std::to_string(n) +
                                   " +" + std::to_string(offset);
          std::vector<char> inBuffer;
          std::vector<char> outBuffer;
          char* const in = placeAt(inBuffer, n, offset);
          std::copy_n(c.source.begin(), n, in);
          const std::size_t room = c.room(n);
          char* const out = c.inPlace ? in : placeAt(outBuffer, room, offset);
          const Progress done = c.run(k, in, n, out);
          ASSERT_LE(done.read, n) << what;
          ASSERT_LE(done.written, c.inPlace ? done.read : room) << what;
          EXPECT_EQ(std::string(out, done.written), c.coder(c.source.substr(0, done.read))) << what;
          EXPECT_EQ(std::string(in + done.read, n - done.read),
                    c.source.substr(done.read, n - done.read))
              << what;
          EXPECT_EQ(in[-1], '\x5A') << what;
          EXPECT_EQ(in[n], '\x5A') << what;
          EXPECT_EQ(out[-1], '\x5A') << what;
          EXPECT_EQ(out[c.inPlace ? n : room], '\x5A') << what;
        }
      }
    }
  }
}

}  // namespace
