#include "Methods.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <utility>

#include "WrittenForms.h"

namespace methods {

namespace {

// Both Caesar alphabets (26 letters, 255 bytes) turn whole in this many
// steps, so a shift reduced by it moves exactly as before, and negating the
// reduced shift cannot overflow.
constexpr std::int32_t kWholeTurns = 26 * 255;

// The shift that Caesar moves by: Decrypt moves back by the same steps.
std::int32_t caesarSteps(const Settings& settings, Direction direction) {
  const std::int32_t shift = integerOf(settings, "shift");
  return direction == Direction::decode ? -(shift % kWholeTurns) : shift;
}

// The bitwise options, each naming its byte operation.
struct ByteOperationOption {
  std::string_view name;
  CharCoder::ByteOperation operation;
};
constexpr std::array<ByteOperationOption, 3> kByteOperations = {{
    {"and", &CharCoder::bitAnd},
    {"or", &CharCoder::bitOr},
    {"xor", &CharCoder::bitXor},
}};

// The byte operation that `settings` chooses and its value; no operation
// (which changes nothing) where none is set.
std::pair<CharCoder::ByteOperation, std::int32_t> byteOperationOf(const Settings& settings) {
  for (const Setting& setting : settings) {
    for (const ByteOperationOption& option : kByteOperations) {
      const auto* value = std::get_if<std::int32_t>(&setting.value);
      if (setting.name == option.name && value != nullptr) return {option.operation, *value};
    }
  }
  return {nullptr, 0};
}

constexpr std::int32_t kBitWidths[] = {7, 8};
// The width of binary digits where none is asked for.
constexpr std::int32_t kDefaultBitWidth = 8;

constexpr Option kCaesarOptions[] = {
    {"shift", OptionKind::integer, "N", "the shift, any 32-bit integer", true},
    {"full", OptionKind::flag, "", "shift all 255 non-zero bytes, not only letters"},
};
constexpr Option kVigenereOptions[] = {
    {"key",
     OptionKind::text,
     "KEY",
     "the key word; non-letters count as A",
     true,
     {},
     {},
     "the key"},
};
constexpr Option kSubstituteOptions[] = {
    {"from",
     OptionKind::text,
     "ABC",
     "the original alphabet",
     true,
     {},
     {},
     "the original alphabet"},
    {"to", OptionKind::text, "XYZ", "the new alphabet", true, {}, {}, "the new alphabet"},
};
constexpr Option kBitwiseOptions[] = {
    {"and", OptionKind::integer, "VALUE", "AND with VALUE", false, "operation"},
    {"or", OptionKind::integer, "VALUE", "OR with VALUE", false, "operation"},
    {"xor", OptionKind::integer, "VALUE", "XOR with VALUE", false, "operation"},
};
constexpr Option kBinaryOptions[] = {
    {"bits", OptionKind::integer, "N", "binary digits per byte, 7 or 8 (8 unless given)", false, "",
     kBitWidths},
};

// The width that the binary conversions are asked for, set on `coder`.
CharCoder& ofWidth(CharCoder& coder, const Settings& settings) {
  coder.setBitWidth(integerOf(settings, "bits", kDefaultBitWidth));
  return coder;
}

bool decoding(Direction direction) {
  return direction == Direction::decode;
}

const Method kMethods[] = {
    {"caesar", "Caesar shift", "caesarPage",
     "Caesar shift of the letters A-Z and a-z, or with --full of all 255 non-zero bytes",
     "zembrax-cli caesar --shift 3 letter.txt", true, kCaesarOptions,
     [](Coders c, const Settings& s, Direction d, std::string text) {
       return flagOf(s, "full") ? c.classic.caesarShiftFull(std::move(text), caesarSteps(s, d))
                                : c.classic.caesarShift(std::move(text), caesarSteps(s, d));
     },
     [](const Settings& s, Direction d) {
       return flagOf(s, "full") ? stream::caesarShiftFull(caesarSteps(s, d))
                                : stream::caesarShift(caesarSteps(s, d));
     }},
    {"vigenere", "Vigenere", "vigenerePage", "Vigenere cipher of the letters with a key word",
     "zembrax-cli vigenere --key LUX -d secret.txt", true, kVigenereOptions,
     [](Coders c, const Settings& s, Direction d, std::string text) {
       return decoding(d) ? c.classic.vigenereDecode(std::move(text), textOf(s, "key"))
                          : c.classic.vigenereEncode(std::move(text), textOf(s, "key"));
     },
     [](const Settings& s, Direction d) {
       return decoding(d) ? stream::vigenereDecode(textOf(s, "key"))
                          : stream::vigenereEncode(textOf(s, "key"));
     }},
    {"base64",
     "Base64",
     "base64Page",
     "Base64, on one line; -d takes it wrapped or not, with or without its = padding, in the "
     "standard or the URL-safe alphabet (- and _), and keeps every byte",
     "zembrax-cli base64 -d dump.b64 -o dump.bin",
     true,
     {},
     [](Coders c, const Settings&, Direction d, std::string text) {
       return decoding(d) ? c.classic.base64Decode(std::move(text))
                          : c.classic.base64Encode(std::move(text));
     },
     [](const Settings&, Direction d) {
       return decoding(d) ? stream::base64Decode() : stream::base64Encode();
     },
     [](const Settings&) { return forms::base64Decode(); }},
    // Both directions substitute the same way round, as both buttons do.
    {"subst", "Substitution", "substPage",
     "Replaces each byte of the original alphabet by the one at its place in the new",
     "zembrax-cli subst --from abc --to xyz notes.txt", true, kSubstituteOptions,
     [](Coders c, const Settings& s, Direction, std::string text) {
       return c.chars.substitute(std::move(text), textOf(s, "from"), textOf(s, "to"));
     },
     [](const Settings& s, Direction) {
       return stream::substitute(textOf(s, "from"), textOf(s, "to"));
     }},
    {"url",
     "URL encoding",
     "URLPage",
     "URL (percent) encoding of every byte but letters and digits",
     "printf 'a b&c' | zembrax-cli url",
     true,
     {},
     [](Coders c, const Settings&, Direction d, std::string text) {
       return decoding(d) ? c.chars.urlDecode(std::move(text)) : c.chars.urlEncode(std::move(text));
     },
     [](const Settings&, Direction d) {
       return decoding(d) ? stream::urlDecode() : stream::urlEncode();
     }},
    {"bitwise", "Bitwise", "bitManipPage",
     "Combines every byte with the low eight bits of VALUE (300 acts as 44, -1 as 255)",
     "zembrax-cli bitwise --xor 32 data.bin -o flipped.bin", false, kBitwiseOptions,
     [](Coders c, const Settings& s, Direction, std::string text) {
       const auto [operation, value] = byteOperationOf(s);
       return c.chars.bitwiseApply(std::move(text), value, operation);
     },
     [](const Settings& s, Direction) {
       const auto [operation, value] = byteOperationOf(s);
       return stream::bitwiseApply(value, operation);
     }},
    {"binary", "Binary", "asciiPage",
     "Every byte as 8 (or 7) binary digits, and back; -d takes the digits run together or "
     "in groups split by spaces, commas or line breaks, with or without 0b",
     "zembrax-cli binary --bits 7 < text.txt", true, kBinaryOptions,
     [](Coders c, const Settings& s, Direction d, std::string text) {
       return decoding(d) ? ofWidth(c.chars, s).fromBinary(std::move(text))
                          : ofWidth(c.chars, s).toBinary(std::move(text));
     },
     [](const Settings& s, Direction d) {
       const std::int32_t width = integerOf(s, "bits", kDefaultBitWidth);
       return decoding(d) ? stream::fromBinary(width) : stream::toBinary(width);
     },
     [](const Settings& s) { return forms::fromBinary(integerOf(s, "bits", kDefaultBitWidth)); }},
    {"decimal",
     "Decimal",
     "asciiPage",
     "Every byte as a signed decimal number and a space, and back; -d takes numbers split by "
     "spaces, commas or line breaks",
     "zembrax-cli decimal -d numbers.txt",
     true,
     {},
     [](Coders c, const Settings&, Direction d, std::string text) {
       return decoding(d) ? c.chars.fromDecimal(std::move(text))
                          : c.chars.toDecimal(std::move(text));
     },
     [](const Settings&, Direction d) {
       return decoding(d) ? stream::fromDecimal() : stream::toDecimal();
     },
     [](const Settings&) { return forms::fromDecimal(); }},
    {"hex",
     "Hexadecimal",
     "asciiPage",
     "Every byte as two hexadecimal digits and a space, and back; -d takes pairs of digits in "
     "either case, run together or split by anything, with or without 0x or \\x",
     "zembrax-cli hex capture.bin | head",
     true,
     {},
     [](Coders c, const Settings&, Direction d, std::string text) {
       return decoding(d) ? c.chars.readHex(std::move(text)) : c.chars.toHex(std::move(text));
     },
     [](const Settings&, Direction d) { return decoding(d) ? stream::readHex() : stream::toHex(); },
     [](const Settings&) { return forms::readHex(); }},
    {"morse",
     "Morse",
     "morsePage",
     "Morse code of letters, digits and punctuation, and back; -d writes a space for a word "
     "gap (/ or two spaces or more) and keeps line breaks",
     "zembrax-cli morse message.txt | zembrax-cli morse -d",
     true,
     {},
     [](Coders c, const Settings&, Direction d, std::string text) {
       return decoding(d) ? c.signal.morseDecode(std::move(text))
                          : c.signal.morseEncode(std::move(text));
     },
     [](const Settings&, Direction d) {
       return decoding(d) ? stream::morseDecode() : stream::morseEncode();
     },
     [](const Settings&) { return forms::morseDecode(); }},
    {"lsb",
     "LSB",
     "lsbPage",
     "The lowest bit of every byte as '0' or '1'",
     "zembrax-cli lsb picture.raw",
     false,
     {},
     [](Coders c, const Settings&, Direction, std::string text) {
       return c.signal.lsbExtract(std::move(text));
     },
     [](const Settings&, Direction) { return stream::lsbExtract(); }},
};

template <typename Value>
const Value* valueOf(const Settings& settings, std::string_view name) {
  const auto found = std::find_if(settings.begin(), settings.end(),
                                  [name](const Setting& setting) { return setting.name == name; });
  return found == settings.end() ? nullptr : std::get_if<Value>(&found->value);
}

}  // namespace

std::int32_t integerOf(const Settings& settings, std::string_view name, std::int32_t fallback) {
  const auto* value = valueOf<std::int32_t>(settings, name);
  return value != nullptr ? *value : fallback;
}

bool flagOf(const Settings& settings, std::string_view name) {
  const auto* value = valueOf<bool>(settings, name);
  return value != nullptr && *value;
}

std::string textOf(const Settings& settings, std::string_view name) {
  const auto* value = valueOf<std::string>(settings, name);
  return value != nullptr ? *value : std::string();
}

std::unique_ptr<StreamCoder> exactStream(const Method& method, const Settings& settings,
                                         Direction direction) {
  return decoding(direction) && method.exactDecode != nullptr ? method.exactDecode(settings)
                                                              : method.stream(settings, direction);
}

std::string runExact(const Method& method, Coders coders, const Settings& settings,
                     Direction direction, std::string text) {
  if (decoding(direction) && method.exactDecode != nullptr)
    return forms::readAll(*method.exactDecode(settings), std::move(text));
  return method.run(coders, settings, direction, std::move(text));
}

std::span<const Method> all() {
  return kMethods;
}

const Method* named(std::string_view name) {
  for (const Method& method : kMethods) {
    if (method.name == name) return &method;
  }
  return nullptr;
}

const Method& methodNamed(std::string_view name) {
  const Method* method = named(name);
  if (method == nullptr) throw std::logic_error("no method is named " + std::string(name));
  return *method;
}

}  // namespace methods
