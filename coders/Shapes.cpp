#include "Shapes.h"

#include <algorithm>
#include <array>
#include <map>
#include <string>

#include "Ascii.h"
#include "ByteMap.h"
#include "puzzle/Puzzle.h"

namespace shapes {

namespace {

constexpr std::string_view kWhitespace = " \t\n\v\f\r";
constexpr std::string_view kHexDigits = "0123456789ABCDEFabcdef";
// What may stand between the numbers of a list: whitespace, commas and the
// like.
constexpr std::string_view kListSeparators = " \t\n\v\f\r,;:";
// The shares of a text's kinds of bytes are taken from this much of its
// start, which says as much as the whole of a long text, and a hundredth of
// the time.
constexpr std::size_t kShareBytes = 16 << 10;
// A text of fewer signs than this is too short to say what made it.
constexpr std::size_t kLeastSigns = 6;
// A text is taken for mostly letters when this share of its signs, or
// more, are letters: running text has some 80 %, a flag with digits for
// letters less.
constexpr double kLetterShare = 0.6;
// A text is taken for ROT47's when ROT47 makes this share of its signs
// letters, this share more than it has, and this share of its signs are
// punctuation: ROT47 writes letters as digits, punctuation and letters of
// the other half, some 20 % to 40 % of them punctuation, while numbers and
// Base64 have next to none.
constexpr double kRot47LetterShare = 0.6;
constexpr double kRot47Gain = 0.2;
constexpr double kRot47MarkShare = 0.1;
// Base58 is tried on words of up to this many digits: a key or an address
// is some fifty, a flag a hundred, and decoding 4 KiB takes a millisecond.
constexpr std::size_t kLongestBase58 = 4 << 10;
// A text is taken for Morse code when this share of its non-whitespace
// bytes, or more, are dots and dashes.
constexpr double kMorseShare = 0.8;

// The bytes of `of` as a table: a text of a megabyte is tested byte by
// byte, and a search of `of` for each byte takes most of the time.
std::array<bool, 256> tableOf(std::string_view of) {
  std::array<bool, 256> table{};
  for (const char c : of)
    table[static_cast<unsigned char>(c)] = true;
  return table;
}

// Whether every byte of `text` is one of `allowed` or whitespace.
bool onlyOf(std::string_view text, std::string_view allowed) {
  const std::array<bool, 256> in = tableOf(allowed);
  return std::all_of(text.begin(), text.end(), [&in](char c) {
    return ascii::isWhitespace(c) || in[static_cast<unsigned char>(c)];
  });
}

std::size_t countOf(std::string_view text, std::string_view of) {
  const std::array<bool, 256> in = tableOf(of);
  return static_cast<std::size_t>(std::count_if(
      text.begin(), text.end(), [&in](char c) { return in[static_cast<unsigned char>(c)]; }));
}

// The bytes of `text` that are no whitespace.
std::size_t signsOf(std::string_view text) {
  return text.size() - countOf(text, kWhitespace);
}

// Whether `text` has words (between runs of `separators`) and `holds` for
// every one of them.
template <typename Test>
bool allWords(std::string_view text, Test holds, std::string_view separators = kListSeparators) {
  const std::array<bool, 256> separator = tableOf(separators);
  const auto separates = [&separator](char c) { return separator[static_cast<unsigned char>(c)]; };
  bool any = false;
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && separates(text[at]))
      ++at;
    std::size_t end = at;
    while (end < text.size() && !separates(text[end]))
      ++end;
    if (end > at) {
      if (!holds(text.substr(at, end - at))) return false;
      any = true;
    }
    at = end;
  }
  return any;
}

// Whether `word` is the decimal number of a byte, signed or not
// (-128..255), so that reading it loses nothing.
bool isByteNumber(std::string_view word) {
  const std::size_t sign = !word.empty() && (word[0] == '-' || word[0] == '+') ? 1 : 0;
  const std::string_view digits = word.substr(sign);
  if (digits.empty() || digits.size() > 3 || !onlyOf(digits, "0123456789")) return false;
  const int value = (sign == 1 && word[0] == '-' ? -1 : 1) * std::stoi(std::string(digits));
  return value >= -128 && value <= 255;
}

// `word` without the prefix that names its base ("0x", "\x", "0b").
std::string_view unprefixed(std::string_view word, char base) {
  const bool prefixed = word.size() > 2 && (word[0] == '0' || word[0] == '\\') &&
                        (word[1] == base || word[1] == base - 32);
  return prefixed ? word.substr(2) : word;
}

bool isHexWord(std::string_view word) {
  std::size_t digits = 0;
  for (std::size_t at = 0; at < word.size();) {
    const std::string_view rest = unprefixed(word.substr(at), 'x');
    at = word.size() - rest.size();
    if (kHexDigits.find(word[at]) == std::string_view::npos) return false;
    ++digits;
    ++at;
  }
  return digits % 2 == 0;
}

// Whether the `equals` padding signs of `text`, if any, stand at its end
// and fill its last group of `group` digits.
bool padsItsEnd(std::string_view text, std::size_t equals, std::size_t digits, std::size_t group) {
  const std::size_t lastSign = text.find_last_not_of(kWhitespace);
  const std::size_t firstEquals = text.find('=');
  return equals == 0 || (firstEquals + equals > lastSign && (digits + equals) % group == 0);
}

constexpr std::string_view kBase64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/-_=";
constexpr std::string_view kZ85Digits =
    "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ.-:+=^!/*?&<>()[]{}@%$#";
// A text of fewer letters than this is taken for no A1Z26, spelling
// alphabet or Bacon.
constexpr std::size_t kFewestLetters = 2;
// A text is taken for the spelling alphabet when this share of its words,
// or more, are spelled letters; for A1Z26 when this share of its numbers,
// or more, are 1 to 26 (a flag's digits among its letters run into their
// numbers).
constexpr double kSpelledShare = 0.9;
constexpr double kNumberedShare = 0.6;

// After this many words, a text of the spelling alphabet has at least as
// many spelled as not.
constexpr std::size_t kFirstWords = 20;

// A Polybius square's text of fewer pairs than this is taken for numbers of
// another kind.
constexpr std::size_t kFewestPairs = 4;

// Whether `text` is Base85 of `digits` alone, broken by line breaks and no
// spaces, and of a count of digits (`groups` of a 'z' each counting as a
// whole group) that no group of one ends. It must have a letter and a sign
// that neither Base64 nor percent escapes have, and be no list of binary
// digits or hexadecimal bytes.
bool isBase85(std::string_view text, std::string_view digits, std::size_t groups = 0) {
  if (text.find(' ') != std::string_view::npos || !onlyOf(text, digits)) return false;
  const std::size_t signs = signsOf(text) - groups;
  static const std::array<bool, 256> base64 = tableOf(kBase64Alphabet);
  const bool beyondBase64 = std::any_of(text.begin(), text.end(), [](char c) {
    return !ascii::isWhitespace(c) && c != '%' && !base64[static_cast<unsigned char>(c)];
  });
  return signs + groups >= 5 && signs % 5 != 1 && beyondBase64 &&
         std::any_of(text.begin(), text.end(), ascii::isLetter) && !isBinaryOrMorse(text) &&
         !isHexBytes(text);
}

}  // namespace

std::vector<std::int32_t> binaryWidths(std::string_view text) {
  if (!allWords(text, [](std::string_view word) { return onlyOf(unprefixed(word, 'b'), "01"); }))
    return {};
  const std::size_t digits = countOf(text, "01") - countOf(text, "bB");
  bool longRuns = false;
  allWords(text, [&longRuns](std::string_view word) {
    longRuns = longRuns || unprefixed(word, 'b').size() > 8;
    return true;
  });
  std::vector<std::int32_t> widths;
  if (!longRuns || digits % 8 == 0 || digits % 7 != 0) widths.push_back(8);
  if (longRuns && digits % 7 == 0) widths.push_back(7);
  return widths;
}

bool isMorse(std::string_view text) {
  const std::size_t signs = signsOf(text);
  return signs > 0 && binaryWidths(text).empty() &&
         static_cast<double>(countOf(text, ".-/")) >= kMorseShare * static_cast<double>(signs);
}

bool isBinaryOrMorse(std::string_view text) {
  return !binaryWidths(text).empty() || isMorse(text);
}

bool isDecimalBytes(std::string_view text) {
  return !isBinaryOrMorse(text) && allWords(text, isByteNumber);
}

bool isHexBytes(std::string_view text) {
  return !isBinaryOrMorse(text) && allWords(text, isHexWord);
}

bool isBase64(std::string_view text) {
  if (isBinaryOrMorse(text)) return false;
  const std::size_t equals = countOf(text, "=");
  const std::size_t digits = signsOf(text) - equals;
  if (digits < 4 || !onlyOf(text, kBase64Alphabet) || digits % 4 == 1 || equals > 2) return false;
  return padsItsEnd(text, equals, digits, 4);
}

bool isOctalBytes(std::string_view text) {
  return !isBinaryOrMorse(text) && allWords(text, [](std::string_view word) {
    return word.size() <= 3 && onlyOf(word, "01234567") && (word.size() < 3 || word[0] <= '3');
  });
}

bool isBase32(std::string_view text) {
  if (isBinaryOrMorse(text)) return false;
  const std::size_t equals = countOf(text, "=");
  const std::size_t digits = signsOf(text) - equals;
  // The digits of a last group that its bits fill.
  constexpr std::string_view kWhole = "10101101";
  if (digits < 8 || !onlyOf(text, "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567=") || kWhole[digits % 8] != '1')
    return false;
  return padsItsEnd(text, equals, digits, 8);
}

bool isBase58(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kWhitespace);
  const std::size_t last = text.find_last_not_of(kWhitespace);
  if (first == std::string_view::npos) return false;
  const std::string_view word = text.substr(first, last - first + 1);
  const auto any = [word](std::string_view of) { return countOf(word, of) > 0; };
  return word.size() >= kLeastSigns && word.size() <= kLongestBase58 &&
         std::none_of(word.begin(), word.end(), ascii::isWhitespace) &&
         onlyOf(word, puzzle::kBase58Digits) && any("123456789") &&
         any("ABCDEFGHJKLMNPQRSTUVWXYZ") && any("abcdefghijkmnopqrstuvwxyz");
}

bool isUrlEncoded(std::string_view text) {
  if (isBinaryOrMorse(text)) return false;
  std::size_t escapes = 0;
  for (std::size_t i = text.find('%'); i != std::string_view::npos && i + 2 < text.size();
       i = text.find('%', i + 1)) {
    escapes += kHexDigits.find(text[i + 1]) != std::string_view::npos &&
                       kHexDigits.find(text[i + 2]) != std::string_view::npos
                   ? 1
                   : 0;
  }
  return escapes > 0 && escapes * 2 >= countOf(text, "%");
}

bool isRot47(std::string_view text) {
  text = text.substr(0, kShareBytes);
  // ROT47 moves '!' to '~' and leaves every other byte, UTF-8's among them.
  const auto moved = [](char c) { return c >= '!' && c <= '~'; };
  const auto letterAfter = [](char c) { return ascii::isLetter(tables::rot47Byte(c)); };
  if (!std::all_of(text.begin(), text.end(), [&moved](char c) {
        return moved(c) || ascii::isWhitespace(c) || static_cast<unsigned char>(c) >= 0x80;
      }))
    return false;
  const auto count = [text](auto test) {
    return static_cast<double>(std::count_if(text.begin(), text.end(), test));
  };
  const double signs = count(moved);
  const double letters = count(ascii::isLetter), lettersAfter = count(letterAfter);
  const double marks =
      count([&moved](char c) { return moved(c) && !ascii::isLetter(c) && !ascii::isDigit(c); });
  return signs >= kLeastSigns && lettersAfter >= kRot47LetterShare * signs &&
         lettersAfter >= letters + kRot47Gain * signs && marks >= kRot47MarkShare * signs;
}

bool isMostlyLetters(std::string_view text) {
  text = text.substr(0, kShareBytes);
  const std::size_t signs = signsOf(text);
  const auto letters =
      static_cast<std::size_t>(std::count_if(text.begin(), text.end(), ascii::isLetter));
  return signs >= kLeastSigns && letters >= kLetterShare * static_cast<double>(signs);
}

bool isBackwards(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kWhitespace);
  const std::size_t last = text.find_last_not_of(kWhitespace);
  // Bacon's groups backwards are other groups of its signs.
  if (first == std::string_view::npos || !baconSigns(text).empty()) return false;
  const std::string_view signs = text.substr(first, last - first + 1);
  const bool wrapper = signs.front() == '}' && signs.find('{') != std::string_view::npos &&
                       signs.back() != '{' && signs.find('{') > signs.rfind('}');
  const std::size_t body = signs.find_first_not_of('=');
  const bool padding = body > 0 && body != std::string_view::npos && isBase64(signs.substr(body));
  return wrapper || padding || isMostlyLetters(text);
}

bool isAscii85(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kWhitespace);
  const std::size_t last = text.find_last_not_of(kWhitespace);
  const bool wrapped = first != std::string_view::npos && last >= first + 3 &&
                       text.substr(first, 2) == "<~" && text.substr(last - 1, 2) == "~>";
  std::string digits;
  for (char c = '!'; c <= 'u'; ++c)
    digits += c;
  digits += 'z';
  if (wrapped) return onlyOf(text.substr(first + 2, last - first - 3), digits);
  return isBase85(text, digits, countOf(text, "z"));
}

bool isZ85(std::string_view text) {
  return isBase85(text, kZ85Digits);
}

std::optional<std::string> a1z26Separator(std::string_view text) {
  if (std::any_of(text.begin(), text.end(), ascii::isLetter) || isBinaryOrMorse(text)) return {};
  std::size_t numbers = 0, letters = 0;
  std::map<std::string, std::size_t> gaps;
  std::size_t afterNumber = std::string_view::npos;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::min(text.size(), text.find_first_not_of("0123456789", at));
    if (end == at) {
      ++at;
      continue;
    }
    const std::string_view number = text.substr(at, end - at);
    ++numbers;
    const int value = number.size() <= 2 ? std::stoi(std::string(number)) : 0;
    letters += value >= 1 && value <= 26 ? 1 : 0;
    if (afterNumber != std::string_view::npos && at - afterNumber <= 3)
      ++gaps[std::string(text.substr(afterNumber, at - afterNumber))];
    afterNumber = end;
    at = end;
  }
  if (letters < kFewestLetters ||
      static_cast<double>(letters) < kNumberedShare * static_cast<double>(numbers) || gaps.empty())
    return {};
  const auto most = std::max_element(
      gaps.begin(), gaps.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
  // The coder's own separator is the one it takes when given none.
  return most->first == "-" ? std::string() : most->first;
}

bool isNato(std::string_view text) {
  std::size_t words = 0, spelled = 0;
  allWords(
      text,
      [&](std::string_view word) {
        // A sign of punctuation is a word of its own there.
        const bool sign = word.size() == 1 && !ascii::isLetter(word[0]) && !ascii::isDigit(word[0]);
        words += sign ? 0 : 1;
        spelled += puzzle::natoSign(word) != '\0' ? 1 : 0;
        // Ordinary text gives itself away within its first words.
        return words < kFirstWords || 2 * spelled >= words;
      },
      kWhitespace);
  return spelled >= kFewestLetters &&
         static_cast<double>(spelled) >= kSpelledShare * static_cast<double>(words);
}

std::string_view baconSigns(std::string_view text) {
  const bool groups = allWords(
      text, [](std::string_view word) { return word.size() % 5 == 0; }, kWhitespace);
  if (!groups || signsOf(text) < 5 * kFewestLetters) return {};
  if (onlyOf(text, "ABab")) return "AB";
  return onlyOf(text, "01") ? "01" : "";
}

bool isPolybius(std::string_view text) {
  return allWords(
             text,
             [](std::string_view word) { return word.size() % 2 == 0 && onlyOf(word, "12345"); }) &&
         countOf(text, "12345") >= 2 * kFewestPairs && !isBinaryOrMorse(text);
}

}  // namespace shapes
