#include "Methods.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "RandomText.h"

namespace {

// A method with settings, and the bytes that its texts are made of: those
// that its Decrypt gives back exactly after Encrypt.
struct Row {
  const char* method;
  methods::Settings settings;
  int lowest = 1;
  int highest = 255;
};

const std::vector<Row>& rows() {
  static const std::vector<Row> table = {
      {"caesar", {{"shift", -29}}},
      {"caesar", {{"shift", 2147483647}, {"full", true}}},
      {"vigenere", {{"key", std::string("Lu-X")}}},
      {"base64", {}},
      // A swap of two pairs undoes itself, as both buttons run one call.
      {"subst", {{"from", std::string("abXY")}, {"to", std::string("XYab")}}},
      {"url", {}},
      {"bitwise", {{"xor", 300}}},
      {"binary", {{"bits", 8}}},
      {"binary", {{"bits", 7}}, 1, 127},
      {"decimal", {}},
      {"hex", {}},
      // Morse knows one case, and spaces between words become none.
      {"morse", {}, 'A', 'Z'},
      {"lsb", {}},
  };
  return table;
}

// `text` fed to a stream in random pieces, then finished.
std::string streamed(StreamCoder& coder, const std::string& text, RandomText& random) {
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t piece = random.length(text.size() - at);
    out += coder.feed(text.substr(at, piece));
    at += piece;
  }
  return out + coder.finish();
}

// Every method's stream gives what its one-shot call gives, both ways, and
// Decrypt undoes Encrypt wherever it decodes (a one-way method applied twice
// only where it undoes itself).
TEST(Methods, EveryEntryRoundTripsThroughItsCallAndItsStream) {
  RandomText random;
  methods::OwnCoders coders;
  std::set<std::string_view> covered;
  for (const Row& row : rows()) {
    const methods::Method* method = methods::named(row.method);
    ASSERT_NE(method, nullptr) << row.method;
    covered.insert(method->name);
    for (int trial = 0; trial < 50; ++trial) {
      const std::string text = random.bytes(random.length(300), row.lowest, row.highest);
      std::string coded = text;
      for (const Direction direction : {Direction::encode, Direction::decode}) {
        const std::string once = method->run(coders.all(), row.settings, direction, coded);
        EXPECT_EQ(streamed(*method->stream(row.settings, direction), coded, random), once)
            << row.method << (direction == Direction::decode ? " -d" : "");
        coded = once;
      }
      const bool undoes = method->decodes || method->name == "bitwise";
      if (undoes) {
        EXPECT_EQ(coded, text) << row.method;
      }
    }
  }
  for (const methods::Method& method : methods::all())
    EXPECT_TRUE(covered.count(method.name)) << method.name << " has no row";
}

// The Caesar Decrypt of any 32-bit shift moves back by exactly its steps.
TEST(Methods, CaesarDecryptUndoesEveryShift) {
  methods::OwnCoders coders;
  const methods::Method& caesar = methods::methodNamed("caesar");
  for (const std::int32_t shift :
       {0, 1, -1, 25, 26, 255, 6630, -6631, 2147483647, -2147483647 - 1}) {
    for (const bool full : {false, true}) {
      const methods::Settings settings = {{"shift", shift}, {"full", full}};
      const std::string text = "Hello, World! \x7f\x80\xff";
      const std::string coded = caesar.run(coders.all(), settings, Direction::encode, text);
      EXPECT_EQ(caesar.run(coders.all(), settings, Direction::decode, coded), text)
          << shift << (full ? " full" : "");
    }
  }
}

TEST(Methods, ReadsHexadecimalAsPairsOfDigits) {
  methods::OwnCoders coders;
  const methods::Method& hex = methods::methodNamed("hex");
  const struct {
    const char* text;
    std::string bytes;
  } cases[] = {
      {"48 65 6C 6c 6F ", "Hello"},
      {"48656c6c6f", "Hello"},
      {"48:65,6c-6c\r\n6f", "Hello"},
      {"4 8", std::string("\x04\x08", 2)},
      {"486", "H\x06"},
      {"zz 00 gg", std::string(1, '\0')},
      {"", ""},
  };
  for (const auto& [text, bytes] : cases)
    EXPECT_EQ(hex.run(coders.all(), {}, Direction::decode, text), bytes) << text;
}

TEST(Methods, NamesAreUniqueAndFound) {
  std::set<std::string_view> names;
  for (const methods::Method& method : methods::all()) {
    EXPECT_TRUE(names.insert(method.name).second) << method.name;
    EXPECT_EQ(methods::named(method.name), &method);
  }
  EXPECT_EQ(methods::named("rot13"), nullptr);
  EXPECT_THROW(methods::methodNamed("rot13"), std::logic_error);
}

}  // namespace
