// Letters as the presses that type them on a phone's keypad, as texts were
// typed before phones had keyboards: ABC on 2, DEF on 3 ... WXYZ on 9.

#include <array>
#include <string>

#include "Ascii.h"
#include "puzzle/Puzzle.h"

namespace puzzle {

namespace {

// The key of each letter, and how many presses it takes there.
struct Press {
  char key;
  int times;
};

constexpr std::array<Press, 26> kPresses = [] {
  constexpr std::string_view kKeys[] = {"abc", "def", "ghi", "jkl", "mno", "pqrs", "tuv", "wxyz"};
  std::array<Press, 26> presses{};
  for (int key = 0; key < 8; ++key)
    for (std::size_t at = 0; at < kKeys[key].size(); ++at)
      presses[static_cast<std::size_t>(kKeys[key][at] - 'a')] = {static_cast<char>('2' + key),
                                                                 static_cast<int>(at) + 1};
  return presses;
}();

// The letters on `key` ('2' to '9'), in their order.
constexpr std::string_view lettersOn(char key) {
  constexpr std::string_view kLetters[] = {"ABC", "DEF",  "GHI", "JKL",
                                           "MNO", "PQRS", "TUV", "WXYZ"};
  return kLetters[key - '2'];
}

constexpr bool isLetterKey(char c) {
  return c >= '2' && c <= '9';
}

// Each letter as its presses, a space as 0, a space between two of them;
// every other byte stays.
class Encoder final : public StreamCoder {
 public:
  std::string feed(std::string piece) override {
    std::string out;
    out.reserve(piece.size() * 3);
    for (const char c : piece) {
      const unsigned char index = ascii::letterIndex(c);
      const bool coded = index < 26 || c == ' ';
      if (coded && afterCode) out += ' ';
      if (index < 26)
        out.append(static_cast<std::size_t>(kPresses[index].times), kPresses[index].key);
      else
        out += c == ' ' ? '0' : c;
      afterCode = coded;
    }
    return out;
  }

 private:
  bool afterCode = false;
};

// A run of presses of one key 2 to 9 becomes its capital (a run longer than
// the key's letters goes round them, one letter a turn), a 0 a space, and
// the spaces between them go; every other byte stays. The run that a piece
// ends in is held.
class Decoder final : public StreamCoder {
 public:
  std::string feed(std::string piece) override {
    std::string out;
    out.reserve(piece.size());
    for (const char c : piece) {
      if (isLetterKey(c) && c == key && presses < lettersOn(key).size()) {
        ++presses;
        continue;
      }
      endRun(out);
      if (isLetterKey(c)) {
        key = c;
        presses = 1;
      } else if (c != ' ') {
        out += c == '0' ? ' ' : c;
      }
    }
    return out;
  }

  std::string finish() override {
    std::string out;
    endRun(out);
    return out;
  }

 private:
  void endRun(std::string& out) {
    if (presses > 0) out += lettersOn(key)[presses - 1];
    presses = 0;
  }

  char key = 0;
  std::size_t presses = 0;
};

}  // namespace

std::unique_ptr<StreamCoder> phoneKeypad(bool decoding) {
  if (decoding) return std::make_unique<Decoder>();
  return std::make_unique<Encoder>();
}

bool isPhoneKeypad(std::string_view text) {
  // Fewer presses than this say too little: "2 22" is as much a list of
  // numbers.
  constexpr std::size_t kLeastLetters = 4;
  // The share of its signs that are presses (2 to 9, and 0 for a space):
  // punctuation and digits 1 pass through, but a list of numbers has far
  // more of them.
  constexpr double kPressShare = 0.6;
  std::size_t letters = 0, presses = 0, signs = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    const char c = text[at];
    std::size_t end = at;
    while (end < text.size() && text[end] == c)
      ++end;
    if (ascii::isLetter(c)) return false;
    if (isLetterKey(c)) {
      if (end - at > lettersOn(c).size()) return false;
      ++letters;
    }
    if (!ascii::isWhitespace(c)) signs += end - at;
    if (isLetterKey(c) || c == '0') presses += end - at;
    at = end;
  }
  return letters >= kLeastLetters &&
         static_cast<double>(presses) >= kPressShare * static_cast<double>(signs);
}

}  // namespace puzzle
