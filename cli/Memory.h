#ifndef ZEMBRAX_CLI_MEMORY_H_
#define ZEMBRAX_CLI_MEMORY_H_

// Sets the C library's memory up for a run of large pieces: blocks under
// 32 MiB come from the heap and stay there when freed, so that every piece
// and its coded form reuse the memory of the ones before instead of having
// the system map and clear fresh pages for each (a run of binary took eight
// times as long that way). Call it first thing.
void prepareMemory();

#endif  // ZEMBRAX_CLI_MEMORY_H_
