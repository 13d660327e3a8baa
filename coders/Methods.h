#ifndef ZEMBRAX_CODERS_METHODS_H_
#define ZEMBRAX_CODERS_METHODS_H_

// The methods of the window, one entry each: their names, directions,
// options and calls, for every caller (the window, the command line, the
// analysis, the tests, the fuzz targets and the benchmarks). Adding a method
// is one entry in Methods.cpp and its coder.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "char/CharCoder.h"
#include "classic/ClassicCoder.h"
#include "signal/SignalCoder.h"
#include "stream/StreamCoder.h"

// Which button asked for the work: Encrypt or Decrypt.
enum class Direction { encode, decode };

namespace methods {

// One option of a method by the command line's name for it ("shift", "full",
// "key", "from", "to", "and", "or", "xor", "bits"), with its value.
struct Setting {
  std::string_view name;
  std::variant<std::int32_t, bool, std::string> value;

  bool operator==(const Setting&) const = default;
};
using Settings = std::vector<Setting>;

// The value of option `name` in `settings`, or `fallback` where it is not
// set (or set to a value of another kind).
std::int32_t integerOf(const Settings& settings, std::string_view name, std::int32_t fallback = 0);
bool flagOf(const Settings& settings, std::string_view name);
std::string textOf(const Settings& settings, std::string_view name);

enum class OptionKind {
  integer,  // any 32-bit integer, read as the window reads its boxes
  flag,     // on or off
  text,     // bytes in the chosen text encoding
};

struct Option {
  std::string_view name;
  OptionKind kind;
  // How the command line's help writes its value ("N", "KEY"); empty for a
  // flag.
  std::string_view placeholder;
  std::string_view help;
  // A method must be given every required option, and exactly one option of
  // each group it has.
  bool required = false;
  std::string_view group = {};
  // The values an integer may take, where only some may; empty for any.
  std::span<const std::int32_t> choices = {};
  // For a text, what it is in a message ("the key"); empty otherwise.
  std::string_view noun = {};
};

// Which ways a method codes.
enum class Ways {
  inversePair,  // Decrypt undoes Encrypt with a call of its own
  sameCall,     // one call undoes itself, and both buttons run it
  encodeOnly,
  decodeOnly,
};

// Settings a method is tried with by the tests, the benchmarks and the fuzz
// targets, and the bytes that its texts are made of there: those that its
// decoding gives back exactly after its encoding.
struct Sample {
  Settings settings;
  int lowest = 1;
  int highest = 255;
};

// The window's three coder objects, which every one-shot call runs on.
struct Coders {
  const ClassicCoder& classic;
  CharCoder& chars;
  const SignalCoder& signal;
};

// Coder objects of their own, for a caller without the window's.
struct OwnCoders {
  ClassicCoder classic;
  CharCoder chars;
  SignalCoder signal;
  Coders all() { return {classic, chars, signal}; }
};

struct Method {
  std::string_view name;  // the command line's
  // The caption of the window's page that offers it, and the object name of
  // that page.
  std::string_view caption;
  std::string_view page;
  std::string_view summary;
  std::string_view example;
  Ways ways;
  std::span<const Option> options = {};
  // The one-shot call: `text` coded with `settings` in `direction`.
  std::string (*run)(Coders coders, const Settings& settings, Direction direction,
                     std::string text);
  // The same as a stream coder, for texts fed in pieces.
  std::unique_ptr<StreamCoder> (*stream)(const Settings& settings, Direction direction);
  // Decrypt as the command line and the analysis run it, where it differs
  // from the window's: every decoded byte kept, and the text read in its
  // common written forms (see WrittenForms.h). Null where the window's
  // Decrypt is already that.
  std::unique_ptr<StreamCoder> (*exactDecode)(const Settings& settings) = nullptr;
  // The longest text it takes, in bytes, for a method whose cost grows
  // faster than its text; 0 for any length.
  std::size_t longest = 0;
  // For a decoding that needs no key: the settings to try on `text` where it
  // has the method's written form, none where it has not.
  std::vector<Settings> (*accepts)(std::string_view text) = nullptr;
  // The settings that the tests, benchmarks and fuzz targets try; at least
  // one.
  std::vector<Sample> (*samples)() = [] { return std::vector<Sample>{{}}; };
  // How a step with `settings` is named ("Caesar shift 7"); null for the
  // caption alone.
  std::string (*describe)(const Settings& settings) = nullptr;
};

// Whether the window's Encrypt, and its Decrypt, offer `method`.
bool encodes(const Method& method);
bool decodes(const Method& method);

// The direction that takes a text coded by `method` back: Decrypt for a
// method with a decoding, the one call otherwise.
Direction undoing(const Method& method);

// Whether `method` maps a text sign for sign, keeping its length (ROT47,
// Atbash, a keyboard shift, reversal), where an encoding writes it longer.
bool mapsSignForSign(const Method& method);

// A step of `method` with `settings` in words: "Caesar shift 7", "Base64".
std::string describe(const Method& method, const Settings& settings);

// `settings` as the command line writes them: "--shift 7 --full".
std::string commandOptions(const Settings& settings);

// The stream coder of `method` as the command line and the analysis run
// it: the exact decoder where the method has one.
std::unique_ptr<StreamCoder> exactStream(const Method& method, const Settings& settings,
                                         Direction direction);

// The one-shot call of `method` as the command line and the analysis run it.
std::string runExact(const Method& method, Coders coders, const Settings& settings,
                     Direction direction, std::string text);

// Every method, in the order of the window's pages.
std::span<const Method> all();

// The method of that name, or null.
const Method* named(std::string_view name);

// The method of a name that the caller knows to be one; throws
// std::logic_error for any other.
const Method& methodNamed(std::string_view name);

}  // namespace methods

#endif  // ZEMBRAX_CODERS_METHODS_H_
