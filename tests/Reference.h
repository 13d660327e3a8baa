#ifndef ZEMBRAX_TESTS_REFERENCE_H_
#define ZEMBRAX_TESTS_REFERENCE_H_

// Plain, slow versions of every coder operation, written step by step from
// the description of each method and sharing no code with the coders, for
// the kernel test and the fuzz targets to compare against.

#include <algorithm>
#include <cstdint>
#include <locale>
#include <sstream>
#include <string>
#include <string_view>

namespace reference {

inline bool isLetter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

inline bool isSpace(unsigned char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

inline std::string caesarShift(std::string text, std::int32_t shift) {
  if (shift >= 26 || shift <= -26) shift %= 26;
  for (char& ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (!isLetter(c)) continue;
    const int upper = c >= 'a' ? c - 32 : c;
    int moved = c;
    if (upper + shift > 'Z') {
      moved -= 26;
    } else if (upper + shift < 'A') {
      moved += 26;
    }
    ch = static_cast<char>(moved + shift);
  }
  return text;
}

inline std::string caesarShiftFull(std::string text, std::int32_t shift) {
  if (shift >= 255 || shift <= -255) shift %= 255;
  for (char& ch : text) {
    int v = static_cast<unsigned char>(ch) + shift;
    if (v > 255) {
      v -= 255;
    } else if (v < 1) {
      v += 255;
    }
    ch = static_cast<char>(v);
  }
  return text;
}

inline std::string vigenere(std::string text, std::string key, int direction) {
  if (key.empty()) return text;
  for (char& k : key) {
    if (!isLetter(static_cast<unsigned char>(k))) k = 'A';
  }
  std::size_t position = 0;
  for (char& ch : text) {
    if (position > key.size() - 1) position = 0;
    const auto c = static_cast<unsigned char>(ch);
    if (!isLetter(c)) continue;
    const auto keyByte = static_cast<unsigned char>(key[position]);
    const int k = (keyByte >= 'a' ? keyByte - 32 : keyByte) - 'A';
    const int upper = c >= 'a' ? c - 32 : c;
    int moved = c;
    if (direction == 0) {
      if (upper + k > 'Z') moved -= 26;
      moved += k;
    } else {
      if (upper - k < 'A') moved += 26;
      moved -= k;
    }
    ch = static_cast<char>(moved);
    ++position;
  }
  return text;
}

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

inline int base64Index(unsigned char c) {
  for (int p = 0; p < 64; ++p) {
    if (static_cast<unsigned char>(kAlphabet[p]) == c) return p;
  }
  return 0;
}

inline std::string base64Encode(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); i += 3) {
    const std::size_t bytes = std::min<std::size_t>(3, text.size() - i);
    unsigned char b[3] = {0, 0, 0};
    for (std::size_t j = 0; j < bytes; ++j)
      b[j] = static_cast<unsigned char>(text[i + j]);
    char group[4] = {kAlphabet[b[0] >> 2], kAlphabet[((b[0] & 0x03) << 4) | (b[1] >> 4)],
                     kAlphabet[((b[1] & 0x0F) << 2) | (b[2] >> 6)], kAlphabet[b[2] & 0x3F]};
    if (bytes == 2) group[3] = '=';
    if (bytes == 1) group[2] = group[3] = '=';
    out.append(group, 4);
  }
  return out;
}

// With whitespace skipped, as the decoder does.
inline std::string base64Decode(const std::string& text) {
  std::string out;
  std::string group;
  for (char c : text) {
    if (isSpace(static_cast<unsigned char>(c))) continue;
    group += c;
    if (group.size() < 4) continue;
    int x[4];
    for (int j = 0; j < 4; ++j)
      x[j] = base64Index(static_cast<unsigned char>(group[j]));
    const int bytes[3] = {(x[0] << 2) | (x[1] >> 4), ((x[1] << 4) | (x[2] >> 2)) & 0xFF,
                          ((x[2] << 6) | x[3]) & 0xFF};
    for (int b : bytes) {
      if (b == 0) break;
      out += static_cast<char>(b);
    }
    group.clear();
  }
  return out;
}

inline std::string substitute(std::string text, const std::string& from, const std::string& to) {
  const std::size_t pairs = std::min(from.size(), to.size());
  for (char& c : text) {
    for (std::size_t j = 0; j < pairs; ++j) {
      if (from[j] == c) {
        c = to[j];
        break;
      }
    }
  }
  return text;
}

inline bool needsEscape(unsigned char c) {
  return !isLetter(c) && !(c >= '0' && c <= '9');
}

inline std::string urlEncode(const std::string& text) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (needsEscape(c)) {
      out += '%';
      out += digits[c >> 4];
      out += digits[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// Lower-case "a" to "f" read as hex digits too.
inline int hexValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 32;
}

inline std::string urlDecode(const std::string& text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '%') {
      if (++i == text.size()) break;
      const int h = hexValue(static_cast<unsigned char>(text[i]));
      if (++i == text.size()) break;
      const int l = hexValue(static_cast<unsigned char>(text[i]));
      out += static_cast<char>((h * 16 + l) % 256);
    } else {
      out += text[i];
    }
    ++i;
  }
  return out;
}

inline std::string toBinary(const std::string& text, int width) {
  std::string out;
  for (unsigned char c : text) {
    for (int bit = width - 1; bit >= 0; --bit)
      out += (c >> bit) & 1 ? '1' : '0';
  }
  return out;
}

inline std::string fromBinary(const std::string& text, int width) {
  std::string out;
  for (std::size_t g = 0; g + width <= text.size(); g += width) {
    int value = 0;
    for (int j = 0; j < width; ++j) {
      if (text[g + j] == '1') value += 1 << (width - 1 - j);
    }
    out += static_cast<char>(value);
  }
  return out;
}

inline std::string toDecimal(const std::string& text) {
  std::string out;
  for (char c : text)
    out += std::to_string(static_cast<signed char>(c)) + ' ';
  return out;
}

// Numbers read as a stream reads ints, except that a number beyond 32 bits
// still gives its low eight bits.
inline std::string fromDecimal(const std::string& text) {
  std::string out;
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && isSpace(static_cast<unsigned char>(text[i])))
      ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size() || text[i] < '0' || text[i] > '9') break;
    unsigned lowByte = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      lowByte = (lowByte * 10 + static_cast<unsigned>(text[i] - '0')) % 256;
    }
    out += static_cast<char>(negative ? (256 - lowByte) % 256 : lowByte);
  }
  return out;
}

inline std::string toHex(const std::string& text) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    out += digits[c >> 4];
    out += digits[c & 15];
    out += ' ';
  }
  return out;
}

struct Morse {
  char symbol;
  const char* code;
};

constexpr Morse kMorse[] = {
    {'A', ".-"},      {'B', "-..."},   {'C', "-.-."},    {'D', "-.."},    {'E', "."},
    {'F', "..-."},    {'G', "--."},    {'H', "...."},    {'I', ".."},     {'J', ".---"},
    {'K', "-.-"},     {'L', ".-.."},   {'M', "--"},      {'N', "-."},     {'O', "---"},
    {'P', ".--."},    {'Q', "--.-"},   {'R', ".-."},     {'S', "..."},    {'T', "-"},
    {'U', "..-"},     {'V', "...-"},   {'W', ".--"},     {'X', "-..-"},   {'Y', "-.--"},
    {'Z', "--.."},    {'1', ".----"},  {'2', "..---"},   {'3', "...--"},  {'4', "....-"},
    {'5', "....."},   {'6', "-...."},  {'7', "--..."},   {'8', "---.."},  {'9', "----."},
    {'0', "-----"},   {'/', "-..-."},  {'+', ".-.-."},   {'=', "-...-"},  {'.', ".-.-.-"},
    {',', "--..--"},  {'?', "..--.."}, {'(', "-.--."},   {')', "-.--.-"}, {'-', "-....-"},
    {'"', ".-..-."},  {'_', "..--.-"}, {'\'', ".----."}, {':', "---..."}, {';', "-.-.-."},
    {'$', "...-..-"},
};

inline std::string morseEncode(const std::string& text) {
  std::string out;
  for (char c : text) {
    const char folded = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    bool found = false;
    for (const Morse& m : kMorse) {
      if (m.symbol == folded) {
        out += m.code;
        out += ' ';
        found = true;
        break;
      }
    }
    if (!found) out += c;
  }
  return out;
}

// Words as a stream in the classic locale extracts them.
inline std::string morseDecode(const std::string& text) {
  std::istringstream stream(text);
  stream.imbue(std::locale::classic());
  std::string out;
  std::string word;
  while (stream >> word) {
    for (const Morse& m : kMorse) {
      if (word == m.code) {
        out += m.symbol;
        break;
      }
    }
  }
  return out;
}

inline std::string lsbExtract(const std::string& text) {
  std::string out;
  for (char c : text)
    out += (c & 1) ? '1' : '0';
  return out;
}

// The methods that puzzles use.

inline std::string rot47(std::string text) {
  for (char& c : text)
    if (c >= '!' && c <= '~') c = static_cast<char>('!' + (c - '!' + 47) % 94);
  return text;
}

inline std::string atbash(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>('z' - (c - 'a'));
    else if (c >= 'A' && c <= 'Z')
      c = static_cast<char>('Z' - (c - 'A'));
  }
  return text;
}

inline std::string reversed(std::string text) {
  return {text.rbegin(), text.rend()};
}

// RFC 4648 Base32, padded.
inline std::string base32(const std::string& bytes) {
  constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
  std::string out;
  std::uint64_t bits = 0;
  int count = 0;
  for (const char c : bytes) {
    bits = bits << 8 | static_cast<unsigned char>(c);
    count += 8;
    while (count >= 5) {
      out += kAlphabet[(bits >> (count - 5)) & 31];
      count -= 5;
    }
  }
  if (count > 0) out += kAlphabet[(bits << (5 - count)) & 31];
  while (out.size() % 8 != 0)
    out += '=';
  return out;
}

// Bitcoin's Base58: the bytes as one number in base 58, each leading zero
// byte a '1', worked out one byte at a time.
inline std::string base58(const std::string& bytes) {
  constexpr std::string_view kAlphabet =
      "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz";
  std::string digits;  // values, lowest first
  for (const char c : bytes) {
    int carry = static_cast<unsigned char>(c);
    for (char& digit : digits) {
      carry += 256 * digit;
      digit = static_cast<char>(carry % 58);
      carry /= 58;
    }
    for (; carry > 0; carry /= 58)
      digits += static_cast<char>(carry % 58);
  }
  std::string out;
  for (std::size_t i = 0; i < bytes.size() && bytes[i] == '\0'; ++i)
    out += '1';
  for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit)
    out += kAlphabet[static_cast<std::size_t>(*digit)];
  return out;
}

// Each key typed as the one to its right on a QWERTY keyboard, round the
// end of its row.
inline std::string keyboardShift(std::string text) {
  const std::string rows[] = {"1234567890", "qwertyuiop", "asdfghjkl", "zxcvbnm",
                              "QWERTYUIOP", "ASDFGHJKL",  "ZXCVBNM"};
  for (char& c : text) {
    for (const std::string& row : rows) {
      const std::size_t at = row.find(c);
      if (c != '\0' && at != std::string::npos) {
        c = row[(at + 1) % row.size()];
        break;
      }
    }
  }
  return text;
}

// RFC 4648 Base32 back, in either case: every other byte is skipped, and
// '=' ends a group, dropping the bits that make no whole byte.
inline std::string fromBase32(const std::string& text) {
  constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
  std::string out;
  std::uint64_t bits = 0;
  int count = 0;
  for (const char c : text) {
    const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    const std::size_t value = kAlphabet.find(upper);
    if (c == '=') count = 0;
    if (value == std::string_view::npos) continue;
    bits = bits << 5 | value;
    count += 5;
    if (count >= 8) {
      out += static_cast<char>(bits >> (count - 8));
      count -= 8;
    }
  }
  return out;
}

// Every byte as its octal number and a space.
inline std::string toOctal(const std::string& bytes) {
  std::ostringstream out;
  for (const char c : bytes)
    out << std::oct << static_cast<int>(static_cast<unsigned char>(c)) << ' ';
  return out.str();
}

// Every run of octal digits as its number modulo 256.
inline std::string fromOctal(const std::string& text) {
  std::string out;
  int number = -1;  // none open
  for (const char c : text) {
    if (c >= '0' && c <= '7') {
      number = (std::max(number, 0) * 8 + (c - '0')) % 256;
    } else if (number >= 0) {
      out += static_cast<char>(number);
      number = -1;
    }
  }
  if (number >= 0) out += static_cast<char>(number);
  return out;
}

// Base85: each four bytes as a number written in five digits of base 85,
// the highest first; a last group of n bytes, filled with zeros, as its
// first n + 1 digits. Adobe's Ascii85 writes a whole group of zeros as 'z'.
inline std::string base85(const std::string& bytes, std::string_view digits, bool adobe) {
  std::string out;
  for (std::size_t at = 0; at < bytes.size(); at += 4) {
    const std::size_t n = std::min<std::size_t>(4, bytes.size() - at);
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
      value = value * 256 + (i < n ? static_cast<unsigned char>(bytes[at + i]) : 0u);
    if (adobe && n == 4 && value == 0) {
      out += 'z';
      continue;
    }
    std::string group(5, ' ');
    for (std::size_t i = 5; i-- > 0; value /= 85)
      group[i] = digits[value % 85];
    out += group.substr(0, n + 1);
  }
  return out;
}

inline std::string ascii85(const std::string& bytes) {
  std::string digits;
  for (char c = '!'; c <= 'u'; ++c)
    digits += c;
  return base85(bytes, digits, true);
}

inline std::string z85(const std::string& bytes) {
  return base85(
      bytes,
      "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ.-:+=^!/*?&<>()[]{}@%$#",
      false);
}

// Each letter as its number in the alphabet, "-" between two letters that
// follow each other.
inline std::string a1z26(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (!isLetter(c)) {
      out += text[i];
      continue;
    }
    if (i > 0 && isLetter(static_cast<unsigned char>(text[i - 1]))) out += '-';
    out += std::to_string((c | 0x20) - 'a' + 1);
  }
  return out;
}

// Each letter and digit as its word of the ICAO alphabet, a space as "/",
// every other byte a word of its own; the words split by single spaces,
// except next to a line break (any whitespace but the space), which stays.
inline std::string nato(const std::string& text) {
  const std::string words[] = {
      "Alfa",    "Bravo", "Charlie", "Delta",  "Echo",     "Foxtrot", "Golf",   "Hotel",  "India",
      "Juliett", "Kilo",  "Lima",    "Mike",   "November", "Oscar",   "Papa",   "Quebec", "Romeo",
      "Sierra",  "Tango", "Uniform", "Victor", "Whiskey",  "X-ray",   "Yankee", "Zulu",   "Zero",
      "One",     "Two",   "Three",   "Four",   "Five",     "Six",     "Seven",  "Eight",  "Nine"};
  std::string out;
  bool afterWord = false;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (isSpace(c) && c != ' ') {
      out += ch;
      afterWord = false;
      continue;
    }
    if (afterWord) out += ' ';
    if (isLetter(c)) {
      out += words[(c | 0x20) - 'a'];
    } else if (c >= '0' && c <= '9') {
      out += words[26 + c - '0'];
    } else {
      out += c == ' ' ? '/' : ch;
    }
    afterWord = true;
  }
  return out;
}

// Bacon's cipher in the alphabet of 24 letters (I and J one letter, U and V
// one): each letter as the five A and B of its place, split by spaces.
inline std::string bacon(const std::string& text) {
  const std::string alphabet = "ABCDEFGHIKLMNOPQRSTUWXYZ";
  std::string out;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (!isLetter(c)) continue;
    char letter = static_cast<char>(c & 0xDF);
    letter = letter == 'J' ? 'I' : letter == 'V' ? 'U' : letter;
    const std::size_t place = alphabet.find(letter);
    if (!out.empty()) out += ' ';
    for (int bit = 4; bit >= 0; --bit)
      out += (place >> bit & 1) != 0 ? 'B' : 'A';
  }
  return out;
}

// The Polybius square without a key: each letter (J as I) as its row and
// column in ABCDE / FGHIK / LMNOP / QRSTU / VWXYZ, split by spaces.
inline std::string polybius(const std::string& text) {
  const std::string square = "ABCDEFGHIKLMNOPQRSTUVWXYZ";
  std::string out;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (!isLetter(c)) continue;
    const char letter = (c & 0xDF) == 'J' ? 'I' : static_cast<char>(c & 0xDF);
    const std::size_t cell = square.find(letter);
    if (!out.empty()) out += ' ';
    out += std::to_string(cell / 5 + 1) + std::to_string(cell % 5 + 1);
  }
  return out;
}

// A phone's keypad: each letter as its key pressed once for the key's
// first letter, twice for its second and so on; a space as 0; a space
// between two of these.
inline std::string phoneKeypad(const std::string& text) {
  const std::string keys[] = {"ABC", "DEF", "GHI", "JKL", "MNO", "PQRS", "TUV", "WXYZ"};
  std::string out;
  bool afterCode = false;
  for (const char c : text) {
    std::string code = c == ' ' ? "0" : "";
    for (std::size_t key = 0; key < 8; ++key) {
      const std::size_t at = keys[key].find(static_cast<char>(isLetter(c) ? c & 0xDF : 0));
      if (at != std::string::npos) code = std::string(at + 1, static_cast<char>('2' + key));
    }
    if (!code.empty() && afterCode) out += ' ';
    out += code.empty() ? std::string(1, c) : code;
    afterCode = !code.empty();
  }
  return out;
}

// The reference encoding of the method of the registry named `name`,
// without options, where one is written here; null where none is.
using Coding = std::string (*)(const std::string&);
inline Coding codingOf(std::string_view name) {
  if (name == "rot47") return [](const std::string& text) { return rot47(text); };
  if (name == "atbash") return [](const std::string& text) { return atbash(text); };
  if (name == "reverse") return [](const std::string& text) { return reversed(text); };
  if (name == "base32") return [](const std::string& text) { return base32(text); };
  if (name == "base58") return [](const std::string& text) { return base58(text); };
  if (name == "keyboard") return [](const std::string& text) { return keyboardShift(text); };
  if (name == "base85") return [](const std::string& text) { return ascii85(text); };
  if (name == "z85") return [](const std::string& text) { return z85(text); };
  if (name == "a1z26") return [](const std::string& text) { return a1z26(text); };
  if (name == "nato") return [](const std::string& text) { return nato(text); };
  if (name == "bacon") return [](const std::string& text) { return bacon(text); };
  if (name == "polybius") return [](const std::string& text) { return polybius(text); };
  if (name == "phone") return [](const std::string& text) { return phoneKeypad(text); };
  return nullptr;
}

}  // namespace reference

#endif  // ZEMBRAX_TESTS_REFERENCE_H_
