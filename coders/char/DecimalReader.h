#ifndef ZEMBRAX_CODERS_CHAR_DECIMALREADER_H_
#define ZEMBRAX_CODERS_CHAR_DECIMALREADER_H_

#include <cstddef>
#include <string>

// What reading decimal numbers came to: the bytes written, and whether the
// reading stopped at something that is not a number before the text ended.
struct DecimalRead {
  std::size_t written;
  bool stopped;
};

// Reads the numbers of `text` as CharCoder::fromDecimal does, writing their
// bytes over the front of `text`, which keeps its length.
DecimalRead readDecimals(std::string& text);

#endif  // ZEMBRAX_CODERS_CHAR_DECIMALREADER_H_
