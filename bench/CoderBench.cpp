// Throughput of every coder operation on 1 MiB and 16 MiB inputs, with a
// memcpy of the same size as the baseline. Each operation is called through
// the registry of methods, as the main window calls it, with the text moved in; the copy of the
// input that each call consumes is made outside the timed part. The byte-map
// kernels are also timed on their own, on 16 MiB that start at a cache line
// and 1, 13 and 63 bytes past one.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Methods.h"
#include "kernels/Kernels.h"

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

// An operation of the registry as the window runs it, under the name that
// bench/run's table gives it: the command line's ("base64 -d").
struct Case {
  std::string name;
  const methods::Method* method;
  methods::Settings settings;
  Direction direction = Direction::encode;
};

// Every sample of every method, each way that it codes; a method that is
// its own inverse once. A method with a longest text has no throughput: its
// cost grows faster than its text.
std::vector<Case> cases() {
  std::vector<Case> all;
  for (const methods::Method& method : methods::all()) {
    if (method.longest != 0) continue;
    for (const methods::Sample& sample : method.samples()) {
      const std::string options = methods::commandOptions(sample.settings);
      const std::string name = std::string(method.name) + (options.empty() ? "" : " " + options);
      if (methods::encodes(method)) all.push_back({name, &method, sample.settings});
      if (method.ways == methods::Ways::inversePair || method.ways == methods::Ways::decodeOnly)
        all.push_back({name + " -d", &method, sample.settings, Direction::decode});
    }
  }
  return all;
}

// The operation of `c`, on coders of its own.
Operation operationOf(const Case& c) {
  auto coders = std::make_shared<methods::OwnCoders>();
  return [coders, &method = *c.method, settings = c.settings,
          direction = c.direction](std::string text) {
    return method.run(coders->all(), settings, direction, std::move(text));
  };
}

// The input of `c` at `size` bytes: printable text for an encoder, and for a
// decoder what its encoder makes of printable text, cut to `size`.
std::string inputOf(const Case& c, std::size_t size) {
  if (c.direction == Direction::encode || !methods::encodes(*c.method)) return printableText(size);
  const Operation encode = operationOf({c.name, c.method, c.settings, Direction::encode});
  std::string text = encode(printableText(size));
  text.resize(size);
  return text;
}

// A byte-map kernel mapping `n` bytes of `text` in place.
struct MapKernel {
  std::string name;
  std::function<kernels::Progress(char* text, std::size_t n)> run;
};

// The byte-map kernels of the chosen tier, mapping in place, by the names
// that bench/run prints them under; none for the portable tier, which has
// no kernels of its own.
std::vector<MapKernel> mapKernels() {
  const kernels::Kernels& k = kernels::active();
  if (std::string_view(k.name) == "portable") return {};
  static const std::vector<unsigned char> reversed = [] {
    std::vector<unsigned char> table(256);
    for (int c = 0; c < 256; ++c)
      table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(255 - c);
    return table;
  }();
  return {
      {"caesar", [&k](char* p, std::size_t n) { return k.caesarShift(p, n, p, 3); }},
      {"bitwise",
       [&k](char* p, std::size_t n) {
         return k.bitwise(p, n, p, 0x20, kernels::BitOperation::bitXor);
       }},
      {"subst", [&k](char* p, std::size_t n) { return k.substitute(p, n, p, reversed.data()); }},
      {"rot47", [&k](char* p, std::size_t n) { return k.rot47(p, n, p); }},
      {"atbash", [&k](char* p, std::size_t n) { return k.atbash(p, n, p); }},
  };
}

constexpr std::size_t kOffsets[] = {0, 1, 13, 63};

// A byte-map kernel in place on `size` bytes that start `offset` bytes past
// a cache line.
void mapAtOffset(benchmark::State& state, const MapKernel& map, std::size_t offset) {
  const auto size = static_cast<std::size_t>(state.range(0));
  const std::string input = printableText(size);
  std::vector<char> buffer(size + 128);
  const auto start = reinterpret_cast<std::uintptr_t>(buffer.data());
  char* const text = buffer.data() + (64 - start % 64) % 64 + offset;
  std::memcpy(text, input.data(), size);
  for (auto _ : state) {
    benchmark::DoNotOptimize(map.run(text, size).read);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

// Inputs are made once, up front, so that making them is never timed.
int registerAll() {
  for (const MapKernel& map : mapKernels()) {
    for (const std::size_t offset : kOffsets) {
      benchmark::RegisterBenchmark(
          (map.name + " kernel at +" + std::to_string(offset)).c_str(),
          [map, offset](benchmark::State& s) { mapAtOffset(s, map, offset); })
          ->Arg(static_cast<std::int64_t>(16 * kMiB));
    }
  }
  for (const std::size_t size : {kMiB, 16 * kMiB}) {
    benchmark::RegisterBenchmark("memcpy", memcpyBaseline)->Arg(static_cast<std::int64_t>(size));
    for (const Case& c : cases()) {
      auto input = std::make_shared<std::string>(inputOf(c, size));
      benchmark::RegisterBenchmark(c.name.c_str(),
                                   [operation = operationOf(c), input](benchmark::State& s) {
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
