#include "Methods.h"

#include <algorithm>
#include <array>
#include <optional>
#include <stdexcept>
#include <utility>

#include "Shapes.h"
#include "Text.h"
#include "WrittenForms.h"
#include "puzzle/Puzzle.h"

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

// The two alphabets of a substitution the way round that `direction` runs.
std::pair<std::string, std::string> alphabetsOf(const Settings& settings, Direction direction) {
  std::string from = textOf(settings, "from");
  std::string to = textOf(settings, "to");
  if (decoding(direction)) std::swap(from, to);
  return {std::move(from), std::move(to)};
}

// The page that offers the methods beyond the nine of the window's own.
constexpr std::string_view kMorePage = "moreMethodsPage";

constexpr Option kReverseOptions[] = {
    {"chars", OptionKind::flag, "", "by UTF-8 characters, not bytes"},
};
constexpr Option kBase32Options[] = {
    {"no-padding", OptionKind::flag, "", "without the = that fill the last group"},
};
constexpr Option kBase85Options[] = {
    {"wrapper", OptionKind::flag, "", "put the text inside <~ ~>"},
};
// The separator of A1Z26 where none is given.
constexpr std::string_view kA1Z26Separator = "-";
constexpr Option kA1Z26Options[] = {
    {"separator",
     OptionKind::text,
     "TEXT",
     "what stands between two letters of a word (- unless given)",
     false,
     {},
     {},
     "the separator"},
};
constexpr std::int32_t kBaconAlphabets[] = {24, 26};
// Bacon's own alphabet, with I for J and U for V.
constexpr std::int32_t kBaconLetters = 24;
constexpr Option kBaconOptions[] = {
    {"letters", OptionKind::integer, "N",
     "letters of the alphabet: 24 (I for J, U for V) or 26 (24 unless given)", false, "",
     kBaconAlphabets},
    {"digits", OptionKind::flag, "", "0 and 1 for A and B"},
};
constexpr Option kPolybiusOptions[] = {
    {"key",
     OptionKind::text,
     "KEY",
     "a key word, whose letters fill the square first",
     false,
     {},
     {},
     "the key"},
};

// The one-shot call of a method whose stream coder `streamOf` makes: the
// text as one piece.
template <std::unique_ptr<StreamCoder> (*streamOf)(const Settings&, Direction)>
std::string throughStream(Coders, const Settings& settings, Direction direction, std::string text) {
  return forms::readAll(*streamOf(settings, direction), std::move(text));
}

std::unique_ptr<StreamCoder> trithemiusStream(const Settings&, Direction direction) {
  return puzzle::trithemius(decoding(direction));
}

std::unique_ptr<StreamCoder> base32Stream(const Settings& settings, Direction direction) {
  return decoding(direction) ? puzzle::base32Decode()
                             : puzzle::base32Encode(!flagOf(settings, "no-padding"));
}

std::unique_ptr<StreamCoder> octalStream(const Settings&, Direction direction) {
  return decoding(direction) ? puzzle::fromOctal() : puzzle::toOctal();
}

std::unique_ptr<StreamCoder> base58Stream(const Settings&, Direction direction) {
  return puzzle::base58(decoding(direction));
}

template <puzzle::Base85 alphabet>
std::unique_ptr<StreamCoder> base85Stream(const Settings& settings, Direction direction) {
  return decoding(direction) ? puzzle::base85Decode(alphabet)
                             : puzzle::base85Encode(alphabet, flagOf(settings, "wrapper"));
}

std::unique_ptr<StreamCoder> a1z26Stream(const Settings& settings, Direction direction) {
  std::string separator = textOf(settings, "separator");
  return decoding(direction) ? puzzle::fromA1Z26(std::move(separator))
                             : puzzle::toA1Z26(std::move(separator));
}

std::unique_ptr<StreamCoder> natoStream(const Settings&, Direction direction) {
  return decoding(direction) ? puzzle::fromNato() : puzzle::toNato();
}

std::unique_ptr<StreamCoder> baconStream(const Settings& settings, Direction direction) {
  const auto alphabet = integerOf(settings, "letters", kBaconLetters) == 26
                            ? puzzle::BaconAlphabet::full
                            : puzzle::BaconAlphabet::classic;
  const bool digits = flagOf(settings, "digits");
  return decoding(direction) ? puzzle::fromBacon(alphabet, digits)
                             : puzzle::toBacon(alphabet, digits);
}

std::unique_ptr<StreamCoder> polybiusStream(const Settings& settings, Direction direction) {
  const std::string key = textOf(settings, "key");
  return decoding(direction) ? puzzle::fromPolybius(key) : puzzle::toPolybius(key);
}

// One setting of each width, for a method whose texts hold any byte but
// zero, or only those below 128.
std::vector<Sample> bitWidthSamples() {
  return {{{{"bits", 8}}}, {{{"bits", 7}}, 1, 127}};
}

// The settings to try, once each, on a text that `has` the method's form.
template <bool (*has)(std::string_view)>
std::vector<Settings> whenShaped(std::string_view text) {
  return has(text) ? std::vector<Settings>{{}} : std::vector<Settings>{};
}

const Method kMethods[] = {
    {.name = "caesar",
     .caption = "Caesar shift",
     .page = "caesarPage",
     .summary = "Caesar shift of the letters A-Z and a-z, or with --full of all 255 non-zero bytes",
     .example = "zembrax-cli caesar --shift 3 letter.txt",
     .ways = Ways::inversePair,
     .options = kCaesarOptions,
     .run =
         [](Coders c, const Settings& s, Direction d, std::string text) {
           return flagOf(s, "full") ? c.classic.caesarShiftFull(std::move(text), caesarSteps(s, d))
                                    : c.classic.caesarShift(std::move(text), caesarSteps(s, d));
         },
     .stream =
         [](const Settings& s, Direction d) {
           return flagOf(s, "full") ? stream::caesarShiftFull(caesarSteps(s, d))
                                    : stream::caesarShift(caesarSteps(s, d));
         },
     .samples =
         [] {
           return std::vector<Sample>{{{{"shift", -29}}},
                                      {{{"shift", 2147483647}, {"full", true}}}};
         },
     .describe =
         [](const Settings& s) {
           return "Caesar shift " + std::to_string(integerOf(s, "shift")) +
                  (flagOf(s, "full") ? " (0-255)" : "");
         }},
    {.name = "vigenere",
     .caption = "Vigenere",
     .page = "vigenerePage",
     .summary = "Vigenere cipher of the letters with a key word",
     .example = "zembrax-cli vigenere --key LUX -d secret.txt",
     .ways = Ways::inversePair,
     .options = kVigenereOptions,
     .run =
         [](Coders c, const Settings& s, Direction d, std::string text) {
           return decoding(d) ? c.classic.vigenereDecode(std::move(text), textOf(s, "key"))
                              : c.classic.vigenereEncode(std::move(text), textOf(s, "key"));
         },
     .stream =
         [](const Settings& s, Direction d) {
           return decoding(d) ? stream::vigenereDecode(textOf(s, "key"))
                              : stream::vigenereEncode(textOf(s, "key"));
         },
     .samples =
         [] {
           return std::vector<Sample>{{{{"key", std::string("Lu-X")}}}};
         },
     .describe = [](const Settings& s) { return "Vigenere key " + textOf(s, "key"); }},
    {.name = "base64",
     .caption = "Base64",
     .page = "base64Page",
     .summary =
         "Base64, on one line; -d takes it wrapped or not, with or without its = padding, in the "
         "standard or the URL-safe alphabet (- and _), and keeps every byte",
     .example = "zembrax-cli base64 -d dump.b64 -o dump.bin",
     .ways = Ways::inversePair,
     .run =
         [](Coders c, const Settings&, Direction d, std::string text) {
           return decoding(d) ? c.classic.base64Decode(std::move(text))
                              : c.classic.base64Encode(std::move(text));
         },
     .stream =
         [](const Settings&, Direction d) {
           return decoding(d) ? stream::base64Decode() : stream::base64Encode();
         },
     .exactDecode = [](const Settings&) { return forms::base64Decode(); },
     .accepts = whenShaped<shapes::isBase64>},
    // Decrypt substitutes the other way round, so that it undoes Encrypt.
    {.name = "subst",
     .caption = "Substitution",
     .page = "substPage",
     .summary = "Replaces each byte of the original alphabet by the one at its place in the new; "
                "-d the other way round",
     .example = "zembrax-cli subst --from abc --to xyz notes.txt",
     .ways = Ways::inversePair,
     .options = kSubstituteOptions,
     .run =
         [](Coders c, const Settings& s, Direction d, std::string text) {
           const auto [from, to] = alphabetsOf(s, d);
           return c.chars.substitute(std::move(text), from, to);
         },
     .stream =
         [](const Settings& s, Direction d) {
           auto [from, to] = alphabetsOf(s, d);
           return stream::substitute(std::move(from), std::move(to));
         },
     // A permutation of the letters, so that either way undoes the other.
     .samples =
         [] {
           return std::vector<Sample>{
               {{{"from", std::string("abXY")}, {"to", std::string("XYba")}}}};
         },
     .describe = [](const Settings& s) { return "Substitution " + textOf(s, "to").substr(0, 26); }},
    {.name = "url",
     .caption = "URL encoding",
     .page = "URLPage",
     .summary = "URL (percent) encoding of every byte but letters and digits",
     .example = "printf 'a b&c' | zembrax-cli url",
     .ways = Ways::inversePair,
     .run =
         [](Coders c, const Settings&, Direction d, std::string text) {
           return decoding(d) ? c.chars.urlDecode(std::move(text))
                              : c.chars.urlEncode(std::move(text));
         },
     .stream = [](const Settings&,
                  Direction d) { return decoding(d) ? stream::urlDecode() : stream::urlEncode(); },
     .accepts = whenShaped<shapes::isUrlEncoded>},
    {.name = "bitwise",
     .caption = "Bitwise",
     .page = "bitManipPage",
     .summary = "Combines every byte with the low eight bits of VALUE (300 acts as 44, -1 as 255)",
     .example = "zembrax-cli bitwise --xor 32 data.bin -o flipped.bin",
     .ways = Ways::encodeOnly,
     .options = kBitwiseOptions,
     .run =
         [](Coders c, const Settings& s, Direction, std::string text) {
           const auto [operation, value] = byteOperationOf(s);
           return c.chars.bitwiseApply(std::move(text), value, operation);
         },
     .stream =
         [](const Settings& s, Direction) {
           const auto [operation, value] = byteOperationOf(s);
           return stream::bitwiseApply(value, operation);
         },
     .samples =
         [] {
           return std::vector<Sample>{{{{"and", 0x5A}}}, {{{"or", 0x5A}}}, {{{"xor", 300}}}};
         },
     .describe =
         [](const Settings& s) {
           if (s.empty()) return std::string("Bitwise");
           // The operations' names are lower-case letters: "XOR 32".
           std::string named(s.front().name);
           for (char& c : named)
             c = static_cast<char>(c & 0xDF);
           return named + " " + std::to_string(integerOf(s, s.front().name));
         }},
    {.name = "binary",
     .caption = "Binary",
     .page = "asciiPage",
     .summary = "Every byte as 8 (or 7) binary digits, and back; -d takes the digits run together "
                "or in groups split by spaces, commas or line breaks, with or without 0b",
     .example = "zembrax-cli binary --bits 7 < text.txt",
     .ways = Ways::inversePair,
     .options = kBinaryOptions,
     .run =
         [](Coders c, const Settings& s, Direction d, std::string text) {
           return decoding(d) ? ofWidth(c.chars, s).fromBinary(std::move(text))
                              : ofWidth(c.chars, s).toBinary(std::move(text));
         },
     .stream =
         [](const Settings& s, Direction d) {
           const std::int32_t width = integerOf(s, "bits", kDefaultBitWidth);
           return decoding(d) ? stream::fromBinary(width) : stream::toBinary(width);
         },
     .exactDecode =
         [](const Settings& s) {
           return forms::fromBinary(integerOf(s, "bits", kDefaultBitWidth));
         },
     .accepts =
         [](std::string_view text) {
           std::vector<Settings> widths;
           for (const std::int32_t width : shapes::binaryWidths(text))
             widths.push_back({{"bits", width}});
           return widths;
         },
     .samples = bitWidthSamples,
     .describe =
         [](const Settings& s) {
           return std::string(integerOf(s, "bits", kDefaultBitWidth) == 7 ? "Binary 7 bits"
                                                                          : "Binary");
         }},
    {.name = "decimal",
     .caption = "Decimal",
     .page = "asciiPage",
     .summary = "Every byte as a signed decimal number and a space, and back; -d takes numbers "
                "split by spaces, commas or line breaks",
     .example = "zembrax-cli decimal -d numbers.txt",
     .ways = Ways::inversePair,
     .run =
         [](Coders c, const Settings&, Direction d, std::string text) {
           return decoding(d) ? c.chars.fromDecimal(std::move(text))
                              : c.chars.toDecimal(std::move(text));
         },
     .stream =
         [](const Settings&, Direction d) {
           return decoding(d) ? stream::fromDecimal() : stream::toDecimal();
         },
     .exactDecode = [](const Settings&) { return forms::fromDecimal(); },
     .accepts = whenShaped<shapes::isDecimalBytes>},
    {.name = "hex",
     .caption = "Hexadecimal",
     .page = "asciiPage",
     .summary = "Every byte as two hexadecimal digits and a space, and back; -d takes pairs of "
                "digits in either case, run together or split by anything, with or without 0x "
                "or \\x",
     .example = "zembrax-cli hex capture.bin | head",
     .ways = Ways::inversePair,
     .run =
         [](Coders c, const Settings&, Direction d, std::string text) {
           return decoding(d) ? c.chars.readHex(std::move(text)) : c.chars.toHex(std::move(text));
         },
     .stream = [](const Settings&,
                  Direction d) { return decoding(d) ? stream::readHex() : stream::toHex(); },
     .exactDecode = [](const Settings&) { return forms::readHex(); },
     .accepts = whenShaped<shapes::isHexBytes>},
    {.name = "morse",
     .caption = "Morse",
     .page = "morsePage",
     .summary = "Morse code of letters, digits and punctuation, and back; -d writes a space for a "
                "word gap (/ or two spaces or more) and keeps line breaks",
     .example = "zembrax-cli morse message.txt | zembrax-cli morse -d",
     .ways = Ways::inversePair,
     .run =
         [](Coders c, const Settings&, Direction d, std::string text) {
           return decoding(d) ? c.signal.morseDecode(std::move(text))
                              : c.signal.morseEncode(std::move(text));
         },
     .stream =
         [](const Settings&, Direction d) {
           return decoding(d) ? stream::morseDecode() : stream::morseEncode();
         },
     .exactDecode = [](const Settings&) { return forms::morseDecode(); },
     .accepts = whenShaped<shapes::isMorse>,
     // Morse knows one case, and spaces between words become none.
     .samples =
         [] {
           return std::vector<Sample>{{{}, 'A', 'Z'}};
         }},
    // It reads what a picture's bytes hide, so it is a decoding alone.
    {.name = "lsb",
     .caption = "LSB",
     .page = "lsbPage",
     .summary = "The lowest bit of every byte as '0' or '1'",
     .example = "zembrax-cli lsb picture.raw",
     .ways = Ways::decodeOnly,
     .run = [](Coders c, const Settings&, Direction,
               std::string text) { return c.signal.lsbExtract(std::move(text)); },
     .stream = [](const Settings&, Direction) { return stream::lsbExtract(); }},
    {.name = "rot47",
     .caption = "ROT47",
     .page = kMorePage,
     .summary = "Turns each printable character ! to ~ half way round them; undoes itself",
     .example = "zembrax-cli rot47 note.txt",
     .ways = Ways::sameCall,
     .run = [](Coders, const Settings&, Direction,
               std::string text) { return puzzle::rot47(std::move(text)); },
     .stream = [](const Settings&, Direction) { return puzzle::rot47Stream(); },
     .accepts = whenShaped<shapes::isRot47>},
    {.name = "atbash",
     .caption = "Atbash",
     .page = kMorePage,
     .summary = "Mirrors the alphabet: A for Z, B for Y, in either case; undoes itself",
     .example = "zembrax-cli atbash note.txt",
     .ways = Ways::sameCall,
     .run = [](Coders, const Settings&, Direction,
               std::string text) { return puzzle::atbash(std::move(text)); },
     .stream = [](const Settings&, Direction) { return puzzle::atbashStream(); },
     .accepts = whenShaped<shapes::isMostlyLetters>},
    {.name = "trithemius",
     .caption = "Trithemius",
     .page = kMorePage,
     .summary = "Shifts the first letter by 0, the next by 1 and so on, round the alphabet",
     .example = "zembrax-cli trithemius -d note.txt",
     .ways = Ways::inversePair,
     .run = throughStream<trithemiusStream>,
     .stream = trithemiusStream,
     .accepts = whenShaped<shapes::isMostlyLetters>},
    {.name = "reverse",
     .caption = "Reversed",
     .page = kMorePage,
     .summary = "The text backwards, by bytes or by UTF-8 characters; undoes itself",
     .example = "zembrax-cli reverse --chars note.txt",
     .ways = Ways::sameCall,
     .options = kReverseOptions,
     .run = [](Coders, const Settings& s, Direction,
               std::string text) { return puzzle::reversed(std::move(text), flagOf(s, "chars")); },
     .stream = [](const Settings& s,
                  Direction) { return puzzle::reversedStream(flagOf(s, "chars")); },
     // By characters where the text is UTF-8 with some beyond ASCII, which
     // bytes backwards would break; by bytes where it is ASCII, or where
     // its bytes were turned round and so make no UTF-8.
     .accepts =
         [](std::string_view text) {
           if (!shapes::isBackwards(text)) return std::vector<Settings>{};
           const bool ascii = std::all_of(text.begin(), text.end(), [](char c) {
             return static_cast<unsigned char>(c) < 0x80;
           });
           return std::vector<Settings>{ascii || !text::isUtf8(text) ? Settings{}
                                                                     : Settings{{"chars", true}}};
         },
     // Characters backwards give back invalid UTF-8 otherwise.
     .samples =
         [] {
           return std::vector<Sample>{{}, {{{"chars", true}}, 1, 127}};
         },
     .describe =
         [](const Settings& s) {
           return std::string(flagOf(s, "chars") ? "Reversed by characters" : "Reversed");
         }},
    {.name = "base32",
     .caption = "Base32",
     .page = kMorePage,
     .summary = "Base32 of RFC 4648, with = padding unless --no-padding; -d takes either case, "
                "wrapped or not, padded or not, and keeps every byte",
     .example = "zembrax-cli base32 -d secret.b32",
     .ways = Ways::inversePair,
     .options = kBase32Options,
     .run = throughStream<base32Stream>,
     .stream = base32Stream,
     .accepts = whenShaped<shapes::isBase32>,
     .samples =
         [] {
           return std::vector<Sample>{{}, {{{"no-padding", true}}}};
         }},
    {.name = "octal",
     .caption = "Octal",
     .page = kMorePage,
     .summary = "Every byte as an octal number and a space, and back; -d takes numbers split by "
                "anything that is no octal digit",
     .example = "zembrax-cli octal -d numbers.txt",
     .ways = Ways::inversePair,
     .run = throughStream<octalStream>,
     .stream = octalStream,
     .accepts = whenShaped<shapes::isOctalBytes>},
    {.name = "base58",
     .caption = "Base58",
     .page = kMorePage,
     .summary = "Base58 in the Bitcoin alphabet, of at most 1 MiB; -d skips what is no digit",
     .example = "zembrax-cli base58 -d address.txt | zembrax-cli hex",
     .ways = Ways::inversePair,
     .run = throughStream<base58Stream>,
     .stream = base58Stream,
     .longest = puzzle::kBase58Most,
     .accepts = whenShaped<shapes::isBase58>},
    {.name = "keyboard",
     .caption = "Keyboard shift",
     .page = kMorePage,
     .summary = "Each digit and letter as the QWERTY key to its right; -d to its left",
     .example = "zembrax-cli keyboard -d typed.txt",
     .ways = Ways::inversePair,
     .run = [](Coders, const Settings&, Direction d,
               std::string text) { return puzzle::keyboardShift(std::move(text), decoding(d)); },
     .stream = [](const Settings&,
                  Direction d) { return puzzle::keyboardShiftStream(decoding(d)); },
     .accepts = whenShaped<shapes::isMostlyLetters>},
    {.name = "base85",
     .caption = "Base85",
     .page = kMorePage,
     .summary = "Ascii85 (Adobe's), z for four zero bytes, inside <~ ~> with --wrapper; -d takes "
                "it with its <~ ~> or without, skips whitespace and keeps every byte",
     .example = "zembrax-cli base85 --wrapper dump.bin",
     .ways = Ways::inversePair,
     .options = kBase85Options,
     .run = throughStream<base85Stream<puzzle::Base85::ascii85>>,
     .stream = base85Stream<puzzle::Base85::ascii85>,
     .accepts = whenShaped<shapes::isAscii85>,
     .samples =
         [] {
           return std::vector<Sample>{{{}, 0, 255}, {{{"wrapper", true}}, 0, 255}};
         },
     .describe =
         [](const Settings& s) {
           return std::string(flagOf(s, "wrapper") ? "Base85 <~ ~>" : "Base85");
         }},
    {.name = "z85",
     .caption = "Z85",
     .page = kMorePage,
     .summary = "Base85 in ZeroMQ's alphabet, a short last group as Ascii85 writes it; -d skips "
                "whitespace and keeps every byte",
     .example = "zembrax-cli z85 -d key.z85 | zembrax-cli hex",
     .ways = Ways::inversePair,
     .run = throughStream<base85Stream<puzzle::Base85::z85>>,
     .stream = base85Stream<puzzle::Base85::z85>,
     .accepts = whenShaped<shapes::isZ85>,
     .samples =
         [] {
           return std::vector<Sample>{{{}, 0, 255}};
         }},
    {.name = "a1z26",
     .caption = "A1Z26",
     .page = kMorePage,
     .summary = "Each letter as its number, A = 1 to Z = 26, split by - within a word (or "
                "--separator); -d gives capitals, and other bytes stay both ways",
     .example = "zembrax-cli a1z26 -d --separator ' ' numbers.txt",
     .ways = Ways::inversePair,
     .options = kA1Z26Options,
     .run = throughStream<a1z26Stream>,
     .stream = a1z26Stream,
     .accepts =
         [](std::string_view text) {
           const std::optional<std::string> separator = shapes::a1z26Separator(text);
           if (!separator) return std::vector<Settings>{};
           if (separator->empty()) return std::vector<Settings>{{}};
           return std::vector<Settings>{{{"separator", *separator}}};
         },
     // Decoding gives capitals; a separator of spaces joins the words too.
     .samples =
         [] {
           return std::vector<Sample>{{{}, 'A', 'Z'},
                                      {{{"separator", std::string(", ")}}, 'A', 'Z'}};
         },
     .describe =
         [](const Settings& s) {
           const std::string separator = textOf(s, "separator");
           return separator.empty() || separator == kA1Z26Separator
                      ? std::string("A1Z26")
                      : "A1Z26 split by \"" + separator + "\"";
         }},
    {.name = "nato",
     .caption = "NATO alphabet",
     .page = kMorePage,
     .summary = "Each letter and digit as its word of the ICAO spelling alphabet (Alfa, Bravo; "
                "Zero to Nine), a space as /; -d takes any case, Alpha and Juliet too",
     .example = "zembrax-cli nato -d call.txt",
     .ways = Ways::inversePair,
     .run = throughStream<natoStream>,
     .stream = natoStream,
     .accepts = whenShaped<shapes::isNato>,
     // Decoding gives capitals; digits and the signs between them and the
     // capitals come back as they were.
     .samples =
         [] {
           return std::vector<Sample>{{{}, '0', 'Z'}};
         }},
    {.name = "bacon",
     .caption = "Bacon",
     .page = kMorePage,
     .summary = "Bacon's cipher: each letter as five A and B (or with --digits 0 and 1), in the "
                "alphabet of 24 letters or --letters 26; -d skips every other byte",
     .example = "zembrax-cli bacon -d --letters 26 groups.txt",
     .ways = Ways::inversePair,
     .options = kBaconOptions,
     .run = throughStream<baconStream>,
     .stream = baconStream,
     .accepts =
         [](std::string_view text) {
           const std::string_view signs = shapes::baconSigns(text);
           std::vector<Settings> tried;
           if (signs.empty()) return tried;
           for (const std::int32_t letters : kBaconAlphabets) {
             tried.push_back({{"letters", letters}});
             if (signs == "01") tried.back().push_back({"digits", true});
           }
           return tried;
         },
     // Decoding gives capitals, and the alphabet of 24 letters I for J:
     // the letters up to I come back as they were.
     .samples =
         [] {
           return std::vector<Sample>{{{}, 'A', 'I'},
                                      {{{"letters", 26}}, 'A', 'Z'},
                                      {{{"letters", 26}, {"digits", true}}, 'A', 'Z'}};
         },
     .describe =
         [](const Settings& s) {
           return "Bacon, " + std::to_string(integerOf(s, "letters", kBaconLetters)) + " letters" +
                  (flagOf(s, "digits") ? ", 0 and 1" : "");
         }},
    {.name = "polybius",
     .caption = "Polybius square",
     .page = kMorePage,
     .summary = "Each letter as its row and column, 1 to 5, in the square of 25 (I for J), the "
                "letters of --key first; -d takes pairs of digits split by anything",
     .example = "zembrax-cli polybius --key zembrax -d pairs.txt",
     .ways = Ways::inversePair,
     .options = kPolybiusOptions,
     .run = throughStream<polybiusStream>,
     .stream = polybiusStream,
     .accepts = whenShaped<shapes::isPolybius>,
     // Decoding gives capitals, and I for J: the letters after J come back
     // as they were.
     .samples =
         [] {
           return std::vector<Sample>{{{}, 'K', 'Z'},
                                      {{{"key", std::string("Zembrax")}}, 'K', 'Z'}};
         },
     .describe =
         [](const Settings& s) {
           const std::string key = textOf(s, "key");
           return key.empty() ? std::string("Polybius square") : "Polybius square key " + key;
         }},
    {.name = "phone",
     .caption = "Phone keypad",
     .page = kMorePage,
     .summary = "Each letter as the presses of its key on a phone (ABC on 2 ... WXYZ on 9), a "
                "space as 0; -d gives capitals, and other bytes stay both ways",
     .example = "zembrax-cli phone -d presses.txt",
     .ways = Ways::inversePair,
     .run =
         [](Coders, const Settings&, Direction d, std::string text) {
           return forms::readAll(*puzzle::phoneKeypad(decoding(d)), std::move(text));
         },
     .stream = [](const Settings&, Direction d) { return puzzle::phoneKeypad(decoding(d)); },
     .accepts = whenShaped<puzzle::isPhoneKeypad>,
     // Decoding gives capitals.
     .samples =
         [] {
           return std::vector<Sample>{{{}, 'A', 'Z'}};
         }},
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

bool encodes(const Method& method) {
  return method.ways != Ways::decodeOnly;
}

bool decodes(const Method& method) {
  return method.ways != Ways::encodeOnly;
}

Direction undoing(const Method& method) {
  return method.ways == Ways::inversePair || method.ways == Ways::decodeOnly ? Direction::decode
                                                                             : Direction::encode;
}

bool mapsSignForSign(const Method& method) {
  // Letters, digits, a space and signs: every encoding writes some of them
  // longer.
  const std::string probe = "Zembrax, 2026!";
  OwnCoders coders;
  return method.run(coders.all(), method.samples().front().settings, Direction::encode, probe)
             .size() == probe.size();
}

std::string describe(const Method& method, const Settings& settings) {
  return method.describe != nullptr ? method.describe(settings) : std::string(method.caption);
}

std::string commandOptions(const Settings& settings) {
  std::string command;
  for (const Setting& setting : settings) {
    const std::string name = "--" + std::string(setting.name);
    const std::string space = command.empty() ? "" : " ";
    if (const auto* integer = std::get_if<std::int32_t>(&setting.value)) {
      command += space + name + " " + std::to_string(*integer);
    } else if (const auto* flag = std::get_if<bool>(&setting.value)) {
      command += *flag ? space + name : std::string();
    } else {
      command += space + name + " " + std::get<std::string>(setting.value);
    }
  }
  return command;
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
