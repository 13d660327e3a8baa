#include "WrittenForms.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Methods.h"
#include "RandomText.h"

namespace {

// Rewrites the encoder's output in a form people write the encoding in.
using Rewrite = std::function<std::string(const std::string&)>;

// Every `width` characters of `text`, each followed by `separator`.
std::string split(const std::string& text, std::size_t width, const std::string& separator,
                  const std::string& prefix = "") {
  std::string out;
  for (std::size_t at = 0; at < text.size(); at += width)
    out += prefix + text.substr(at, width) + separator;
  return out;
}

std::string without(std::string text, const std::string& characters) {
  std::erase_if(text, [&](char c) { return characters.find(c) != std::string::npos; });
  return text;
}

std::string replaced(std::string text, char from, char to) {
  for (char& c : text)
    c = c == from ? to : c;
  return text;
}

std::string lower(std::string text) {
  for (char& c : text)
    c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
  return text;
}

struct Form {
  const char* name;
  const char* method;
  methods::Settings settings;
  Rewrite rewrite;
};

const std::vector<Form>& forms() {
  static const std::vector<Form> table = {
      {"base64 as written", "base64", {}, [](const std::string& s) { return s; }},
      {"base64 wrapped at 76",
       "base64",
       {},
       [](const std::string& s) { return split(s, 76, "\r\n"); }},
      {"base64 without padding",
       "base64",
       {},
       [](const std::string& s) { return without(s, "="); }},
      {"base64 URL-safe",
       "base64",
       {},
       [](const std::string& s) {
         return replaced(replaced(without(s, "="), '+', '-'), '/', '_');
       }},
      {"binary run together", "binary", {{"bits", 8}}, [](const std::string& s) { return s; }},
      {"binary split by spaces",
       "binary",
       {{"bits", 8}},
       [](const std::string& s) { return split(s, 8, " "); }},
      {"binary by lines",
       "binary",
       {{"bits", 8}},
       [](const std::string& s) { return split(s, 8, "\n"); }},
      {"binary with 0b",
       "binary",
       {{"bits", 8}},
       [](const std::string& s) { return split(s, 8, ", ", "0b"); }},
      {"7-bit binary split",
       "binary",
       {{"bits", 7}},
       [](const std::string& s) { return split(s, 7, " "); }},
      {"decimal", "decimal", {}, [](const std::string& s) { return s; }},
      {"decimal by commas",
       "decimal",
       {},
       [](const std::string& s) { return replaced(s, ' ', ','); }},
      {"hex run together", "hex", {}, [](const std::string& s) { return without(s, " "); }},
      {"hex with 0x and commas",
       "hex",
       {},
       [](const std::string& s) { return split(without(s, " "), 2, ",", "0x"); }},
      {"hex with \\x",
       "hex",
       {},
       [](const std::string& s) { return lower(split(without(s, " "), 2, "", "\\x")); }},
      {"hex with colons",
       "hex",
       {},
       [](const std::string& s) { return lower(split(without(s, " "), 2, ":")); }},
  };
  return table;
}

// `text` fed to `coder` cut at `cut`, then finished.
std::string inTwo(StreamCoder& coder, const std::string& text, std::size_t cut) {
  std::string out = coder.feed(text.substr(0, cut));
  out += coder.feed(text.substr(cut));
  return out + coder.finish();
}

// Any bytes, zero bytes too, come back whole from each written form of
// their encoding, read whole and read in two pieces cut anywhere.
TEST(WrittenForms, EveryFormGivesBackEveryByte) {
  RandomText random;
  methods::OwnCoders coders;
  for (const Form& form : forms()) {
    const methods::Method& method = methods::methodNamed(form.method);
    const int highest = methods::integerOf(form.settings, "bits", 8) == 7 ? 127 : 255;
    for (int trial = 0; trial < 40; ++trial) {
      const std::string bytes = random.bytes(random.length(200), 0, highest);
      const std::string written =
          form.rewrite(forms::readAll(*method.stream(form.settings, Direction::encode), bytes));
      EXPECT_EQ(methods::runExact(method, coders.all(), form.settings, Direction::decode, written),
                bytes)
          << form.name << ": " << written;
      const std::size_t cut = random.length(written.size());
      EXPECT_EQ(
          inTwo(*methods::exactStream(method, form.settings, Direction::decode), written, cut),
          bytes)
          << form.name << " cut at " << cut;
    }
  }
}

// Where the window's Decrypt drops a zero byte and the rest of its group,
// the exact decoder keeps them.
TEST(WrittenForms, Base64KeepsZeroBytesAndShortGroups) {
  const struct {
    const char* text;
    std::string bytes;
  } rows[] = {
      {"AEFB", std::string("\0AA", 3)},
      {"QQ==", "A"},
      {"QUI=", "AB"},
      {"QQ", "A"},
      {"QUI", "AB"},
      {"QQ==QUI=", "AAB"},
      {"Q", ""},
      {"Pz8_", "\x3f\x3f\x3f"},
      {"Pz8/", "\x3f\x3f\x3f"},
      {"Pz8-", "\x3f\x3f>"},
  };
  for (const auto& [text, bytes] : rows)
    EXPECT_EQ(forms::readAll(*forms::base64Decode(), text), bytes) << text;
}

TEST(WrittenForms, ReadsNumbersInTheirCommonForms) {
  const struct {
    std::unique_ptr<StreamCoder> (*make)();
    const char* text;
    std::string bytes;
  } rows[] = {
      {forms::readHex, "0x48, 0x69", "Hi"},
      {forms::readHex, "\\x48\\x69", "Hi"},
      {forms::readHex, "48:69", "Hi"},
      {forms::readHex, "0X480x69", "Hi"},
      {forms::readHex, "4 8", std::string("\x04\x08", 2)},
      {forms::readHex, "0", std::string(1, '\0')},
      {forms::fromDecimal, "72,105", "Hi"},
      {forms::fromDecimal, "72, 105;-1", "Hi\xff"},
      {forms::fromDecimal, "328 x", "H"},
      {forms::morseDecode, ".... .. / - .... . .-. .", "HI THERE"},
      {forms::morseDecode, ".... ..   - .... . .-. .", "HI THERE"},
      {forms::morseDecode, ".... ..  /  -", "HI T"},
      {forms::morseDecode, ".-\r\n-...", "A\r\nB"},
      {forms::morseDecode, " / .- .......... -... / ", "AB"},
      {forms::morseDecode, "- ! -. --- ", "T! NO"},
      {forms::morseDecode, ".-. \xc3\xa9-....- -.-. ", "R\xc3\xa9-C"},
      {forms::morseDecode, "-..-. .-/-...", "/AB"},
  };
  for (const auto& [make, text, bytes] : rows)
    EXPECT_EQ(forms::readAll(*make(), text), bytes) << text;
}

TEST(WrittenForms, ReadsBinaryGroupsShorterThanTheWidth) {
  EXPECT_EQ(forms::readAll(*forms::fromBinary(8), "1001000 1101001"), "Hi");
  EXPECT_EQ(forms::readAll(*forms::fromBinary(8), "0b01001000,0b1101001"), "Hi");
  EXPECT_EQ(forms::readAll(*forms::fromBinary(7), "10010001101001"), "Hi");
  EXPECT_EQ(forms::readAll(*forms::fromBinary(8), "0"), std::string(1, '\0'));
}

}  // namespace
