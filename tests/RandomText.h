#ifndef ZEMBRAX_TESTS_RANDOMTEXT_H_
#define ZEMBRAX_TESTS_RANDOMTEXT_H_

#include <cstddef>
#include <random>
#include <string>

// Random byte strings for round-trip properties, from a fixed seed so that a
// failure repeats.
class RandomText {
 public:
  explicit RandomText(unsigned seed = 20261207) : engine(seed) {}

  // `length` bytes drawn from `lowest`..`highest` (as unsigned values).
  std::string bytes(std::size_t length, int lowest = 0, int highest = 255) {
    std::uniform_int_distribution<int> byte(lowest, highest);
    std::string text(length, '\0');
    for (char& c : text)
      c = static_cast<char>(byte(engine));
    return text;
  }

  // Bytes 1..255: what the input box can hold.
  std::string withoutZero(std::size_t length) { return bytes(length, 1, 255); }

  std::size_t length(std::size_t most) {
    return std::uniform_int_distribution<std::size_t>(0, most)(engine);
  }

  int integer(int lowest, int highest) {
    return std::uniform_int_distribution<int>(lowest, highest)(engine);
  }

 private:
  std::mt19937 engine;
};

#endif  // ZEMBRAX_TESTS_RANDOMTEXT_H_
