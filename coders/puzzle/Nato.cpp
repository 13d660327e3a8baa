// The ICAO spelling alphabet: a word for each letter and digit.

#include <algorithm>
#include <array>
#include <string_view>

#include "Ascii.h"
#include "puzzle/Puzzle.h"

namespace puzzle {

namespace {

constexpr std::array<std::string_view, 26> kLetterWords = {
    "Alfa",    "Bravo", "Charlie", "Delta",  "Echo",     "Foxtrot", "Golf",   "Hotel",  "India",
    "Juliett", "Kilo",  "Lima",    "Mike",   "November", "Oscar",   "Papa",   "Quebec", "Romeo",
    "Sierra",  "Tango", "Uniform", "Victor", "Whiskey",  "X-ray",   "Yankee", "Zulu"};
constexpr std::array<std::string_view, 10> kDigitWords = {"Zero", "One", "Two",   "Three", "Four",
                                                          "Five", "Six", "Seven", "Eight", "Nine"};

struct Spelling {
  std::string_view word;
  char sign;
};
// The other spellings that people write.
constexpr Spelling kVariants[] = {
    {"Alpha", 'A'}, {"Juliet", 'J'}, {"Xray", 'X'}, {"Whisky", 'W'}, {"Niner", '9'}};

// The longest word of any spelling: a longer word is none.
constexpr std::size_t kLongestWord = 8;

bool sameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return (x | 0x20) == (y | 0x20) && (ascii::isLetter(x) || x == y);
         });
}

}  // namespace

char natoSign(std::string_view word) {
  for (std::size_t i = 0; i < kLetterWords.size(); ++i)
    if (sameLetters(word, kLetterWords[i])) return static_cast<char>('A' + i);
  for (std::size_t i = 0; i < kDigitWords.size(); ++i)
    if (sameLetters(word, kDigitWords[i])) return static_cast<char>('0' + i);
  for (const Spelling& variant : kVariants)
    if (sameLetters(word, variant.word)) return variant.sign;
  return 0;
}

namespace {

// The words split by a space; a space of the text is "/", a line break
// stays one, and every other byte is a word of its own.
class Encoder final : public StreamCoder {
 public:
  std::string feed(std::string piece) override {
    std::string out;
    out.reserve(piece.size() * 7);
    for (const char c : piece) {
      const bool lineBreak = ascii::isWhitespace(c) && c != ' ';
      if (lineBreak) {
        out += c;
      } else {
        if (afterWord) out += ' ';
        const unsigned char index = ascii::letterIndex(c);
        if (index < 26) {
          out += kLetterWords[index];
        } else if (ascii::isDigit(c)) {
          out += kDigitWords[static_cast<std::size_t>(c - '0')];
        } else {
          out += c == ' ' ? '/' : c;
        }
      }
      afterWord = !lineBreak;
    }
    return out;
  }

 private:
  bool afterWord = false;
};

// Words split by whitespace: a spelling gives its capital or digit, "/" a
// space, and any other word stays as it is. Spaces go; other whitespace
// stays.
class Decoder final : public StreamCoder {
 public:
  std::string feed(std::string piece) override {
    std::string out;
    out.reserve(piece.size() / 4 + kLongestWord);
    for (const char c : piece) {
      if (ascii::isWhitespace(c)) {
        endWord(out);
        if (c != ' ') out += c;
      } else if (word.size() < kLongestWord) {
        word += c;
      } else {
        // Too long for a spelling: it goes as it is.
        out += word;
        out += c;
        word.clear();
        longWord = true;
      }
    }
    return out;
  }

  std::string finish() override {
    std::string out;
    endWord(out);
    return out;
  }

 private:
  void endWord(std::string& out) {
    const char sign = longWord ? '\0' : natoSign(word);
    if (sign != '\0') {
      out += sign;
    } else {
      out += !longWord && word == "/" ? std::string(" ") : word;
    }
    word.clear();
    longWord = false;
  }

  std::string word;
  bool longWord = false;
};

}  // namespace

std::unique_ptr<StreamCoder> toNato() {
  return std::make_unique<Encoder>();
}

std::unique_ptr<StreamCoder> fromNato() {
  return std::make_unique<Decoder>();
}

}  // namespace puzzle
