// The stream coders against the one-shot calls: the input picks an
// operation and its options, then the points where the text is cut into
// pieces (empty pieces included), then the text. Fed in those pieces and
// finished, the stream must give exactly what the one-shot call gives.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "char/CharCoder.h"
#include "classic/ClassicCoder.h"
#include "signal/SignalCoder.h"
#include "stream/StreamCoder.h"

namespace {

// An operation as a stream and as its one-shot call, with the same options.
struct Coders {
  std::unique_ptr<StreamCoder> stream;
  std::function<std::string(const std::string&)> oneShot;
};

struct Operation {
  const char* name;
  Coders (*make)(Input&);
};

constexpr CharCoder::ByteOperation kByteOperations[] = {&CharCoder::bitAnd, &CharCoder::bitOr,
                                                        &CharCoder::bitXor};

const std::array<Operation, 18> kOperations = {{
    {"caesarShift",
     [](Input& in) {
       const std::int32_t shift = in.integer();
       return Coders{stream::caesarShift(shift),
                     [shift](const std::string& t) { return classic.caesarShift(t, shift); }};
     }},
    {"caesarShiftFull",
     [](Input& in) {
       const std::int32_t shift = in.integer();
       return Coders{stream::caesarShiftFull(shift),
                     [shift](const std::string& t) { return classic.caesarShiftFull(t, shift); }};
     }},
    {"vigenereEncode",
     [](Input& in) {
       const std::string key = in.text(in.byte() % 16);
       return Coders{stream::vigenereEncode(key),
                     [key](const std::string& t) { return classic.vigenereEncode(t, key); }};
     }},
    {"vigenereDecode",
     [](Input& in) {
       const std::string key = in.text(in.byte() % 16);
       return Coders{stream::vigenereDecode(key),
                     [key](const std::string& t) { return classic.vigenereDecode(t, key); }};
     }},
    {"base64Encode",
     [](Input&) {
       return Coders{stream::base64Encode(),
                     [](const std::string& t) { return classic.base64Encode(t); }};
     }},
    {"base64Decode",
     [](Input&) {
       return Coders{stream::base64Decode(),
                     [](const std::string& t) { return classic.base64Decode(t); }};
     }},
    {"substitute",
     [](Input& in) {
       const std::string from = in.text(in.byte() % 40);
       const std::string to = in.text(in.byte() % 40);
       return Coders{stream::substitute(from, to),
                     [from, to](const std::string& t) { return chars(8).substitute(t, from, to); }};
     }},
    {"urlEncode",
     [](Input&) {
       return Coders{stream::urlEncode(),
                     [](const std::string& t) { return chars(8).urlEncode(t); }};
     }},
    {"urlDecode",
     [](Input&) {
       return Coders{stream::urlDecode(),
                     [](const std::string& t) { return chars(8).urlDecode(t); }};
     }},
    {"bitwiseApply",
     [](Input& in) {
       const CharCoder::ByteOperation operation = kByteOperations[in.byte() % 3];
       const std::int32_t value = in.integer();
       return Coders{stream::bitwiseApply(value, operation),
                     [value, operation](const std::string& t) {
                       return chars(8).bitwiseApply(t, value, operation);
                     }};
     }},
    {"toBinary",
     [](Input& in) {
       const int width = widthOf(in);
       return Coders{stream::toBinary(width),
                     [width](const std::string& t) { return chars(width).toBinary(t); }};
     }},
    {"fromBinary",
     [](Input& in) {
       const int width = widthOf(in);
       return Coders{stream::fromBinary(width),
                     [width](const std::string& t) { return chars(width).fromBinary(t); }};
     }},
    {"toDecimal",
     [](Input&) {
       return Coders{stream::toDecimal(),
                     [](const std::string& t) { return chars(8).toDecimal(t); }};
     }},
    {"fromDecimal",
     [](Input&) {
       return Coders{stream::fromDecimal(),
                     [](const std::string& t) { return chars(8).fromDecimal(t); }};
     }},
    {"toHex",
     [](Input&) {
       return Coders{stream::toHex(), [](const std::string& t) { return chars(8).toHex(t); }};
     }},
    {"morseEncode",
     [](Input&) {
       return Coders{stream::morseEncode(),
                     [](const std::string& t) { return signal.morseEncode(t); }};
     }},
    {"morseDecode",
     [](Input&) {
       return Coders{stream::morseDecode(),
                     [](const std::string& t) { return signal.morseDecode(t); }};
     }},
    {"lsbExtract",
     [](Input&) {
       return Coders{stream::lsbExtract(),
                     [](const std::string& t) { return signal.lsbExtract(t); }};
     }},
}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  const Operation& operation = kOperations[in.byte() % kOperations.size()];
  Coders coders = operation.make(in);
  std::vector<std::size_t> cuts(in.byte() % 32);
  for (std::size_t& cut : cuts)
    cut = in.byte() | in.byte() << 8;
  const std::string text = in.remainder();
  for (std::size_t& cut : cuts)
    cut %= text.size() + 1;
  std::sort(cuts.begin(), cuts.end());
  cuts.push_back(text.size());

  std::string streamed;
  std::size_t at = 0;
  for (std::size_t cut : cuts) {
    streamed += coders.stream->feed(text.substr(at, cut - at));
    at = cut;
  }
  streamed += coders.stream->finish();
  require(streamed == coders.oneShot(text), operation.name);
  return 0;
}
