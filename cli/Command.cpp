#include "Command.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "AnalysisCommand.h"
#include "Ascii.h"
#include "Methods.h"
#include "Suggest.h"
#include "Text.h"

namespace {

constexpr std::string_view kProgram = "zembrax-cli";

// The usage line of a method's own options, e.g. "--shift N [--full] [-d]".
std::string optionsLine(const methods::Method& method) {
  std::vector<std::string> parts;
  std::string group;
  std::string_view groupPlaceholder;
  for (const methods::Option& option : method.options) {
    const std::string name = "--" + std::string(option.name);
    if (!option.group.empty()) {
      group += (group.empty() ? "(" : " | ") + name;
      groupPlaceholder = option.placeholder;
      continue;
    }
    std::string part = name;
    if (option.kind != methods::OptionKind::flag) {
      std::string values;
      for (const std::int32_t choice : option.choices)
        values += (values.empty() ? "" : "|") + std::to_string(choice);
      part += " " + (values.empty() ? std::string(option.placeholder) : values);
    }
    parts.push_back(option.required ? part : "[" + part + "]");
  }
  if (!group.empty()) parts.insert(parts.begin(), group + ") " + std::string(groupPlaceholder));
  if (methods::decodes(method)) parts.emplace_back("[-d]");
  std::string line;
  for (const std::string& part : parts)
    line += (line.empty() ? "" : " ") + part;
  return line;
}

constexpr std::string_view kCommonOptions = "[-o FILE] [--progress] [--encoding NAME] [FILE...]";

std::string usageOf(const CLI::App* method) {
  std::string usage = "Usage: " + std::string(kProgram) + " ";
  if (method != nullptr && isAnalysis(method->get_name()))
    return usage + analysisUsage(method->get_name());
  if (const methods::Method* entry =
          method != nullptr ? methods::named(method->get_name()) : nullptr) {
    const std::string options = optionsLine(*entry);
    usage += std::string(entry->name) + " " + options;
    if (!options.empty()) usage += " ";
    return usage + std::string(kCommonOptions);
  }
  return usage + "METHOD [OPTIONS] " + std::string(kCommonOptions) + " (--help lists the methods)";
}

// Refuses a command line: the problem and the usage line, exit status 2.
int refuse(const std::string& problem, const CLI::App* method) {
  std::fprintf(stderr, "%s: %s\n%s\n", kProgram.data(), problem.c_str(), usageOf(method).c_str());
  return 2;
}

// A 32-bit decimal integer, read as the window reads its boxes, and one of
// `choices` where there are any.
CLI::Validator integerOf(std::span<const std::int32_t> choices) {
  return CLI::Validator(
      [choices](std::string& text) {
        const std::optional<std::int32_t> value = text::readInteger(text);
        if (!value) return "'" + text + "' is not a 32-bit integer";
        if (choices.empty() || std::find(choices.begin(), choices.end(), *value) != choices.end())
          return std::string();
        std::string names;
        for (const std::int32_t choice : choices)
          names += (names.empty() ? "" : " or ") + std::to_string(choice);
        return "'" + text + "' is not " + names;
      },
      "INTEGER");
}

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

// What the command line gave for an option.
struct Given {
  std::string text;
  bool flag = false;
};

// Adds method `entry` with its own options, which land in `given`, and the
// common ones.
// What -d does for `method`, in its help.
std::string decryptHelp(const methods::Method& method) {
  switch (method.ways) {
    case methods::Ways::inversePair:
      return "decode instead of encode (the window's Decrypt)";
    case methods::Ways::sameCall:
      return "the same as without it: the method undoes itself";
    case methods::Ways::decodeOnly:
      return "the same as without it: this method only decodes";
    case methods::Ways::encodeOnly:
      break;
  }
  return "not offered: this method works one way only";
}

void addMethod(CLI::App& app, const methods::Method& entry, Common& common,
               std::map<const methods::Option*, Given>& given, bool& decrypt) {
  CLI::App* method = app.add_subcommand(std::string(entry.name), std::string(entry.summary));
  method->footer("Example:\n  " + std::string(entry.example) + "\n");
  CLI::Option_group* group = nullptr;
  for (const methods::Option& option : entry.options) {
    const std::string name = "--" + std::string(option.name);
    const std::string help(option.help);
    Given& value = given[&option];
    if (option.kind == methods::OptionKind::flag) {
      method->add_flag(name, value.flag, help);
      continue;
    }
    if (!option.group.empty() && group == nullptr) {
      group = method->add_option_group(std::string(option.group));
      group->require_option(1);
    }
    CLI::Option* added = group != nullptr && !option.group.empty()
                             ? group->add_option(name, value.text, help)
                             : method->add_option(name, value.text, help);
    if (option.required) added->required();
    if (option.kind == methods::OptionKind::integer) added->check(integerOf(option.choices));
    added->type_name(std::string(option.placeholder));
  }
  method->add_flag("-d,--decrypt", decrypt, decryptHelp(entry));
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

// The settings of `method` as the command line gave them: numbers read as
// the window reads its boxes, texts in `encoding`.
methods::Settings settingsOf(const methods::Method& method,
                             const std::map<const methods::Option*, Given>& givenOf,
                             text::Encoding encoding) {
  methods::Settings settings;
  for (const methods::Option& option : method.options) {
    const Given& given = givenOf.at(&option);
    methods::Setting& setting = settings.emplace_back(methods::Setting{option.name, given.flag});
    if (option.kind == methods::OptionKind::integer) {
      if (given.text.empty()) {
        settings.pop_back();
      } else {
        setting.value = *text::readInteger(given.text);
      }
    } else if (option.kind == methods::OptionKind::text) {
      setting.value = optionBytes(given.text, std::string(option.noun).c_str(), encoding);
    }
  }
  return settings;
}

// The options that every method takes besides its own, by their long names,
// and whether each takes a value.
constexpr std::pair<std::string_view, bool> kCommonOptionNames[] = {
    {"decrypt", false}, {"output", true}, {"progress", false}, {"encoding", true}, {"help", false},
};

// The options that subcommand `name` takes by their long names, each with
// whether it takes a value.
std::vector<std::pair<std::string, bool>> optionNamesOf(std::string_view name) {
  if (isAnalysis(name)) return analysisOptionNames(name);
  std::vector<std::pair<std::string, bool>> known;
  for (const methods::Option& option : methods::methodNamed(name).options)
    known.emplace_back(option.name, option.kind != methods::OptionKind::flag);
  for (const auto& [option, takesValue] : kCommonOptionNames)
    known.emplace_back(option, takesValue);
  return known;
}

// The first option among `arguments` (what follows the subcommand's name)
// that is not one of `known`, named with the nearest one that is; empty
// when all are known.
std::string unknownOption(const std::vector<std::pair<std::string, bool>>& known,
                          const std::vector<std::string_view>& arguments) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (argument == "--") break;
    if (argument.size() < 2 || argument[0] != '-' || ascii::isDigit(argument[1])) continue;
    if (argument[1] != '-') {
      // Short options, one or several joined: -d, -h, and -o with its value,
      // the rest of the argument or the next one.
      const std::size_t end = argument.find_first_not_of("dh", 1);
      if (end == std::string_view::npos) continue;
      if (argument[end] != 'o') return "unknown option '" + std::string(argument) + "'";
      i += end + 1 == argument.size() ? 1 : 0;
      continue;
    }
    const std::string_view name = argument.substr(2, argument.find('=') - 2);
    const auto found = std::find_if(known.begin(), known.end(),
                                    [name](const auto& option) { return option.first == name; });
    if (found != known.end()) {
      i += found->second && argument.find('=') == std::string_view::npos ? 1 : 0;
      continue;
    }
    std::vector<std::string> names;
    for (const auto& option : known)
      names.push_back(option.first);
    const std::optional<std::string> meant = nearestWord(name, names);
    return "unknown option '--" + std::string(name) + "'" +
           (meant ? "; did you mean '--" + *meant + "'?" : std::string());
  }
  return {};
}

// The method that `typed` names, or why there is none, with the nearest name.
std::string unknownMethod(std::string_view typed) {
  std::vector<std::string> names = {"crack", "identify"};
  for (const methods::Method& method : methods::all())
    names.emplace_back(method.name);
  const std::optional<std::string> meant = nearestWord(typed, names);
  return "unknown method '" + std::string(typed) + "'" +
         (meant ? "; did you mean '" + *meant + "'?" : std::string());
}

}  // namespace

std::variant<Request, AnalysisRequest, int> readCommandLine(int argc, const char* const* argv) {
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
      "more.\n\nA mistyped method, option or cipher is named in the error with the nearest valid "
      "one. A decode (-d) that finds nothing to decode in an input that is not empty says so on "
      "the standard error; the exit status stays 0, since an empty output is what the method "
      "gives.\n\ncrack finds the key of a cipher text and identify says what a text is, in any "
      "of sixteen languages, each candidate with the chance that it is right; crack --help and "
      "identify --help tell more.\n\n" +
      std::string(kJsonFormat) + "\n\nExamples:";
  for (const methods::Method& entry : methods::all())
    footer += "\n  " + std::string(entry.example);
  footer +=
      "\n  zembrax-cli crack vigenere --explain secret.txt\n  zembrax-cli identify puzzle.txt";
  app.footer(footer);

  Common common;
  std::map<const methods::Option*, Given> given;
  bool decrypt = false;
  for (const methods::Method& entry : methods::all())
    addMethod(app, entry, common, given, decrypt);
  AnalysisOptions analysisOptions;
  addAnalysis(app, analysisOptions);

  // The first word names the method: one that names none is refused as it
  // is, before the parser takes it for a stray word and runs on to a later
  // one that names a method.
  if (argc > 1 && argv[1][0] != '-' && !isAnalysis(argv[1]) && methods::named(argv[1]) == nullptr)
    return refuse(unknownMethod(argv[1]), nullptr);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    return app.exit(help);
  } catch (const CLI::CallForVersion& version) {
    return app.exit(version);
  } catch (const CLI::ParseError& error) {
    const std::vector<CLI::App*> chosen = app.get_subcommands();
    if (chosen.empty() && argc == 1) return refuse("no method given", nullptr);
    if (chosen.empty()) return refuse(error.what(), nullptr);
    // An option the method does not take says more than the options missing
    // because of it.
    const std::string unknown = unknownOption(optionNamesOf(chosen.front()->get_name()),
                                              std::vector<std::string_view>(argv + 2, argv + argc));
    return refuse(unknown.empty() ? error.what() : unknown, chosen.front());
  }

  CLI::App* chosen = app.get_subcommands().front();
  if (isAnalysis(chosen->get_name())) {
    auto request = analysisRequest(chosen->get_name(), analysisOptions);
    if (const std::string* problem = std::get_if<std::string>(&request))
      return refuse(*problem, chosen);
    return std::get<AnalysisRequest>(std::move(request));
  }
  const methods::Method& method = *methods::named(chosen->get_name());
  if (decrypt && !methods::decodes(method)) {
    return refuse(chosen->get_name() + " works one way only: -d is not offered", chosen);
  }
  // Texts as the window reads them: in its encoding, numbers in decimal.
  const text::Encoding encoding =
      common.encoding.empty() ? text::localeEncoding() : *text::encodingNamed(common.encoding);
  const methods::Settings settings = settingsOf(method, given, encoding);
  // A method that only decodes does so with or without -d.
  const Direction direction =
      decrypt || !methods::encodes(method) ? Direction::decode : Direction::encode;

  Request request;
  request.coder = [settings, direction, &method] {
    return methods::exactStream(method, settings, direction);
  };
  request.inputs = common.inputs.empty() ? std::vector<std::string>{"-"} : common.inputs;
  if (!common.output.empty()) request.output = common.output;
  request.progress = common.progress;
  if (direction == Direction::decode) {
    request.emptyNote =
        "nothing in the input reads as " + std::string(method.caption) + "; the output is empty";
  }
  return request;
}
