#include "Analysis.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>
#include <utility>
#include <variant>

#include "Output.h"
#include "Run.h"
#include "Text.h"
#include "analysis/Identify.h"
#include "analysis/Json.h"

namespace {

using analysis::Cipher;

// A step as the command line runs it: "caesar -d --shift 3".
std::string commandOf(const analysis::Step& step) {
  const std::string options = methods::commandOptions(step.options);
  return std::string(step.method->name) + (step.direction == Direction::decode ? " -d" : "") +
         (options.empty() ? "" : " " + options);
}

// A preview for a terminal: UTF-8, with control characters as spaces.
std::string shown(std::string_view preview) {
  const std::string utf8 = text::toUtf8(preview, text::Encoding::utf8);
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    // The C1 controls U+0080 to U+009F are two bytes, C2 80 to C2 9F.
    const bool c1 =
        byte == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0;
    if (byte < 0x20 || byte == 0x7F || c1) {
      out += ' ';
      i += c1 ? 1 : 0;
    } else {
      out += utf8[i];
    }
  }
  return out;
}

std::string percent(double chance) {
  char text[16];
  std::snprintf(text, sizeof text, "%5.1f %%", 100 * chance);
  return text;
}

std::string languageOf(analysis::Language language) {
  return std::string(analysis::nameOf(language)) + " (" + std::string(analysis::codeOf(language)) +
         ")";
}

// A row's language and the others merged into it: "English (en), Dutch (nl)".
std::string languagesOf(analysis::Language language, const std::vector<analysis::Language>& also) {
  std::string out = languageOf(language);
  for (const analysis::Language other : also)
    out += ", " + languageOf(other);
  return out;
}

// The codes of a row's languages: "en,nl".
std::string codesOf(analysis::Language language, const std::vector<analysis::Language>& also) {
  std::string out(analysis::codeOf(language));
  for (const analysis::Language other : also)
    out += "," + std::string(analysis::codeOf(other));
  return out;
}

// Several stream coders one after another, as one.
class ChainCoder final : public StreamCoder {
 public:
  explicit ChainCoder(const std::vector<analysis::Step>& steps) {
    for (const analysis::Step& step : steps)
      coders.push_back(methods::exactStream(*step.method, step.options, step.direction));
  }

  std::string feed(std::string piece) override {
    for (const std::unique_ptr<StreamCoder>& coder : coders)
      piece = coder->feed(std::move(piece));
    return piece;
  }

  std::string finish() override {
    std::string carried;
    for (const std::unique_ptr<StreamCoder>& coder : coders) {
      carried = coder->feed(std::move(carried));
      carried += coder->finish();
    }
    return carried;
  }

 private:
  std::vector<std::unique_ptr<StreamCoder>> coders;
};

// The letter frequencies behind a report, beside those of its language.
void explainLetters(std::string& out, const analysis::Report& report) {
  const std::array<double, 26>& language = analysis::modelOf(report.language).letterFrequencies();
  out += "\nletter frequencies, in %: input, best decryption, " +
         std::string(analysis::nameOf(report.language)) + "\n";
  for (std::size_t l = 0; l < 26; ++l) {
    char row[64];
    std::snprintf(row, sizeof row, "  %c %6.2f %6.2f %6.2f\n", static_cast<char>('A' + l),
                  100 * report.evidence.inputLetters[l], 100 * report.evidence.outputLetters[l],
                  100 * language[l]);
    out += row;
  }
}

// Why a report ranks its candidates as it does.
std::string explanation(Cipher cipher, const analysis::Report& report) {
  const analysis::Evidence& evidence = report.evidence;
  std::string out;
  if (!evidence.keyScores.empty()) {
    out +=
        cipher == Cipher::bitwiseXor ? "\nscore of every XOR value\n" : "\nscore of every shift\n";
    for (std::size_t key = 0; key < evidence.keyScores.size(); ++key) {
      out += "  " + std::to_string(key) + " " + json::number(evidence.keyScores[key], 8) + "\n";
    }
  }
  if (!evidence.periodCoincidence.empty()) {
    out += "\nindex of coincidence of every period\n";
    for (std::size_t p = 0; p < evidence.periodCoincidence.size(); ++p) {
      out += "  " + std::to_string(p + 1) + " " + json::number(evidence.periodCoincidence[p], 4) +
             (p + 1 == evidence.period ? "  <- the period chosen" : "") + "\n";
    }
    out += "\nchance of each key letter\n";
    for (std::size_t k = 0; k < evidence.keyLetterFitness.size(); ++k)
      out +=
          "  " + std::to_string(k + 1) + " " + json::number(evidence.keyLetterFitness[k], 4) + "\n";
  }
  explainLetters(out, report);
  return out;
}

std::string crackText(Cipher cipher, const analysis::Report& report, bool explain) {
  std::string out =
      std::string(analysis::methodOf(cipher).name) + " in " + languageOf(report.language) + "\n";
  std::size_t rank = 0;
  for (const analysis::Candidate& candidate : report.candidates) {
    out += "  " + std::to_string(++rank) + ". " +
           commandOf(analysis::stepOf(cipher, candidate.options)) + "  " +
           codesOf(candidate.language, candidate.alsoLanguages) + " " +
           percent(candidate.confidence) + "  " + shown(candidate.preview) + "\n";
  }
  if (!report.note.empty()) out += "note: " + report.note + "\n";
  if (explain) out += explanation(cipher, report);
  return out;
}

std::string identifyText(const analysis::Identification& identification) {
  std::string out;
  std::size_t rank = 0;
  for (const analysis::Chain& chain : identification.candidates) {
    std::string steps;
    for (const analysis::Step& step : chain.steps)
      steps += (steps.empty() ? "" : " | ") + commandOf(step);
    out += "  " + std::to_string(++rank) + ". " + (steps.empty() ? "plain text" : steps) + "  -> " +
           languagesOf(chain.language, chain.alsoLanguages) + " " + percent(chain.confidence) +
           "  " + shown(chain.preview) + "\n";
  }
  if (!identification.note.empty()) out += "note: " + identification.note + "\n";
  return out;
}

void writeAll(const std::optional<std::string>& path, const std::string& text) {
  Output output(path);
  output.write(text);
  output.commit();
}

// Runs `steps` over the whole input, as `zembrax-cli` runs a method: the
// input held in memory where it came from the standard input, else the
// files read again.
int applySteps(const AnalysisRequest& request, const std::vector<analysis::Step>& steps,
               const std::shared_ptr<const std::string>& held) {
  Request apply;
  apply.coder = [steps] { return std::make_unique<ChainCoder>(steps); };
  apply.inputs = request.inputs;
  apply.output = request.output;
  apply.progress = request.progress;
  apply.held = held;
  return run(apply);
}

int refuse(std::string_view problem) {
  std::fprintf(stderr, "zembrax-cli: %.*s\n", static_cast<int>(problem.size()), problem.data());
  return 1;
}

}  // namespace

int analyse(const AnalysisRequest& request) {
  return reportFailures([&request] {
    // The standard input cannot be read twice: to apply a result it is kept.
    // An input that cannot be read twice (the standard input, a pipe, a
    // device) is kept, to apply the result to; so are all the inputs then.
    const bool holds =
        request.apply &&
        std::any_of(request.inputs.begin(), request.inputs.end(), [](const std::string& name) {
          std::error_code error;
          return name == "-" || !std::filesystem::is_regular_file(name, error);
        });
    auto held = std::make_shared<std::string>();
    std::unique_ptr<analysis::Cracker> cracker;
    if (request.cipher) cracker = analysis::makeCracker(*request.cipher, request.settings);
    std::string sample;
    std::uint64_t total = 0;
    readPieces(request.inputs, request.progress, [&](std::string& piece) {
      total += piece.size();
      if (cracker) {
        cracker->feed(piece);
      } else if (sample.size() <= analysis::kIdentifySample) {
        sample.append(piece, 0, analysis::kIdentifySample + 1 - sample.size());
      }
      if (holds) held->append(piece);
    });
    if (total == 0) return refuse("no input");
    std::vector<analysis::Step> best;
    std::string ranking;
    std::string note;
    if (cracker) {
      const analysis::Report report = cracker->finish();
      if (report.candidates.empty()) return refuse(report.note);
      best = {analysis::stepOf(*request.cipher, report.candidates.front().options)};
      ranking = request.json ? json::crackReport(*request.cipher, report, request.explain)
                             : crackText(*request.cipher, report, request.explain);
      note = report.note;
    } else {
      analysis::IdentifySettings settings;
      settings.language = request.settings.language;
      settings.top = request.settings.top;
      settings.crib = request.settings.crib;
      const analysis::Identification identification = analysis::identify(sample, settings);
      if (identification.candidates.empty()) return refuse(identification.note);
      best = identification.candidates.front().steps;
      ranking = request.json ? json::identification(identification) : identifyText(identification);
      note = identification.note;
    }
    if (!request.apply) {
      writeAll(request.output, ranking);
      return 0;
    }
    if (!note.empty()) std::fprintf(stderr, "zembrax-cli: note: %s\n", note.c_str());
    return applySteps(request, best, holds ? held : nullptr);
  });
}
