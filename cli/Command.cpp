#include "Command.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>
#include <utility>

#include "Text.h"

namespace {

constexpr std::string_view kProgram = "zembrax-cli";

// The options of all methods, read from the command line.
struct Options {
  std::int32_t shift = 0;
  bool full = false;
  std::string key;
  std::string from;
  std::string to;
  std::int32_t value = 0;
  CharCoder::ByteOperation operation = nullptr;
  int bits = 8;
  bool decrypt = false;
};

// Each method with the line that shows its options, what it does, an
// example, whether it decodes too, and the coder it makes; in the order of
// the window's pages.
struct Method {
  const char* name;
  const char* options;
  const char* summary;
  const char* example;
  bool decodes;
  std::unique_ptr<StreamCoder> (*coder)(const Options&);
};

const std::array<Method, 11> kMethods = {{
    {"caesar", "--shift N [--full] [-d]",
     "Caesar shift of the letters A-Z and a-z, or with --full of all 255 non-zero bytes",
     "zembrax-cli caesar --shift 3 letter.txt", true,
     [](const Options& o) {
       // Decrypt shifts back by the same steps; reducing by whole turns of
       // both alphabets first keeps the negation in range.
       const std::int32_t steps = o.decrypt ? -(o.shift % (26 * 255)) : o.shift;
       return o.full ? stream::caesarShiftFull(steps) : stream::caesarShift(steps);
     }},
    {"vigenere", "--key KEY [-d]", "Vigenere cipher of the letters with a key word",
     "zembrax-cli vigenere --key LUX -d secret.txt", true,
     [](const Options& o) {
       return o.decrypt ? stream::vigenereDecode(o.key) : stream::vigenereEncode(o.key);
     }},
    {"base64", "[-d]", "Base64, on one line; decoding skips whitespace",
     "zembrax-cli base64 -d dump.b64 -o dump.bin", true,
     [](const Options& o) { return o.decrypt ? stream::base64Decode() : stream::base64Encode(); }},
    {"subst", "--from ABC --to XYZ [-d]",
     "Replaces each byte of the original alphabet by the one at its place in the new",
     "zembrax-cli subst --from abc --to xyz notes.txt", true,
     // Both directions substitute the same way round, as both buttons do.
     [](const Options& o) { return stream::substitute(o.from, o.to); }},
    {"url", "[-d]", "URL (percent) encoding of every byte but letters and digits",
     "printf 'a b&c' | zembrax-cli url", true,
     [](const Options& o) { return o.decrypt ? stream::urlDecode() : stream::urlEncode(); }},
    {"bitwise", "(--and | --or | --xor) VALUE",
     "Combines every byte with the low eight bits of VALUE (300 acts as 44, -1 as 255)",
     "zembrax-cli bitwise --xor 32 data.bin -o flipped.bin", false,
     [](const Options& o) { return stream::bitwiseApply(o.value, o.operation); }},
    {"binary", "[--bits 7|8] [-d]", "Every byte as 8 (or 7) binary digits, and back",
     "zembrax-cli binary --bits 7 < text.txt", true,
     [](const Options& o) {
       return o.decrypt ? stream::fromBinary(o.bits) : stream::toBinary(o.bits);
     }},
    {"decimal", "[-d]", "Every byte as a signed decimal number and a space, and back",
     "zembrax-cli decimal -d numbers.txt", true,
     [](const Options& o) { return o.decrypt ? stream::fromDecimal() : stream::toDecimal(); }},
    {"hex", "", "Every byte as two hexadecimal digits and a space",
     "zembrax-cli hex capture.bin | head", false, [](const Options&) { return stream::toHex(); }},
    {"morse", "[-d]", "Morse code of letters, digits and punctuation, and back",
     "zembrax-cli morse message.txt | zembrax-cli morse -d", true,
     [](const Options& o) { return o.decrypt ? stream::morseDecode() : stream::morseEncode(); }},
    {"lsb", "", "The lowest bit of every byte as '0' or '1'", "zembrax-cli lsb picture.raw", false,
     [](const Options&) { return stream::lsbExtract(); }},
}};

constexpr std::string_view kCommonOptions = "[-o FILE] [--progress] [--encoding NAME] [FILE...]";

std::string usageOf(const CLI::App* method) {
  std::string usage = "Usage: " + std::string(kProgram) + " ";
  for (const Method& entry : kMethods) {
    if (method != nullptr && method->get_name() == entry.name) {
      usage += std::string(entry.name) + " " + entry.options;
      if (*entry.options != '\0') usage += " ";
      return usage + std::string(kCommonOptions);
    }
  }
  return usage + "METHOD [OPTIONS] " + std::string(kCommonOptions) + " (--help lists the methods)";
}

// Refuses a command line: the problem and the usage line, exit status 2.
int refuse(const std::string& problem, const CLI::App* method) {
  std::fprintf(stderr, "%s: %s\n%s\n", kProgram.data(), problem.c_str(), usageOf(method).c_str());
  return 2;
}

// A 32-bit decimal integer, read as the window reads its boxes.
const CLI::Validator kInteger(
    [](std::string& text) {
      return text::readInteger(text) ? std::string() : "'" + text + "' is not a 32-bit integer";
    },
    "INTEGER");

// A text encoding's name.
const CLI::Validator kEncoding(
    [](std::string& name) {
      return text::encodingNamed(name) ? std::string()
                                       : "unknown text encoding '" + name +
                                             "'; the encodings are " + text::encodingNames();
    },
    "NAME");

// The options every method takes.
struct Common {
  std::vector<std::string> inputs;
  std::string output;
  bool progress = false;
  std::string encoding;
};

// An option text in the encoding. Characters it cannot hold become '?', and
// the standard error says how many.
std::string optionBytes(const std::string& utf8, const char* what, text::Encoding encoding) {
  text::Encoded encoded = text::fromUtf8(utf8, encoding);
  if (encoded.lost > 0) {
    std::fprintf(stderr,
                 "%s: %zu character%s of %s cannot be written in %s and became '?'; "
                 "--encoding utf-8 keeps them\n",
                 kProgram.data(), encoded.lost, encoded.lost == 1 ? "" : "s", what,
                 text::nameOf(encoding).data());
  }
  return std::move(encoded.bytes);
}

void addMethod(CLI::App& app, const Method& entry, Common& common, Options& options) {
  CLI::App* method = app.add_subcommand(entry.name, entry.summary);
  method->footer(std::string("Example:\n  ") + entry.example + "\n");
  method->add_flag("-d,--decrypt", options.decrypt,
                   entry.decodes ? "decode instead of encode (the window's Decrypt)"
                                 : "not offered: this method works one way only");
  method
      ->add_option("-o,--output", common.output,
                   "write to FILE, replacing it only once all went well")
      ->option_text("FILE");
  method->add_flag("--progress", common.progress,
                   "show progress on the standard error (by default for a terminal and an input "
                   "file over 64 MiB)");
  method
      ->add_option("--encoding", common.encoding,
                   "read the key and alphabets in NAME, one of " + text::encodingNames() +
                       " (the input's bytes are never converted); the locale's by default, "
                       "here " +
                       std::string(text::nameOf(text::localeEncoding())))
      ->check(kEncoding)
      ->type_name("NAME");
  method
      ->add_option("FILE", common.inputs,
                   "the files to read in turn; none or - reads the standard input")
      ->option_text(" ");
}

}  // namespace

std::variant<Request, int> readCommandLine(int argc, const char* const* argv) {
  CLI::App app(
      "Codes texts with the methods of the Zembrax window, in constant memory, from "
      "files or the standard input to the standard output or a file.",
      std::string(kProgram));
  app.set_version_flag("--version", std::string(kProgram) + " " + ZEMBRAX_VERSION);
  app.require_subcommand(1);
  std::string footer =
      "Every method also takes -o FILE (replaced only once all went well), --progress and "
      "--encoding NAME, the text encoding that the key and alphabets are read in: " +
      text::encodingNames() +
      "; the locale's by default. The input's bytes are never converted. METHOD --help tells "
      "more.\n\nExamples:";
  for (const Method& entry : kMethods)
    footer += std::string("\n  ") + entry.example;
  app.footer(footer);

  Common common;
  Options options;
  for (const Method& entry : kMethods)
    addMethod(app, entry, common, options);
  std::string shift, andValue, orValue, xorValue;
  CLI::App* caesar = app.get_subcommand("caesar");
  caesar->add_option("--shift", shift, "the shift, any 32-bit integer")
      ->required()
      ->check(kInteger)
      ->type_name("N");
  caesar->add_flag("--full", options.full, "shift all 255 non-zero bytes, not only letters");
  app.get_subcommand("vigenere")
      ->add_option("--key", options.key, "the key word; non-letters count as A")
      ->required()
      ->type_name("KEY");
  CLI::App* subst = app.get_subcommand("subst");
  subst->add_option("--from", options.from, "the original alphabet")->required()->type_name("ABC");
  subst->add_option("--to", options.to, "the new alphabet")->required()->type_name("XYZ");
  CLI::Option_group* operation = app.get_subcommand("bitwise")->add_option_group("operation");
  operation->add_option("--and", andValue, "AND with VALUE")->check(kInteger)->type_name("VALUE");
  operation->add_option("--or", orValue, "OR with VALUE")->check(kInteger)->type_name("VALUE");
  operation->add_option("--xor", xorValue, "XOR with VALUE")->check(kInteger)->type_name("VALUE");
  operation->require_option(1);
  app.get_subcommand("binary")
      ->add_option("--bits", options.bits, "binary digits per byte, 7 or 8 (8 unless given)")
      ->check(CLI::IsMember({7, 8}))
      ->type_name("N");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    return app.exit(help);
  } catch (const CLI::CallForVersion& version) {
    return app.exit(version);
  } catch (const CLI::ParseError& error) {
    const std::vector<CLI::App*> chosen = app.get_subcommands();
    if (chosen.empty() && argc == 1) return refuse("no method given", nullptr);
    if (chosen.empty() && argv[1][0] != '-') {
      return refuse("unknown method '" + std::string(argv[1]) + "'", nullptr);
    }
    return refuse(error.what(), chosen.empty() ? nullptr : chosen.front());
  }

  CLI::App* chosen = app.get_subcommands().front();
  const Method& method = *std::find_if(kMethods.begin(), kMethods.end(), [chosen](const Method& m) {
    return chosen->get_name() == m.name;
  });
  if (options.decrypt && !method.decodes) {
    return refuse(chosen->get_name() == "hex"
                      ? "hexadecimal to text is not offered"
                      : chosen->get_name() + " works one way only: -d is not offered",
                  chosen);
  }
  // Texts as the window reads them: in its encoding, numbers in decimal.
  const text::Encoding encoding =
      common.encoding.empty() ? text::localeEncoding() : *text::encodingNamed(common.encoding);
  options.key = optionBytes(options.key, "the key", encoding);
  options.from = optionBytes(options.from, "the original alphabet", encoding);
  options.to = optionBytes(options.to, "the new alphabet", encoding);
  if (!shift.empty()) options.shift = *text::readInteger(shift);
  for (const auto& [text, byteOperation] :
       {std::pair{&andValue, &CharCoder::bitAnd}, std::pair{&orValue, &CharCoder::bitOr},
        std::pair{&xorValue, &CharCoder::bitXor}}) {
    if (!text->empty()) {
      options.value = *text::readInteger(*text);
      options.operation = byteOperation;
    }
  }

  Request request;
  request.coder = [options, make = method.coder] { return make(options); };
  request.inputs = common.inputs.empty() ? std::vector<std::string>{"-"} : common.inputs;
  if (!common.output.empty()) request.output = common.output;
  request.progress = common.progress;
  return request;
}
