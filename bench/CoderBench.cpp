// Throughput of every coder operation on 1 MiB and 16 MiB inputs, with a
// memcpy of the same size as the baseline. Each operation is called the way
// the main window calls it, with the text moved in; the copy of the input
// that each call consumes is made outside the timed part.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "char/CharCoder.h"
#include "classic/ClassicCoder.h"
#include "kernels/Kernels.h"
#include "signal/SignalCoder.h"

namespace {

constexpr std::size_t kMiB = 1 << 20;

// Printable ASCII in lines of 40 to 100 characters, each ended by CR LF.
std::string printableText(std::size_t size) {
  std::mt19937 engine(7);
  std::uniform_int_distribution<int> printable(' ', '~');
  std::uniform_int_distribution<int> lineLength(40, 100);
  std::string text;
  text.reserve(size);
  while (text.size() < size) {
    for (int n = lineLength(engine); n > 0; --n)
      text += static_cast<char>(printable(engine));
    text += "\r\n";
  }
  text.resize(size);
  return text;
}

// What an encoder makes of printable text, cut to `size` bytes.
std::string encodedText(std::size_t size, const std::function<std::string(std::string)>& encode) {
  std::string text = encode(printableText(size));
  text.resize(size);
  return text;
}

const ClassicCoder classic;
const SignalCoder signal;

CharCoder charCoderOfWidth(int width) {
  CharCoder coder;
  coder.setBitWidth(width);
  return coder;
}
const CharCoder chars = charCoderOfWidth(8);
const CharCoder chars7 = charCoderOfWidth(7);

using Operation = std::function<std::string(std::string)>;

void runOperation(benchmark::State& state, const Operation& operation, const std::string& input) {
  // One untimed call first, so that the memory for the result is in place.
  benchmark::DoNotOptimize(operation(input).data());
  for (auto _ : state) {
    std::string text = input;
    const auto start = std::chrono::steady_clock::now();
    std::string result = operation(std::move(text));
    benchmark::DoNotOptimize(result.data());
    benchmark::ClobberMemory();
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}

void memcpyBaseline(benchmark::State& state) {
  const std::string input = printableText(static_cast<std::size_t>(state.range(0)));
  std::string copy(input.size(), '\0');
  for (auto _ : state) {
    std::memcpy(copy.data(), input.data(), input.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}

struct Case {
  const char* name;
  Operation operation;
  // The input for a given size: plain text for encoders, encoded text for
  // decoders.
  std::function<std::string(std::size_t)> input;
};

std::vector<Case> cases() {
  const auto plain = [](std::size_t size) { return printableText(size); };
  const auto encodedBy = [](Operation encode) {
    return [encode](std::size_t size) { return encodedText(size, encode); };
  };
  const auto bitwise = [](CharCoder::ByteOperation op) {
    return [op](std::string t) { return chars.bitwiseApply(std::move(t), 0x5A, op); };
  };
  const std::string from = "abcdefghijklmnopqrstuvwxyz";
  const std::string to = "zyxwvutsrqponmlkjihgfedcba";
  return {
      {"caesarShift", [](std::string t) { return classic.caesarShift(std::move(t), 3); }, plain},
      {"caesarShiftFull", [](std::string t) { return classic.caesarShiftFull(std::move(t), 100); },
       plain},
      {"vigenereEncode",
       [](std::string t) { return classic.vigenereEncode(std::move(t), "Zembrax"); }, plain},
      {"vigenereDecode",
       [](std::string t) { return classic.vigenereDecode(std::move(t), "Zembrax"); }, plain},
      {"base64Encode", [](std::string t) { return classic.base64Encode(std::move(t)); }, plain},
      {"base64Decode", [](std::string t) { return classic.base64Decode(std::move(t)); },
       encodedBy([](std::string t) { return classic.base64Encode(std::move(t)); })},
      {"substitute", [=](std::string t) { return chars.substitute(std::move(t), from, to); },
       plain},
      {"urlEncode", [](std::string t) { return chars.urlEncode(std::move(t)); }, plain},
      {"urlDecode", [](std::string t) { return chars.urlDecode(std::move(t)); },
       encodedBy([](std::string t) { return chars.urlEncode(std::move(t)); })},
      {"bitwiseApply/AND", bitwise(&CharCoder::bitAnd), plain},
      {"bitwiseApply/OR", bitwise(&CharCoder::bitOr), plain},
      {"bitwiseApply/XOR", bitwise(&CharCoder::bitXor), plain},
      {"toBinary/8", [](std::string t) { return chars.toBinary(std::move(t)); }, plain},
      {"toBinary/7", [](std::string t) { return chars7.toBinary(std::move(t)); }, plain},
      {"fromBinary", [](std::string t) { return chars.fromBinary(std::move(t)); },
       encodedBy([](std::string t) { return chars.toBinary(std::move(t)); })},
      {"toDecimal", [](std::string t) { return chars.toDecimal(std::move(t)); }, plain},
      {"fromDecimal", [](std::string t) { return chars.fromDecimal(std::move(t)); },
       encodedBy([](std::string t) { return chars.toDecimal(std::move(t)); })},
      {"toHex", [](std::string t) { return chars.toHex(std::move(t)); }, plain},
      {"morseEncode", [](std::string t) { return signal.morseEncode(std::move(t)); }, plain},
      {"morseDecode", [](std::string t) { return signal.morseDecode(std::move(t)); },
       encodedBy([](std::string t) { return signal.morseEncode(std::move(t)); })},
      {"lsbExtract", [](std::string t) { return signal.lsbExtract(std::move(t)); }, plain},
  };
}

// Inputs are made once, up front, so that making them is never timed.
int registerAll() {
  for (const std::size_t size : {kMiB, 16 * kMiB}) {
    benchmark::RegisterBenchmark("memcpy", memcpyBaseline)->Arg(static_cast<std::int64_t>(size));
    for (Case& c : cases()) {
      auto input = std::make_shared<std::string>(c.input(size));
      benchmark::RegisterBenchmark(c.name,
                                   [operation = c.operation, input](benchmark::State& s) {
                                     runOperation(s, operation, *input);
                                   })
          ->Arg(static_cast<std::int64_t>(size))
          ->UseManualTime();
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Keep freed memory in the process instead of handing large blocks back to
  // the kernel after every call: on a virtual machine a freshly mapped page
  // costs microseconds to fault in, which would time the kernel, not the
  // coder, and unevenly so between sizes that glibc maps and sizes it does not.
  mallopt(M_MMAP_MAX, 0);
  mallopt(M_TRIM_THRESHOLD, -1);
  if (argc == 2 && std::string_view(argv[1]) == "--list_tiers") {
    // The tiers of kernels this processor runs, for bench/run.
    for (kernels::Tier tier : kernels::availableTiers())
      std::printf("%s\n", kernels::tierName(tier));
    return 0;
  }
  registerAll();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
