#include "AnalysisCommand.h"

#include <array>
#include <charconv>
#include <optional>

#include "Suggest.h"

namespace {

// The ciphers that crack breaks, by the names it takes.
constexpr std::array<std::pair<std::string_view, analysis::Cipher>, 4> kCiphers = {{
    {"caesar", analysis::Cipher::caesar},
    {"xor", analysis::Cipher::bitwiseXor},
    {"vigenere", analysis::Cipher::vigenere},
    {"subst", analysis::Cipher::substitution},
}};

// The longest key length that --key-length takes.
constexpr std::size_t kLongestKey = 100;

std::string languageCodes() {
  std::string codes = "auto";
  for (std::size_t l = 0; l < analysis::kLanguageCount; ++l)
    codes += "|" + std::string(analysis::codeOf(static_cast<analysis::Language>(l)));
  return codes;
}

// A number of 1..kLongestKey, or nothing.
std::optional<std::size_t> keyLengthOf(std::string_view text) {
  std::size_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > kLongestKey)
    return std::nullopt;
  return value;
}

void addShared(CLI::App* command, AnalysisOptions& options) {
  command
      ->add_option("--language", options.language,
                   "the plaintext's language, " + languageCodes() + "; auto finds it")
      ->type_name("CODE");
  command->add_option("--top", options.top, "how many candidates to show (5 unless given)")
      ->check(CLI::Range(1, 1000))
      ->type_name("N");
  command
      ->add_option("--crib", options.crib,
                   "text known to stand in the plaintext (flag{ or a word you expect): the "
                   "answers that hold it, letters in either case, rank first")
      ->type_name("TEXT");
  command->add_flag("--json", options.json, "answer in JSON (see the manual page)");
  command->add_flag("--apply", options.apply,
                    "write the best candidate's result instead of the ranking");
  command
      ->add_option("-o,--output", options.output,
                   "write to FILE, replacing it only once all went well")
      ->option_text("FILE");
  command->add_flag("--progress", options.progress, "show progress on the standard error");
  command
      ->add_option("FILE", options.inputs,
                   "the files to read in turn; none or - reads the standard input")
      ->option_text(" ");
}

}  // namespace

void addAnalysis(CLI::App& app, AnalysisOptions& options) {
  CLI::App* crack = app.add_subcommand(
      "crack", "Finds the key of a Caesar, XOR, Vigenere or substitution text and ranks the keys");
  crack->footer(
      "Example:\n  zembrax-cli crack vigenere --explain secret.txt\n"
      "  zembrax-cli crack caesar --apply note.txt\n");
  crack->add_option("CIPHER", options.cipher, "caesar, xor, vigenere or subst")
      ->required()
      ->option_text(" ");
  crack->add_flag("--full", options.full, "caesar: all 255 non-zero bytes, not only letters");
  crack
      ->add_option("--key-length", options.keyLength,
                   "vigenere: the key length, N or MIN-MAX (1 to 100)")
      ->type_name("N|MIN-MAX");
  crack->add_flag("--explain", options.explain,
                  "show why: the score of every shift, the index of coincidence of every "
                  "period, the letter frequencies");
  addShared(crack, options);
  CLI::App* identify = app.add_subcommand(
      "identify", "Says what a text is: the encodings and the cipher that make it language");
  identify->footer("Example:\n  zembrax-cli identify puzzle.txt\n");
  addShared(identify, options);
}

bool isAnalysis(std::string_view name) {
  return name == "crack" || name == "identify";
}

std::string analysisUsage(std::string_view name) {
  const std::string shared =
      "[--language CODE] [--crib TEXT] [--top N] [--json] [--apply] [-o FILE] [--progress] "
      "[FILE...]";
  if (name == "identify") return "identify " + shared;
  return "crack (caesar [--full] | xor | vigenere [--key-length N|MIN-MAX] | subst) [--explain] " +
         shared;
}

std::vector<std::pair<std::string, bool>> analysisOptionNames(std::string_view name) {
  std::vector<std::pair<std::string, bool>> names = {
      {"language", true}, {"crib", true},   {"top", true},       {"json", false},
      {"apply", false},   {"output", true}, {"progress", false}, {"help", false},
  };
  if (name == "crack") {
    names.insert(names.end(), {{"full", false}, {"key-length", true}, {"explain", false}});
  }
  return names;
}

std::variant<AnalysisRequest, std::string> analysisRequest(std::string_view name,
                                                           const AnalysisOptions& options) {
  AnalysisRequest request;
  if (options.language != "auto") {
    request.settings.language = analysis::languageCoded(options.language);
    if (!request.settings.language) {
      return "unknown language '" + options.language + "'; the languages are " + languageCodes();
    }
  }
  request.settings.top = options.top;
  request.settings.crib = options.crib;
  if (name == "crack") {
    std::vector<std::string> names;
    for (const auto& [cipherName, cipher] : kCiphers) {
      if (options.cipher == cipherName) request.cipher = cipher;
      names.emplace_back(cipherName);
    }
    if (!request.cipher) {
      const std::optional<std::string> meant = nearestWord(options.cipher, names);
      std::string known;
      for (const std::string& cipherName : names)
        known += (known.empty() ? "" : ", ") + cipherName;
      return "unknown cipher '" + options.cipher + "'; " +
             (meant ? "did you mean '" + *meant + "'?" : "the ciphers are " + known);
    }
    if (options.full && request.cipher != analysis::Cipher::caesar)
      return "--full is for caesar only";
    if (options.full) request.cipher = analysis::Cipher::caesarFull;
    if (!options.keyLength.empty()) {
      if (request.cipher != analysis::Cipher::vigenere) return "--key-length is for vigenere only";
      const std::size_t dash = options.keyLength.find('-');
      const auto least = keyLengthOf(std::string_view(options.keyLength).substr(0, dash));
      const auto most = dash == std::string::npos
                            ? least
                            : keyLengthOf(std::string_view(options.keyLength).substr(dash + 1));
      if (!least || !most || *least > *most) {
        return "--key-length takes N or MIN-MAX, from 1 to " + std::to_string(kLongestKey) +
               ", not '" + options.keyLength + "'";
      }
      request.settings.minKeyLength = *least;
      request.settings.maxKeyLength = *most;
    }
  }
  if (options.json && options.apply) return "--json and --apply do not go together";
  request.json = options.json;
  request.apply = options.apply;
  request.explain = options.explain;
  request.inputs = options.inputs.empty() ? std::vector<std::string>{"-"} : options.inputs;
  if (!options.output.empty()) request.output = options.output;
  request.progress = options.progress;
  return request;
}
