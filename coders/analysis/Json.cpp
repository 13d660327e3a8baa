#include "analysis/Json.h"

#include <cmath>
#include <cstdio>
#include <variant>

#include "Text.h"
#include "analysis/Identify.h"

namespace json {

std::string quoted(std::string_view bytes) {
  const std::string utf8 = text::toUtf8(bytes, text::Encoding::utf8);
  std::string out = "\"";
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string number(double value, int digits) {
  // JSON has no infinities or NaN; a score that is one says "none".
  if (!std::isfinite(value)) return "null";
  char text[32];
  std::snprintf(text, sizeof text, "%.*g", digits, value);
  return text;
}

std::string object(const methods::Settings& settings) {
  std::string out = "{";
  for (const methods::Setting& setting : settings) {
    if (out.size() > 1) out += ", ";
    out += quoted(setting.name) + ": ";
    if (const auto* integer = std::get_if<std::int32_t>(&setting.value)) {
      out += std::to_string(*integer);
    } else if (const auto* flag = std::get_if<bool>(&setting.value)) {
      out += *flag ? "true" : "false";
    } else {
      out += quoted(std::get<std::string>(setting.value));
    }
  }
  return out + "}";
}

// The other languages of a merged row, as a JSON member; none when there
// are none.
std::string alsoMember(const std::vector<analysis::Language>& languages) {
  if (languages.empty()) return {};
  std::string items;
  for (const analysis::Language language : languages)
    items += (items.empty() ? "" : ", ") + quoted(analysis::codeOf(language));
  return ", \"alsoLanguages\": [" + items + "]";
}

std::string crackReport(analysis::Cipher cipher, const analysis::Report& report, bool explain) {
  std::string out = "{\"method\": " + quoted(analysis::methodOf(cipher).name) +
                    ", \"language\": " + quoted(analysis::codeOf(report.language)) +
                    ", \"candidates\": [";
  for (std::size_t i = 0; i < report.candidates.size(); ++i) {
    const analysis::Candidate& c = report.candidates[i];
    out += std::string(i > 0 ? ", " : "") + "{\"options\": " + object(c.options) +
           ", \"language\": " + quoted(analysis::codeOf(c.language)) + alsoMember(c.alsoLanguages) +
           ", \"confidence\": " + number(c.confidence, 4) + ", \"score\": " + number(c.score, 8) +
           ", \"preview\": " + quoted(c.preview) + "}";
  }
  out += "]";
  if (!report.note.empty()) out += ", \"note\": " + quoted(report.note);
  if (explain) {
    const auto list = [](const auto& values) {
      std::string items;
      for (const double v : values)
        items += (items.empty() ? "" : ", ") + number(v, 6);
      return "[" + items + "]";
    };
    const analysis::Evidence& e = report.evidence;
    out += ", \"evidence\": {\"keyScores\": " + list(e.keyScores) +
           ", \"periodCoincidence\": " + list(e.periodCoincidence) +
           ", \"period\": " + std::to_string(e.period) +
           ", \"keyLetterFitness\": " + list(e.keyLetterFitness) +
           ", \"inputLetters\": " + list(e.inputLetters) +
           ", \"outputLetters\": " + list(e.outputLetters) + "}";
  }
  return out + "}\n";
}

std::string identification(const analysis::Identification& identification) {
  std::string out = "{\"candidates\": [";
  for (std::size_t i = 0; i < identification.candidates.size(); ++i) {
    const analysis::Chain& chain = identification.candidates[i];
    out += std::string(i > 0 ? ", " : "") + "{\"steps\": [";
    for (std::size_t s = 0; s < chain.steps.size(); ++s) {
      const analysis::Step& step = chain.steps[s];
      out += std::string(s > 0 ? ", " : "") + "{\"method\": " + quoted(step.method->name) +
             ", \"decrypt\": " + (step.direction == Direction::decode ? "true" : "false") +
             ", \"options\": " + object(step.options) + "}";
    }
    out += "], \"language\": " + quoted(analysis::codeOf(chain.language)) +
           alsoMember(chain.alsoLanguages) + ", \"confidence\": " + number(chain.confidence, 4) +
           ", \"preview\": " + quoted(chain.preview) + "}";
  }
  out += "]";
  if (!identification.note.empty()) out += ", \"note\": " + quoted(identification.note);
  return out + "}\n";
}

}  // namespace json
