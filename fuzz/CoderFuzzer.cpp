// One libFuzzer target per coder operation; ZEMBRAX_FUZZ_TARGET names the
// operation this binary exercises. Every input must give the result of the
// plain reference, and the round trips and lengths that the method promises.

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "FuzzInput.h"
#include "Reference.h"
#include "char/CharCoder.h"
#include "classic/ClassicCoder.h"
#include "signal/SignalCoder.h"

namespace {

// A character coder of 8 or 7 binary digits a byte.
const CharCoder& chars(int width) {
  static const CharCoder eight;
  static const CharCoder seven = [] {
    CharCoder coder;
    coder.setBitWidth(7);
    return coder;
  }();
  return width == 8 ? eight : seven;
}

// The width of binary digits that the input picks.
int widthOf(Input& in) {
  return in.byte() % 2 == 0 ? 8 : 7;
}

bool hasZero(const std::string& text) {
  return text.find('\0') != std::string::npos;
}

void caesarShift(Input in) {
  const std::int32_t shift = in.integer();
  const std::string text = in.remainder();
  const std::string shifted = classic.caesarShift(text, shift);
  require(shifted == reference::caesarShift(text, shift), "caesarShift matches the reference");
  if (shift != INT32_MIN) {
    require(classic.caesarShift(shifted, -shift) == text, "caesarShift by -s undoes s");
  }
}

void caesarShiftFull(Input in) {
  const std::int32_t shift = in.integer();
  const std::string text = in.remainder();
  const std::string shifted = classic.caesarShiftFull(text, shift);
  require(shifted == reference::caesarShiftFull(text, shift), "caesarShiftFull matches");
  if (shift != INT32_MIN && !hasZero(text)) {
    require(!hasZero(shifted), "caesarShiftFull never makes a zero byte");
    require(classic.caesarShiftFull(shifted, -shift) == text, "caesarShiftFull by -s undoes s");
  }
}

void vigenere(Input in, bool encode) {
  const std::string key = in.text(in.byte() % 16);
  const std::string text = in.remainder();
  const std::string coded =
      encode ? classic.vigenereEncode(text, key) : classic.vigenereDecode(text, key);
  require(coded == reference::vigenere(text, key, encode ? 0 : 1), "vigenere matches");
  const std::string back =
      encode ? classic.vigenereDecode(coded, key) : classic.vigenereEncode(coded, key);
  require(back == text, "vigenere decoding undoes encoding");
  std::string sanitized = key;
  classic.sanitizeKey(sanitized);
  for (char c : sanitized)
    require(reference::isLetter(static_cast<unsigned char>(c)), "sanitized key");
}

void base64Encode(Input in) {
  const std::string text = in.remainder();
  const std::string coded = classic.base64Encode(text);
  require(coded == reference::base64Encode(text), "base64Encode matches");
  if (!hasZero(text)) require(classic.base64Decode(coded) == text, "base64 decode(encode(x)) = x");
}

void base64Decode(Input in) {
  const std::string text = in.remainder();
  const std::string decoded = classic.base64Decode(text);
  require(decoded == reference::base64Decode(text), "base64Decode matches");
  require(!hasZero(decoded), "base64Decode never keeps a zero byte");
  for (unsigned char c : text) {
    require(classic.base64Index(c) == reference::base64Index(c), "base64Index matches");
  }
}

void substitute(Input in) {
  const std::string from = in.text(in.byte() % 40);
  const std::string to = in.text(in.byte() % 40);
  const std::string text = in.remainder();
  const std::string result = chars(8).substitute(text, from, to);
  require(result == reference::substitute(text, from, to), "substitute matches");
  require(result.size() == text.size(), "substitute keeps the length");
}

void urlEncode(Input in) {
  const std::string text = in.remainder();
  const std::string coded = chars(8).urlEncode(text);
  require(coded == reference::urlEncode(text), "urlEncode matches");
  std::size_t escapes = 0;
  for (unsigned char c : text)
    escapes += chars(8).needsEscape(c) ? 1 : 0;
  require(coded.size() == text.size() + 2 * escapes, "urlEncode adds two per escape");
  require(chars(8).urlDecode(coded) == text, "url decode(encode(x)) = x");
}

void urlDecode(Input in) {
  const std::string text = in.remainder();
  const std::string decoded = chars(8).urlDecode(text);
  require(decoded == reference::urlDecode(text), "urlDecode matches");
  require(decoded.size() <= text.size(), "urlDecode never grows");
}

void bitwiseApply(Input in) {
  static constexpr CharCoder::ByteOperation kOperations[] = {&CharCoder::bitAnd, &CharCoder::bitOr,
                                                             &CharCoder::bitXor};
  const unsigned which = in.byte() % 3;
  const std::int32_t value = in.integer();
  const std::string text = in.remainder();
  const std::string result = chars(8).bitwiseApply(text, value, kOperations[which]);
  require(result.size() == text.size(), "bitwiseApply keeps the length");
  const auto v = static_cast<unsigned char>(value);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const unsigned expected = which == 0 ? (c & v) : which == 1 ? (c | v) : (c ^ v);
    require(static_cast<unsigned char>(result[i]) == expected, "bitwiseApply matches");
  }
  if (which == 2) {
    require(chars(8).bitwiseApply(result, value, kOperations[2]) == text, "XOR twice restores");
  }
}

void toBinary(Input in) {
  const int width = widthOf(in);
  const std::string text = in.remainder();
  const std::string binary = chars(width).toBinary(text);
  require(binary == reference::toBinary(text, width), "toBinary matches");
  require(binary.size() == text.size() * width, "toBinary writes a digit per bit");
  if (width == 8) require(chars(8).fromBinary(binary) == text, "binary decode(encode(x)) = x");
}

void fromBinary(Input in) {
  const int width = widthOf(in);
  const std::string text = in.remainder();
  const std::string bytes = chars(width).fromBinary(text);
  require(bytes == reference::fromBinary(text, width), "fromBinary matches");
  require(bytes.size() == text.size() / width, "fromBinary reads whole groups");
}

void toDecimal(Input in) {
  const std::string text = in.remainder();
  const std::string decimal = chars(8).toDecimal(text);
  require(decimal == reference::toDecimal(text), "toDecimal matches");
  require(chars(8).fromDecimal(decimal) == text, "decimal decode(encode(x)) = x");
}

void fromDecimal(Input in) {
  const std::string text = in.remainder();
  require(chars(8).fromDecimal(text) == reference::fromDecimal(text), "fromDecimal matches");
}

void toHex(Input in) {
  const std::string text = in.remainder();
  const std::string hex = chars(8).toHex(text);
  require(hex == reference::toHex(text), "toHex matches");
  require(hex.size() == 3 * text.size(), "toHex writes three per byte");
}

void fromHex(Input in) {
  require(chars(8).fromHex(in.remainder()) == "HEX -> ASCII nog niet beschikbaar...",
          "fromHex answers with its notice");
}

void morseEncode(Input in) {
  const std::string text = in.remainder();
  const std::string morse = signal.morseEncode(text);
  require(morse == reference::morseEncode(text), "morseEncode matches");
  // Symbols and whitespace only: decoding gives back the folded symbols.
  std::string symbols;
  bool onlySymbols = true;
  for (char c : text) {
    const char folded = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    if (reference::isSpace(static_cast<unsigned char>(c))) continue;
    onlySymbols = onlySymbols && reference::morseEncode(std::string(1, folded)).size() > 1;
    symbols += folded;
  }
  if (onlySymbols) require(signal.morseDecode(morse) == symbols, "morse decode(encode(x))");
}

void morseDecode(Input in) {
  const std::string text = in.remainder();
  require(signal.morseDecode(text) == reference::morseDecode(text), "morseDecode matches");
}

void lsbExtract(Input in) {
  const std::string text = in.remainder();
  require(signal.lsbExtract(text) == reference::lsbExtract(text), "lsbExtract matches");
}

using Target = std::function<void(Input)>;

const Target& selectedTarget() {
  static const std::map<std::string_view, Target> targets = {
      {"caesarShift", caesarShift},
      {"caesarShiftFull", caesarShiftFull},
      {"vigenereEncode", [](Input in) { vigenere(in, true); }},
      {"vigenereDecode", [](Input in) { vigenere(in, false); }},
      {"base64Encode", base64Encode},
      {"base64Decode", base64Decode},
      {"substitute", substitute},
      {"urlEncode", urlEncode},
      {"urlDecode", urlDecode},
      {"bitwiseApply", bitwiseApply},
      {"toBinary", toBinary},
      {"fromBinary", fromBinary},
      {"toDecimal", toDecimal},
      {"fromDecimal", fromDecimal},
      {"toHex", toHex},
      {"fromHex", fromHex},
      {"morseEncode", morseEncode},
      {"morseDecode", morseDecode},
      {"lsbExtract", lsbExtract},
  };
  static const Target& target = targets.at(ZEMBRAX_FUZZ_TARGET);
  return target;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  selectedTarget()(Input(data, size));
  return 0;
}
