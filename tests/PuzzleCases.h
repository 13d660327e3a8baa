#ifndef ZEMBRAX_TESTS_PUZZLECASES_H_
#define ZEMBRAX_TESTS_PUZZLECASES_H_

// Cases for identification on the texts puzzles hold: flags, words run
// together, capitals, five-letter groups and short sentences, made from the
// words of the project's own held-out texts, under the encodings in their
// common written forms, deep stacks of them and the ciphers; and texts made
// with methods the analysis does not have, which it must not name with
// confidence. Shared by the tests (a sample) and the benchmark (the full
// run).

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "CrackCases.h"
#include "Reference.h"
#include "analysis/Identify.h"

namespace puzzlecases {

using Random = std::mt19937;

inline int pick(Random& random, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random);
}

// The words of a text of the letters a-z alone, two to ten letters long.
inline std::vector<std::string> wordsOf(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  bool clean = true;
  for (const char c : text + ' ') {
    if (ascii::isLetter(c)) {
      word += static_cast<char>(c | 0x20);
    } else if (c == ' ' || c == '\n' || c == ',' || c == '.') {
      if (clean && word.size() >= 2 && word.size() <= 10) words.push_back(word);
      word.clear();
      clean = true;
    } else {
      clean = false;
    }
  }
  return words;
}

// A language's material: its running text and its words.
struct Source {
  std::string text;
  std::vector<std::string> words;
};

inline std::string someWords(const Source& source, Random& random, int least, int most,
                             const std::string& joint) {
  std::string out;
  for (int n = pick(random, least, most); n > 0; --n)
    out += (out.empty() ? "" : joint) + source.words[static_cast<std::size_t>(pick(
                                            random, 0, static_cast<int>(source.words.size()) - 1))];
  return out;
}

// Letters written as the digits that stand for them, each now and then.
inline std::string leet(std::string text, Random& random) {
  for (char& c : text) {
    const std::string_view letters = "oieast", digits = "013457";
    const std::size_t at = letters.find(c);
    if (at != std::string_view::npos && pick(random, 0, 2) == 0) c = digits[at];
  }
  return text;
}

inline std::string upper(std::string text) {
  for (char& c : text)
    c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
  return text;
}

// The plaintexts.
enum class Form { flag, leetFlag, joined, capitals, groupsOfFive, sentence };

inline std::string plaintext(Form form, const Source& source, Random& random) {
  static const char* const kNames[] = {"flag", "ctf", "key", "brick", "secret", "puzzle"};
  switch (form) {
    case Form::flag:
      return std::string(kNames[pick(random, 0, 5)]) + "{" + someWords(source, random, 2, 4, "_") +
             "}";
    case Form::leetFlag:
      return std::string(kNames[pick(random, 0, 5)]) + "{" +
             leet(someWords(source, random, 2, 4, "_"), random) + "}";
    case Form::joined: {
      const char* const joints[] = {"_", "-", ""};
      return someWords(source, random, 2, 4, joints[pick(random, 0, 2)]);
    }
    case Form::capitals:
      return upper(crackcases::excerpt(source.text, static_cast<std::size_t>(pick(random, 14, 40)),
                                       0, random));
    case Form::groupsOfFive: {
      std::string letters;
      for (const char c : crackcases::excerpt(
               source.text, static_cast<std::size_t>(pick(random, 20, 40)), 0, random))
        if (ascii::isLetter(c)) letters += static_cast<char>(c & 0xDF);
      std::string grouped;
      for (std::size_t i = 0; i < letters.size(); ++i)
        grouped += (i > 0 && i % 5 == 0 ? " " : "") + std::string(1, letters[i]);
      return grouped;
    }
    case Form::sentence:
      return crackcases::excerpt(source.text, 0, static_cast<std::size_t>(pick(random, 20, 120)),
                                 random);
  }
  return {};
}

// Runs `method` one way, as the command line does.
inline std::string code(const char* method, const std::string& text, Direction direction,
                        const methods::Settings& settings = {}) {
  methods::OwnCoders coders;
  return methods::runExact(methods::methodNamed(method), coders.all(), settings, direction, text);
}

// Every `width` characters of `text`, each followed by `separator`, after
// `prefix`.
inline std::string split(const std::string& text, std::size_t width, const std::string& separator,
                         const std::string& prefix = "") {
  std::string out;
  for (std::size_t at = 0; at < text.size(); at += width)
    out += (at > 0 ? separator : "") + prefix + text.substr(at, width);
  return out;
}

inline std::string without(std::string text, char c) {
  std::erase(text, c);
  return text;
}

// An encoding of `text` in one of its common written forms, at random.
inline std::string written(const char* method, const std::string& text, Random& random) {
  const std::string coded = code(method, text, Direction::encode);
  const std::string_view name = method;
  const int form = pick(random, 0, 2);
  if (name == "base64") {
    if (form == 0) return split(coded, 76, "\n");
    if (form == 1) return without(coded, '=');
    std::string safe = without(coded, '=');
    for (char& c : safe)
      c = c == '+' ? '-' : c == '/' ? '_' : c;
    return safe;
  }
  if (name == "hex") {
    const std::string digits = without(coded, ' ');
    if (form == 0) return split(digits, 2, ",", "0x");
    if (form == 1) return split(digits, 2, "", "\\x");
    return split(digits, 2, ":");
  }
  if (name == "binary") return split(without(coded, ' '), 8, form == 0 ? " " : "\n");
  if (name == "decimal") {
    std::string numbers = coded;
    while (!numbers.empty() && numbers.back() == ' ')
      numbers.pop_back();
    std::string out;
    for (const char c : numbers)
      out += c == ' ' ? (form == 0 ? std::string(",") : std::string(", ")) : std::string(1, c);
    return out;
  }
  return coded;
}

// What the analysis does not have, written from each method's definition.
inline std::string railFence(const std::string& text, std::size_t rails) {
  std::vector<std::string> rows(rails);
  const std::size_t cycle = 2 * rails - 2;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t r = i % cycle;
    rows[r < rails ? r : cycle - r] += text[i];
  }
  std::string out;
  for (const std::string& row : rows)
    out += row;
  return out;
}

inline std::string affine(std::string text, int a, int b) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>('a' + (a * (c - 'a') + b) % 26);
    else if (c >= 'A' && c <= 'Z')
      c = static_cast<char>('A' + (a * (c - 'A') + b) % 26);
  }
  return text;
}

inline std::string columnar(const std::string& text, const std::vector<std::size_t>& order) {
  std::string out;
  for (const std::size_t column : order)
    for (std::size_t i = column; i < text.size(); i += order.size())
      out += text[i];
  return out;
}

// A text to identify, and what identifying it must give.
struct Made {
  std::string text;
  std::string expected;
};

struct Kind {
  const char* name;
  // Made with a method the analysis does not have: it must not name the
  // text with confidence unless it gets the plaintext all the same.
  bool unknown;
  std::function<Made(const Source&, Random&)> make;
};

// A text of a random form under the keyless encodings `methods`, innermost
// first, each in a written form.
inline Made encoded(const Source& source, Random& random, std::vector<const char*> methods,
                    Form form) {
  const std::string plain = plaintext(form, source, random);
  std::string text = plain;
  for (const char* method : methods)
    text = written(method, text, random);
  return {text, plain};
}

inline Form anyForm(Random& random) {
  return static_cast<Form>(pick(random, 0, 5));
}

inline Form tokenForm(Random& random) {
  return static_cast<Form>(pick(random, 0, 2));
}

// A text of a random form under the keyless `method`, and what its
// decoding gives back of it (capitals, say).
inline Made decodedBack(const Source& source, Random& random, const methods::Method& method) {
  methods::OwnCoders coders;
  const std::string coded = methods::runExact(method, coders.all(), {}, Direction::encode,
                                              plaintext(anyForm(random), source, random));
  return {coded, methods::runExact(method, coders.all(), {}, methods::undoing(method), coded)};
}

// The kinds written by hand, each named by the method it tests where it
// tests one: the written forms, the ciphers, deep layers, the methods the
// analysis lacks, and references written from the definitions.
inline std::vector<Kind> handWritten() {
  using analysis::Cipher;
  return {
      {"plaintext", false,
       [](const Source& s, Random& r) { return encoded(s, r, {}, anyForm(r)); }},
      {"base64", false,
       [](const Source& s, Random& r) { return encoded(s, r, {"base64"}, anyForm(r)); }},
      {"hex", false,
       [](const Source& s, Random& r) { return encoded(s, r, {"hex"}, tokenForm(r)); }},
      {"binary", false,
       [](const Source& s, Random& r) { return encoded(s, r, {"binary"}, tokenForm(r)); }},
      {"decimal", false,
       [](const Source& s, Random& r) { return encoded(s, r, {"decimal"}, anyForm(r)); }},
      {"url", false,
       [](const Source& s, Random& r) { return encoded(s, r, {"url"}, Form::sentence); }},
      {"morse", false,
       [](const Source& s, Random& r) {
         Made made = encoded(s, r, {"morse"}, Form::capitals);
         made.expected = upper(made.expected);
         return made;
       }},
      {"1-12 keyless layers", false,
       [](const Source& s, Random& r) {
         std::vector<const char*> layers;
         const char* const deep[] = {"base64", "base64", "base64", "hex", "url"};
         for (int n = pick(r, 1, 12); n > 0; --n)
           layers.push_back(deep[pick(r, 0, 4)]);
         return encoded(s, r, layers, tokenForm(r));
       }},
      {"caesar", false,
       [](const Source& s, Random& r) {
         const std::string plain = plaintext(anyForm(r), s, r);
         return Made{crackcases::encrypt(Cipher::caesar, plain, 0, r), plain};
       }},
      {"caesar under base64 layers", false,
       [](const Source& s, Random& r) {
         const std::string plain = plaintext(tokenForm(r), s, r);
         std::string text = crackcases::encrypt(Cipher::caesar, plain, 0, r);
         for (int n = pick(r, 1, 4); n > 0; --n)
           text = written("base64", text, r);
         return Made{text, plain};
       }},
      {"xor under base64 or hex", false,
       [](const Source& s, Random& r) {
         const std::string plain = plaintext(anyForm(r), s, r);
         return Made{written(pick(r, 0, 1) == 0 ? "base64" : "hex",
                             crackcases::encrypt(Cipher::bitwiseXor, plain, 0, r), r),
                     plain};
       }},
      {"vigenere, a word as key", false,
       [](const Source& s, Random& r) {
         const std::string plain =
             crackcases::excerpt(s.text, static_cast<std::size_t>(pick(r, 40, 80)), 0, r);
         std::string key;
         while (key.size() < 4)
           key =
               s.words[static_cast<std::size_t>(pick(r, 0, static_cast<int>(s.words.size()) - 1))];
         return Made{ClassicCoder().vigenereEncode(plain, key), plain};
       }},
      {"rot47", false,
       [](const Source& s, Random& r) {
         const std::string plain = plaintext(anyForm(r), s, r);
         return Made{reference::rot47(plain), plain};
       }},
      {"atbash", false,
       [](const Source& s, Random& r) {
         const std::string plain = plaintext(anyForm(r), s, r);
         return Made{reference::atbash(plain), plain};
       }},
      {"reverse", false,
       [](const Source& s, Random& r) {
         const std::string plain = plaintext(anyForm(r), s, r);
         return Made{reference::reversed(plain), plain};
       }},
      {"rail fence", true,
       [](const Source& s, Random& r) {
         const std::string plain = plaintext(anyForm(r), s, r);
         return Made{railFence(plain, static_cast<std::size_t>(pick(r, 2, 4))), plain};
       }},
      {"affine", true,
       [](const Source& s, Random& r) {
         const std::string plain = plaintext(anyForm(r), s, r);
         const int keys[] = {3, 5, 7, 9, 11, 15, 17, 19, 21, 23};
         return Made{affine(plain, keys[pick(r, 0, 9)], pick(r, 1, 25)), plain};
       }},
      {"columnar", true,
       [](const Source& s, Random& r) {
         const std::string plain = plaintext(anyForm(r), s, r);
         std::vector<std::size_t> order = {0, 1, 2, 3, 4};
         std::shuffle(order.begin(), order.end(), r);
         return Made{columnar(plain, order), plain};
       }},
      {"base32", false,
       [](const Source& s, Random& r) {
         const std::string plain = plaintext(anyForm(r), s, r);
         return Made{reference::base32(plain), plain};
       }},
      {"base85", false,
       [](const Source& s, Random& r) {
         const std::string plain = plaintext(anyForm(r), s, r);
         return Made{reference::ascii85(plain), plain};
       }},
  };
}

// The kinds written by hand, then a kind for every other decoding that
// identification tries, made by the method's own encoding.
inline const std::vector<Kind>& kinds() {
  static const std::vector<Kind> all = [] {
    std::vector<Kind> made = handWritten();
    for (const methods::Method& method : methods::all()) {
      const bool covered = std::any_of(made.begin(), made.end(), [&method](const Kind& kind) {
        return method.name == kind.name;
      });
      if (method.accepts == nullptr || covered) continue;
      made.push_back({method.name.data(), false,
                      [&method](const Source& s, Random& r) { return decodedBack(s, r, method); }});
    }
    return made;
  }();
  return all;
}

struct Outcome {
  bool right = false;
  double confidence = 0;
};

// Identifies `made` and judges the best chain: right when its result is
// what was expected, or for a substitution nearly so.
inline Outcome judge(const Made& made, const analysis::IdentifySettings& settings = {}) {
  const analysis::Identification found = analysis::identify(made.text, settings);
  Outcome outcome;
  if (found.candidates.empty()) return outcome;
  const analysis::Chain& best = found.candidates.front();
  // A substitution is right, as the crackers' benchmarks count it, with 95 %
  // of its letters right: an affine text is one, and so is a Caesar text.
  const bool substituted = !best.steps.empty() && best.steps.back().method->name == "subst";
  outcome.right =
      crackcases::isRight(substituted ? analysis::Cipher::substitution : analysis::Cipher::caesar,
                          made.expected, analysis::runChain(best.steps, made.text));
  outcome.confidence = best.confidence;
  return outcome;
}

}  // namespace puzzlecases

#endif  // ZEMBRAX_TESTS_PUZZLECASES_H_
