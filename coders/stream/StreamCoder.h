#ifndef ZEMBRAX_CODERS_STREAM_STREAMCODER_H_
#define ZEMBRAX_CODERS_STREAM_STREAMCODER_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "char/CharCoder.h"

// A coder fed its text in pieces, for texts too large to hold at once. The
// pieces of a text, fed in order and then finished, give exactly what the
// coder's one-shot call gives for the whole text, wherever the pieces end:
// a coder keeps back what a later piece may still change (a Base64 group, a
// %XX escape, a binary group, a number, a Morse word) and carries its place
// (the Vigenere key) from piece to piece. What it keeps back stays small
// whatever the text holds.
class StreamCoder {
 public:
  virtual ~StreamCoder() = default;

  // Codes what `piece` completes. A byte-wise coder codes the piece in its
  // own memory and hands that back.
  virtual std::string feed(std::string piece) = 0;

  // Ends the text: codes what the last piece left open.
  virtual std::string finish() { return {}; }
};

// One stream coder for every operation of the coders, with the options the
// one-shot calls take.
namespace stream {

// A stream of a coder that codes each byte on its own, so that any piece is
// coded by `code` as it comes.
std::unique_ptr<StreamCoder> eachByte(std::function<std::string(std::string)> code);

std::unique_ptr<StreamCoder> caesarShift(std::int32_t shift);
std::unique_ptr<StreamCoder> caesarShiftFull(std::int32_t shift);
std::unique_ptr<StreamCoder> vigenereEncode(std::string key);
std::unique_ptr<StreamCoder> vigenereDecode(std::string key);
std::unique_ptr<StreamCoder> base64Encode();
std::unique_ptr<StreamCoder> base64Decode();
std::unique_ptr<StreamCoder> substitute(std::string from, std::string to);
std::unique_ptr<StreamCoder> urlEncode();
std::unique_ptr<StreamCoder> urlDecode();
std::unique_ptr<StreamCoder> bitwiseApply(std::int32_t value, CharCoder::ByteOperation operation);
// `width` is 7 or 8, as CharCoder::setBitWidth takes.
std::unique_ptr<StreamCoder> toBinary(std::int32_t width);
std::unique_ptr<StreamCoder> fromBinary(std::int32_t width);
std::unique_ptr<StreamCoder> toDecimal();
std::unique_ptr<StreamCoder> fromDecimal();
std::unique_ptr<StreamCoder> toHex();
std::unique_ptr<StreamCoder> readHex();
std::unique_ptr<StreamCoder> morseEncode();
std::unique_ptr<StreamCoder> morseDecode();
std::unique_ptr<StreamCoder> lsbExtract();

}  // namespace stream

#endif  // ZEMBRAX_CODERS_STREAM_STREAMCODER_H_
