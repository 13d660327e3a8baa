#ifndef ZEMBRAX_BENCH_WINDOWANALYSISBENCH_H_
#define ZEMBRAX_BENCH_WINDOWANALYSISBENCH_H_

// Times the window's analysis: Find key on each cipher's page and What is
// this?, until the answer is shown, and the longest the GUI thread went
// without turning its event loop while they ran. Prints them beside their
// targets.
void measureAnalysis();

#endif  // ZEMBRAX_BENCH_WINDOWANALYSISBENCH_H_
