#include "WrittenForms.h"

#include <array>
#include <string_view>

#include "Ascii.h"
#include "char/HexTable.h"
#include "classic/Base64Table.h"
#include "kernels/Kernels.h"
#include "signal/MorseTable.h"

namespace forms {

namespace {

// Base64 characters that are no digit of the alphabet: skipped, or padding
// that ends a group.
constexpr unsigned char kSkipped = 0x80;
constexpr unsigned char kPadding = 0x81;

constexpr std::array<unsigned char, 256> kBase64Values = [] {
  std::array<unsigned char, 256> values = tables::base64Values(kSkipped, kSkipped);
  values['-'] = 62;
  values['_'] = 63;
  values['='] = kPadding;
  return values;
}();

class Base64Reader final : public StreamCoder {
 public:
  std::string feed(std::string piece) override {
    // Every four characters give three bytes at most, and the group left
    // open by the last piece three more.
    std::string out(piece.size() + 3, '\0');
    char* o = out.data();
    const std::size_t n = piece.size();
    for (std::size_t i = 0; i < n;) {
      if (count == 0) {
        // Whole groups of the standard alphabet, without a zero byte, at
        // the kernel's speed; it leaves everything else to the loop below.
        const kernels::Progress done = kernels::active().base64Decode(piece.data() + i, n - i, o);
        i += done.read;
        o += done.written;
        if (i == n) break;
      }
      const unsigned char value = kBase64Values[static_cast<unsigned char>(piece[i++])];
      if (value == kPadding) {
        o = endGroup(o);
      } else if (value != kSkipped) {
        group = group << 6 | value;
        if (++count == 4) {
          *o++ = static_cast<char>(group >> 16);
          *o++ = static_cast<char>(group >> 8);
          *o++ = static_cast<char>(group);
          group = 0;
          count = 0;
        }
      }
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
  }

  std::string finish() override {
    std::string out(2, '\0');
    out.resize(static_cast<std::size_t>(endGroup(out.data()) - out.data()));
    return out;
  }

 private:
  // Writes the bytes of a group cut short: two characters hold one byte,
  // three hold two, one holds none whole.
  char* endGroup(char* o) {
    if (count == 2) *o++ = static_cast<char>(group >> 4);
    if (count == 3) {
      *o++ = static_cast<char>(group >> 10);
      *o++ = static_cast<char>(group >> 2);
    }
    group = 0;
    count = 0;
    return o;
  }

  std::uint32_t group = 0;
  int count = 0;
};

// Reads numbers written as runs of digits between other characters, one
// character at a time; `Number` says what a digit adds and what a finished
// run gives.
template <typename Number>
class RunReader final : public StreamCoder {
 public:
  explicit RunReader(Number number) : number(number) {}

  std::string feed(std::string piece) override {
    std::string out;
    out.reserve(piece.size());
    for (const char c : piece)
      number.take(c, out);
    return out;
  }

  std::string finish() override {
    std::string out;
    number.end(out);
    return out;
  }

 private:
  Number number;
};

class BinaryDigits {
 public:
  explicit BinaryDigits(int width) : width(width) {}

  void take(char c, std::string& out) {
    if (c == '0' || c == '1') {
      value = value << 1 | static_cast<unsigned>(c - '0');
      zeroFirst = digits == 0 && c == '0' && !inRun;
      inRun = true;
      if (++digits == width) {
        out += static_cast<char>(value);
        value = 0;
        digits = 0;
      }
      return;
    }
    // "0b" names the base; the zero is no byte.
    if ((c == 'b' || c == 'B') && zeroFirst && digits == 1) {
      value = 0;
      digits = 0;
    }
    end(out);
  }

  void end(std::string& out) {
    if (digits > 0) out += static_cast<char>(value);
    value = 0;
    digits = 0;
    inRun = false;
    zeroFirst = false;
  }

 private:
  int width;
  unsigned value = 0;
  int digits = 0;      // of the group being read
  bool inRun = false;  // whether a run of digits is open
  bool zeroFirst = false;
};

class DecimalDigits {
 public:
  void take(char c, std::string& out) {
    if (ascii::isDigit(c)) {
      // Unsigned arithmetic wraps modulo 2^32, a multiple of 256, so the low
      // eight bits stay exact however long the number is.
      value = value * 10 + static_cast<std::uint32_t>(c - '0');
      digits = true;
      return;
    }
    end(out);
    negative = c == '-';
  }

  void end(std::string& out) {
    if (digits) out += static_cast<char>(negative ? 0u - value : value);
    value = 0;
    digits = false;
    negative = false;
  }

 private:
  std::uint32_t value = 0;
  bool digits = false;
  bool negative = false;
};

class HexDigits {
 public:
  void take(char c, std::string& out) {
    const unsigned char digit = tables::kHexValues[static_cast<unsigned char>(c)];
    if (digit < 16) {
      if (high < 0) {
        high = digit;
      } else {
        out += static_cast<char>(high << 4 | digit);
        high = -1;
      }
      return;
    }
    // "0x" names the base: a zero that would start a pair is no byte.
    if ((c == 'x' || c == 'X') && high == 0) high = -1;
    end(out);
  }

  void end(std::string& out) {
    if (high >= 0) out += static_cast<char>(high);
    high = -1;
  }

 private:
  int high = -1;  // the first digit of a pair, while its second is awaited
};

class MorseWords {
 public:
  void take(char c, std::string& out) {
    if (ascii::isWhitespace(c)) {
      endWord(out);
      if (c == '\r' || c == '\n') {
        breaks += c;
      } else if (++spaces >= 2 || afterOther) {
        // Two spaces part words; so does a space after a byte that has no
        // code, as the encoder writes a space after codes only.
        gap = true;
      }
      afterOther = false;
      return;
    }
    if (slash) write('/', out);
    slash = false;
    if (wordStart) spaces = 0;
    if (c == '.' || c == '-') {
      if (marks.size() <= tables::kLongestCode)
        marks += c;
      else
        tooLong = true;
    } else if (wordStart && (c == '/' || c == '|')) {
      // A word of its own, it parts words; within one it is a byte.
      slash = true;
    } else {
      endMarks(out);
      // A byte that has a code stands here by mistake.
      if (tables::codeOfByte(static_cast<unsigned char>(c)) == nullptr) write(c, out);
    }
    wordStart = false;
  }

  void end(std::string& out) {
    endWord(out);
    // A gap at the end stands before nothing.
    breaks.clear();
    gap = false;
  }

 private:
  void endWord(std::string& out) {
    if (wordStart) return;
    if (slash) gap = true;
    slash = false;
    endMarks(out);
    wordStart = true;
  }

  // Writes the letter of the dots and dashes read.
  void endMarks(std::string& out) {
    if (!marks.empty() && !tooLong) {
      const char symbol = tables::kSymbolOfNumber[tables::codeNumber(marks)];
      if (symbol != 0) write(symbol, out);
      afterOther = false;
    }
    marks.clear();
    tooLong = false;
  }

  // Writes `c` after what stood between it and the byte before it. A byte
  // that has no code (such as a letter with an accent) stands in the code
  // as itself, as the encoder writes it.
  void write(char c, std::string& out) {
    if (wrote && !breaks.empty()) {
      out += breaks;
    } else if (wrote && gap) {
      out += ' ';
    }
    out += c;
    wrote = true;
    gap = false;
    breaks.clear();
    afterOther = true;
  }

  std::string marks;        // the dots and dashes of the letter being read
  bool tooLong = false;     // more of them than any letter has
  bool wordStart = true;    // no byte of the word read yet
  bool slash = false;       // the word so far is a lone '/' or '|'
  std::string breaks;       // the line breaks since the last byte written
  int spaces = 0;           // in the run of whitespace now open
  bool gap = false;         // a word gap since the last byte written
  bool wrote = false;       // a byte was written
  bool afterOther = false;  // the last byte written had no code
};

}  // namespace

std::unique_ptr<StreamCoder> base64Decode() {
  return std::make_unique<Base64Reader>();
}

std::unique_ptr<StreamCoder> fromBinary(std::int32_t width) {
  return std::make_unique<RunReader<BinaryDigits>>(BinaryDigits(width == 7 ? 7 : 8));
}

std::unique_ptr<StreamCoder> fromDecimal() {
  return std::make_unique<RunReader<DecimalDigits>>(DecimalDigits());
}

std::unique_ptr<StreamCoder> readHex() {
  return std::make_unique<RunReader<HexDigits>>(HexDigits());
}

std::unique_ptr<StreamCoder> morseDecode() {
  return std::make_unique<RunReader<MorseWords>>(MorseWords());
}

std::string readAll(StreamCoder& coder, std::string text) {
  std::string out = coder.feed(std::move(text));
  out += coder.finish();
  return out;
}

}  // namespace forms
