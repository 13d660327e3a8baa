#ifndef ZEMBRAX_CODERS_ANALYSIS_PARALLEL_H_
#define ZEMBRAX_CODERS_ANALYSIS_PARALLEL_H_

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

namespace analysis {

// Calls `work(i)` for every i below `count`, on as many threads as the
// processor runs at once (the calling thread among them), and returns when
// all are done. The calls must not touch each other's data; which thread
// makes which call is left to chance.
template <typename Work>
void forEachAtOnce(std::size_t count, const Work& work) {
  const std::size_t threads =
      std::min<std::size_t>(count, std::max(1u, std::thread::hardware_concurrency()));
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
