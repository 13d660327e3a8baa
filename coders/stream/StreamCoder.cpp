#include "stream/StreamCoder.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <utility>

#include "Ascii.h"
#include "char/DecimalReader.h"
#include "char/HexTable.h"
#include "classic/ClassicCoder.h"
#include "classic/VigenereKey.h"
#include "signal/MorseTable.h"
#include "signal/SignalCoder.h"

namespace {

using OneShot = std::function<std::string(std::string)>;

const ClassicCoder& classicCoder() {
  static const ClassicCoder coder;
  return coder;
}

CharCoder charCoderOfWidth(std::int32_t width) {
  CharCoder coder;
  coder.setBitWidth(width);
  return coder;
}

// What was kept back followed by the new piece.
std::string joined(std::string& held, std::string piece) {
  if (held.empty()) return piece;
  return std::exchange(held, {}).append(piece);
}

// Where the last run of whitespace in `text` ends, or 0 if it has none.
std::size_t afterLastWhitespace(const std::string& text) {
  std::size_t end = text.size();
  while (end > 0 && !ascii::isWhitespace(text[end - 1]))
    --end;
  return end;
}

// Moves the bytes from `cut` on from `text` to `held`.
void keepBack(std::string& text, std::size_t cut, std::string& held) {
  held.assign(text, cut);
  text.resize(cut);
}

// Each byte is coded on its own, so nothing is kept back.
class EachByte final : public StreamCoder {
 public:
  explicit EachByte(OneShot code) : code(std::move(code)) {}
  std::string feed(std::string piece) override { return code(std::move(piece)); }

 private:
  OneShot code;
};

// Codes whole groups of a fixed number of bytes; the last, shorter group
// when the text ends.
class FixedGroups final : public StreamCoder {
 public:
  FixedGroups(std::size_t size, OneShot code) : size(size), code(std::move(code)) {}

  std::string feed(std::string piece) override {
    std::string text = joined(held, std::move(piece));
    keepBack(text, text.size() - text.size() % size, held);
    return code(std::move(text));
  }

  std::string finish() override { return code(std::exchange(held, {})); }

 private:
  std::size_t size;
  OneShot code;
  std::string held;
};

// Base64 groups of four characters that count, whitespace between them
// skipped; an unfinished last group gives nothing.
class Base64Groups final : public StreamCoder {
 public:
  std::string feed(std::string piece) override {
    std::string text = joined(held, std::move(piece));
    // Only the count of four matters, so a byte may hold it as it wraps,
    // which lets the count run sixteen or more characters at a time.
    unsigned char counted = 0;
    for (char c : text)
      counted += ascii::isWhitespace(c) ? 0 : 1;
    // Back to the first character of the unfinished group; only its
    // characters that count are kept.
    std::size_t cut = text.size();
    for (std::size_t open = counted % 4; open > 0; --cut) {
      if (!ascii::isWhitespace(text[cut - 1])) --open;
    }
    for (std::size_t i = cut; i < text.size(); ++i) {
      if (!ascii::isWhitespace(text[i])) held += text[i];
    }
    text.resize(cut);
    return classicCoder().base64Decode(std::move(text));
  }

 private:
  std::string held;
};

// A '%' and the two characters after it, whatever they are, make one escape;
// an escape that the piece cuts short is kept back.
class UrlEscapes final : public StreamCoder {
 public:
  std::string feed(std::string piece) override {
    std::string text = joined(held, std::move(piece));
    // The text starts between escapes; so does any place that neither of the
    // two characters before is a '%' of. From the last such place, escapes
    // are walked to the end.
    std::size_t cut = text.size();
    while (cut > 0 && (text[cut - 1] == '%' || (cut >= 2 && text[cut - 2] == '%')))
      --cut;
    while (cut < text.size()) {
      const std::size_t step = text[cut] == '%' ? 3 : 1;
      if (cut + step > text.size()) break;
      cut += step;
    }
    keepBack(text, cut, held);
    return coder.urlDecode(std::move(text));
  }

  // An escape cut short by the end of the text is dropped.
  std::string finish() override { return coder.urlDecode(std::exchange(held, {})); }

 private:
  CharCoder coder;
  std::string held;
};

// Morse words between runs of whitespace; the word that the piece may cut is
// kept back.
class MorseWords final : public StreamCoder {
 public:
  std::string feed(std::string piece) override {
    std::string text = joined(held, std::move(piece));
    keepBack(text, afterLastWhitespace(text), held);
    // A word longer than any code stays no code however it goes on.
    if (held.size() > tables::kLongestCode) held.assign(tables::kLongestCode + 1, '-');
    return coder.morseDecode(std::move(text));
  }

  std::string finish() override { return coder.morseDecode(std::exchange(held, {})); }

 private:
  SignalCoder coder;
  std::string held;
};

// Decimal numbers between runs of whitespace, read until the first thing
// that is not a number; the number that the piece may cut is kept back.
class DecimalNumbers final : public StreamCoder {
 public:
  std::string feed(std::string piece) override {
    if (stopped) return {};
    std::string text = joined(held, std::move(piece));
    keepBack(text, afterLastWhitespace(text), held);
    std::string bytes = read(std::move(text));
    if (!stopped && held.size() > kLongestHeld) bytes += shorten();
    return bytes;
  }

  std::string finish() override { return stopped ? std::string() : read(std::exchange(held, {})); }

 private:
  // More than the digits of any number below 2^32 and a sign.
  static constexpr std::size_t kLongestHeld = 64;

  std::string read(std::string text) {
    const DecimalRead result = readDecimals(text);
    stopped = result.stopped;
    text.resize(result.written);
    return text;
  }

  // A word is read as numbers one after another, each starting at its sign
  // or first digit, up to the first thing that is not a number. The numbers
  // before the last are whole and are read now; the last keeps its value
  // modulo 2^32, which is all that reading it keeps. A word whose last
  // number follows something other than a digit stops the reading within
  // itself, so it is read now, whole.
  std::string shorten() {
    std::size_t start = held.size();
    while (start > 0 && ascii::isDigit(held[start - 1]))
      --start;
    if (start > 0 && (held[start - 1] == '-' || held[start - 1] == '+')) --start;
    if (start > 0 && !ascii::isDigit(held[start - 1])) return read(std::exchange(held, {}));
    std::string bytes = read(held.substr(0, start));
    const std::size_t sign = held[start] == '-' || held[start] == '+' ? 1 : 0;
    std::uint32_t value = 0;
    for (std::size_t i = start + sign; i < held.size(); ++i)
      value = value * 10 + static_cast<std::uint32_t>(held[i] - '0');
    const bool digits = start + sign < held.size();
    held = stopped ? std::string()
                   : held.substr(start, sign) + (digits ? std::to_string(value) : std::string());
    return bytes;
  }

  std::string held;
  bool stopped = false;
};

// Pairs of hexadecimal digits within runs of them; a run of odd length that
// the piece may cut keeps its last digit back, to pair with the next piece.
class HexPairs final : public StreamCoder {
 public:
  std::string feed(std::string piece) override {
    std::string text = joined(held, std::move(piece));
    std::size_t start = text.size();
    while (start > 0 && tables::kHexValues[static_cast<unsigned char>(text[start - 1])] < 16)
      --start;
    if ((text.size() - start) % 2 == 1) keepBack(text, text.size() - 1, held);
    return coder.readHex(std::move(text));
  }

  std::string finish() override { return coder.readHex(std::exchange(held, {})); }

 private:
  CharCoder coder;
  std::string held;
};

// Vigenere, carrying the place in the key from piece to piece.
class VigenereRun final : public StreamCoder {
 public:
  VigenereRun(std::string key, int direction) {
    if (key.empty()) return;  // an empty key changes nothing
    classicCoder().sanitizeKey(key);
    run.emplace(key, direction);
  }

  std::string feed(std::string piece) override {
    if (run) run->apply(piece);
    return piece;
  }

 private:
  std::optional<VigenereKey> run;
};

}  // namespace

namespace stream {

std::unique_ptr<StreamCoder> eachByte(OneShot code) {
  return std::make_unique<EachByte>(std::move(code));
}

std::unique_ptr<StreamCoder> caesarShift(std::int32_t shift) {
  return eachByte(
      [shift](std::string text) { return classicCoder().caesarShift(std::move(text), shift); });
}

std::unique_ptr<StreamCoder> caesarShiftFull(std::int32_t shift) {
  return eachByte(
      [shift](std::string text) { return classicCoder().caesarShiftFull(std::move(text), shift); });
}

std::unique_ptr<StreamCoder> vigenereEncode(std::string key) {
  return std::make_unique<VigenereRun>(std::move(key), 0);
}

std::unique_ptr<StreamCoder> vigenereDecode(std::string key) {
  return std::make_unique<VigenereRun>(std::move(key), 1);
}

std::unique_ptr<StreamCoder> base64Encode() {
  return std::make_unique<FixedGroups>(
      3, [](std::string text) { return classicCoder().base64Encode(std::move(text)); });
}

std::unique_ptr<StreamCoder> base64Decode() {
  return std::make_unique<Base64Groups>();
}

std::unique_ptr<StreamCoder> substitute(std::string from, std::string to) {
  return eachByte([from = std::move(from), to = std::move(to)](std::string text) {
    return CharCoder().substitute(std::move(text), from, to);
  });
}

std::unique_ptr<StreamCoder> urlEncode() {
  return eachByte([](std::string text) { return CharCoder().urlEncode(std::move(text)); });
}

std::unique_ptr<StreamCoder> urlDecode() {
  return std::make_unique<UrlEscapes>();
}

std::unique_ptr<StreamCoder> bitwiseApply(std::int32_t value, CharCoder::ByteOperation operation) {
  return eachByte([value, operation](std::string text) {
    return CharCoder().bitwiseApply(std::move(text), value, operation);
  });
}

std::unique_ptr<StreamCoder> toBinary(std::int32_t width) {
  return eachByte([coder = charCoderOfWidth(width)](std::string text) {
    return coder.toBinary(std::move(text));
  });
}

std::unique_ptr<StreamCoder> fromBinary(std::int32_t width) {
  const CharCoder coder = charCoderOfWidth(width);
  return std::make_unique<FixedGroups>(
      width == 7 ? 7 : 8, [coder](std::string text) { return coder.fromBinary(std::move(text)); });
}

std::unique_ptr<StreamCoder> toDecimal() {
  return eachByte([](std::string text) { return CharCoder().toDecimal(std::move(text)); });
}

std::unique_ptr<StreamCoder> fromDecimal() {
  return std::make_unique<DecimalNumbers>();
}

std::unique_ptr<StreamCoder> toHex() {
  return eachByte([](std::string text) { return CharCoder().toHex(std::move(text)); });
}

std::unique_ptr<StreamCoder> readHex() {
  return std::make_unique<HexPairs>();
}

std::unique_ptr<StreamCoder> morseEncode() {
  return eachByte([](std::string text) { return SignalCoder().morseEncode(std::move(text)); });
}

std::unique_ptr<StreamCoder> morseDecode() {
  return std::make_unique<MorseWords>();
}

std::unique_ptr<StreamCoder> lsbExtract() {
  return eachByte([](std::string text) { return SignalCoder().lsbExtract(std::move(text)); });
}

}  // namespace stream
