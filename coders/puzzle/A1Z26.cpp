// Letters as their numbers in the alphabet, A = 1 to Z = 26.

#include <string>
#include <utility>

#include "Ascii.h"
#include "puzzle/Puzzle.h"

namespace puzzle {

namespace {

// The separator where none is given.
constexpr std::string_view kDefaultSeparator = "-";

std::string separatorOr(std::string separator) {
  return separator.empty() ? std::string(kDefaultSeparator) : std::move(separator);
}

// Each letter as its number, the separator between two letters in a row.
class Encoder final : public StreamCoder {
 public:
  explicit Encoder(std::string separator) : separator(separatorOr(std::move(separator))) {}

  std::string feed(std::string piece) override {
    std::string out;
    out.reserve(piece.size() * 2);
    for (const char c : piece) {
      const unsigned char index = ascii::letterIndex(c);
      if (index < 26) {
        if (afterLetter) out += separator;
        out += std::to_string(index + 1);
      } else {
        out += c;
      }
      afterLetter = index < 26;
    }
    return out;
  }

 private:
  std::string separator;
  bool afterLetter = false;
};

// A run of one or two digits worth 1 to 26 becomes its capital, and the
// separator between two such runs goes; every other byte stays. What may
// still turn out to be a separator, and the digits of a run, are held.
class Decoder final : public StreamCoder {
 public:
  explicit Decoder(std::string separator) : separator(separatorOr(std::move(separator))) {}

  std::string feed(std::string piece) override {
    std::string out;
    out.reserve(piece.size());
    for (const char c : piece) {
      if (ascii::isDigit(c)) {
        if (longRun) {
          out += c;
          continue;
        }
        run += c;
        // Three digits or more make no letter: they go as they are.
        longRun = run.size() > 2;
        if (longRun) flush(out);
        continue;
      }
      longRun = false;
      if (!run.empty()) endRun(out);
      if (afterLetter && separator.starts_with(std::string_view(gap + c))) {
        gap += c;
      } else {
        flush(out);
        out += c;
      }
    }
    return out;
  }

  std::string finish() override {
    std::string out;
    if (!run.empty()) endRun(out);
    flush(out);
    return out;
  }

 private:
  void endRun(std::string& out) {
    const int number = run.size() == 1 ? run[0] - '0' : (run[0] - '0') * 10 + (run[1] - '0');
    if (number < 1 || number > 26) {
      flush(out);
      return;
    }
    if (!afterLetter || gap != separator) out += gap;
    out += static_cast<char>('A' + number - 1);
    gap.clear();
    run.clear();
    afterLetter = true;
  }

  // Writes what is held as it is.
  void flush(std::string& out) {
    out += gap;
    out += run;
    gap.clear();
    run.clear();
    afterLetter = false;
  }

  std::string separator;
  std::string gap;
  std::string run;
  bool afterLetter = false;
  bool longRun = false;
};

}  // namespace

std::unique_ptr<StreamCoder> toA1Z26(std::string separator) {
  return std::make_unique<Encoder>(std::move(separator));
}

std::unique_ptr<StreamCoder> fromA1Z26(std::string separator) {
  return std::make_unique<Decoder>(std::move(separator));
}

}  // namespace puzzle
