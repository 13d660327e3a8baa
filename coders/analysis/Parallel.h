#ifndef ZEMBRAX_CODERS_ANALYSIS_PARALLEL_H_
#define ZEMBRAX_CODERS_ANALYSIS_PARALLEL_H_

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

namespace analysis {

// The most threads a search runs at once: ZEMBRAX_THREADS in the environment
// when it is a whole number from 1 up, otherwise as many as the processor
// runs at once. Read once.
std::size_t mostThreads();

// Calls `work(i)` for every i below `count`, on up to mostThreads() threads
// (the calling thread among them), and returns when all are done. The calls
// must not touch each other's data; which thread makes which call is left to
// chance.
template <typename Work>
void forEachAtOnce(std::size_t count, const Work& work) {
  const std::size_t threads = std::min(count, mostThreads());
  std::atomic<std::size_t> next{0};
  const auto takeTurns = [&] {
    for (std::size_t i = next++; i < count; i = next++)
      work(i);
  };
  std::vector<std::jthread> helpers;
  for (std::size_t t = 1; t < threads; ++t)
    helpers.emplace_back(takeTurns);
  takeTurns();
}

}  // namespace analysis

#endif  // ZEMBRAX_CODERS_ANALYSIS_PARALLEL_H_
